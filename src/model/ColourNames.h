// Names of colours in files: the identifier of a known 32-bit colour value (0x00BBGGRR,
// or 0xFF0000nn for system colour nn), otherwise "$" and the value as eight upper-case
// hexadecimal digits.
#pragma once

#include <cstdint>
#include <string>

namespace ormaline {

// "clRed" for 0x000000FF, "$FFFFFFFF" for -1 (no colour), "$00123456" for 0x00123456.
std::string ColourName(std::int32_t colour);

} // namespace ormaline
