#include "app/core/LigandRead.h"

#include <locale>

#include <gtest/gtest.h>

#include "CaseName.h"

#include "FakeResult.h"

namespace ormaline {
namespace {

using test::TFakeResult;

const TGuid kLibrary = *ParseGuid("{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}");
const TGuid kLigand = *ParseGuid("{ABCDEF01-2345-6789-ABCD-EF0123456789}");

TEST(LigandReadStatements, SelectLiMoN) {
    EXPECT_EQ(SelectLiMoN(kLibrary, kLigand),
              "select t.id, t.name, t.countat, t.lengtha, t.lengthb, t.lengthc, t.angelalpha, "
              "t.angelbeta, t.angelgamma, t.ttlcode from topology.limon t where libraryid = "
              "'0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9' and t.id = "
              "'ABCDEF01-2345-6789-ABCD-EF0123456789'");
}

TEST(LigandReadStatements, SelectLiMoN_cd) {
    EXPECT_EQ(SelectLiMoN_cd(kLigand),
              "select id, specat, numat, cn, fractx, fracty, fractz from topology.limon_cd where "
              "limonid = 'ABCDEF01-2345-6789-ABCD-EF0123456789'");
}

TEST(LigandReadStatements, SelectLiMoN_admQuoteRunsIntoOrder) {
    EXPECT_EQ(SelectLiMoN_adm(kLigand),
              "select at_num, adm_str from topology.limon_adm_dn where limonid = "
              "'ABCDEF01-2345-6789-ABCD-EF0123456789'order by at_num");
}

struct LigLocCase {
    const char* name;
    bool useRefCodeList;
    std::vector<std::string> refCodeLines;
    std::string expectedFilterLine; // with the line break after it, or empty
};

class SelectLigLocTable : public testing::TestWithParam<LigLocCase> {};

TEST_P(SelectLigLocTable, Statement) {
    const LigLocCase& row = GetParam();
    EXPECT_EQ(SelectLigLoc(kLigand, row.useRefCodeList, row.refCodeLines),
              "select distinct refcode, coordtype, \r\n"
              "  ligvol, ligarea from topology.limon_loc \r\n"
              " where limonid = 'ABCDEF01-2345-6789-ABCD-EF0123456789'\r\n" +
                  row.expectedFilterLine + " order by refcode");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SelectLigLocTable,
    testing::Values(LigLocCase{"Unchecked", false, {"AAA"}, ""},
                    LigLocCase{"CheckedWithEmptyMemo", true, {}, ""},
                    LigLocCase{"CheckedWithBlankLines", true, {" ", ""}, ""},
                    LigLocCase{"OneCode", true, {"AAA"}, " and refcode=\r\n'AAA'\r\n"},
                    LigLocCase{"SeveralCodes",
                               true,
                               {"AAA", "BBB", "CCC"},
                               " and refcode in (\r\n'AAA','BBB','CCC')\r\n"},
                    LigLocCase{
                        "CodeWithQuote", true, {"A'); drop"}, " and refcode=\r\n'A''); drop'\r\n"}),
    test::CaseName());

struct FormatCase {
    const char* name;
    std::string (*format)(double);
    double value;
    std::string expected;
};

class FormatTable : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatTable, Text) {
    EXPECT_EQ(GetParam().format(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatTable,
    testing::Values(FormatCase{"EdgeThreeDecimals", FormatCellEdge, 12.3456, "12.346"},
                    FormatCase{"AngleTwoDecimals", FormatCellAngle, 90.0, "90.00"},
                    FormatCase{"AngleRounded", FormatCellAngle, 109.476, "109.48"},
                    FormatCase{"CoordinateFiveDecimals", FormatFractional, 0.123456, "0.12346"},
                    FormatCase{"NegativeCoordinate", FormatFractional, -0.25, "-0.25000"}),
    test::CaseName());

// A locale whose decimal separator is a comma.
struct CommaDecimals : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(LigandReadFormats, PointWhateverTheLocale) {
    std::locale previous = std::locale::global(std::locale(std::locale(), new CommaDecimals));
    std::string edge = FormatCellEdge(1.5);
    std::string coordinate = FormatFractional(-0.25);
    std::locale::global(previous);
    EXPECT_EQ(edge, "1.500");
    EXPECT_EQ(coordinate, "-0.25000");
}

TFakeResult HeaderResult() {
    return TFakeResult::OneRow({{"id", "{ABCDEF01-2345-6789-ABCD-EF0123456789}"},
                                {"name", "C6 H6"},
                                {"countat", "12"},
                                {"lengtha", "10.5"},
                                {"lengthb", "7.12345"},
                                {"lengthc", "20"},
                                {"angelalpha", "90"},
                                {"angelbeta", "104.5549"},
                                {"angelgamma", "119.999"},
                                {"ttlcode", "305"}});
}

TEST(ReadLigandHeader, FromTheRow) {
    TFakeResult result = HeaderResult();
    TLigandHeaderTexts header = ReadLigandHeader(result);
    EXPECT_EQ(header.LigID, "{ABCDEF01-2345-6789-ABCD-EF0123456789}");
    EXPECT_EQ(header.LigName, "C6 H6");
    EXPECT_EQ(header.LigCode, "305");
    EXPECT_EQ(header.LigAtNum, "12");
    EXPECT_EQ(header.Length_a, "10.500");
    EXPECT_EQ(header.Length_b, "7.123");
    EXPECT_EQ(header.Length_c, "20.000");
    EXPECT_EQ(header.Angel_alpha, "90.00");
    EXPECT_EQ(header.Angel_beta, "104.55");
    EXPECT_EQ(header.Angel_gamma, "120.00");
}

TEST(ReadLigandHeader, LigandNotInTheLibraryOfTheLastCheck) {
    TFakeResult result(std::vector<TFakeResult::Row>{});
    TLigandHeaderTexts header = ReadLigandHeader(result);
    EXPECT_EQ(header.LigID, "");
    EXPECT_EQ(header.LigName, "");
    EXPECT_EQ(header.LigCode, "");
    EXPECT_EQ(header.LigAtNum, "");
    for (const std::string* edge : {&header.Length_a, &header.Length_b, &header.Length_c})
        EXPECT_EQ(*edge, "0.000");
    for (const std::string* angle : {&header.Angel_alpha, &header.Angel_beta, &header.Angel_gamma})
        EXPECT_EQ(*angle, "0.00");
}

TEST(ReadLigandAtomRow, ColumnsAndFormats) {
    TFakeResult result = TFakeResult::OneRow({{"id", "{11111111-0000-0000-0000-000000000001}"},
                                              {"specat", "8"},
                                              {"numat", "+3"},
                                              {"cn", "2"},
                                              {"fractx", "-0.25"},
                                              {"fracty", "0.123456"},
                                              {"fractz", "1e-6"}});
    EXPECT_EQ(ReadLigandAtomRow(result, 4),
              (TGridRow{"4", "8", "3", "2", "-0.25000", "0.12346", "0.00000"}));
}

TEST(ReadLigandBondRow, AtomNumberAndNeighboursAsStored) {
    TFakeResult result = TFakeResult::OneRow({{"at_num", "1"}, {"adm_str", "2 5 7"}});
    EXPECT_EQ(ReadLigandBondRow(result), (TGridRow{"1", "2 5 7"}));
}

TEST(ReadLigandOccurrenceRow, Columns) {
    TFakeResult result = TFakeResult::OneRow(
        {{"refcode", "ABCDEF"}, {"coordtype", "M2"}, {"ligvol", "12.5"}, {"ligarea", "30.25"}});
    EXPECT_EQ(ReadLigandOccurrenceRow(result, 2), (TGridRow{"2", "ABCDEF", "M2", "12.5", "30.25"}));
}

} // namespace
} // namespace ormaline
