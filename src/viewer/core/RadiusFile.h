// Element radius files (.rad): plain text, one line per element 1..120 in number order,
// the element symbol, one space and the radius with 2 decimals ("C 0.70").
#pragma once

#include "viewer/core/ElementTables.h"

#include <string>
#include <string_view>
#include <vector>

namespace ormaline {

// What reading a radius text did. Lines with an unknown symbol, a symbol outside the
// elements 1..120 or an invalid radius are skipped and counted; blank lines are ignored.
struct TRadiusReadResult {
    int applied = 0;               // lines that set a radius
    std::vector<int> skippedLines; // line numbers (from 1) of skipped lines
};

// A radius is accepted when it is a number from 0 to 100 angstrom, the range the
// element table accepts for a typed radius.
inline constexpr double kMaxElementRadius = 100.0;

// Reads lines of the form symbol, blank, number (text after a further blank is ignored)
// into `radii`; entries not mentioned keep their value. Never throws.
TRadiusReadResult ReadRadiusText(std::string_view text, TElementValues& radii);

// The file text of a radius table: elements 1..120, lines ending with CR LF.
std::string WriteRadiusText(const TElementValues& radii);

// Reads a radius file into `radii`. A file that does not exist or cannot be read changes
// nothing and gives false.
bool LoadRadiusFile(const std::string& path, TElementValues& radii,
                    TRadiusReadResult* result = nullptr);

// Writes a radius file; throws EInOutError naming the file when it cannot be written.
void SaveRadiusFile(const std::string& path, const TElementValues& radii);

} // namespace ormaline
