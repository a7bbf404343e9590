// Statements are assembled as text lines joined with CR LF. A line may itself hold
// CR LF (a condition fragment usually ends with one).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ormaline {

// The lines joined with CR LF; no line break after the last line.
std::string JoinStatementLines(const std::vector<std::string>& lines);

// The condition of a code memo (TTLCode, TTDCode) on `column`: one code K gives
// " and <column>=K" (no line break), codes K1..Kn give " and (  <column>=K1" then
// "  or <column>=Ki" for each further code and " )" CR LF. The description gets
// "  Code(s): " and the codes joined by ",". No codes add nothing.
void AppendCodeCondition(std::string_view column, const std::vector<std::string>& codes,
                         std::string& fragment, std::string& description);

} // namespace ormaline
