// Element codes, their symbols and the element-group sets.
//
// An element is a signed 16-bit code from -26 to 120:
//   1..107   the chemical elements H .. Bh (code = atomic number),
//   108 X, 109 XX, 110 D, 111..120 ZA .. ZJ (pseudo-elements),
//   0 "00",
//   -1..-26  element groups, each standing for a fixed set of codes; -16 "E?" is the
//            code of an unknown element and stands for the empty set.
#pragma once

#include "model/BitSet.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace ormaline {

// 128-bit set of element codes 0..127.
using ElementCodeSet = TBitSet<128>;

inline constexpr std::int16_t kMinElementCode = -26;
inline constexpr std::int16_t kMaxElementCode = 120;
inline constexpr std::int16_t kUnknownElement = -16;      // "E?"
inline constexpr std::int16_t kLastChemicalElement = 107; // Bh

namespace detail {

// Symbols by code + 26, from -26 to 120.
inline constexpr std::array<std::string_view, 147> kElementSymbols = {
    // -26 .. -1
    "P7", "P6", "P5", "P4", "P3", "P2", "P1", "T3", "T2", "T1", "E?", "Me", "Nm", "Fa", "Ec", "An",
    "Ln", "E9", "E8", "E7", "E6", "E5", "E4", "E3", "E2", "E1",
    // 0
    "00",
    // 1 .. 107
    "H", "He", "Li", "Be", "B", "C", "N", "O", "F", "Ne", "Na", "Mg", "Al", "Si", "P", "S", "Cl",
    "Ar", "K", "Ca", "Sc", "Ti", "V", "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn", "Ga", "Ge", "As",
    "Se", "Br", "Kr", "Rb", "Sr", "Y", "Zr", "Nb", "Mo", "Tc", "Ru", "Rh", "Pd", "Ag", "Cd", "In",
    "Sn", "Sb", "Te", "I", "Xe", "Cs", "Ba", "La", "Ce", "Pr", "Nd", "Pm", "Sm", "Eu", "Gd", "Tb",
    "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W", "Re", "Os", "Ir", "Pt", "Au", "Hg", "Tl",
    "Pb", "Bi", "Po", "At", "Rn", "Fr", "Ra", "Ac", "Th", "Pa", "U", "Np", "Pu", "Am", "Cm", "Bk",
    "Cf", "Es", "Fm", "Md", "No", "Lr", "Rf", "Db", "Sg", "Bh",
    // 108 .. 120
    "X", "XX", "D", "ZA", "ZB", "ZC", "ZD", "ZE", "ZF", "ZG", "ZH", "ZI", "ZJ"};

} // namespace detail

// The symbol of a code from -26 to 120; any other code gives "E?".
constexpr std::string_view ElSymbol(int code) {
    if (code < kMinElementCode || code > kMaxElementCode)
        return "E?";
    return detail::kElementSymbols[static_cast<std::size_t>(code - kMinElementCode)];
}

// The code whose symbol equals text exactly (case-sensitive); -16 when none does.
constexpr std::int16_t ElCode(std::string_view text) {
    for (int code = kMinElementCode; code <= kMaxElementCode; ++code)
        if (detail::kElementSymbols[static_cast<std::size_t>(code - kMinElementCode)] == text)
            return static_cast<std::int16_t>(code);
    return kUnknownElement;
}

namespace detail {

constexpr ElementCodeSet SetOfSymbols(std::initializer_list<std::string_view> symbols) {
    ElementCodeSet set;
    for (std::string_view symbol : symbols)
        set.Include(ElCode(symbol));
    return set;
}

constexpr std::array<ElementCodeSet, 27> MakeGroupSets() {
    std::array<ElementCodeSet, 27> sets{};
    sets[1] = SetOfSymbols({"H", "Li", "Na", "K", "Rb", "Cs", "Fr"});
    sets[2] = SetOfSymbols({"Be", "Mg", "Ca", "Sr", "Ba", "Ra"});
    sets[3] = SetOfSymbols({"B", "Al", "Ga", "In", "Tl"});
    sets[4] = SetOfSymbols({"C", "Si", "Ge", "Sn", "Pb"});
    sets[5] = SetOfSymbols({"N", "P", "As", "Sb", "Bi"});
    sets[6] = SetOfSymbols({"O", "S", "Se", "Te", "Po"});
    sets[7] = SetOfSymbols({"F", "Cl", "Br", "I", "At"});
    sets[8] = SetOfSymbols({"He", "Ne", "Ar", "Kr", "Xe", "Rn"});
    sets[9] = SetOfSymbols({"Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn",
                            "Y",  "Zr", "Nb", "Mo", "Tc", "Ru", "Rh", "Pd", "Ag", "Cd",
                            "Hf", "Ta", "W",  "Re", "Os", "Ir", "Pt", "Au", "Hg"});
    sets[10] = SetOfSymbols(
        {"La", "Ce", "Pr", "Nd", "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu"});
    sets[11] = SetOfSymbols(
        {"Ac", "Th", "Pa", "U", "Np", "Pu", "Am", "Cm", "Bk", "Cf", "Es", "Fm", "Md", "No", "Lr"});
    // 12 "Ec": empty
    sets[13] = SetOfSymbols({"ZA", "ZB", "ZC", "ZD", "ZE", "ZF", "ZG", "ZH", "ZI", "ZJ"});
    sets[14] = SetOfSymbols({"H",  "He", "B",  "C",  "N",  "O",  "F", "Ne", "Si", "P",  "S", "Cl",
                             "Ar", "As", "Se", "Br", "Kr", "Te", "I", "Xe", "At", "Rn", "D"});
    sets[15] = SetOfSymbols(
        {"Li", "Be", "Na", "Mg", "Al", "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni",
         "Cu", "Zn", "Ga", "Ge", "Rb", "Sr", "Y",  "Zr", "Nb", "Mo", "Tc", "Ru", "Rh", "Pd", "Ag",
         "Cd", "In", "Sn", "Sb", "Cs", "Ba", "La", "Ce", "Pr", "Nd", "Pm", "Sm", "Eu", "Gd", "Tb",
         "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W",  "Re", "Os", "Ir", "Pt", "Au", "Hg",
         "Tl", "Pb", "Bi", "Po", "Fr", "Ra", "Ac", "Th", "Pa", "U",  "Np", "Pu", "Am", "Cm", "Bk",
         "Cf", "Es", "Fm", "Md", "No", "Lr", "Rf", "Db", "Sg", "Bh"});
    // 16 "E?": empty
    sets[17] = SetOfSymbols({"Sc", "Ti", "V", "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn"});
    sets[18] = SetOfSymbols({"Y", "Zr", "Nb", "Mo", "Tc", "Ru", "Rh", "Pd", "Ag", "Cd"});
    sets[19] = SetOfSymbols({"Hf", "Ta", "W", "Re", "Os", "Ir", "Pt", "Au", "Hg"});
    sets[20] = SetOfSymbols({"H", "He", "D"});
    sets[21] = SetOfSymbols({"Li", "Be", "B", "C", "N", "O", "F", "Ne"});
    sets[22] = SetOfSymbols({"Na", "Mg", "Al", "Si", "P", "S", "Cl", "Ar"});
    sets[23] = SetOfSymbols({"K", "Ca", "Sc", "Ti", "V", "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn",
                             "Ga", "Ge", "As", "Se", "Br", "Kr"});
    sets[24] = SetOfSymbols({"Rb", "Sr", "Y", "Zr", "Nb", "Mo", "Tc", "Ru", "Rh", "Pd", "Ag", "Cd",
                             "In", "Sn", "Sb", "Te", "I", "Xe"});
    sets[25] = SetOfSymbols({"Cs", "Ba", "La", "Ce", "Pr", "Nd", "Pm", "Sm", "Eu", "Gd", "Tb",
                             "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W",  "Re", "Os",
                             "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Po", "At", "Rn"});
    sets[26] = SetOfSymbols({"Fr", "Ra", "Ac", "Th", "Pa", "U",  "Np", "Pu", "Am", "Cm", "Bk",
                             "Cf", "Es", "Fm", "Md", "No", "Lr", "Rf", "Db", "Sg", "Bh"});
    return sets;
}

} // namespace detail

// The element-group sets, indexed by -code (1..26); entry 0 is empty and unused.
inline constexpr std::array<ElementCodeSet, 27> ElementGroupSets = detail::MakeGroupSets();

// The members of an element code: the group set for -26..-1, the code itself for
// 0..120 and the empty set otherwise.
constexpr ElementCodeSet ElementMembers(int code) {
    if (code < kMinElementCode || code > kMaxElementCode)
        return {};
    if (code < 0)
        return ElementGroupSets[static_cast<std::size_t>(-code)];
    ElementCodeSet set;
    set.Include(code);
    return set;
}

// Parses an element list as typed in the element fields, the element dialog or a
// group in braces in a graph file: "*" adds code 0; tokens of one or two characters,
// separated by blanks (or by commas when the text has no blank); "-" switches to
// exclusion; "El" stands for codes 1..120; group symbols stand for their sets.
// Returns true on error; the set then holds what was added before the bad token.
bool ParseElSet(std::string_view text, ElementCodeSet& set);

} // namespace ormaline
