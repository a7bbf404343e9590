// Small fixed vectors and growable arrays of the structure records.
//
// Vectors are indexed 0, 1, 2 for x, y, z (or a, b, c); growable arrays are
// std::vector. The names are those the structure records use for their fields.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace ormaline {

using ShIVector = std::array<std::int8_t, 3>; // a lattice translation
using SmIVector = std::array<std::int16_t, 3>;
using BVector = std::array<std::uint8_t, 3>;
using SVector = std::array<float, 3>;
using DVector = std::array<double, 3>;

using tMAD = std::vector<float>;
using tByteMAD = std::vector<std::uint8_t>;
using tWordMAD = std::vector<std::uint16_t>;
using tSmIntMAD = std::vector<std::int16_t>;
using tShIntMAD = std::vector<std::int8_t>;
using tIntMAD = std::vector<std::int32_t>;
using tCharMAD = std::vector<char16_t>;
using tAnsiCharMAD = std::vector<char>;
using SMasVec = std::vector<SVector>;

} // namespace ormaline
