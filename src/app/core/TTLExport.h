// The ligand data export ("Data To File" on the ligand tab): every occurrence of the
// matching ligands with its volume and area. The subgraph condition does not apply.
#pragma once

#include <string>
#include <vector>

#include "app/core/ExportLine.h"
#include "app/core/SearchConditions.h"

namespace ormaline {

inline constexpr const char* kTTLDataFileName = "TTLData";

std::string TTLDataStatement(const TTTLSearch& search, bool useLike, bool useRefCodeList,
                             const std::vector<std::string>& refCodeLines);

std::string TTLDataFileHeader();
// ttlcode, name, refcode, coordtype, aligvol, aligarea as text, tab-separated, CR LF.
template <class Result> std::string TTLDataFileLine(const Result& result) {
    return TabSeparatedLine({result.AsString("ttlcode"), result.AsString("name"),
                             result.AsString("refcode"), result.AsString("coordtype"),
                             result.AsString("aligvol"), result.AsString("aligarea")});
}

} // namespace ormaline
