// Trimming, integer and number parsing, fixed-point formatting and GUID text forms:
// the helpers every typed value and every shown number passes through.
#include "model/Guid.h"
#include "model/NumberFormat.h"
#include "model/TextUtil.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

using namespace ormaline;

TEST(TrimTest, RemovesBlanksAndControlCharactersAtBothEnds) {
    struct Case {
        std::string in, trimmed, left, right;
    };
    const std::vector<Case> cases = {
        {"", "", "", ""},
        {"   ", "", "", ""},
        {"abc", "abc", "abc", "abc"},
        {" \t a b \r\n", "a b", "a b \r\n", " \t a b"},
        {std::string("\0x\x1f", 3), "x", std::string("x\x1f"), std::string("\0x", 2)},
        {"\xc3\xa9 ", "\xc3\xa9", "\xc3\xa9 ", "\xc3\xa9"}, // bytes above 127 stay
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Trim(c.in), c.trimmed) << "[" << c.in << "]";
        EXPECT_EQ(TrimLeft(c.in), c.left);
        EXPECT_EQ(TrimRight(c.in), c.right);
    }
}

TEST(IntegerTest, ValidIntegersAndTheirValues) {
    struct Case {
        const char* text;
        bool valid;
        std::optional<std::int32_t> value;
    };
    const std::vector<Case> cases = {
        {"12", true, 12},          {" -7 ", true, -7},     {"+3", true, 3},
        {"007", true, 7},          {"12a", false, {}},     {"", false, {}},
        {"-", false, {}},          {"1.0", false, {}},     {"1 2", false, {}},
        {"2147483647", true, 2147483647}, {"-2147483648", true, std::numeric_limits<std::int32_t>::min()},
        {"2147483648", true, {}},  // a valid integer, but not a 32-bit one
        {"99999999999999999999999", true, {}},
        {"0x10", false, {}},       {"1e3", false, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidInteger(c.text), c.valid) << c.text;
        EXPECT_EQ(ParseInt32(c.text), c.value) << c.text;
    }
    EXPECT_EQ(ParseInt64("2147483648"), 2147483648LL);
}

TEST(NumberTest, NumbersUseAPointWhateverTheLocale) {
    // A locale whose decimal separator is a comma must not change anything.
    const char* previous = std::setlocale(LC_ALL, nullptr);
    std::string saved = previous ? previous : "C";
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const std::vector<Case> cases = {
        {"1.5", 1.5},   {" -0.25 ", -0.25}, {".5", 0.5},  {"5.", 5.0},   {"+2e3", 2000.0},
        {"1E-2", 0.01}, {"7", 7.0},         {"1,5", {}},  {"e5", {}},    {"1e", {}},
        {"1e+", {}},    {".", {}},          {"", {}},     {"nan", {}},   {"inf", {}},
        {"--1", {}},    {"1.2.3", {}},      {"0x1p3", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsNumber(c.text), c.value.has_value()) << c.text;
        EXPECT_EQ(ParseNumber(c.text), c.value) << c.text;
    }
    EXPECT_EQ(ParseNumber("1e999"), HUGE_VAL);
    EXPECT_EQ(ParseNumber("-1e999"), -HUGE_VAL);
    EXPECT_EQ(ParseNumber("1e-999"), 0.0);
    EXPECT_EQ(FormatFixed(-0.25, 5), "-0.25000");
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(FormatFixedTest, DecimalsRoundingAndSigns) {
    struct Case {
        double value;
        int decimals;
        const char* text;
    };
    const std::vector<Case> cases = {
        {10.6757, 3, "10.676"}, {90.0, 2, "90.00"},       {-0.25, 5, "-0.25000"},
        {0.0, 3, "0.000"},      {-0.0000001, 3, "0.000"}, {123456789.0, 0, "123456789"},
        {1.0 / 3.0, 5, "0.33333"}, {2.5, 0, "2"},         {3.5, 0, "4"}, // ties to even
        {1e21, 1, "1000000000000000000000.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.decimals), c.text) << c.value;
    EXPECT_EQ(FormatFixed(std::nan(""), 2), "NAN");
    EXPECT_EQ(FormatFixed(-HUGE_VAL, 2), "-INF");
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
}

TEST(FormatExponentTest, TwentyThreeCharactersWithFourExponentDigits) {
    const std::vector<std::pair<double, const char*>> cases = {
        {1.5, " 1.50000000000000E+0000"},
        {-1.5, "-1.50000000000000E+0000"},
        {0.0, " 0.00000000000000E+0000"},
        {-0.0, " 0.00000000000000E+0000"},
        {0.0123, " 1.23000000000000E-0002"},
        {123456.789, " 1.23456789000000E+0005"},
        {1.0 / 3.0, " 3.33333333333333E-0001"},
        {2.0 / 3.0, " 6.66666666666667E-0001"}, // 15 significant digits, rounded
        {9.999999999999999, " 1.00000000000000E+0001"},
        {1e-300, " 1.00000000000000E-0300"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(FormatExponent(value), text) << value;
        EXPECT_EQ(FormatExponent(value).size(), 23u);
    }
    EXPECT_EQ(FormatExponent(std::nan("")), std::string(20, ' ') + "NAN");
}

TEST(FormatMeanWithDeviationTest, DeviationInUnitsOfTheLastDecimal) {
    EXPECT_EQ(FormatMeanWithDeviation(1.2346, 0.0123, 3), "1.235(12)");
    EXPECT_EQ(FormatMeanWithDeviation(15.25, 1.04, 1), "15.2(10)");
    EXPECT_EQ(FormatMeanWithDeviation(0.08123, 0.0, 4), "0.0812(0)");
    EXPECT_EQ(FormatMeanWithDeviation(2.0, 0.125, 2), "2.00(12)"); // 12.5: ties to even
    EXPECT_EQ(FormatMeanWithDeviation(2.0, 0.375, 2), "2.00(38)");
}

TEST(GuidTextTest, BothFormsConvertBothWays) {
    const std::string braced = "{A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11}";
    const std::string plain = "A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11";
    for (const std::string& text : {braced, plain, std::string("a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11"),
                                    std::string("  {a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11} ")}) {
        auto guid = ParseGuid(text);
        ASSERT_TRUE(guid) << text;
        EXPECT_EQ(GuidToString(*guid), braced);
        EXPECT_EQ(GuidToStatementText(*guid), plain);
        EXPECT_EQ(BracedGuidText(text), braced);
        EXPECT_EQ(StatementGuidText(text), plain);
    }
    EXPECT_EQ(ParseGuid(braced)->bytes[0], 0xA0);
    EXPECT_EQ(ParseGuid(braced)->bytes[15], 0x11);
    TGuid zero;
    EXPECT_TRUE(zero.IsNull());
    EXPECT_EQ(GuidToStatementText(zero), "00000000-0000-0000-0000-000000000000");
    EXPECT_FALSE(ParseGuid(braced)->IsNull());
}

TEST(GuidTextTest, TextsThatAreNotGuids) {
    for (const char* text : {"", "{}", "A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A1", "A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A1G",
                             "A0EEBC999C0B-4EF8-BB6D-6BB9BD380A11-", "(A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11)",
                             "A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11' or '1'='1"}) {
        EXPECT_FALSE(ParseGuid(text)) << text;
    }
    // A text that is not a GUID is handed on trimmed, not invented.
    EXPECT_EQ(StatementGuidText(" not a guid "), "not a guid");
}
