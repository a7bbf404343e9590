// The RefCode list of the Total tab's result memo, read by every "Use RefCode List"
// condition.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ormaline {

// The codes of the memo lines as a quoted, comma-separated list, and their number in
// `c`. A line whose trimmed text is empty is skipped; every other line is taken
// untrimmed, enclosed in single quotes (its own quotes doubled), preceded by a comma
// unless it is the first. A CR LF comes before the 1st, 11th, 21st ... code, so three
// lines A, B, C give CR LF 'A','B','C' and c = 3. No codes give "" and c = 0.
std::string RefCodeList(const std::vector<std::string>& lines, int& c);

// The condition on `column` for the memo lines: " and <column>=" + list for one code,
// " and <column> in (" + list + ")" for several, and none without codes; `trailing`
// follows either form (some statements end the line with a blank).
std::optional<std::string> RefCodeCondition(std::string_view column,
                                            const std::vector<std::string>& lines,
                                            std::string_view trailing = "");

// Appends the RefCode condition as a statement line when "Use RefCode List" is checked
// and the memo lines hold codes.
void AppendRefCodeLine(std::vector<std::string>& statementLines, bool useRefCodeList,
                       std::string_view column, const std::vector<std::string>& lines,
                       std::string_view trailing = "");

} // namespace ormaline
