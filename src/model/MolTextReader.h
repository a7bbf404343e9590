// Reader of graph files (molecule text format, extension gph): molecular fragments
// and query subgraphs as text lines.
//
//   line 1   header; "VER=n..." gives the format version n, anything else version 0
//   line 2   cell: a b c (Å) α β γ (degrees)
//   line 3.. one atom per line: [*][#]number element-or-{list} [mult,site] <colour>
//            x y z, then bonds as "partner letter" pairs (v, s, w, h)
// Coordinates are fractional from version 1 on and Cartesian Å in version 0.
#pragma once

#include "model/OurData.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ormaline {

// The message a failed read shows.
inline constexpr std::string_view kMolDataErrorText = "Errors in molecule data.";

// Shows an error message to the user (an error box with an OK button in the program;
// tests record it). An empty function shows nothing.
using TErrorReport = std::function<void(const std::string& message)>;

// Fills comp from the lines of a whole graph file; true on success. With fewer than
// three lines it returns false at once, shows nothing and leaves comp untouched. Any
// other failure (a header "VER" without a version digit, an empty atom line, an atom
// number or bond partner that is not an integer or lacks its blank, a multiplicity
// that is not an integer 0..255) releases comp, reports "Errors in molecule data."
// and returns false. Atoms are ordered by element code and index (CompAtNI);
// adjacency entries keep their reading order and are left unlinked (p nil).
// A partner number outside 0..65535 is kept as read and never links.
bool ReadMolText(const std::vector<std::string>& lines, tCompParam& comp,
                 const TErrorReport& report);

// The same for the text of a whole file, split into lines at CR LF, LF or CR.
bool ReadMolTextFromString(std::string_view text, tCompParam& comp, const TErrorReport& report);

// Finds the first `open` and the first `close` character of the line. When both exist
// and close lies at least two positions after open, returns the text between them and
// deletes the group with its brackets from the line; otherwise returns "". The line
// is trimmed in both cases.
std::string ExtractGroup(char open, char close, std::string& line);

} // namespace ormaline
