#include "app/core/TTLCheck.h"

#include <map>

#include <gtest/gtest.h>

#include "CaseName.h"

namespace ormaline {
namespace {

const TGuid kLibraryA = *ParseGuid("{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}");
const TGuid kLibraryQuote = *ParseGuid("11111111-2222-3333-4444-555555555555");

// The libraries of the test database, keyed by the statement that finds each, and
// the statements the check ran.
struct TLibraryTable {
    std::map<std::string, TGuid> byStatement = {
        {"select ID from topology.LiMoN_Library where Name='Lib A'", kLibraryA},
        {"select ID from topology.LiMoN_Library where Name='O''Brien'", kLibraryQuote},
        {"select ID from topology.LiMoN_Library where Name='Zero'", TGuid{}},
    };
    std::vector<std::string> statementsRun;

    TLibraryLookup Lookup() {
        return [this](const std::string& statement) -> std::optional<TGuid> {
            statementsRun.push_back(statement);
            auto found = byStatement.find(statement);
            if (found == byStatement.end())
                return std::nullopt;
            return found->second;
        };
    }
};

TTTLPageState Page(std::string library) {
    TTTLPageState page;
    page.LibraryText = std::move(library);
    return page;
}

struct CheckCase {
    const char* name;
    TTTLPageState page;
    TMessageKind expectedKind;
    std::string expectedMessage;
    std::vector<std::string> expectedStatements;
};

class CheckTable : public testing::TestWithParam<CheckCase> {};

TEST_P(CheckTable, OutcomeAndLookups) {
    const CheckCase& row = GetParam();
    TLibraryTable libraries;
    TTTLSearch search;
    TCheckOutcome outcome = CheckTTLConditions(row.page, libraries.Lookup(), search);
    EXPECT_EQ(outcome.Kind, row.expectedKind);
    EXPECT_EQ(outcome.Message, row.expectedMessage);
    EXPECT_EQ(outcome.Passed(), row.expectedKind == TMessageKind::mkNone);
    EXPECT_EQ(libraries.statementsRun, row.expectedStatements);
}

const std::string kLookupA = "select ID from topology.LiMoN_Library where Name='Lib A'";

TTTLPageState With(TTTLPageState page, void (*change)(TTTLPageState&)) {
    change(page);
    return page;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CheckTable,
    testing::Values(CheckCase{"NoLibrary",
                              With(Page(""), [](TTTLPageState& p) { p.NameText = "x"; }),
                              TMessageKind::mkInformation,
                              "You have not selected a library",
                              {"select ID from topology.LiMoN_Library where Name=''"}},
                    CheckCase{"TypedNameIsNotALibrary",
                              With(Page("Nonesuch"), [](TTTLPageState& p) { p.NameText = "x"; }),
                              TMessageKind::mkInformation,
                              "You have not selected a library",
                              {"select ID from topology.LiMoN_Library where Name='Nonesuch'"}},
                    CheckCase{"LibraryRowWithNullId",
                              With(Page("Zero"), [](TTTLPageState& p) { p.NameText = "x"; }),
                              TMessageKind::mkInformation,
                              "You have not selected a library",
                              {"select ID from topology.LiMoN_Library where Name='Zero'"}},
                    CheckCase{"WrongAtomCountLibraryNotLookedUp",
                              With(Page("Lib A"), [](TTTLPageState& p) { p.AtNumText = "12a"; }),
                              TMessageKind::mkError,
                              "The number of atoms in the ligand is wrong.",
                              {}},
                    CheckCase{"WrongAtomCountComesBeforeMissingLibrary",
                              With(Page(""), [](TTTLPageState& p) { p.AtNumText = "1.5"; }),
                              TMessageKind::mkError,
                              "The number of atoms in the ligand is wrong.",
                              {}},
                    CheckCase{"MissingLibraryComesBeforeMissingCriteria",
                              Page("Nonesuch"),
                              TMessageKind::mkInformation,
                              "You have not selected a library",
                              {"select ID from topology.LiMoN_Library where Name='Nonesuch'"}},
                    CheckCase{"NoCriteria",
                              Page("Lib A"),
                              TMessageKind::mkInformation,
                              "Not specified search criteria",
                              {kLookupA}},
                    CheckCase{"BlankCriteriaAreNoCriteria",
                              With(Page("Lib A"),
                                   [](TTTLPageState& p) {
                                       p.NameText = "  ";
                                       p.AtNumText = " ";
                                       p.CoordTypeText = "\t";
                                       p.DiversityText = " ";
                                       p.TTLCodeLines = {"", "x", "  "};
                                   }),
                              TMessageKind::mkInformation,
                              "Not specified search criteria",
                              {kLookupA}},
                    CheckCase{
                        "OnlyUseRefCodeList",
                        With(Page("Lib A"), [](TTTLPageState& p) { p.UseRefCodeList = true; }),
                        TMessageKind::mkNone,
                        "",
                        {kLookupA}},
                    CheckCase{"OnlyCode",
                              With(Page("Lib A"),
                                   [](TTTLPageState& p) {
                                       p.TTLCodeLines = {"x", " 5 "};
                                   }),
                              TMessageKind::mkNone,
                              "",
                              {kLookupA}},
                    CheckCase{"OnlyName",
                              With(Page("Lib A"), [](TTTLPageState& p) { p.NameText = "Cl"; }),
                              TMessageKind::mkNone,
                              "",
                              {kLookupA}},
                    CheckCase{"OnlyAtomCount",
                              With(Page("Lib A"), [](TTTLPageState& p) { p.AtNumText = " 12 "; }),
                              TMessageKind::mkNone,
                              "",
                              {kLookupA}},
                    CheckCase{"OnlyCoordinationType",
                              With(Page("Lib A"), [](TTTLPageState& p) { p.CoordTypeText = "M2"; }),
                              TMessageKind::mkNone,
                              "",
                              {kLookupA}},
                    CheckCase{"OnlyDiversity",
                              With(Page("Lib A"), [](TTTLPageState& p) { p.DiversityText = "2"; }),
                              TMessageKind::mkNone,
                              "",
                              {kLookupA}},
                    CheckCase{"LibraryNameWithQuote",
                              With(Page("O'Brien"), [](TTTLPageState& p) { p.NameText = "x"; }),
                              TMessageKind::mkNone,
                              "",
                              {"select ID from topology.LiMoN_Library where Name='O''Brien'"}}),
    test::CaseName());

TEST(CheckTTLConditions, CopiesTrimmedControlsAndLibraryAsShown) {
    TLibraryTable libraries;
    libraries.byStatement["select ID from topology.LiMoN_Library where Name=' Lib A '"] = kLibraryA;
    TTTLPageState page = Page(" Lib A ");
    page.NameText = "  Cl%  ";
    page.AtNumText = " 7 ";
    page.CoordTypeText = " M2 ";
    page.DiversityText = " 3 ";
    page.TTLCodeLines = {"5", "", "x", "  7  ", "+8", "1.5"};
    TTTLSearch search;
    ASSERT_TRUE(CheckTTLConditions(page, libraries.Lookup(), search).Passed());
    EXPECT_EQ(search.LibraryName, " Lib A ");
    EXPECT_EQ(search.LibraryID, kLibraryA);
    EXPECT_EQ(search.NameText, "Cl%");
    EXPECT_EQ(search.AtNumText, "7");
    EXPECT_EQ(search.CoordType, "M2");
    EXPECT_EQ(search.Diversity, "3");
    EXPECT_EQ(search.TTLCodeList, (std::vector<std::string>{"5", "7", "+8"}));
}

TEST(CheckTTLConditions, CodeListAndLibraryIdRenewedOnEveryCall) {
    TLibraryTable libraries;
    TTTLSearch search;
    search.TTLCodeList = {"1", "2"};
    search.LibraryID = kLibraryA;
    TTTLPageState page = Page("Nonesuch");
    page.TTLCodeLines = {"9"};
    TCheckOutcome outcome = CheckTTLConditions(page, libraries.Lookup(), search);
    EXPECT_EQ(outcome.Message, "You have not selected a library");
    EXPECT_EQ(search.TTLCodeList, (std::vector<std::string>{"9"}));
    EXPECT_TRUE(search.LibraryID.IsNull());
}

TEST(TTLCodeListFromLines, KeepsTrimmedIntegersOnly) {
    EXPECT_EQ(TTLCodeListFromLines({"5", "", "x", " 7 "}), (std::vector<std::string>{"5", "7"}));
    EXPECT_TRUE(TTLCodeListFromLines({"", "5a", "--1", "1e3"}).empty());
}

} // namespace
} // namespace ormaline
