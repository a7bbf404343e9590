#include "app/core/TTLSearchRows.h"

#include <gtest/gtest.h>

#include "CaseName.h"

#include "FakeResult.h"
#include "model/Errors.h"

namespace ormaline {
namespace {

using test::TFakeResult;

const std::string kId1 = "{11111111-0000-0000-0000-000000000001}";
const std::string kId2 = "{22222222-0000-0000-0000-000000000002}";
const std::string kId3 = "{33333333-0000-0000-0000-000000000003}";

TFakeResult::Row SearchRow(const std::string& id, const std::string& name, const char* countat,
                           const char* ttlcode, const char* cLoc) {
    // Column names as the driver reports them: lower case.
    return {
        {"id", id}, {"name", name}, {"countat", countat}, {"ttlcode", ttlcode}, {"c_loc", cLoc}};
}

// Reads the whole result and decides each row on its own, as the search does without
// a subgraph (blocks of one row).
template <class OnHit>
int ReadAndDecideEachRow(TFakeResult& result, OnHit&& onHit,
                         const std::function<bool(const TGuid&)>& isHit = {}) {
    TLigandBlockTest blockTest;
    if (isHit)
        blockTest = [&isHit](const std::vector<TGuid>& ids) {
            return std::vector<bool>{isHit(ids.front())};
        };
    return DecideTTLSearchRows(ReadTTLSearchRows(result), std::forward<OnHit>(onHit), blockTest, 1);
}

TFakeResult ThreeHits() {
    return TFakeResult({SearchRow(kId1, "Cl", "1", "17", "40"),
                        SearchRow(kId2, "H2O", "3", "305", "12"),
                        SearchRow(kId3, "NO3", "4", "-2", "12")});
}

TEST(TTLSearchRows, EveryRowIsAHitWithoutATest) {
    TFakeResult result = ThreeHits();
    std::vector<TGridRow> grid;
    std::vector<int> rowNumbers;
    int hits = ReadAndDecideEachRow(result, [&](const TOneRecStr& record, int hitCount) {
        grid.push_back(TTLGridRow(record));
        rowNumbers.push_back(hitCount);
    });
    EXPECT_EQ(hits, 3);
    EXPECT_TRUE(result.Eof());
    EXPECT_EQ(rowNumbers, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(grid, (std::vector<TGridRow>{{"17", "1", "Cl", kId1, "40"},
                                           {"305", "3", "H2O", kId2, "12"},
                                           {"-2", "4", "NO3", kId3, "12"}}));
}

TEST(TTLSearchRows, RowTestSeesEachLigandAndDropsRejectedRows) {
    TFakeResult result = ThreeHits();
    std::vector<TGuid> tested;
    std::vector<std::pair<std::string, int>> hits;
    std::function<bool(const TGuid&)> rejectSecond = [&](const TGuid& id) {
        tested.push_back(id);
        return GuidToString(id) != kId2;
    };
    int count = ReadAndDecideEachRow(
        result,
        [&](const TOneRecStr& record, int hitCount) { hits.emplace_back(record.name, hitCount); },
        rejectSecond);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(tested, (std::vector<TGuid>{*ParseGuid(kId1), *ParseGuid(kId2), *ParseGuid(kId3)}));
    // The grid row number is the hit count, so no gap is left for the rejected row.
    EXPECT_EQ(hits, (std::vector<std::pair<std::string, int>>{{"Cl", 1}, {"NO3", 2}}));
}

TEST(TTLSearchRows, BlocksAreDecidedTogetherAndHitsKeepTheRowOrder) {
    std::vector<TFakeResult::Row> rows;
    for (int k = 1; k <= 5; ++k)
        rows.push_back(SearchRow("{00000000-0000-0000-0000-00000000000" + std::to_string(k) + "}",
                                 "L" + std::to_string(k), "1", "1", "1"));
    TFakeResult result(rows);
    std::vector<std::size_t> blocks;
    std::vector<std::pair<std::string, int>> hits;
    // Rows 2 and 5 are rejected.
    TLigandBlockTest test = [&](const std::vector<TGuid>& ids) {
        blocks.push_back(ids.size());
        std::vector<bool> flags;
        for (const TGuid& id : ids)
            flags.push_back(id.bytes[15] != 2 && id.bytes[15] != 5);
        return flags;
    };
    EXPECT_EQ(DecideTTLSearchRows(
                  ReadTTLSearchRows(result),
                  [&](const TOneRecStr& record, int hit) { hits.emplace_back(record.name, hit); },
                  test, 2),
              3);
    EXPECT_EQ(blocks, (std::vector<std::size_t>{2, 2, 1}));
    EXPECT_EQ(hits, (std::vector<std::pair<std::string, int>>{{"L1", 1}, {"L3", 2}, {"L4", 3}}));
    EXPECT_TRUE(result.Eof());
}

// A long result is read whole before any row is decided, and the caller hears of it
// every thousand rows (the window repaints then).
TEST(TTLSearchRows, ReadsEveryRowInOrderAndReportsEveryThousand) {
    std::vector<TFakeResult::Row> rows;
    for (int k = 0; k < 2500; ++k)
        rows.push_back(SearchRow(k % 2 == 0 ? kId1 : kId2, "L" + std::to_string(k), "1", "1", "1"));
    TFakeResult result(rows);
    int calls = 0;
    const std::vector<TOneRecStr> records = ReadTTLSearchRows(result, [&] { ++calls; });
    ASSERT_EQ(records.size(), 2500u);
    EXPECT_EQ(records[2499].name, "L2499");
    EXPECT_EQ(GuidToString(records[1].ID), kId2);
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(result.Eof());
}

TEST(TTLSearchRows, NoRowsNoHits) {
    TFakeResult result(std::vector<TFakeResult::Row>{});
    int calls = 0;
    EXPECT_EQ(ReadAndDecideEachRow(result, [&](const TOneRecStr&, int) { ++calls; }), 0);
    EXPECT_EQ(calls, 0);
}

TEST(TTLSearchRows, IdThatIsNoGuidIsAConvertError) {
    TFakeResult result = TFakeResult::OneRow(SearchRow("not a guid", "Cl", "1", "17", "40"));
    EXPECT_THROW(ReadAndDecideEachRow(result, [](const TOneRecStr&, int) {}), EConvertError);
}

TEST(FoundLigandsStatus, Text) {
    EXPECT_EQ(FoundLigandsStatus(0), "Found 0 ligands.");
    EXPECT_EQ(FoundLigandsStatus(1234), "Found 1234 ligands.");
}

TOneRecStr Record(std::int32_t code, std::int32_t atoms, std::string name, std::int32_t cLoc) {
    TOneRecStr record;
    record.ident = code;
    record.count_at = atoms;
    record.name = std::move(name);
    record.c_loc = cLoc;
    return record;
}

struct FileCase {
    const char* name;
    std::vector<TOneRecStr> records;
    std::string expectedBytes;
};

class TTLQueryFileTable : public testing::TestWithParam<FileCase> {};

TEST_P(TTLQueryFileTable, Bytes) {
    EXPECT_EQ(TTLQueryFileText(GetParam().records), GetParam().expectedBytes);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TTLQueryFileTable,
    testing::Values(
        // With a subgraph loaded every row can be rejected: the file then holds the header.
        FileCase{"HeaderOnly", {}, "TTLCode\tCountAt\tTTLName\tOccur.\r\n"},
        FileCase{"TwoRows",
                 {Record(17, 1, "Cl", 40), Record(-3, 12, "C6 H6", 7)},
                 "TTLCode\tCountAt\tTTLName\tOccur.\r\n"
                 "17\t1\tCl\t40\r\n"
                 "-3\t12\tC6 H6\t7\r\n"},
        FileCase{"EmptyNameKeepsItsColumn",
                 {Record(5, 2, "", 0)},
                 "TTLCode\tCountAt\tTTLName\tOccur.\r\n5\t2\t\t0\r\n"}),
    test::CaseName());

TEST(TTLQueryFile, LineIsTheFileRowOfOneRecord) {
    EXPECT_EQ(TTLQueryFileHeader(), "TTLCode\tCountAt\tTTLName\tOccur.\r\n");
    EXPECT_EQ(TTLQueryFileLine(Record(2147483647, 0, "X", -1)), "2147483647\t0\tX\t-1\r\n");
}

} // namespace
} // namespace ormaline
