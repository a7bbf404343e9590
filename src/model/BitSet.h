// Fixed-size sets of small non-negative integers, stored as the records store them:
// bit k of byte k div 8 stands for member k.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace ormaline {

template <std::size_t Bits> struct TBitSet {
    static_assert(Bits % 8 == 0, "whole bytes");

    std::array<std::uint8_t, Bits / 8> bytes{};

    static constexpr std::size_t Capacity() { return Bits; }

    // Members outside 0 .. Bits-1 are never contained; adding or removing them does nothing.
    constexpr bool Contains(int member) const {
        return member >= 0 && static_cast<std::size_t>(member) < Bits &&
               (bytes[static_cast<std::size_t>(member) / 8] >> (member % 8) & 1) != 0;
    }
    constexpr void Include(int member) {
        if (member >= 0 && static_cast<std::size_t>(member) < Bits)
            bytes[static_cast<std::size_t>(member) / 8] |=
                static_cast<std::uint8_t>(1u << (member % 8));
    }
    constexpr void Exclude(int member) {
        if (member >= 0 && static_cast<std::size_t>(member) < Bits)
            bytes[static_cast<std::size_t>(member) / 8] &=
                static_cast<std::uint8_t>(~(1u << (member % 8)));
    }
    constexpr void Clear() { bytes = {}; }
    constexpr bool IsEmpty() const {
        for (std::uint8_t b : bytes)
            if (b != 0)
                return false;
        return true;
    }
    constexpr int Count() const {
        int count = 0;
        for (std::uint8_t b : bytes)
            for (int bit = 0; bit < 8; ++bit)
                count += (b >> bit) & 1;
        return count;
    }
    // Smallest member in first .. last, or -1 when there is none.
    constexpr int Smallest(int first = 0, int last = static_cast<int>(Bits) - 1) const {
        for (int member = first < 0 ? 0 : first; member <= last; ++member)
            if (Contains(member))
                return member;
        return -1;
    }
    constexpr TBitSet& operator|=(const TBitSet& other) {
        for (std::size_t k = 0; k < bytes.size(); ++k)
            bytes[k] |= other.bytes[k];
        return *this;
    }
    constexpr TBitSet& operator&=(const TBitSet& other) {
        for (std::size_t k = 0; k < bytes.size(); ++k)
            bytes[k] &= other.bytes[k];
        return *this;
    }
    // Set difference.
    constexpr TBitSet& operator-=(const TBitSet& other) {
        for (std::size_t k = 0; k < bytes.size(); ++k)
            bytes[k] &= static_cast<std::uint8_t>(~other.bytes[k]);
        return *this;
    }
    friend constexpr bool operator==(const TBitSet& a, const TBitSet& b) = default;
};

// A set of byte values 0..255 (numbers of neighbours, multiplicities, site indexes).
using TByteSet = TBitSet<256>;

} // namespace ormaline
