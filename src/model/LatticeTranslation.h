// Lattice translations packed into one integer, as atoms store them in `tr`.
#pragma once

#include "model/VectorTypes.h"

#include <cstdint>

namespace ormaline {

// t[0] + 256·t[1] + 65536·t[2], the three bytes taken unsigned (0 .. 16777215).
constexpr std::int32_t PackTr(const ShIVector& t) {
    return static_cast<std::int32_t>(static_cast<std::uint8_t>(t[0])) +
           256 * static_cast<std::int32_t>(static_cast<std::uint8_t>(t[1])) +
           65536 * static_cast<std::int32_t>(static_cast<std::uint8_t>(t[2]));
}
constexpr std::int32_t PackTr(int t0, int t1, int t2) {
    return PackTr(ShIVector{static_cast<std::int8_t>(t0), static_cast<std::int8_t>(t1),
                            static_cast<std::int8_t>(t2)});
}

// t[0], t[1], t[2] := bits 0-7, 8-15, 16-23 of v, read as signed bytes.
constexpr void UnpackTr(std::int32_t v, ShIVector& t) {
    auto u = static_cast<std::uint32_t>(v);
    t[0] = static_cast<std::int8_t>(static_cast<std::uint8_t>(u & 0xFFu));
    t[1] = static_cast<std::int8_t>(static_cast<std::uint8_t>((u >> 8) & 0xFFu));
    t[2] = static_cast<std::int8_t>(static_cast<std::uint8_t>((u >> 16) & 0xFFu));
}

} // namespace ormaline
