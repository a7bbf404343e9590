// The one place where typed values enter statement text.
#include "app/core/SqlLiteral.h"

#include <gtest/gtest.h>

using namespace ormaline;

TEST(SqlLiteralTest, QuotesAreDoubledAndValidTextIsUnchanged) {
    struct Case {
        const char* typed;
        const char* quoted;
    };
    const std::vector<Case> cases = {
        {"", "''"},
        {"pyridine", "'pyridine'"},
        {"4,4'-bipyridine", "'4,4''-bipyridine'"},
        {"'", "''''"},
        {"x' or '1'='1", "'x'' or ''1''=''1'"},
        {"%a_b%", "'%a_b%'"}, // LIKE wildcards are the user's own
    };
    for (const auto& c : cases)
        EXPECT_EQ(QuotedLiteral(c.typed), c.quoted) << c.typed;
    EXPECT_EQ(EscapeQuotes("a'b"), "a''b");
}

TEST(SqlLiteralTest, NonNumbersAreNeverInsertedBare) {
    struct Case {
        const char* typed;
        const char* asNumber;
        const char* asInteger;
    };
    const std::vector<Case> cases = {
        {"12", "12", "12"},
        {"-3", "-3", "-3"},
        {"2.5", "2.5", "'2.5'"},
        {"1e3", "1e3", "'1e3'"},
        {"12a", "'12a'", "'12a'"},
        {"1 or 1=1", "'1 or 1=1'", "'1 or 1=1'"},
        {"1; drop table x", "'1; drop table x'", "'1; drop table x'"},
        {"0) or (1=1", "'0) or (1=1'", "'0) or (1=1'"},
        {"2'--", "'2''--'", "'2''--'"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumberOrLiteral(c.typed), c.asNumber) << c.typed;
        EXPECT_EQ(IntegerOrLiteral(c.typed), c.asInteger) << c.typed;
    }
}
