// The rows of the ligand search: reading each hit into TOneRecStr, the grid row of
// sgLigands, and the lines of the "TTLQuery" file.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/OneRecStr.h"
#include "app/core/SearchTexts.h"
#include "model/Guid.h"

namespace ormaline {

using TGridRow = std::vector<std::string>;

// Decides whether a candidate row of the search is a hit, given the ligand's ID.
// While a subgraph is loaded the window passes its subgraph test here; otherwise
// every row is a hit.
using TLigandRowTest = std::function<bool(const TGuid& ligandId)>;

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

// Walks the rows of the search result from the current one to the end. Each row whose
// ligand passes `isHit` (an empty test passes every row) is counted and read, and
// handed to `onHit(record, hitCount)` with the hit count so far (the grid row number).
// Returns the number of hits. The result is left at its end, open.
template <class Result, class OnHit>
int WalkTTLSearchRows(Result& result, OnHit&& onHit, const TLigandRowTest& isHit = {}) {
    int hitCount = 0;
    for (; !result.Eof(); result.Next()) {
        TGuid id = GuidFromColumnText(result.AsString("ID"));
        if (isHit && !isHit(id))
            continue;
        ++hitCount;
        onHit(ReadTTLSearchRow(result, id), hitCount);
    }
    return hitCount;
}

} // namespace ormaline
