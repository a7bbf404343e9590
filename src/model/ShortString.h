// Length-prefixed 8-bit strings of bounded length, as the fixed-layout records hold
// them: one length byte followed by room for Capacity characters.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace ormaline {

template <std::size_t Capacity> struct TShortString {
    static_assert(Capacity > 0 && Capacity <= 255, "a length byte holds at most 255");

    std::uint8_t length = 0;
    std::array<char, Capacity> chars{};

    TShortString() = default;
    // Keeps the first Capacity characters of text.
    TShortString(std::string_view text) { Assign(text); }

    void Assign(std::string_view text) {
        std::size_t count = std::min(text.size(), Capacity);
        std::copy_n(text.data(), count, chars.data());
        std::fill(chars.begin() + static_cast<std::ptrdiff_t>(count), chars.end(), '\0');
        length = static_cast<std::uint8_t>(count);
    }
    TShortString& operator=(std::string_view text) {
        Assign(text);
        return *this;
    }
    void Clear() { Assign({}); }

    std::string_view View() const { return std::string_view(chars.data(), length); }
    std::string Str() const { return std::string(View()); }
    std::size_t Size() const { return length; }
    bool Empty() const { return length == 0; }
    static constexpr std::size_t MaxSize() { return Capacity; }

    friend bool operator==(const TShortString& a, const TShortString& b) {
        return a.View() == b.View();
    }
    friend bool operator==(const TShortString& a, std::string_view b) { return a.View() == b; }
};

using tNameSG = TShortString<16>;       // space-group symbol
using tSpaceGroup = TShortString<7>;    // compact space-group symbol
using tRefCode = TShortString<8>;       // structure reference code
using tNameCompound = TShortString<50>; // compound name
using tVolume = TShortString<4>;
using tNumber = TShortString<5>;
using tPage = TShortString<9>;

} // namespace ormaline
