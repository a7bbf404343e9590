// The condition check of the ligand tab ("TTL&TTM&TTN"): copies the page's controls
// into TTTLSearch and decides whether a search may run.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/core/CheckOutcome.h"
#include "app/core/SearchConditions.h"
#include "app/core/SearchTexts.h"
#include "model/Guid.h"

namespace ormaline {

class TDatabase;

// The ligand page's control states that the check reads, as the window shows them.
struct TTTLPageState {
    std::string LibraryText;               // text of cmbTTLLibrary as shown
    std::string NameText;                  // edSearchName
    std::string AtNumText;                 // edSearchAtNum
    std::string CoordTypeText;             // edCoordType
    std::string DiversityText;             // edTTLDiversity
    std::vector<std::string> TTLCodeLines; // lines of mSearchTTLCode
    bool UseRefCodeList = false;           // cbTTLUseRCL
};

inline constexpr const char* kTTLWrongAtomCount = "The number of atoms in the ligand is wrong.";
inline constexpr const char* kTTLNoLibrary = "You have not selected a library";
inline constexpr const char* kTTLNoCriteria = kNoSearchCriteria;

// Runs the library statement and returns the "ID" of its first row, or nothing when
// no row came back.
using TLibraryLookup = std::function<std::optional<TGuid>(const std::string& statement)>;

// "select ID from topology.LiMoN_Library where Name='<name>'", quotes in the name doubled.
std::string LibraryLookupStatement(const std::string& libraryName);

// The valid integer lines of the TTLCode memo, trimmed; other lines (blank ones
// included) are dropped.
std::vector<std::string> TTLCodeListFromLines(const std::vector<std::string>& lines);

// Fills `search` from the page (TTLCodeList anew on every call) and returns the
// first failing message in this order: a wrong atom count (error box; the library
// is then not looked up), no library found (information box), no search criteria
// (information box). The library is looked up through `lookup`.
TCheckOutcome CheckTTLConditions(const TTTLPageState& page, const TLibraryLookup& lookup,
                                 TTTLSearch& search);

// The lookup over the connection: runs the statement, reads the first row's "ID",
// closes the result.
TLibraryLookup DatabaseLibraryLookup(TDatabase& database);

} // namespace ormaline
