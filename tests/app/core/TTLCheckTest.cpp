#include "app/core/TTLCheck.h"

#include <map>

#include <gtest/gtest.h>

#include "CaseName.h"

namespace ormaline {
namespace {

const TGuid kLibraryA = *ParseGuid("{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}");

// The libraries of the test database by the statement that finds each, and the
// statements the check ran.
struct TLibraryTable {
    std::map<std::string, TGuid> byStatement = {
        {"select ID from topology.LiMoN_Library where Name='Lib A'", kLibraryA},
        {"select ID from topology.LiMoN_Library where Name=' Lib A '", kLibraryA},
        {"select ID from topology.LiMoN_Library where Name='O''Brien'", kLibraryA},
        {"select ID from topology.LiMoN_Library where Name='Zero'", TGuid{}},
    };
    std::vector<std::string> statementsRun;

    TLibraryLookup Lookup() {
        return [this](const std::string& statement) -> std::optional<TGuid> {
            statementsRun.push_back(statement);
            auto found = byStatement.find(statement);
            return found == byStatement.end() ? std::nullopt : std::optional(found->second);
        };
    }
};

constexpr auto kNone = TMessageKind::mkNone;
constexpr auto kError = TMessageKind::mkError;
constexpr auto kInfo = TMessageKind::mkInformation;

struct CheckCase {
    const char* name;
    TTTLPageState page; // library, name, atoms, coordination type, diversity, codes, RCL
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
    EXPECT_EQ(outcome.Passed(), row.expectedKind == kNone);
    EXPECT_EQ(libraries.statementsRun, row.expectedStatements);
}

const std::string kFindA = "select ID from topology.LiMoN_Library where Name='Lib A'";
const std::string kFindNone = "select ID from topology.LiMoN_Library where Name='Nonesuch'";
const char* kNoLibrary = "You have not selected a library";
const char* kNoCriteria = "Not specified search criteria";
const char* kWrongAtoms = "The number of atoms in the ligand is wrong.";

INSTANTIATE_TEST_SUITE_P(
    Rows, CheckTable,
    testing::Values(
        CheckCase{"NoLibrary",
                  {"", "x", "", "", "", {}, false},
                  kInfo,
                  kNoLibrary,
                  {"select ID from topology.LiMoN_Library where Name=''"}},
        CheckCase{"TypedNameIsNotALibrary",
                  {"Nonesuch", "x", "", "", "", {}, false},
                  kInfo,
                  kNoLibrary,
                  {kFindNone}},
        CheckCase{"LibraryRowWithNullId",
                  {"Zero", "x", "", "", "", {}, false},
                  kInfo,
                  kNoLibrary,
                  {"select ID from topology.LiMoN_Library where Name='Zero'"}},
        CheckCase{"WrongAtomCountLibraryNotLookedUp",
                  {"Lib A", "", "12a", "", "", {}, false},
                  kError,
                  kWrongAtoms,
                  {}},
        CheckCase{"WrongAtomCountBeforeMissingLibrary",
                  {"", "", "1.5", "", "", {}, false},
                  kError,
                  kWrongAtoms,
                  {}},
        CheckCase{"MissingLibraryBeforeMissingCriteria",
                  {"Nonesuch", "", "", "", "", {}, false},
                  kInfo,
                  kNoLibrary,
                  {kFindNone}},
        CheckCase{"NoCriteria", {"Lib A", "", "", "", "", {}, false}, kInfo, kNoCriteria, {kFindA}},
        CheckCase{"BlankCriteriaAreNoCriteria",
                  {"Lib A", "  ", " ", "\t", " ", {"", "x", "  "}, false},
                  kInfo,
                  kNoCriteria,
                  {kFindA}},
        CheckCase{"OnlyUseRefCodeList", {"Lib A", "", "", "", "", {}, true}, kNone, "", {kFindA}},
        CheckCase{"OnlyCode", {"Lib A", "", "", "", "", {"x", " 5 "}, false}, kNone, "", {kFindA}},
        CheckCase{"OnlyName", {"Lib A", "Cl", "", "", "", {}, false}, kNone, "", {kFindA}},
        CheckCase{"OnlyAtomCount", {"Lib A", "", " 12 ", "", "", {}, false}, kNone, "", {kFindA}},
        CheckCase{
            "OnlyCoordinationType", {"Lib A", "", "", "M2", "", {}, false}, kNone, "", {kFindA}},
        CheckCase{"OnlyDiversity", {"Lib A", "", "", "", "2", {}, false}, kNone, "", {kFindA}},
        CheckCase{"LibraryNameWithQuote",
                  {"O'Brien", "x", "", "", "", {}, false},
                  kNone,
                  "",
                  {"select ID from topology.LiMoN_Library where Name='O''Brien'"}}),
    test::CaseName());

TEST(CheckTTLConditions, CopiesTrimmedControlsAndLibraryAsShown) {
    TLibraryTable libraries;
    TTTLPageState page{
        " Lib A ", "  Cl%  ", " 7 ", " M2 ", " 3 ", {"5", "", "x", "  7  ", "+8", "1.5"}, false};
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
    TTTLPageState page{"Nonesuch", "", "", "", "", {"9"}, false};
    EXPECT_EQ(CheckTTLConditions(page, libraries.Lookup(), search).Message, kNoLibrary);
    EXPECT_EQ(search.TTLCodeList, (std::vector<std::string>{"9"}));
    EXPECT_TRUE(search.LibraryID.IsNull());
}

} // namespace
} // namespace ormaline
