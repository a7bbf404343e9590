// The rows of the ligand search: reading each hit into TOneRecStr, the grid row of
// sgLigands, and the lines of the "TTLQuery" file.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/OneRecStr.h"
#include "app/core/SearchTexts.h"
#include "model/Guid.h"

namespace ormaline {

using TGridRow = std::vector<std::string>;

inline constexpr const char* kTTLNoDataFound = kNoDataFound;
inline constexpr const char* kTTLQueryFileName = "TTLQuery";

// "Found <n> ligands."
std::string FoundLigandsStatus(int hitCount);

// The columns of sgLigands: "TTLCode", "CountAt", "TTLName", "ID" (braced GUID
// text, hidden), "Occur.".
TGridRow TTLGridRow(const TOneRecStr& record);

// "TTLCode\tCountAt\tTTLName\tOccur." and CR LF.
std::string TTLQueryFileHeader();
// ttlcode, countat, name, c_loc separated by tabs, then CR LF.
std::string TTLQueryFileLine(const TOneRecStr& record);
// The whole file: the header line and one line per record.
std::string TTLQueryFileText(const std::vector<TOneRecStr>& records);

// A GUID column's text (braced, as the connection returns it) as a GUID; a text that
// is not a GUID throws EConvertError.
TGuid GuidFromColumnText(std::string_view text);

// The current row of a search result (TResult or anything read the same way) as a
// hit record, its ID already read.
template <class Result> TOneRecStr ReadTTLSearchRow(const Result& result, const TGuid& id) {
    TOneRecStr record;
    record.ID = id;
    record.name = result.AsString("name");
    record.count_at = result.AsInteger("countat");
    record.ident = result.AsInteger("ttlcode");
    record.c_loc = result.AsInteger("c_loc");
    return record;
}

// Decides, for a block of candidate rows given by their ligands' IDs, which rows are
// hits: one flag per ID, in order. The subgraph test of a loaded subgraph loads and
// tests the candidates of a block together.
using TLigandBlockTest = std::function<std::vector<bool>(const std::vector<TGuid>& ligandIds)>;

// Reads the rows of a search result from the current one to the end into hit
// records, their IDs read, in row order, calling `onRowsRead` after every
// kTTLRowsBetweenCalls rows so that a caller can keep the window alive meanwhile.
// The result is left at its end, open.
inline constexpr std::size_t kTTLRowsBetweenCalls = 1000;
template <class Result>
std::vector<TOneRecStr> ReadTTLSearchRows(Result& result,
                                          const std::function<void()>& onRowsRead = {}) {
    std::vector<TOneRecStr> records;
    for (; !result.Eof(); result.Next()) {
        records.push_back(ReadTTLSearchRow(result, GuidFromColumnText(result.AsString("ID"))));
        if (onRowsRead && records.size() % kTTLRowsBetweenCalls == 0)
            onRowsRead();
    }
    return records;
}

// Decides the records `blockSize` at a time (at least one): `isHit` is given the IDs
// of a block (an empty test passes every record), and each hit is counted and handed
// to `onHit(record, hitCount)` with the hit count so far (the grid row number), in
// record order. Returns the number of hits.
template <class OnHit>
int DecideTTLSearchRows(const std::vector<TOneRecStr>& records, OnHit&& onHit,
                        const TLigandBlockTest& isHit, std::size_t blockSize) {
    blockSize = std::max<std::size_t>(blockSize, 1);
    int hitCount = 0;
    std::vector<TGuid> ids;
    for (std::size_t first = 0; first < records.size(); first += blockSize) {
        const std::size_t end = std::min(records.size(), first + blockSize);
        ids.clear();
        for (std::size_t k = first; k < end; ++k)
            ids.push_back(records[k].ID);
        const std::vector<bool> hits = isHit ? isHit(ids) : std::vector<bool>(ids.size(), true);
        for (std::size_t k = first; k < end; ++k)
            if (k - first < hits.size() && hits[k - first])
                onHit(records[k], ++hitCount);
    }
    return hitCount;
}

} // namespace ormaline
