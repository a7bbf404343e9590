// Numbers shown or written: fixed-point with a decimal point whatever the locale.
#pragma once

#include <string>

namespace ormaline {

// `value` with exactly `decimals` digits after the point ("-0.25000"). A value that
// rounds to zero is written without a minus sign. Infinity and NaN are written as
// "INF", "-INF" and "NAN".
std::string FormatFixed(double value, int decimals);

// Round to nearest, ties to even.
long long RoundHalfEven(double value);

} // namespace ormaline
