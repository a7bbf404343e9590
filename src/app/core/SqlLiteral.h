// Typed values inserted into statement text. The one place where quoting happens.
//
// A typed text between quotes has its single quotes doubled, which leaves every
// valid statement unchanged and keeps a stray quote from ending the literal.
// A value that a statement inserts unquoted as a number is inserted as typed only
// when it is a valid number; anything else becomes a quoted literal, so the server
// refuses the statement and nothing is injected.
#pragma once

#include <string>
#include <string_view>

namespace ormaline {

// The text with each ' doubled, without enclosing quotes.
std::string EscapeQuotes(std::string_view text);
// 'text' with quotes doubled.
std::string QuotedLiteral(std::string_view text);
// `text` as typed when IsNumber(text), otherwise QuotedLiteral(text).
std::string NumberOrLiteral(std::string_view text);
// `text` as typed when IsValidInteger(text), otherwise QuotedLiteral(text).
std::string IntegerOrLiteral(std::string_view text);

// The line break that joins statement lines.
inline constexpr std::string_view kCrLf = "\r\n";

} // namespace ormaline
