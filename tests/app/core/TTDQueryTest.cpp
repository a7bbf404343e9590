#include "app/core/TTDQuery.h"

#include <gtest/gtest.h>

#include "CaseName.h"
#include "VisibleText.h"

namespace ormaline {
namespace {

using test::Visible;

const std::string kLibraryText = "6F7213C5-7327-5570-AF36-B004A5AF89A9";
const TGuid kLibrary = *ParseGuid(kLibraryText);

struct FragmentCase {
    const char* name;
    TTTDSearch search;
    TTTDPatternBoxes boxes;
    std::string expectedFragment;
    std::string expectedDescription; // after "TTD"
};

template <class Change> TTTDSearch With(Change change) {
    TTTDSearch search;
    change(search);
    return search;
}

class TTDFragmentTable : public testing::TestWithParam<FragmentCase> {};

TEST_P(TTDFragmentTable, FragmentAndDescription) {
    const FragmentCase& row = GetParam();
    std::string description;
    EXPECT_EQ(Visible(GetQTTDStr(row.search, row.boxes, description)),
              Visible(row.expectedFragment));
    EXPECT_EQ(description, "TTD" + row.expectedDescription);
}

std::string DiversityPiece(const std::string& where, const std::string& value) {
    return "  and t1.refcode in (    select tt.refcode from topology.tto tt " + where +
           "    group by tt.refcode, tt.reprtypecode     having count(tt.refcode || "
           "tt.reprtypecode)=" +
           value + ")\r\n";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TTDFragmentTable,
    testing::Values(
        FragmentCase{"Nothing", {}, {}, "", ""},
        FragmentCase{"LibraryWithoutLineBreak",
                     With([](TTTDSearch& s) {
                         s.LibraryID = kLibrary;
                         s.LibraryName = "Basic nets";
                     }),
                     {},
                     "  and t.ttdlibraryid='" + kLibraryText + "'",
                     "  Library: Basic nets"},
        FragmentCase{"LibraryNameWithoutIdIsNoCondition",
                     With([](TTTDSearch& s) { s.LibraryName = "Nonesuch"; }),
                     {},
                     "",
                     ""},
        FragmentCase{"OneCode",
                     With([](TTTDSearch& s) { s.TTDCodeList = {"3"}; }),
                     {},
                     " and t.ttdcode=3",
                     "  Code(s): 3"},
        FragmentCase{"ThreeCodes",
                     With([](TTTDSearch& s) {
                         s.TTDCodeList = {"3", "1", "22"};
                     }),
                     {},
                     " and (  t.ttdcode=3  or t.ttdcode=1  or t.ttdcode=22 )\r\n",
                     "  Code(s): 3,1,22"},
        FragmentCase{"NameExact",
                     With([](TTTDSearch& s) { s.NameText = "dia"; }),
                     {},
                     "  and t.name='dia'",
                     "  Name: dia"},
        FragmentCase{"NamePattern",
                     With([](TTTDSearch& s) { s.NameText = "s%"; }),
                     {true, false},
                     "  and t.name like's%'",
                     "  Name: s%"},
        FragmentCase{"PointSymbolExact",
                     With([](TTTDSearch& s) { s.TS = "{6^6}"; }),
                     {},
                     "  and t.ts='{6^6}'",
                     "  TS: {6^6}"},
        FragmentCase{"PointSymbolPattern",
                     With([](TTTDSearch& s) { s.TS = "{4^4%"; }),
                     {false, true},
                     "  and t.ts like'{4^4%'",
                     "  TS: {4^4%"},
        FragmentCase{"PointSymbolQuoteDoubled",
                     With([](TTTDSearch& s) { s.TS = "a'b"; }),
                     {},
                     "  and t.ts='a''b'",
                     "  TS: a'b"},
        FragmentCase{"NodeCount",
                     With([](TTTDSearch& s) { s.NumNodeText = "2"; }),
                     {},
                     "  and t.numnodes=2",
                     "  NumNodes: 2"},
        FragmentCase{"DimensionQuoted",
                     With([](TTTDSearch& s) { s.DimText = "3"; }),
                     {},
                     "  and t1.dimen='3'\r\n",
                     "  Dimension: 3"},
        FragmentCase{
            "Z", With([](TTTDSearch& s) { s.ZText = "2"; }), {}, "  and t1.Z=2\r\n", "  Z: 2"},
        FragmentCase{"ThirdRepresentationIsCodeTwo",
                     With([](TTTDSearch& s) { s.RepCode = 2; }),
                     {},
                     "  and t1.reprtypecode=2\r\n",
                     "  Rep_code: 2"},
        FragmentCase{"RepresentationZero",
                     With([](TTTDSearch& s) { s.RepCode = 0; }),
                     {},
                     "  and t1.reprtypecode=0\r\n",
                     "  Rep_code: 0"},
        FragmentCase{"DiversityInAnyRepresentation",
                     With([](TTTDSearch& s) { s.Diversity = "2"; }),
                     {},
                     DiversityPiece("", "2"),
                     "  Diversity: 2"},
        FragmentCase{"DiversityInTheChosenRepresentation",
                     With([](TTTDSearch& s) {
                         s.Diversity = "2";
                         s.RepCode = 1;
                     }),
                     {},
                     "  and t1.reprtypecode=1\r\n" +
                         DiversityPiece("    where tt.reprtypecode = 1 ", "2"),
                     "  Rep_code: 1  Diversity: 2"},
        FragmentCase{"DiversityThatIsNoNumberBecomesLiteral",
                     With([](TTTDSearch& s) { s.Diversity = "2)--"; }),
                     {},
                     DiversityPiece("", "'2)--'"),
                     "  Diversity: 2)--"},
        FragmentCase{"PiecesWithoutLineBreaksRunTogether",
                     With([](TTTDSearch& s) {
                         s.LibraryID = kLibrary;
                         s.LibraryName = "Basic nets";
                         s.TTDCodeList = {"3"};
                         s.NameText = "sql";
                         s.TS = "{4^4.6^2}";
                         s.NumNodeText = "1";
                         s.DimText = "2";
                         s.ZText = "1";
                     }),
                     {},
                     "  and t.ttdlibraryid='" + kLibraryText +
                         "' and t.ttdcode=3  and t.name='sql'  and t.ts='{4^4.6^2}'"
                         "  and t.numnodes=1  and t1.dimen='2'\r\n  and t1.Z=1\r\n",
                     "  Library: Basic nets  Code(s): 3  Name: sql  TS: {4^4.6^2}  NumNodes: 1"
                     "  Dimension: 2  Z: 1"}),
    test::CaseName());

struct CheckCase {
    const char* name;
    TTTDPageState page;
    TMessageKind expectedKind;
    std::string expectedMessage;
    bool expectLookup;
};

TTTDPageState Page(std::string nodes, std::string z, std::string dimension,
                   std::string library = "", std::string repType = "", int repIndex = -1) {
    TTTDPageState page;
    page.NumNodeText = std::move(nodes);
    page.ZText = std::move(z);
    page.DimText = std::move(dimension);
    page.LibraryText = std::move(library);
    page.RepTypeText = std::move(repType);
    page.RepIndex = repIndex;
    return page;
}

class TTDCheckTable : public testing::TestWithParam<CheckCase> {};

TEST_P(TTDCheckTable, FirstFailingMessage) {
    const CheckCase& row = GetParam();
    std::vector<std::string> statements;
    TLibraryLookup lookup = [&](const std::string& statement) -> std::optional<TGuid> {
        statements.push_back(statement);
        if (statement == "select ID from topology.ttdlibrary where Name='Basic nets'")
            return kLibrary;
        return std::nullopt;
    };
    TTTDSearch search;
    TCheckOutcome outcome = CheckTTDConditions(row.page, lookup, search);
    EXPECT_EQ(outcome.Kind, row.expectedKind);
    EXPECT_EQ(outcome.Message, row.expectedMessage);
    EXPECT_EQ(statements.size(), row.expectLookup ? 1u : 0u);
}

constexpr auto kNone = TMessageKind::mkNone;
constexpr auto kError = TMessageKind::mkError;
constexpr auto kInfo = TMessageKind::mkInformation;

INSTANTIATE_TEST_SUITE_P(
    Rows, TTDCheckTable,
    testing::Values(
        CheckCase{"NodeCountNotAnInteger", Page("2a", "x", "9"), kError,
                  "The number of nodes in topology is wrong.", false},
        CheckCase{"ZNotAnInteger", Page("2", "1.5", "9"), kError, "The Z is wrong.", false},
        CheckCase{"DimensionFour", Page("", "", "4"), kError, "The dimension of topology is wrong.",
                  false},
        CheckCase{"DimensionMinusOne", Page("", "", "-1"), kError,
                  "The dimension of topology is wrong.", false},
        CheckCase{"DimensionZeroAccepted", Page("", "", "0"), kNone, "", true},
        CheckCase{"NothingAtAll", Page("", "", ""), kInfo, "Not specified search criteria", true},
        CheckCase{"UnknownLibraryIsNoCriterion", Page("", "", "", "Nonesuch"), kInfo,
                  "Not specified search criteria", true},
        CheckCase{"LibraryAloneSuffices", Page("", "", "", "Basic nets"), kNone, "", true},
        CheckCase{"RepresentationAloneSuffices", Page("", "", "", "", "Cluster", 1), kNone, "",
                  true},
        CheckCase{"TypedRepresentationThatIsNoItem", Page("", "", "", "", "Clus", -1), kInfo,
                  "Not specified search criteria", true}),
    test::CaseName());

TEST(CheckTTDConditions, FillsTheRecord) {
    TTTDPageState page = Page(" 2 ", " 1 ", " 3 ", "Basic nets", "All nodes", 2);
    page.NameText = " pts ";
    page.TSText = " {4^2.8^4} ";
    page.DiversityText = " 2 ";
    page.TTDCodeLines = {" 9 ", "", "x", "-4"};
    TTTDSearch search;
    TLibraryLookup lookup = [](const std::string&) -> std::optional<TGuid> { return kLibrary; };
    ASSERT_TRUE(CheckTTDConditions(page, lookup, search).Passed());
    EXPECT_EQ(search.NumNodeText, "2");
    EXPECT_EQ(search.ZText, "1");
    EXPECT_EQ(search.DimText, "3");
    EXPECT_EQ(search.NameText, "pts");
    EXPECT_EQ(search.TS, "{4^2.8^4}");
    EXPECT_EQ(search.Diversity, "2");
    EXPECT_EQ(search.RepCode, 2);
    EXPECT_EQ(search.RepType, "All nodes");
    EXPECT_EQ(search.LibraryID, kLibrary);
    EXPECT_EQ(search.TTDCodeList, (std::vector<std::string>{"9", "-4"}));
    // An empty representation text gives -1 whatever the list position says.
    page.RepTypeText.clear();
    ASSERT_TRUE(CheckTTDConditions(page, lookup, search).Passed());
    EXPECT_EQ(search.RepCode, -1);
}

TEST(TTDStatements, SearchReadAndData) {
    TTTDSearch search;
    search.NameText = "sql";
    const std::vector<std::string> codes = {"ABCDEF"};
    EXPECT_EQ(Visible(TTDSearchStatement(search, {}, true, codes)),
              Visible("select t.ID, t.name, t.ttdcode, t.numnodes, count(distinct t1.refcode || "
                      "t1.ttdcode || t1.Z || t1.reprtypecode) c_loc\r\n"
                      "from topology.ttd t, topology.tto t1\r\n"
                      "where t1.ttdid=t.id\r\n"
                      "  and t.name='sql'\r\n"
                      " and t1.refcode=\r\n'ABCDEF' \r\n"
                      "group by t.ID, t.name, t.ttdcode, t.numnodes \r\n"
                      "order by count(distinct t1.refcode || t1.ttdcode || t1.Z || "
                      "t1.reprtypecode) desc"));
    EXPECT_EQ(Visible(TTDReadStatement("E460CF79-050A-5C24-BC88-4F9FF1EE3467", search, {}, true,
                                       {"ABCDEF", "GHIJKL"})),
              Visible("select distinct t1.refcode, t1.Z, t1.fwc, t1.msrc, t2.rep_name \r\n"
                      "from topology.ttd t, topology.tto t1, topology.ref_representation_type t2 "
                      "\r\n"
                      "where t.id='E460CF79-050A-5C24-BC88-4F9FF1EE3467' and t1.ttdid=t.id and "
                      "t2.rep_code=t1.reprtypecode\r\n"
                      " and t1.refcode in (\r\n'ABCDEF','GHIJKL') \r\n"
                      "  and t.name='sql'\r\n"
                      "order by t1.refcode, t1.Z"));
    EXPECT_EQ(
        Visible(TTDDataStatement(search, {}, false, codes)),
        Visible("select t1.refcode, t1.dimen, t1.Z, t1.fwc, t1.msrc, t1.ttdcode, t.name, "
                "t2.rep_name \r\n"
                "from topology.ttd t, topology.tto t1, topology.ref_representation_type t2\r\n"
                "where t1.ttdid=t.id and t1.reprtypecode=t2.rep_code \r\n"
                "  and t.name='sql'\r\n"
                "order by t1.refcode, t1.dimen, t1.ttdcode, t1.reprtypecode, t1.msrc"));
}

} // namespace
} // namespace ormaline
