// Colours of the viewer: 32-bit values 0x00BBGGRR. A signed type, because the scene
// uses -1 for "no colour of its own" (tints, bond colours).
#pragma once

#include <array>
#include <cstdint>

namespace ormaline {

using TColor = std::int32_t;

inline constexpr TColor clNone = -1;

// The red, green and blue bytes of a colour as OpenGL wants them (each byte / 255).
struct TColorFloats {
    float r, g, b, a;
};

inline TColorFloats ColorToFloats(TColor colour, float alpha = 1.0f) {
    const auto value = static_cast<std::uint32_t>(colour);
    return {static_cast<float>(value & 0xFFu) / 255.0f,
            static_cast<float>((value >> 8) & 0xFFu) / 255.0f,
            static_cast<float>((value >> 16) & 0xFFu) / 255.0f, alpha};
}

// The same as the four floats OpenGL's colour and material calls take.
inline std::array<float, 4> Floats(TColor colour) {
    const TColorFloats f = ColorToFloats(colour);
    return {f.r, f.g, f.b, f.a};
}

} // namespace ormaline
