// The atom tab ("TTA"): its condition check, the condition fragment with its
// description, and the statements of the search, the read and the atom data export.
//
// The fragment uses the alias t for atoms.cp_vdp: the search, the read, the data
// export and the query list's subquery all name the table so.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/core/CheckOutcome.h"
#include "app/core/SearchConditions.h"
#include "app/core/TextLookup.h"

namespace ormaline {

// The atom page's control states that the check reads, as the window shows them.
struct TTTAPageState {
    std::string ChemElText;      // edChemEl
    std::string AtNumText;       // the hidden edAtNum
    std::string CPClassText;     // edCPClass
    std::string CPvdpText;       // edCPvdp
    std::string CoordNumText;    // edCoordNum
    std::string OxStText;        // edOxSt
    std::string CoordFigText;    // text of cmbCoordFig
    std::string DiversityText;   // edTTADiversity
    std::string RsdsText;        // edTTARsds
    bool UseRefCodeList = false; // cbTTAUseRCL
};

// The states of the two "use like" boxes: the composition is then an SQL LIKE pattern.
struct TTTAPatternBoxes {
    bool CPClass = false; // cbCPClass
    bool CPvdp = false;   // cbCPvdp
};

inline constexpr const char* kTTAWrongPolyhedron = "The reference polyhedron is wrong.";
inline constexpr const char* kTTAQueryFileName = "TTAQuery";
inline constexpr const char* kTTADataFileName = "TTAData";
inline constexpr const char* kLoadTTAData = "Load atom data.";

// The atomic numbers 1 to 120 of the elements of a typed element list, ascending and
// joined by ","; a list that does not parse counts with the elements before the fault,
// the pseudo-code 0 of a leading asterisk never counts. An empty text gives "".
std::string AtNumFromElementText(const std::string& chemElText);

// "select id from atoms.ref_polyhedra where name='<name>'", quotes doubled.
std::string PolyhedronLookupStatement(const std::string& name);

// Fills `search` from the page; looks up the coordination figure through `lookup`.
// An unknown figure shows "The reference polyhedron is wrong." and the check goes on
// without it; no condition at all shows "Not specified search criteria".
TCheckReport CheckTTAConditions(const TTTAPageState& page, const TTextLookup& lookup,
                                TTTASearch& search);

// The bounds of the Rsd condition: the texts either side of the first ":" (trimmed), or
// a typed number S with n decimals widened to S - 10^-n and S + 10^-n with n decimals.
// Nothing when S is no number.
std::optional<std::pair<std::string, std::string>> RsdRange(const std::string& rsds);

// The condition fragment of `search`; `description` receives its one-line description.
std::string GetQTTAStr(const TTTASearch& search, const TTTAPatternBoxes& boxes,
                       std::string& description);

// The search: one row per element with the number of atoms and the mean and deviation
// of rsd, v_vdp, g3_vdp and var_me, the most frequent element first.
std::string TTASearchStatement(const TTTASearch& search, const TTTAPatternBoxes& boxes,
                               bool useRefCodeList, const std::vector<std::string>& refCodeLines);
// The read: every matching atom, by reference code and label.
std::string TTAReadStatement(const TTTASearch& search, const TTTAPatternBoxes& boxes,
                             bool useRefCodeList, const std::vector<std::string>& refCodeLines);
// The atom data export: the matching atoms that have a coordination figure, with their
// element symbol and figure name.
std::string TTADataStatement(const TTTASearch& search, const TTTAPatternBoxes& boxes,
                             bool useRefCodeList, const std::vector<std::string>& refCodeLines);

} // namespace ormaline
