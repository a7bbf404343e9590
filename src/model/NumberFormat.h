// Numbers shown or written: fixed-point with a decimal point whatever the locale.
#pragma once

#include <string>

namespace ormaline {

// `value` with exactly `decimals` digits after the point ("-0.25000"). A value that
// rounds to zero is written without a minus sign. Infinity and NaN are written as
// "INF", "-INF" and "NAN".
std::string FormatFixed(double value, int decimals);
// The same, right-aligned with leading blanks to at least `width` characters.
std::string FormatFixed(double value, int width, int decimals);

// Round to nearest, ties to even.
long long RoundHalfEven(double value);

// `value` in exponent notation, 23 characters wide: a blank (positive) or a minus
// sign, one digit, a decimal point, 14 digits, "E", the exponent's sign and four
// exponent digits (1.5 gives " 1.50000000000000E+0000"). Infinity and NaN are written
// as FormatFixed writes them, right-aligned in the same width.
std::string FormatExponent(double value);

// A mean with its standard deviation in the units of the last of `decimals` digits:
// FormatFixed(mean, decimals), "(", deviation x 10^decimals rounded (ties to even),
// ")". A mean of 1.2346 with deviation 0.0123 and 3 decimals gives "1.235(12)".
std::string FormatMeanWithDeviation(double mean, double deviation, int decimals);

} // namespace ormaline
