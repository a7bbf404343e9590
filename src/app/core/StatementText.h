// Statements are assembled as text lines joined with CR LF. A line may itself hold
// CR LF (a condition fragment usually ends with one).
#pragma once

#include <string>
#include <vector>

namespace ormaline {

// The lines joined with CR LF; no line break after the last line.
std::string JoinStatementLines(const std::vector<std::string>& lines);

} // namespace ormaline
