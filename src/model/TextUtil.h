// Trimming and parsing of typed texts, independent of any locale.
//
// Trimming removes leading and trailing characters up to and including the blank
// (control characters too). A valid integer is an optional sign and decimal digits
// after trimming; a number is the same with an optional fraction and exponent,
// always written with a decimal point.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ormaline {

std::string Trim(std::string_view text);
// The same as a view into the text.
std::string_view TrimView(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// Optional sign and one or more decimal digits, after trimming. Any magnitude.
bool IsValidInteger(std::string_view text);
// A valid integer that fits in 32 bits.
std::optional<std::int32_t> ParseInt32(std::string_view text);
std::optional<std::int64_t> ParseInt64(std::string_view text);

// Optional sign, digits with an optional fraction (".5" and "5." are numbers),
// optional exponent ("e-3"), after trimming. Infinity and NaN spellings are not numbers.
bool IsNumber(std::string_view text);
std::optional<double> ParseNumber(std::string_view text);

std::string ToUpperAscii(std::string_view text);
std::string ToLowerAscii(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// Splits at CR LF, LF or CR; a final line break does not start an empty line.
std::vector<std::string> SplitLines(std::string_view text);

} // namespace ormaline
