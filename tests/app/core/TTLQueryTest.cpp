#include "app/core/TTLQuery.h"

#include <gtest/gtest.h>

#include "CaseName.h"

namespace ormaline {
namespace {

const std::string kLibraryText = "0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9";
const std::string kLibraryLine = " and t.libraryid='" + kLibraryText + "'\r\n";
const std::string kLibraryDescription = "TTL  Library: Lib A";

// The diversity condition for a value as it appears in the statement.
std::string DiversityLine(const std::string& value) {
    return std::string("  and t1.refcode in (") + "    select tt.refcode from " + "topology." +
           "limon_loc tt group by tt.refcode " + "    having count(distinct tt.ligtype)=" + value +
           ")" + "\r\n";
}

TTTLSearch LibraryA() {
    TTTLSearch search;
    search.LibraryName = "Lib A";
    search.LibraryID = *ParseGuid("{" + kLibraryText + "}");
    return search;
}

struct FragmentCase {
    const char* name;
    TTTLSearch search;
    bool useLike;
    std::string expectedFragment;    // after the library line
    std::string expectedDescription; // after the library description
};

template <class Change> TTTLSearch WithA(Change change) {
    TTTLSearch search = LibraryA();
    change(search);
    return search;
}

class FragmentTable : public testing::TestWithParam<FragmentCase> {};

TEST_P(FragmentTable, FragmentAndDescription) {
    const FragmentCase& row = GetParam();
    std::string description = "left over from an earlier call";
    EXPECT_EQ(GetQTTLStr(row.search, row.useLike, description),
              kLibraryLine + row.expectedFragment);
    EXPECT_EQ(description, kLibraryDescription + row.expectedDescription);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FragmentTable,
    testing::Values(
        FragmentCase{"LibraryOnly", LibraryA(), false, "", ""},
        FragmentCase{"OneCodeNoLineBreak", WithA([](TTTLSearch& s) { s.TTLCodeList = {"5"}; }),
                     false, " and t.ttlcode=5", "  Code(s): 5"},
        FragmentCase{"TwoCodes", WithA([](TTTLSearch& s) {
                         s.TTLCodeList = {"5", "7"};
                     }),
                     false, std::string(" and (") + "  t.ttlcode=5" + "  or t.ttlcode=7" + " )\r\n",
                     "  Code(s): 5,7"},
        FragmentCase{"ThreeCodes", WithA([](TTTLSearch& s) {
                         s.TTLCodeList = {"5", "-7", "12"};
                     }),
                     false, " and (  t.ttlcode=5  or t.ttlcode=-7  or t.ttlcode=12 )\r\n",
                     "  Code(s): 5,-7,12"},
        FragmentCase{"CodeThatIsNoIntegerBecomesLiteral",
                     WithA([](TTTLSearch& s) { s.TTLCodeList = {"5 or 1=1"}; }), false,
                     " and t.ttlcode='5 or 1=1'", "  Code(s): 5 or 1=1"},
        FragmentCase{"NameExact", WithA([](TTTLSearch& s) { s.NameText = "Cl"; }), false,
                     "  and t.name='Cl'\r\n", "  Name: Cl"},
        FragmentCase{"NameLike", WithA([](TTTLSearch& s) { s.NameText = "C_%"; }), true,
                     "  and t.name like'C_%'\r\n", "  Name: C_%"},
        FragmentCase{"NameWithQuoteDoubled", WithA([](TTTLSearch& s) { s.NameText = "O'Neil"; }),
                     false, "  and t.name='O''Neil'\r\n", "  Name: O'Neil"},
        FragmentCase{"NameLikeWithQuoteDoubled",
                     WithA([](TTTLSearch& s) { s.NameText = "x' or ''='"; }), true,
                     "  and t.name like'x'' or ''''='''\r\n", "  Name: x' or ''='"},
        FragmentCase{"AtomCount", WithA([](TTTLSearch& s) { s.AtNumText = "12"; }), false,
                     "  and t.countat=12\r\n", "  CountAt: 12"},
        FragmentCase{"AtomCountNotANumberBecomesLiteral",
                     WithA([](TTTLSearch& s) { s.AtNumText = "12a"; }), false,
                     "  and t.countat='12a'\r\n", "  CountAt: 12a"},
        FragmentCase{"AtomCountInjectionBecomesLiteral",
                     WithA([](TTTLSearch& s) { s.AtNumText = "1 or 1=1"; }), false,
                     "  and t.countat='1 or 1=1'\r\n", "  CountAt: 1 or 1=1"},
        FragmentCase{"CoordinationType", WithA([](TTTLSearch& s) { s.CoordType = "M2"; }), false,
                     " and t1.coordtype='M2'\r\n", "  CoordType: M2"},
        FragmentCase{"CoordinationTypeWithQuoteDoubled",
                     WithA([](TTTLSearch& s) { s.CoordType = "M'"; }), false,
                     " and t1.coordtype='M'''\r\n", "  CoordType: M'"},
        FragmentCase{"Diversity", WithA([](TTTLSearch& s) { s.Diversity = "2"; }), false,
                     DiversityLine("2"), "  Diversity: 2"},
        FragmentCase{"DiversityNotANumberBecomesLiteral",
                     WithA([](TTTLSearch& s) { s.Diversity = "2) or (1=1"; }), false,
                     DiversityLine("'2) or (1=1'"), "  Diversity: 2) or (1=1"},
        FragmentCase{"DiversityWithQuote", WithA([](TTTLSearch& s) { s.Diversity = "2'"; }), false,
                     DiversityLine("'2'''"), "  Diversity: 2'"},
        FragmentCase{"OneCodeThenName", WithA([](TTTLSearch& s) {
                         s.TTLCodeList = {"5"};
                         s.NameText = "Cl";
                     }),
                     false, " and t.ttlcode=5  and t.name='Cl'\r\n", "  Code(s): 5  Name: Cl"},
        FragmentCase{"EveryCondition", WithA([](TTTLSearch& s) {
                         s.TTLCodeList = {"5", "7"};
                         s.NameText = "C%";
                         s.AtNumText = "3";
                         s.CoordType = "B2";
                         s.Diversity = "1";
                     }),
                     true,
                     " and (  t.ttlcode=5  or t.ttlcode=7 )\r\n"
                     "  and t.name like'C%'\r\n"
                     "  and t.countat=3\r\n"
                     " and t1.coordtype='B2'\r\n" +
                         DiversityLine("1"),
                     "  Code(s): 5,7  Name: C%  CountAt: 3  CoordType: B2  Diversity: 1"}),
    test::CaseName());

TEST(GetQTTLStr, NullLibraryIsWrittenAsZeros) {
    TTTLSearch search;
    std::string description;
    EXPECT_EQ(GetQTTLStr(search, false, description),
              " and t.libraryid='00000000-0000-0000-0000-000000000000'\r\n");
    EXPECT_EQ(description, "TTL  Library: ");
}

const std::string kSearchHead =
    "select t.ID, t.name, t.countat, t.ttlcode, count(distinct t1.refcode || t1.coordtype) "
    "c_loc\r\n"
    "from topology.limon t, topology.limon_loc t1\r\n"
    "where t1.limonid=t.id \r\n";
const std::string kSearchTail = "\r\ngroup by t.ID, t.name, t.countat, t.ttlcode \r\n"
                                "order by count(distinct t1.refcode || t1.coordtype) desc, t.name";

struct SearchCase {
    const char* name;
    bool useRefCodeList;
    std::vector<std::string> refCodeLines;
    std::string expectedRefCodeLine; // with the line break before it, or empty
};

class SearchStatementTable : public testing::TestWithParam<SearchCase> {};

TEST_P(SearchStatementTable, Statement) {
    const SearchCase& row = GetParam();
    TTTLSearch search = LibraryA();
    search.NameText = "Cl";
    EXPECT_EQ(TTLSearchStatement(search, false, row.useRefCodeList, row.refCodeLines),
              kSearchHead + kLibraryLine + "  and t.name='Cl'\r\n" + row.expectedRefCodeLine +
                  kSearchTail);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SearchStatementTable,
    testing::Values(SearchCase{"RefCodeListUnchecked", false, {"AAA", "BBB"}, ""},
                    SearchCase{"RefCodeListCheckedButEmpty", true, {"", "  "}, ""},
                    SearchCase{
                        "RefCodeListOneCode", true, {"AAA"}, "\r\n and t1.refcode=\r\n'AAA'"},
                    SearchCase{"RefCodeListSeveralCodes",
                               true,
                               {"AAA", "", "BBB", "C'C"},
                               "\r\n and t1.refcode in (\r\n'AAA','BBB','C''C')"}),
    test::CaseName());

TEST(TTLSearchStatement, OneCodeFragmentRunsIntoTheNextLineBreakOnly) {
    TTTLSearch search = LibraryA();
    search.TTLCodeList = {"5"};
    EXPECT_EQ(TTLSearchStatement(search, false, false, {}),
              kSearchHead + kLibraryLine + " and t.ttlcode=5" + kSearchTail);
}

} // namespace
} // namespace ormaline
