#include "app/core/TTCQuery.h"

#include <gtest/gtest.h>

#include "CaseName.h"
#include "VisibleText.h"

namespace ormaline {
namespace {

using test::Visible;

const std::string kInDatabase2 =
    "  and exists(    select * from crystals.link_database_structure t3"
    "    where t.remark=t3.refcode and t3.csd_id=2) ";
const std::string kReliable =
    "  and not exists(    select * from crystals.crystal_structures_err t4"
    "    where t.remark=t4.refcode) ";

struct FragmentCase {
    const char* name;
    TTTCSearch search;
    TTTCBoxes boxes;
    std::string expectedFragment;
    std::string expectedDescription; // after "TTC"
};

template <class Change> TTTCSearch With(Change change) {
    TTTCSearch search;
    change(search);
    return search;
}

class TTCFragmentTable : public testing::TestWithParam<FragmentCase> {};

TEST_P(TTCFragmentTable, FragmentAndDescription) {
    const FragmentCase& row = GetParam();
    std::string description;
    EXPECT_EQ(Visible(GetQTTCStr(row.search, row.boxes, description)),
              Visible(row.expectedFragment));
    EXPECT_EQ(description, "TTC" + row.expectedDescription);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TTCFragmentTable,
    testing::Values(FragmentCase{"Nothing", {}, {}, "", ""},
                    FragmentCase{"RefCodeExact",
                                 With([](TTTCSearch& s) { s.RefCode = "ABCDEF"; }),
                                 {},
                                 "  and t.remark='ABCDEF'",
                                 "  RefCode:ABCDEF"},
                    FragmentCase{"RefCodePattern",
                                 With([](TTTCSearch& s) { s.RefCode = "AB%"; }),
                                 {true, false, false, false, false},
                                 "  and t.remark like 'AB%'",
                                 "  RefCode:AB%"},
                    FragmentCase{"StructuralFormula",
                                 With([](TTTCSearch& s) { s.FStructural = "[Cu(C2O4)]n"; }),
                                 {},
                                 "  and t.cf_structural='[Cu(C2O4)]n'",
                                 "  Struct.Formula:[Cu(C2O4)]n"},
                    FragmentCase{"StructuralFormulaPattern",
                                 With([](TTTCSearch& s) { s.FStructural = "[Cu%"; }),
                                 {false, true, false, false, false},
                                 "  and t.cf_structural like '[Cu%'",
                                 "  Struct.Formula:[Cu%"},
                    FragmentCase{"TotalFormulaPattern",
                                 With([](TTTCSearch& s) { s.FTotal = "C2%Cu%"; }),
                                 {false, false, true, false, false},
                                 "  and t.cf_sum like 'C2%Cu%'",
                                 "  Total Formula:C2%Cu%"},
                    FragmentCase{"ChemicalNameWithQuoteDoubled",
                                 With([](TTTCSearch& s) { s.ChemName = "4,4'-bipyridine"; }),
                                 {},
                                 "  and t.chem_name_systematic='4,4''-bipyridine'",
                                 "  Chem.Name:4,4'-bipyridine"},
                    FragmentCase{"ChemicalNamePattern",
                                 With([](TTTCSearch& s) { s.ChemName = "%oxalato%"; }),
                                 {false, false, false, true, false},
                                 "  and t.chem_name_systematic like '%oxalato%'",
                                 "  Chem.Name:%oxalato%"},
                    FragmentCase{"Database",
                                 With([](TTTCSearch& s) {
                                     s.DataBase = "Inorganic structures";
                                     s.DB_id = "2";
                                 }),
                                 {},
                                 kInDatabase2,
                                 "  DataBase:Inorganic structures"},
                    FragmentCase{"DatabaseNameWithoutIdIsNoCondition",
                                 With([](TTTCSearch& s) { s.DataBase = "Nonesuch"; }),
                                 {},
                                 "",
                                 ""},
                    FragmentCase{"ReliableData",
                                 {},
                                 {false, false, false, false, true},
                                 kReliable,
                                 "  Only Reliable Data"},
                    FragmentCase{
                        "EveryConditionInItsOrder",
                        With([](TTTCSearch& s) {
                            s.DB_id = "2";
                            s.DataBase = "Inorganic structures";
                            s.ChemName = "x";
                            s.FTotal = "CuO";
                            s.FStructural = "[CuO]";
                            s.RefCode = "ABCDEF";
                        }),
                        {false, false, false, false, true},
                        "  and t.remark='ABCDEF'  and t.cf_structural='[CuO]'  and t.cf_sum='CuO'"
                        "  and t.chem_name_systematic='x'" +
                            kInDatabase2 + kReliable,
                        "  RefCode:ABCDEF  Struct.Formula:[CuO]  Total Formula:CuO  Chem.Name:x"
                        "  DataBase:Inorganic structures  Only Reliable Data"}),
    test::CaseName());

struct CheckCase {
    const char* name;
    TTTCPageState page;
    std::vector<std::string> expectedBoxes;
    bool expectedPassed;
    std::string expectedDbId;
};

TTTCPageState Page(std::string database, bool reliable = false, std::string refCode = "") {
    TTTCPageState page;
    page.DataBaseText = std::move(database);
    page.ReliableData = reliable;
    page.RefCodeText = std::move(refCode);
    return page;
}

class TTCCheckTable : public testing::TestWithParam<CheckCase> {};

TEST_P(TTCCheckTable, BoxesAndOutcome) {
    const CheckCase& row = GetParam();
    std::vector<std::string> statements;
    TTextLookup lookup = [&](const std::string& statement) -> std::optional<std::string> {
        statements.push_back(statement);
        if (statement ==
            "select id from crystals.ref_structure_databases where name='Inorganic structures'")
            return "2";
        return std::nullopt;
    };
    TTTCSearch search;
    search.DB_id = "stale";
    TCheckReport report = CheckTTCConditions(row.page, lookup, search);
    std::vector<std::string> boxes;
    for (const TCheckOutcome& box : report.Boxes)
        boxes.push_back((box.Kind == TMessageKind::mkError ? "E:" : "I:") + box.Message);
    EXPECT_EQ(boxes, row.expectedBoxes);
    EXPECT_EQ(report.Passed, row.expectedPassed);
    EXPECT_EQ(search.DB_id, row.expectedDbId);
    EXPECT_EQ(statements.size(), search.DataBase.empty() ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TTCCheckTable,
    testing::Values(
        CheckCase{"NoCondition", Page(""), {"I:Not specified search criteria"}, false, ""},
        CheckCase{"ReliableDataAloneSuffices", Page("", true), {}, true, ""},
        CheckCase{"KnownDatabaseTrimmed", Page("  Inorganic structures "), {}, true, "2"},
        CheckCase{"UnknownDatabaseAlone",
                  Page("Nonesuch"),
                  {"E:The reference database is wrong.", "I:Not specified search criteria"},
                  false,
                  ""},
        CheckCase{"UnknownDatabaseGoesOn",
                  Page("Nonesuch", false, "ABCDEF"),
                  {"E:The reference database is wrong."},
                  true,
                  ""}),
    test::CaseName());

TEST(TTCStatements, SearchReadAndData) {
    TTTCSearch search;
    search.RefCode = "AB%";
    const TTTCBoxes like{true, false, false, false, false};
    const std::vector<std::string> codes = {"ABCDEF", "ABCDEG"};
    const std::string list = "\r\n'ABCDEF','ABCDEG'";
    EXPECT_EQ(Visible(TTCSearchStatement(search, like, true, codes)),
              Visible("select t2.name databasename, t2.id, count(t.remark) c_loc \r\n"
                      "from crystals.crystal_structures t, \r\n"
                      "     crystals.link_database_structure t1, \r\n"
                      "     crystals.ref_structure_databases t2  \r\n"
                      "where t.remark=t1.refcode and t1.csd_id=t2.id \r\n"
                      "  and t.remark like 'AB%'\r\n"
                      " and t.remark in (" +
                      list +
                      ") \r\n"
                      "group by t1.csd_id, t2.name, t2.id\r\n"
                      "order by count(t.remark) desc "));
    EXPECT_EQ(Visible(TTCReadStatement("3", search, like, true, {"ABCDEF"})),
              Visible("select t.remark, t.cf_structural, cf_sum, chem_name_systematic\r\n"
                      "from crystals.crystal_structures t\r\n"
                      "where TRUE \r\n"
                      "  and t.remark like 'AB%'\r\n"
                      "  and exists(\r\n"
                      "    select * from crystals.link_database_structure ttt\r\n"
                      "    where t.remark=ttt.refcode and ttt.csd_id=3) \r\n"
                      " and t.remark=\r\n'ABCDEF' \r\n"
                      "order by t.remark"));
    EXPECT_EQ(Visible(TTCDataStatement(search, like, false, codes)),
              Visible("select t.remark refcode, t.cf_structural, cf_sum, chem_name_systematic\r\n"
                      "from crystals.crystal_structures t\r\n"
                      "where TRUE \r\n"
                      "  and t.remark like 'AB%'\r\n"
                      "order by t.remark"));
}

} // namespace
} // namespace ormaline
