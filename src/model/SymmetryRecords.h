// Records of the space-group tables a compound carries.
#pragma once

#include <array>
#include <cstdint>

namespace ormaline {

// Compact operation code: one byte per output coordinate. The low nibble 1, 2, 3
// selects +x, +y, +z (other values other axes and signs); the high nibble is a
// translation in twelfths. The identity is (1, 2, 3) with RotorTr = 1.
struct tcodRec {
    std::array<std::uint8_t, 3> code{};
    std::uint8_t RotorTr = 0;
};

// Rotation part of an operation.
struct tRotor {
    std::array<std::array<std::int16_t, 3>, 3> Rot{};
    std::int8_t gesnum = 0;
};

// A site-symmetry subgroup.
struct TSubgr {
    std::array<std::int8_t, 47> Subgr{}; // operation numbers
    std::uint8_t SiteSym = 0;            // index into the site-symmetry names (0 = "?")
    std::uint8_t krat = 0;               // order of the site stabiliser minus one
};

inline constexpr int kMaxSymOps = 48;
inline constexpr int kMaxSubgroups = 31;

} // namespace ormaline
