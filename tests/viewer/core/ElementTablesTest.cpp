#include "viewer/core/ElementTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace ormaline {
namespace {

struct RadiusCase {
    const char* symbol;
    float system0, system1;
};

class BuiltInRadii : public ::testing::TestWithParam<RadiusCase> {};

TEST_P(BuiltInRadii, MatchTheTables) {
    const RadiusCase& c = GetParam();
    const int code = ElCode(c.symbol);
    ASSERT_GE(code, 0) << c.symbol;
    EXPECT_FLOAT_EQ(ElementRadiiTable(0)[code], c.system0) << c.symbol;
    EXPECT_FLOAT_EQ(ElementRadiiTable(1)[code], c.system1) << c.symbol;
}

INSTANTIATE_TEST_SUITE_P(
    Samples, BuiltInRadii,
    ::testing::Values(RadiusCase{"00", 0.0f, 0.0f}, RadiusCase{"H", 0.25f, 0.900f},
                      RadiusCase{"He", 0.0f, 2.024f}, RadiusCase{"C", 0.70f, 1.284f},
                      RadiusCase{"Si", 1.10f, 1.684f}, RadiusCase{"Ce", 1.85f, 2.019f},
                      RadiusCase{"Eu", 1.85f, 2.256f}, RadiusCase{"Gd", 1.80f, 1.987f},
                      RadiusCase{"Tb", 1.75f, 1.969f}, RadiusCase{"Lu", 1.75f, 1.917f},
                      RadiusCase{"Pu", 1.75f, 1.653f}, RadiusCase{"Am", 0.0f, 1.912f},
                      RadiusCase{"Cf", 0.0f, 2.356f}, RadiusCase{"Es", 0.0f, 1.500f},
                      RadiusCase{"Bh", 0.0f, 1.500f}, RadiusCase{"XX", 0.0f, 1.500f},
                      RadiusCase{"D", 0.25f, 0.900f}, RadiusCase{"ZA", 1.20f, 1.200f},
                      RadiusCase{"ZJ", 1.20f, 1.200f}));

TEST(BuiltInRadii, UnknownSystemGivesSystemZero) {
    EXPECT_EQ(&ElementRadiiTable(7), &ElementRadiiTable(0));
}

TEST(BuiltInRadii, EverySlaterRangeIsFilled) {
    // Ce..Eu 1.85, Tb..Lu 1.75, Am..XX 0 and ZA..ZJ 1.20 in the Slater table.
    for (int code = 58; code <= 63; ++code)
        EXPECT_FLOAT_EQ(ElementRadiiTable(0)[code], 1.85f) << code;
    for (int code = 65; code <= 71; ++code)
        EXPECT_FLOAT_EQ(ElementRadiiTable(0)[code], 1.75f) << code;
    for (int code = 95; code <= 109; ++code)
        EXPECT_FLOAT_EQ(ElementRadiiTable(0)[code], 0.0f) << code;
    for (int code = 111; code <= 120; ++code)
        EXPECT_FLOAT_EQ(ElementRadiiTable(0)[code], 1.20f) << code;
    // Every chemical element up to Pu has a radius in the sphere-domain table.
    for (int code = 1; code <= 120; ++code)
        EXPECT_GT(ElementRadiiTable(1)[code], 0.5f) << code;
}

TEST(ElementColors, StartValuesAndChanges) {
    ResetElementColorTable();
    EXPECT_EQ(ElementColor(0), 0x000000);
    EXPECT_EQ(ElementColor(1), 0x908080);
    EXPECT_EQ(ElementColor(6), 0x675A5A);
    EXPECT_EQ(ElementColor(8), 0x0000FF);
    EXPECT_EQ(ElementColor(31), 0x9314FF);
    EXPECT_EQ(ElementColor(35), 0x2A2AA5);
    EXPECT_EQ(ElementColor(47), 0x908080);
    EXPECT_EQ(ElementColor(53), 0xF020A0);
    EXPECT_EQ(ElementColor(70), 0x9314FF);
    EXPECT_EQ(ElementColor(71), 0xFF1493);
    EXPECT_EQ(ElementColor(79), 0x20A5DA);
    EXPECT_EQ(ElementColor(109), 0xFF1493);
    EXPECT_EQ(ElementColor(110), 0xC0C0C0);
    EXPECT_EQ(ElementColor(115), 0x000000);
    EXPECT_EQ(ElementColor(-3), 0);
    EXPECT_EQ(ElementColor(121), 0);
    ElementColorTable()[8] = 0x123456;
    EXPECT_EQ(ElementColor(8), 0x123456);
    EXPECT_EQ(DefaultElementColors[8], 0x0000FF);
    ResetElementColorTable();
    EXPECT_EQ(ElementColor(8), 0x0000FF);
}

TEST(ColorFloats, BytesDividedBy255) {
    const TColorFloats f = ColorToFloats(0x00FF8000);
    EXPECT_FLOAT_EQ(f.r, 0.0f);
    EXPECT_FLOAT_EQ(f.g, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(f.b, 1.0f);
    EXPECT_FLOAT_EQ(f.a, 1.0f);
}

std::vector<int> Members(const ElementCodeSet& set) {
    std::vector<int> members;
    for (int code = 0; code < 128; ++code)
        if (set.Contains(code))
            members.push_back(code);
    return members;
}

std::vector<int> Codes(std::initializer_list<const char*> symbols) {
    std::vector<int> codes;
    for (const char* symbol : symbols)
        codes.push_back(ElCode(symbol));
    std::sort(codes.begin(), codes.end());
    return codes;
}

TEST(ElementGroups, ColumnSets) {
    EXPECT_EQ(Members(ElementGroupSet(27)), Codes({"Sc", "Y", "La", "Ac"}));
    EXPECT_EQ(Members(ElementGroupSet(28)), Codes({"Ti", "Zr", "Hf", "Rf"}));
    EXPECT_EQ(Members(ElementGroupSet(29)), Codes({"V", "Nb", "Ta", "Db"}));
    EXPECT_EQ(Members(ElementGroupSet(30)), Codes({"Cr", "Mo", "W", "Sg"}));
    EXPECT_EQ(Members(ElementGroupSet(31)), Codes({"Mn", "Tc", "Re", "Bh"}));
    EXPECT_EQ(Members(ElementGroupSet(32)), Codes({"Fe", "Ru", "Os"}));
    EXPECT_EQ(Members(ElementGroupSet(33)), Codes({"Co", "Rh", "Ir"}));
    EXPECT_EQ(Members(ElementGroupSet(34)), Codes({"Ni", "Pd", "Pt"}));
    EXPECT_EQ(Members(ElementGroupSet(35)), Codes({"Cu", "Ag", "Au"}));
    EXPECT_EQ(Members(ElementGroupSet(36)), Codes({"Zn", "Cd", "Hg"}));
    EXPECT_TRUE(ElementGroupSet(37).IsEmpty());
    EXPECT_TRUE(ElementGroupSet(0).IsEmpty());
    EXPECT_TRUE(ElementGroupSet(12).IsEmpty());
    EXPECT_TRUE(ElementGroupSet(16).IsEmpty());
}

TEST(ElementGroups, ModelSetsByTag) {
    EXPECT_EQ(Members(ElementGroupSet(1)), Codes({"H", "Li", "Na", "K", "Rb", "Cs", "Fr"}));
    EXPECT_EQ(Members(ElementGroupSet(8)), Codes({"He", "Ne", "Ar", "Kr", "Xe", "Rn"}));
    EXPECT_EQ(Members(ElementGroupSet(13)).size(), 10u);
    // The columns 3..12 and the transition-metal group 9 hold the same elements but
    // for the lanthanide and actinide members of column 3 and the 7th-period ones.
    ElementCodeSet columns;
    for (int tag = 27; tag <= 36; ++tag)
        columns |= ElementGroupSet(tag);
    ElementCodeSet transition = ElementGroupSet(9);
    for (int code : {57, 89, 104, 105, 106, 107})
        transition.Include(code);
    EXPECT_EQ(columns, transition);
}

TEST(GroupColors, FirstGroupWins) {
    EXPECT_EQ(GroupColorOf(1, GroupColorTable), 0xC0C0C0);  // H: column 1
    EXPECT_EQ(GroupColorOf(8, GroupColorTable), 0x0000FF);  // O: column 16 (set 6)
    EXPECT_EQ(GroupColorOf(26, GroupColorTable), 0x800000); // Fe: transition metals
    EXPECT_EQ(GroupColorOf(58, GroupColorTable), 0x000080); // Ce: lanthanides
    EXPECT_EQ(GroupColorOf(92, GroupColorTable), 0x800080); // U: actinides
    EXPECT_EQ(GroupColorOf(110, GroupColorTable), 0);       // D: in none of 1..13
    TGroupColors custom = GroupColorTable;
    custom[1] = 0x111111;
    EXPECT_EQ(GroupColorOf(12, custom), 0x111111); // Mg, column 2
}

} // namespace
} // namespace ormaline
