#include "app/core/RefCodeList.h"

#include <gtest/gtest.h>

#include "CaseName.h"

namespace ormaline {
namespace {

struct RefCodeListCase {
    const char* name;
    std::vector<std::string> lines;
    std::string expectedList;
    int expectedCount;
};

class RefCodeListTable : public testing::TestWithParam<RefCodeListCase> {};

TEST_P(RefCodeListTable, ListAndCount) {
    const RefCodeListCase& row = GetParam();
    int c = -1;
    EXPECT_EQ(RefCodeList(row.lines, c), row.expectedList);
    EXPECT_EQ(c, row.expectedCount);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RefCodeListTable,
    testing::Values(
        RefCodeListCase{"Empty", {}, "", 0},
        RefCodeListCase{"OnlyBlankLines", {"", "   ", "\t"}, "", 0},
        RefCodeListCase{"OneCode", {"ABCDEF"}, "\r\n'ABCDEF'", 1},
        RefCodeListCase{"ThreeCodes", {"A", "B", "C"}, "\r\n'A','B','C'", 3},
        RefCodeListCase{"BlankLinesSkippedBetweenCodes", {"", "A", "  ", "B"}, "\r\n'A','B'", 2},
        // A code line is taken as it stands, blanks included.
        RefCodeListCase{"CodeKeptUntrimmed", {" A "}, "\r\n' A '", 1},
        RefCodeListCase{"QuoteDoubled", {"O'X"}, "\r\n'O''X'", 1},
        RefCodeListCase{"ElevenCodes",
                        {"A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A9", "A10", "A11"},
                        "\r\n'A1','A2','A3','A4','A5','A6','A7','A8','A9','A10'\r\n,'A11'",
                        11},
        RefCodeListCase{"TwentyOneCodesBreakBeforeEachTen",
                        {"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10", "11",
                         "12", "13", "14", "15", "16", "17", "18", "19", "20", "21"},
                        "\r\n'1','2','3','4','5','6','7','8','9','10'"
                        "\r\n,'11','12','13','14','15','16','17','18','19','20'"
                        "\r\n,'21'",
                        21}),
    test::CaseName());

} // namespace
} // namespace ormaline
