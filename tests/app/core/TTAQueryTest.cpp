#include "app/core/TTAQuery.h"

#include <map>

#include <gtest/gtest.h>

#include "CaseName.h"
#include "VisibleText.h"

namespace ormaline {
namespace {

using test::Visible;

const std::string kDiversity3 = "  and t.refcode in (    select tt.refcode from atoms.cp_vdp tt "
                                "group by tt.refcode     having count(distinct tt.at_num)=3)\r\n";

struct FragmentCase {
    const char* name;
    TTTASearch search;
    TTTAPatternBoxes boxes;
    std::string expectedFragment;
    std::string expectedDescription; // after "TTA"
};

template <class Change> TTTASearch With(Change change) {
    TTTASearch search;
    change(search);
    return search;
}

class TTAFragmentTable : public testing::TestWithParam<FragmentCase> {};

TEST_P(TTAFragmentTable, FragmentAndDescription) {
    const FragmentCase& row = GetParam();
    std::string description = "left over";
    EXPECT_EQ(Visible(GetQTTAStr(row.search, row.boxes, description)),
              Visible(row.expectedFragment));
    EXPECT_EQ(description, "TTA" + row.expectedDescription);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TTAFragmentTable,
    testing::Values(FragmentCase{"Nothing", {}, {}, "", ""},
                    FragmentCase{"OneElement",
                                 With([](TTTASearch& s) { s.AtNum = "29"; }),
                                 {},
                                 "  and t.at_num =29\r\n",
                                 "  Atom: 29"},
                    FragmentCase{"TwoElements",
                                 With([](TTTASearch& s) { s.AtNum = "29,30"; }),
                                 {},
                                 "  and t.at_num in (29,30)\r\n",
                                 "  Atom: 29,30"},
                    FragmentCase{"ElementListThatIsNoNumbersBecomesLiteral",
                                 With([](TTTASearch& s) { s.AtNum = "29,1) or (1=1"; }),
                                 {},
                                 "  and t.at_num in ('29,1) or (1=1')\r\n",
                                 "  Atom: 29,1) or (1=1"},
                    FragmentCase{"CoordinationNumber",
                                 With([](TTTASearch& s) { s.CoordNum = "6"; }),
                                 {},
                                 "  and t.cn=6\r\n",
                                 "  CN: 6"},
                    FragmentCase{"CoordinationNumberThatIsNoNumberBecomesLiteral",
                                 With([](TTTASearch& s) { s.CoordNum = "6 or 1=1"; }),
                                 {},
                                 "  and t.cn='6 or 1=1'\r\n",
                                 "  CN: 6 or 1=1"},
                    FragmentCase{"OxidationState",
                                 With([](TTTASearch& s) { s.OxSt = "-2"; }),
                                 {},
                                 "  and t.ox_st=-2\r\n",
                                 "  OxSt: -2"},
                    FragmentCase{"RsdOfThreeDecimals",
                                 With([](TTTASearch& s) { s.Rsds = "0.050"; }),
                                 {},
                                 "  and t.rsd>=0.049 and t.rsd<=0.051\r\n",
                                 "  Rsd: 0.050"},
                    FragmentCase{"RsdOfTwoDecimals",
                                 With([](TTTASearch& s) { s.Rsds = "0.05"; }),
                                 {},
                                 "  and t.rsd>=0.04 and t.rsd<=0.06\r\n",
                                 "  Rsd: 0.05"},
                    FragmentCase{"RsdWithoutDecimals",
                                 With([](TTTASearch& s) { s.Rsds = "3"; }),
                                 {},
                                 "  and t.rsd>=2 and t.rsd<=4\r\n",
                                 "  Rsd: 3"},
                    FragmentCase{"RsdNegative",
                                 With([](TTTASearch& s) { s.Rsds = "-0.5"; }),
                                 {},
                                 "  and t.rsd>=-0.6 and t.rsd<=-0.4\r\n",
                                 "  Rsd: -0.5"},
                    FragmentCase{"RsdRangeTakenAsTyped",
                                 With([](TTTASearch& s) { s.Rsds = "1.2 : 1.40"; }),
                                 {},
                                 "  and t.rsd>=1.2 and t.rsd<=1.40\r\n",
                                 "  Rsd: 1.2 : 1.40"},
                    FragmentCase{"RsdRangeWithoutLowerBoundIsNoCondition",
                                 With([](TTTASearch& s) { s.Rsds = ":1.4"; }),
                                 {},
                                 "",
                                 "  Rsd: :1.4"},
                    FragmentCase{"RsdRangeBoundThatIsNoNumberBecomesLiteral",
                                 With([](TTTASearch& s) { s.Rsds = "1.2:x"; }),
                                 {},
                                 "  and t.rsd>=1.2 and t.rsd<='x'\r\n",
                                 "  Rsd: 1.2:x"},
                    FragmentCase{"RsdThatIsNoNumberIsOnlyDescribed",
                                 With([](TTTASearch& s) { s.Rsds = "abc"; }),
                                 {},
                                 "",
                                 "  Rsd: abc"},
                    FragmentCase{"CompositionExact",
                                 With([](TTTASearch& s) { s.CPClass = "CuO4"; }),
                                 {},
                                 "  and t.cp_class='CuO4'\r\n",
                                 "  CP(class): CuO4"},
                    FragmentCase{"CompositionPattern",
                                 With([](TTTASearch& s) { s.CPClass = "Cu%"; }),
                                 {true, false},
                                 "  and t.cp_class like'Cu%'\r\n",
                                 "  CP(class) like Cu%"},
                    FragmentCase{"CompositionQuoteDoubled",
                                 With([](TTTASearch& s) { s.CPClass = "O'x"; }),
                                 {},
                                 "  and t.cp_class='O''x'\r\n",
                                 "  CP(class): O'x"},
                    FragmentCase{"FullCompositionExact",
                                 With([](TTTASearch& s) { s.CPvdp = "CuO4N2"; }),
                                 {},
                                 "  and t.cp_full='CuO4N2'\r\n",
                                 "  CP(vdp): CuO4N2"},
                    FragmentCase{"FullCompositionPattern",
                                 With([](TTTASearch& s) { s.CPvdp = "%N_"; }),
                                 {false, true},
                                 "  and t.cp_full like'%N_'\r\n",
                                 "  CP(vdp) like %N_"},
                    FragmentCase{"Diversity",
                                 With([](TTTASearch& s) { s.Diversity = "3"; }),
                                 {},
                                 kDiversity3,
                                 "  Diversity: 3"},
                    FragmentCase{"CoordinationFigure",
                                 With([](TTTASearch& s) {
                                     s.CoordFig = "octahedron";
                                     s.poly_id = "11";
                                 }),
                                 {},
                                 "  and t.poly_id=11\r\n",
                                 "  CF: octahedron"},
                    FragmentCase{"FigureNameWithoutIdIsNoCondition",
                                 With([](TTTASearch& s) { s.CoordFig = "blob"; }),
                                 {},
                                 "",
                                 ""},
                    FragmentCase{
                        "EveryConditionInItsOrder",
                        With([](TTTASearch& s) {
                            s.poly_id = "11";
                            s.CoordFig = "octahedron";
                            s.Diversity = "3";
                            s.CPvdp = "CuO6";
                            s.CPClass = "CuO%";
                            s.Rsds = "1.4";
                            s.OxSt = "2";
                            s.CoordNum = "6";
                            s.AtNum = "29";
                        }),
                        {true, false},
                        "  and t.at_num =29\r\n  and t.cn=6\r\n  and t.ox_st=2\r\n"
                        "  and t.rsd>=1.3 and t.rsd<=1.5\r\n  and t.cp_class like'CuO%'\r\n"
                        "  and t.cp_full='CuO6'\r\n" +
                            kDiversity3 + "  and t.poly_id=11\r\n",
                        "  Atom: 29  CN: 6  OxSt: 2  Rsd: 1.4  CP(class) like CuO%  CP(vdp): CuO6"
                        "  Diversity: 3  CF: octahedron"}),
    test::CaseName());

TEST(AtNumFromElementText, AtomicNumbersAscending) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},           {"Cu,Zn", "29,30"},
        {"Zn Cu", "29,30"}, {"cu", "29"},
        {"*", ""},                       // the pseudo-code 0 never counts
        {"*O", "8"},        {"* O", ""}, // the blank after the asterisk is an empty token: a fault
        {"Fe Qq Co", "26"},              // the codes before the fault count
        {"Fe3 Co", ""},     {"Ln - Ce Lu", "57,59,60,61,62,63,64,65,66,67,68,69,70"},
        {"H D", "1,110"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(AtNumFromElementText(text), expected) << text;
    // "El" stands for every code from 1 to 120.
    const std::string all = AtNumFromElementText("El");
    EXPECT_EQ(all.substr(0, 6), "1,2,3,");
    EXPECT_EQ(all.substr(all.size() - 8), ",119,120");
}

// The coordination figures of the test database, and the statements the check ran.
struct TFigureTable {
    std::map<std::string, std::string> byStatement = {
        {"select id from atoms.ref_polyhedra where name='octahedron'", "11"},
        {"select id from atoms.ref_polyhedra where name='O''Brien'", "99"},
    };
    std::vector<std::string> statementsRun;

    TTextLookup Lookup() {
        return [this](const std::string& statement) -> std::optional<std::string> {
            statementsRun.push_back(statement);
            auto found = byStatement.find(statement);
            return found == byStatement.end() ? std::nullopt : std::optional(found->second);
        };
    }
};

struct CheckCase {
    const char* name;
    TTTAPageState page;
    std::vector<std::string> expectedBoxes; // "E:" error, "I:" information
    bool expectedPassed;
    std::string expectedPolyId;
};

TTTAPageState Page(std::string coordFig, std::string coordNum = "", std::string diversity = "",
                   bool useRefCodeList = false) {
    TTTAPageState page;
    page.CoordFigText = std::move(coordFig);
    page.CoordNumText = std::move(coordNum);
    page.DiversityText = std::move(diversity);
    page.UseRefCodeList = useRefCodeList;
    return page;
}

class TTACheckTable : public testing::TestWithParam<CheckCase> {};

TEST_P(TTACheckTable, BoxesAndOutcome) {
    const CheckCase& row = GetParam();
    TFigureTable figures;
    TTTASearch search;
    search.poly_id = "stale";
    TCheckReport report = CheckTTAConditions(row.page, figures.Lookup(), search);
    std::vector<std::string> boxes;
    for (const TCheckOutcome& box : report.Boxes)
        boxes.push_back((box.Kind == TMessageKind::mkError ? "E:" : "I:") + box.Message);
    EXPECT_EQ(boxes, row.expectedBoxes);
    EXPECT_EQ(report.Passed, row.expectedPassed);
    EXPECT_EQ(search.poly_id, row.expectedPolyId);
    EXPECT_EQ(figures.statementsRun.size(), row.page.CoordFigText.empty() ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TTACheckTable,
    testing::Values(
        CheckCase{"NoCondition", Page(""), {"I:Not specified search criteria"}, false, ""},
        CheckCase{"RefCodeListAloneSuffices", Page("", "", "", true), {}, true, ""},
        CheckCase{"KnownFigure", Page("octahedron"), {}, true, "11"},
        CheckCase{"FigureNameQuoteDoubled", Page("O'Brien"), {}, true, "99"},
        CheckCase{"UnknownFigureAlone",
                  Page("blob"),
                  {"E:The reference polyhedron is wrong.", "I:Not specified search criteria"},
                  false,
                  ""},
        CheckCase{"UnknownFigureGoesOnWithTheOtherConditions",
                  Page("blob", "6"),
                  {"E:The reference polyhedron is wrong."},
                  true,
                  ""},
        CheckCase{"BlankFigureIsLookedUp",
                  Page(" ", "6"),
                  {"E:The reference polyhedron is wrong."},
                  true,
                  ""},
        // The diversity is taken untrimmed: a blank counts as a condition.
        CheckCase{"BlankDiversityCounts", Page("", "", " "), {}, true, ""},
        CheckCase{"BlankCoordinationNumberDoesNot",
                  Page("", "  "),
                  {"I:Not specified search criteria"},
                  false,
                  ""}),
    test::CaseName());

TEST(CheckTTAConditions, TrimsTheEditsAndKeepsTheFigureText) {
    TTTAPageState page;
    page.ChemElText = " Cu ";
    page.AtNumText = " 29 ";
    page.CPClassText = " CuO4 ";
    page.CPvdpText = "\tCuO4N2 ";
    page.CoordNumText = " 4 ";
    page.OxStText = " 2 ";
    page.RsdsText = " 1.2:1.3 ";
    page.DiversityText = " 2 ";
    TTTASearch search;
    EXPECT_TRUE(CheckTTAConditions(page, {}, search).Passed);
    EXPECT_EQ(search.ChemEl, "Cu");
    EXPECT_EQ(search.AtNum, "29");
    EXPECT_EQ(search.CPClass, "CuO4");
    EXPECT_EQ(search.CPvdp, "CuO4N2");
    EXPECT_EQ(search.CoordNum, "4");
    EXPECT_EQ(search.OxSt, "2");
    EXPECT_EQ(search.Rsds, "1.2:1.3");
    EXPECT_EQ(search.Diversity, " 2 ");
}

// The statements, each with a RefCode list and a fragment of one condition.
const std::vector<std::string> kCodes = {"ABCDEF", "", "GHIJKL"};
const std::string kCodeList = "\r\n'ABCDEF','GHIJKL'";

TTTASearch Copper() {
    TTTASearch search;
    search.AtNum = "29";
    return search;
}

TEST(TTAStatements, SearchGroupsByElement) {
    const std::string head = "select t.at_num, t1.element, \r\n"
                             " avg(t.rsd) avg_rsd, stddev(t.rsd) stddev_rsd, \r\n"
                             " avg(t.v_vdp) avg_v_vdp, stddev(t.v_vdp) stddev_v_vdp, \r\n"
                             " avg(t.g3_vdp) avg_g3_vdp, stddev(t.g3_vdp) stddev_g3_vdp, \r\n"
                             " avg(t.var_me) avg_var_me, stddev(t.var_me) stddev_var_me, \r\n"
                             " count(t.id) count_at \r\n"
                             "from atoms.cp_vdp t, atoms.ref_elements t1 \r\n"
                             "where t.at_num = t1.id \r\n";
    const std::string tail = "  and t.at_num =29\r\n\r\ngroup by t.at_num, t1.element \r\n"
                             "order by count(t.id) desc";
    EXPECT_EQ(Visible(TTASearchStatement(Copper(), {}, false, kCodes)), Visible(head + tail));
    EXPECT_EQ(Visible(TTASearchStatement(Copper(), {}, true, kCodes)),
              Visible(head + " and t.refcode in (" + kCodeList + ") \r\n" + tail));
    EXPECT_EQ(Visible(TTASearchStatement(Copper(), {}, true, {"ABCDEF"})),
              Visible(head + " and t.refcode=\r\n'ABCDEF' \r\n" + tail));
    // Only the RefCode list: the fragment line stays, empty.
    EXPECT_EQ(Visible(TTASearchStatement({}, {}, true, {"ABCDEF"})),
              Visible(head + " and t.refcode=\r\n'ABCDEF' \r\n\r\ngroup by t.at_num, t1.element "
                             "\r\norder by count(t.id) desc"));
}

TEST(TTAStatements, ReadAndDataListAtoms) {
    EXPECT_EQ(Visible(TTAReadStatement(Copper(), {}, true, kCodes)),
              Visible("select t.refcode, t.atom, t.ox_st, t.cn, t.rsd, t.v_vdp, \r\n"
                      "  t.s_vdp, t.g3_vdp, t.poly_id, t.cp_class, t.cp_full \r\n"
                      "from atoms.cp_vdp t \r\n"
                      "where TRUE \r\n"
                      " and t.refcode in (" +
                      kCodeList +
                      ") \r\n"
                      "  and t.at_num =29\r\n\r\n"
                      "order by t.refcode, t.atom"));
    EXPECT_EQ(Visible(TTADataStatement(Copper(), {}, false, kCodes)),
              Visible("select t.refcode, t.atom, t.at_num, t1.element,\r\n"
                      "  t.ox_st, t.cn, t.rsd, t.v_vdp, t.g3_vdp, t.var_me,\r\n"
                      "  t.cp_class, t.cp_full, t2.name cf\r\n"
                      "from atoms.cp_vdp t, atoms.ref_elements t1, atoms.ref_polyhedra t2 \r\n"
                      "where t.at_num = t1.id and t.poly_id = t2.id \r\n"
                      "  and t.at_num =29\r\n\r\n"
                      "order by t.refcode, t.atom"));
}

} // namespace
} // namespace ormaline
