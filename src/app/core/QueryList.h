// The query list of the Total tab and what is built from it: the combined statement
// that intersects the checked queries by reference code, the literature look-up of
// chosen codes, and the lines of the "TotalData" file.
#pragma once

#include <string>
#include <vector>

namespace ormaline {

// The kinds of entries, as slQueryType holds them.
inline constexpr const char* kQueryKindLigand = "1";
inline constexpr const char* kQueryKindAtom = "2";
inline constexpr const char* kQueryKindTopology = "3";
inline constexpr const char* kQueryKindCrystal = "4";

inline constexpr const char* kQueryAlreadyInList = "This request is already in the list.";
inline constexpr const char* kNoQueryChosen = "Not chosen selection criteria.";
inline constexpr const char* kNoDataUnderConditions = "No data found under conditions:";
inline constexpr const char* kLoadDoiData = "Load DOI data.";
inline constexpr const char* kTotalDataFileName = "TotalData";
// The public resolver of digital object identifiers; a DOI is appended to it.
inline constexpr const char* kDoiResolver = "https://doi.org/";

// One entry of the query list: its kind, its condition fragment (the tab's own
// conditions only), its description as the check-list shows it, and its check mark.
struct TQueryEntry {
    std::string Kind;
    std::string Fragment;
    std::string Description;
    bool Checked = true;
};

// The head of the subquery that selects the reference codes of one kind's entry; the
// entry's fragment follows it as the next line. Empty for an unknown kind.
std::string SubqueryHead(const std::string& kind);

// The combined statement of the checked entries in list order (subqueries joined by
// "INTERSECT" lines) and the combined description (CR LF and two blanks before each
// checked entry's description). Both empty when no entry is checked.
struct TTotalQuery {
    std::string Statement;
    std::string Description;
};
TTotalQuery CombinedQuery(const std::vector<TQueryEntry>& entries);

// The codes of the text selected in the result memo (lines separated by CR LF) as a
// quoted list: lines A, B give 'A','B'; a final line break adds nothing; an empty
// selection gives ''. Lines are taken as selected, blanks kept; quotes are doubled.
std::string SelectionCodeList(const std::string& selection);

// The DOIs of the codes of `codeList`, in the server's order.
std::string DoiStatement(const std::string& codeList);
// The address that opens a DOI in the browser.
std::string DoiAddress(const std::string& doi);
// A DOI stored as this text is unknown: it counts as possible but is not opened.
bool IsUnknownDoi(const std::string& doi);
// "It is open <open> matches out of <possible> possible."
std::string DoiStatus(int openCount, int possibleCount);

std::string TotalDataFileHeader();
std::string TotalDataFileLine(const std::string& refcode);

} // namespace ormaline
