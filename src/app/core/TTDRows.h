// The rows of the topology tab: each search hit read into TOneRecTTD, its row of sgTTD
// and of the "TTDQuery" file, the occurrence row of sgTTDOccurrence and the lines of the
// "TTDData" file.
#pragma once

#include <cstdint>
#include <string>

#include "app/core/ExportLine.h"
#include "app/core/TTLSearchRows.h"
#include "model/Guid.h"

namespace ormaline {

// The row buffer of one topology hit. The search fills all but numtermscs.
struct TOneRecTTD {
    TGuid ID;
    std::string name;
    std::int32_t ttdcode = 0;
    std::int32_t numnodes = 0;
    std::int32_t numtermscs = 0;
    std::int32_t c_loc = 0; // distinct refcode || ttdcode || Z || reprtypecode
};

template <class Result> TOneRecTTD ReadTTDSearchRow(const Result& result) {
    TOneRecTTD record;
    record.ID = GuidFromColumnText(result.AsString("ID"));
    record.name = result.AsString("name");
    record.ttdcode = result.AsInteger("ttdcode");
    record.numnodes = result.AsInteger("numnodes");
    record.c_loc = result.AsInteger("c_loc");
    return record;
}

// "TTDCode", "NumNode", "TTDName", "ID" (36 characters, no braces; hidden), "Occur.".
TGridRow TTDGridRow(const TOneRecTTD& record);
std::string TTDQueryFileHeader();
// ttdcode, numnodes, name, c_loc separated by tabs, then CR LF.
std::string TTDQueryFileLine(const TOneRecTTD& record);

// Row `k` (from 1) of sgTTDOccurrence: "N", "RefCode", "Z", "fwc", "Representation",
// "msrc" (empty when 0).
template <class Result> TGridRow TTDOccurrenceRow(const Result& result, int k) {
    const std::int32_t msrc = result.AsInteger("msrc");
    return {std::to_string(k),           result.AsString("refcode"),
            result.AsString("Z"),        result.AsString("fwc"),
            result.AsString("rep_name"), msrc != 0 ? std::to_string(msrc) : std::string()};
}

std::string TTDDataFileHeader();
// refcode, dimen, Z, fwc, msrc, ttdcode, name, rep_name as text, tab-separated, CR LF.
template <class Result> std::string TTDDataFileLine(const Result& result) {
    return TabSeparatedLine({result.AsString("refcode"), result.AsString("dimen"),
                             result.AsString("Z"), result.AsString("fwc"), result.AsString("msrc"),
                             result.AsString("ttdcode"), result.AsString("name"),
                             result.AsString("rep_name")});
}

} // namespace ormaline
