// The connection layer against the real server through the real driver and the data
// source "PostgreSQL30" that scripts/odbc-setup.sh defines. There is no fake: when the
// data source cannot be opened, every test here fails.
#include "db/Database.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace ormaline;

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_THROW(db.Open()) << "the demo data source must be running"; }
    TDatabase db;
};

} // namespace

TEST_F(DatabaseTest, OpenCloseAndIsOpen) {
    EXPECT_TRUE(db.IsOpen());
    db.Open(); // a second open keeps the connection
    EXPECT_TRUE(db.IsOpen());
    db.Close();
    EXPECT_FALSE(db.IsOpen());
    db.Close(); // closing a closed connection does nothing
    EXPECT_FALSE(db.IsOpen());
    EXPECT_THROW(db.Query("select 1"), EDatabaseError);
    db.Open();
    EXPECT_TRUE(db.IsOpen());
    auto result = db.Query("select 1 as one");
    EXPECT_EQ(result->AsInteger("one"), 1);
}

TEST_F(DatabaseTest, ReadsTextIntegerDoubleNullAndGuidColumns) {
    auto result = db.Query("select 'Cu(II)'::text as Name, 42 as countat, -0.25::float8 as fractx,\r\n"
                           "  null::int as nothing, null::text as notext,\r\n"
                           "  'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11'::uuid as id");
    ASSERT_FALSE(result->Eof());
    // Names are matched without regard to case.
    EXPECT_EQ(result->AsString("NAME"), "Cu(II)");
    EXPECT_EQ(result->AsString("name"), "Cu(II)");
    EXPECT_EQ(result->AsInteger("CountAt"), 42);
    EXPECT_EQ(result->AsString("countat"), "42");
    EXPECT_DOUBLE_EQ(result->AsFloat("fractx"), -0.25);
    EXPECT_TRUE(result->IsNull("nothing"));
    EXPECT_EQ(result->AsInteger("nothing"), 0);
    EXPECT_EQ(result->AsString("notext"), "");
    EXPECT_FALSE(result->IsNull("countat"));
    EXPECT_EQ(result->AsString("ID"), "{A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11}");
    result->Next();
    EXPECT_TRUE(result->Eof());
    EXPECT_THROW(result->AsString("name"), EDatabaseError);
}

TEST_F(DatabaseTest, RowsComeInStatementOrder) {
    auto result = db.Query("select g as n, 'row' || g as label from generate_series(1, 2500) g order by g desc");
    int expected = 2500;
    int count = 0;
    for (; !result->Eof(); result->Next(), --expected, ++count) {
        ASSERT_EQ(result->AsInteger("n"), expected);
        ASSERT_EQ(result->AsString("label"), "row" + std::to_string(expected));
    }
    EXPECT_EQ(count, 2500);
}

TEST_F(DatabaseTest, EmptyResultIsAtEndAtOnce) {
    auto result = db.Query("select 1 as n where false");
    EXPECT_TRUE(result->Eof());
    EXPECT_EQ(result->ColumnCount(), 1);
    EXPECT_EQ(result->FindColumn("N"), 0);
}

TEST_F(DatabaseTest, TwoResultsOpenAtOnce) {
    auto outer = db.Query("select g as n from generate_series(1, 3) g order by g");
    int rows = 0;
    for (; !outer->Eof(); outer->Next()) {
        int n = outer->AsInteger("n");
        auto inner = db.Query("select " + std::to_string(n) + " * 10 as m");
        ASSERT_FALSE(inner->Eof());
        EXPECT_EQ(inner->AsInteger("m"), n * 10);
        ++rows;
    }
    EXPECT_EQ(rows, 3);
}

TEST_F(DatabaseTest, ValuesAreNotConvertedSilently) {
    auto result = db.Query("select 3000000000::bigint as big, 'abc'::text as word, "
                           "'12a'::text as half, 2.0::numeric as whole, 1.5::float8 as frac");
    EXPECT_THROW(result->AsInteger("big"), EDatabaseError); // would wrap in 32 bits
    EXPECT_THROW(result->AsInteger("word"), EDatabaseError);
    EXPECT_THROW(result->AsFloat("half"), EDatabaseError);
    EXPECT_EQ(result->AsInteger("whole"), 2);
    EXPECT_THROW(result->AsInteger("frac"), EDatabaseError);
    EXPECT_THROW(result->AsString("missing"), EDatabaseError);
    EXPECT_DOUBLE_EQ(result->AsFloat("big"), 3e9);
}

TEST_F(DatabaseTest, LongTextArrivesWhole) {
    auto result = db.Query("select repeat('ab', 50000) as t");
    std::string expected;
    for (int i = 0; i < 50000; ++i)
        expected += "ab";
    EXPECT_EQ(result->AsString("t"), expected);
}

TEST_F(DatabaseTest, ErrorsCarryTheServersMessageAndLeaveTheConnectionUsable) {
    try {
        db.Query("select * from no_such_table_here");
        FAIL() << "the statement must fail";
    } catch (const EDatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("no_such_table_here"), std::string::npos) << error.what();
    }
    auto result = db.Query("select 7 as n");
    EXPECT_EQ(result->AsInteger("n"), 7);
}

TEST_F(DatabaseTest, TheReadOnlyRoleRefusesWrites) {
    EXPECT_THROW(db.Query("create table ormaline_write_probe (x int)"), EDatabaseError);
    EXPECT_THROW(db.Query("insert into topology.limon_library (id, name) values "
                          "('a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11', 'x')"),
                 EDatabaseError);
    auto check = db.Query("select count(*) as n from topology.limon_library where name = 'x'");
    EXPECT_EQ(check->AsInteger("n"), 0);
}

TEST(DatabaseOpenTest, AnUnknownDataSourceFailsWithTheDriversMessage) {
    TDatabase db("DSN=NoSuchOrmalineSource;");
    try {
        db.Open();
        FAIL() << "opening an unknown data source must fail";
    } catch (const EDatabaseError& error) {
        EXPECT_FALSE(std::string(error.what()).empty());
    }
    EXPECT_FALSE(db.IsOpen());
}
