#include "viewer/core/ElementTables.h"

#include <initializer_list>
#include <string_view>

namespace ormaline {
namespace {

struct SymbolValue {
    std::string_view symbol;
    float value;
};

struct RangeValue {
    int first, last;
    float value;
};

TElementValues MakeValues(std::initializer_list<SymbolValue> symbols,
                          std::initializer_list<RangeValue> ranges) {
    TElementValues values{};
    for (const RangeValue& range : ranges)
        for (int code = range.first; code <= range.last; ++code)
            values[static_cast<std::size_t>(code)] = range.value;
    for (const SymbolValue& entry : symbols)
        values[static_cast<std::size_t>(ElCode(entry.symbol))] = entry.value;
    return values;
}

// "Slater" radii in angstrom.
TElementValues MakeSystem0() {
    return MakeValues(
        {{"H", 0.25f},  {"He", 0.0f},  {"Li", 1.45f}, {"Be", 1.05f}, {"B", 0.85f},  {"C", 0.70f},
         {"N", 0.65f},  {"O", 0.60f},  {"F", 0.50f},  {"Ne", 0.0f},  {"Na", 1.80f}, {"Mg", 1.50f},
         {"Al", 1.25f}, {"Si", 1.10f}, {"P", 1.00f},  {"S", 1.00f},  {"Cl", 1.00f}, {"Ar", 0.0f},
         {"K", 2.20f},  {"Ca", 1.80f}, {"Sc", 1.60f}, {"Ti", 1.40f}, {"V", 1.35f},  {"Cr", 1.40f},
         {"Mn", 1.40f}, {"Fe", 1.40f}, {"Co", 1.35f}, {"Ni", 1.35f}, {"Cu", 1.35f}, {"Zn", 1.35f},
         {"Ga", 1.30f}, {"Ge", 1.25f}, {"As", 1.15f}, {"Se", 1.15f}, {"Br", 1.15f}, {"Kr", 0.0f},
         {"Rb", 2.35f}, {"Sr", 2.00f}, {"Y", 1.80f},  {"Zr", 1.55f}, {"Nb", 1.45f}, {"Mo", 1.45f},
         {"Tc", 1.35f}, {"Ru", 1.30f}, {"Rh", 1.35f}, {"Pd", 1.40f}, {"Ag", 1.60f}, {"Cd", 1.55f},
         {"In", 1.55f}, {"Sn", 1.45f}, {"Sb", 1.45f}, {"Te", 1.40f}, {"I", 1.40f},  {"Xe", 0.0f},
         {"Cs", 2.60f}, {"Ba", 2.15f}, {"La", 1.95f}, {"Gd", 1.80f}, {"Hf", 1.55f}, {"Ta", 1.45f},
         {"W", 1.35f},  {"Re", 1.35f}, {"Os", 1.30f}, {"Ir", 1.35f}, {"Pt", 1.35f}, {"Au", 1.35f},
         {"Hg", 1.50f}, {"Tl", 1.90f}, {"Pb", 1.80f}, {"Bi", 1.60f}, {"Po", 1.90f}, {"At", 0.0f},
         {"Rn", 0.0f},  {"Fr", 0.0f},  {"Ra", 2.15f}, {"Ac", 1.95f}, {"Th", 1.80f}, {"Pa", 1.80f},
         {"U", 1.75f},  {"Np", 1.75f}, {"Pu", 1.75f}, {"D", 0.25f}},
        {{58, 63, 1.85f}, {65, 71, 1.75f}, {95, 109, 0.0f}, {111, 120, 1.20f}});
}

// "Sph.Domain" radii in angstrom.
TElementValues MakeSystem1() {
    return MakeValues(
        {{"H", 0.900f},  {"He", 2.024f}, {"Li", 1.728f}, {"Be", 1.246f}, {"B", 1.202f},
         {"C", 1.284f},  {"N", 1.650f},  {"O", 1.603f},  {"F", 1.565f},  {"Ne", 1.744f},
         {"Na", 2.113f}, {"Mg", 1.770f}, {"Al", 1.583f}, {"Si", 1.684f}, {"P", 1.655f},
         {"S", 1.600f},  {"Cl", 1.903f}, {"Ar", 2.075f}, {"K", 2.583f},  {"Ca", 2.184f},
         {"Sc", 1.814f}, {"Ti", 1.616f}, {"V", 1.625f},  {"Cr", 1.500f}, {"Mn", 1.403f},
         {"Fe", 1.411f}, {"Co", 1.383f}, {"Ni", 1.377f}, {"Cu", 1.413f}, {"Zn", 1.537f},
         {"Ga", 1.672f}, {"Ge", 1.755f}, {"As", 1.726f}, {"Se", 1.610f}, {"Br", 1.981f},
         {"Kr", 2.236f}, {"Rb", 2.760f}, {"Sr", 2.378f}, {"Y", 1.990f},  {"Zr", 1.771f},
         {"Nb", 1.625f}, {"Mo", 1.550f}, {"Tc", 1.503f}, {"Ru", 1.480f}, {"Rh", 1.487f},
         {"Pd", 1.520f}, {"Ag", 1.597f}, {"Cd", 1.727f}, {"In", 1.841f}, {"Sn", 1.862f},
         {"Sb", 1.930f}, {"Te", 2.009f}, {"I", 2.167f},  {"Xe", 2.422f}, {"Cs", 2.987f},
         {"Ba", 2.468f}, {"La", 2.075f}, {"Ce", 2.019f}, {"Pr", 2.021f}, {"Nd", 2.013f},
         {"Pm", 1.500f}, {"Sm", 1.991f}, {"Eu", 2.256f}, {"Gd", 1.987f}, {"Tb", 1.969f},
         {"Dy", 1.960f}, {"Ho", 1.951f}, {"Er", 1.941f}, {"Tm", 1.930f}, {"Yb", 2.150f},
         {"Lu", 1.917f}, {"Hf", 1.747f}, {"Ta", 1.911f}, {"W", 1.558f},  {"Re", 1.520f},
         {"Os", 1.495f}, {"Ir", 1.500f}, {"Pt", 1.533f}, {"Au", 1.594f}, {"Hg", 1.752f},
         {"Tl", 1.897f}, {"Pb", 1.935f}, {"Bi", 2.037f}, {"Po", 2.075f}, {"At", 1.500f},
         {"Rn", 1.500f}, {"Fr", 1.500f}, {"Ra", 1.500f}, {"Ac", 2.076f}, {"Th", 1.987f},
         {"Pa", 1.813f}, {"U", 2.000f},  {"Np", 1.649f}, {"Pu", 1.653f}, {"Am", 1.912f},
         {"Cm", 1.927f}, {"Bk", 1.883f}, {"Cf", 2.356f}, {"D", 0.900f}},
        {{99, 109, 1.500f}, {111, 120, 1.200f}});
}

struct SymbolColor {
    std::string_view symbol;
    TColor colour;
};

struct RangeColor {
    int first, last;
    TColor colour;
};

TElementColors MakeColors() {
    const std::initializer_list<RangeColor> ranges = {
        {31, 34, 0x9314FF}, {36, 46, 0x9314FF},  {48, 52, 0x9314FF},  {57, 70, 0x9314FF},
        {71, 78, 0xFF1493}, {80, 109, 0xFF1493}, {111, 120, 0x000000}};
    const std::initializer_list<SymbolColor> symbols = {
        {"H", 0x908080},  {"He", 0xFFC0CB}, {"Li", 0xB22222}, {"Be", 0xFF1493}, {"B", 0x00FF00},
        {"C", 0x675A5A},  {"N", 0xFF0000},  {"O", 0x0000FF},  {"F", 0xDAA520},  {"Ne", 0xFF1493},
        {"Na", 0xFF0000}, {"Mg", 0x228B22}, {"Al", 0x908080}, {"Si", 0x20A5DA}, {"P", 0x00A5FF},
        {"S", 0x32C8FF},  {"Cl", 0x00FF00}, {"Ar", 0x9314FF}, {"K", 0x9314FF},  {"Ca", 0x908080},
        {"Sc", 0x9314FF}, {"Ti", 0x908080}, {"V", 0x9314FF},  {"Cr", 0x908080}, {"Mn", 0x908080},
        {"Fe", 0x00A5FF}, {"Co", 0x9314FF}, {"Ni", 0x2A2AA5}, {"Cu", 0x2A2AA5}, {"Zn", 0x2A2AA5},
        {"Br", 0x2A2AA5}, {"Ag", 0x908080}, {"I", 0xF020A0},  {"Xe", 0x9314FF}, {"Cs", 0x9314FF},
        {"Ba", 0x00A5FF}, {"Au", 0x20A5DA}, {"D", 0xC0C0C0}};
    TElementColors colours{};
    for (const RangeColor& range : ranges)
        for (int code = range.first; code <= range.last; ++code)
            colours[static_cast<std::size_t>(code)] = range.colour;
    for (const SymbolColor& entry : symbols)
        colours[static_cast<std::size_t>(ElCode(entry.symbol))] = entry.colour;
    return colours;
}

// Columns "3" to "12" of the periodic table, tags 27 to 36. Column 3 holds Sc, Y, La and
// Ac; column n holds the elements 18 + n, 36 + n, 68 + n and, up to column 7, 100 + n.
std::array<ElementCodeSet, 10> MakeColumnSets() {
    std::array<ElementCodeSet, 10> sets{};
    for (int code : {21, 39, 57, 89})
        sets[0].Include(code);
    for (int column = 4; column <= 12; ++column) {
        ElementCodeSet& set = sets[static_cast<std::size_t>(column - 3)];
        set.Include(18 + column);
        set.Include(36 + column);
        set.Include(68 + column);
        if (column <= 7)
            set.Include(100 + column);
    }
    return sets;
}

const std::array<ElementCodeSet, 10> ColumnSets = MakeColumnSets();

} // namespace

const std::array<TElementValues, kRadiusSystems> ElementRadiiTables = {MakeSystem0(),
                                                                       MakeSystem1()};

const TElementValues& ElementRadiiTable(int system) {
    return ElementRadiiTables[system == 1 ? 1 : 0];
}

const TElementColors DefaultElementColors = MakeColors();

TElementColors& ElementColorTable() {
    static TElementColors table = DefaultElementColors;
    return table;
}

void ResetElementColorTable() {
    ElementColorTable() = DefaultElementColors;
}

TColor ElementColor(int code) {
    if (code < 0 || code >= kElementTableSize)
        return 0;
    return ElementColorTable()[static_cast<std::size_t>(code)];
}

ElementCodeSet ElementGroupSet(int tag) {
    if (tag >= 1 && tag <= 26)
        return ElementGroupSets[static_cast<std::size_t>(tag)];
    if (tag >= kFirstColumnGroup && tag <= kLastElementGroup)
        return ColumnSets[static_cast<std::size_t>(tag - kFirstColumnGroup)];
    return {};
}

const TGroupColors GroupColorTable = {0xC0C0C0, 0x808000, 0x008000, 0xFFFF00, 0xFF0000,
                                      0x0000FF, 0x00FF00, 0x000000, 0x800000, 0x000080,
                                      0x800080, 0x000000, 0x000000};

TColor GroupColorOf(int code, const TGroupColors& groupColors) {
    for (int group = 1; group <= kColorGroups; ++group)
        if (ElementGroupSets[static_cast<std::size_t>(group)].Contains(code))
            return groupColors[static_cast<std::size_t>(group - 1)];
    return 0;
}

} // namespace ormaline
