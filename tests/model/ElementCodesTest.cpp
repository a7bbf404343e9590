#include "ModelTestUtil.h"

#include "model/ElementCodes.h"
#include "model/LatticeTranslation.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace ormaline {
namespace {

ElementCodeSet SetOf(std::initializer_list<int> codes) {
    ElementCodeSet set;
    for (int code : codes)
        set.Include(code);
    return set;
}

using test::Members;

struct SymbolRow {
    int code;
    const char* symbol;
};

TEST(ElementCodes, SymbolsOfKnownCodes) {
    const SymbolRow rows[] = {
        {1, "H"},    {2, "He"},   {6, "C"},    {8, "O"},    {17, "Cl"},  {26, "Fe"},  {29, "Cu"},
        {30, "Zn"},  {40, "Zr"},  {53, "I"},   {57, "La"},  {71, "Lu"},  {74, "W"},   {79, "Au"},
        {82, "Pb"},  {92, "U"},   {103, "Lr"}, {104, "Rf"}, {105, "Db"}, {106, "Sg"}, {107, "Bh"},
        {108, "X"},  {109, "XX"}, {110, "D"},  {111, "ZA"}, {115, "ZE"}, {120, "ZJ"}, {0, "00"},
        {-1, "E1"},  {-9, "E9"},  {-10, "Ln"}, {-11, "An"}, {-12, "Ec"}, {-13, "Fa"}, {-14, "Nm"},
        {-15, "Me"}, {-16, "E?"}, {-17, "T1"}, {-19, "T3"}, {-20, "P1"}, {-26, "P7"},
    };
    for (const SymbolRow& row : rows) {
        EXPECT_EQ(ElSymbol(row.code), row.symbol) << row.code;
        EXPECT_EQ(ElCode(row.symbol), row.code) << row.symbol;
    }
}

TEST(ElementCodes, OutOfRangeAndUnknown) {
    EXPECT_EQ(ElSymbol(-16), "E?");
    EXPECT_EQ(ElSymbol(121), "E?");
    EXPECT_EQ(ElSymbol(-27), "E?");
    EXPECT_EQ(ElSymbol(32767), "E?");
    EXPECT_EQ(ElCode("E?"), -16);
    EXPECT_EQ(ElCode("zn"), -16); // case-sensitive
    EXPECT_EQ(ElCode("CL"), -16);
    EXPECT_EQ(ElCode(""), -16);
    EXPECT_EQ(ElCode("Qq"), -16);
}

TEST(ElementCodes, SymbolsAreUnique) {
    std::set<std::string> seen;
    for (int code = kMinElementCode; code <= kMaxElementCode; ++code)
        EXPECT_TRUE(seen.insert(std::string(ElSymbol(code))).second) << code;
}

TEST(ElementCodes, GroupSizes) {
    const std::pair<int, int> sizes[] = {
        {1, 7},   {2, 6},   {3, 5},  {4, 5},   {5, 5},   {6, 5},   {7, 5},   {8, 6},   {9, 29},
        {10, 15}, {11, 15}, {12, 0}, {13, 10}, {14, 23}, {15, 85}, {16, 0},  {17, 10}, {18, 10},
        {19, 9},  {20, 3},  {21, 8}, {22, 8},  {23, 18}, {24, 18}, {25, 32}, {26, 21}};
    for (auto [index, size] : sizes)
        EXPECT_EQ(ElementGroupSets[static_cast<std::size_t>(index)].Count(), size) << index;
}

TEST(ElementCodes, MetalsAreLithiumToBohriumWithoutNonMetals) {
    // Independent construction: every code 3..107 that is not in Nm.
    ElementCodeSet expected;
    for (int code = 3; code <= 107; ++code)
        if (!ElementGroupSets[14].Contains(code))
            expected.Include(code);
    EXPECT_EQ(ElementGroupSets[15], expected);
    EXPECT_TRUE(ElementGroupSets[15].Contains(32));  // Ge
    EXPECT_TRUE(ElementGroupSets[15].Contains(84));  // Po
    EXPECT_FALSE(ElementGroupSets[15].Contains(33)); // As
}

TEST(ElementCodes, PeriodsCoverTheChemicalElements) {
    ElementCodeSet all;
    int total = 0;
    for (int index = 20; index <= 26; ++index) {
        all |= ElementGroupSets[static_cast<std::size_t>(index)];
        total += ElementGroupSets[static_cast<std::size_t>(index)].Count();
    }
    ElementCodeSet expected;
    for (int code = 1; code <= 107; ++code)
        expected.Include(code);
    expected.Include(110); // D in the first period
    EXPECT_EQ(all, expected);
    EXPECT_EQ(total, 108); // the periods do not overlap
}

TEST(ElementCodes, TransitionRowsMakeE9) {
    ElementCodeSet rows = ElementGroupSets[17];
    rows |= ElementGroupSets[18];
    rows |= ElementGroupSets[19];
    EXPECT_EQ(rows, ElementGroupSets[9]);
}

struct ParseRow {
    const char* text;
    bool error;
    std::vector<int> members;
};

TEST(ParseElSet, Table) {
    std::vector<int> metalsWithoutIron = Members(ElementGroupSets[15]);
    std::erase(metalsWithoutIron, 26);
    std::vector<int> everything;
    for (int code = 1; code <= 120; ++code)
        everything.push_back(code);
    std::vector<int> everythingButHalogens = everything;
    for (int halogen : {9, 17, 35, 53, 85})
        std::erase(everythingButHalogens, halogen);

    const ParseRow rows[] = {
        {"*", false, {0}},
        {"", false, {}},
        {"   ", false, {}},
        {"cu,zn", false, {29, 30}},
        {"Me - Fe", false, metalsWithoutIron},
        {"ZN ZA", false, {30, 111}},
        {"ZR", false, {40}},
        {"zr", false, {40}},
        {"Za", true, {}},
        {"xx", true, {}}, // becomes Xx, which is no symbol
        {"XX", false, {109}},
        {"x", false, {108}},
        {"Fe3", true, {}},
        {"Qq", true, {}},
        {"C N O", false, {6, 7, 8}},
        {"  C N O  ", false, {6, 7, 8}},
        {"E1", false, {1, 3, 11, 19, 37, 55, 87}},
        {"*C", false, {0, 6}},
        {"El", false, everything},
        {"EL - E7", false, everythingButHalogens},
        {"00", false, {0}},
        {"E?", true, {}},
        {"Ec", false, {}},
        {"C,,N", true, {6}},
        {"C  N", true, {6}},
        {"C,", false, {6}},
        {"cu, zn", true, {}}, // the blank makes "cu," one token
        {"-", false, {}},
        {"- C", false, {}},
        {"C - C N", false, {}},
        {"Fa", false, {111, 112, 113, 114, 115, 116, 117, 118, 119, 120}},
        {"P1", false, {1, 2, 110}},
    };
    for (const ParseRow& row : rows) {
        ElementCodeSet set;
        EXPECT_EQ(ParseElSet(row.text, set), row.error) << '"' << row.text << '"';
        if (!row.error || !row.members.empty()) {
            EXPECT_EQ(Members(set), row.members) << '"' << row.text << '"';
        }
    }
}

TEST(ParseElSet, ErrorKeepsWhatCameBefore) {
    ElementCodeSet set = SetOf({50});
    EXPECT_TRUE(ParseElSet("C N Qq O", set));
    EXPECT_EQ(Members(set), (std::vector<int>{6, 7}));
}

TEST(ParseElSet, BinaryJunkIsAnError) {
    ElementCodeSet set;
    const std::string junk("\x01\xff\x80 \x00", 5);
    EXPECT_TRUE(ParseElSet(junk, set));
    EXPECT_TRUE(ParseElSet(std::string(1'000'000, 'C'), set));
}

TEST(LatticeTranslation, PackAndUnpack) {
    EXPECT_EQ(PackTr(-1, 0, 1), 255 + 65536);
    EXPECT_EQ(PackTr(0, 0, 0), 0);
    EXPECT_EQ(PackTr(-1, -1, -1), 16777215);
    EXPECT_EQ(PackTr(1, 2, 3), 1 + 2 * 256 + 3 * 65536);
    EXPECT_EQ(PackTr(-128, 127, 0), 128 + 127 * 256);

    for (int a = -128; a <= 127; a += 17)
        for (int b = -128; b <= 127; b += 29)
            for (int c = -128; c <= 127; c += 43) {
                ShIVector t{};
                UnpackTr(PackTr(a, b, c), t);
                EXPECT_EQ(t, (ShIVector{static_cast<std::int8_t>(a), static_cast<std::int8_t>(b),
                                        static_cast<std::int8_t>(c)}));
            }
    ShIVector t{};
    UnpackTr(255 + 65536, t);
    EXPECT_EQ(t, (ShIVector{-1, 0, 1}));
}

} // namespace
} // namespace ormaline
