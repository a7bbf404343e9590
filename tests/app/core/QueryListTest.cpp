#include "app/core/QueryList.h"

#include <gtest/gtest.h>

#include "CaseName.h"
#include "VisibleText.h"

namespace ormaline {
namespace {

using test::Visible;

const std::string kLigandHead =
    "select distinct t1.refcode from topology.limon t, topology.limon_loc t1 where "
    "t1.limonid = t.id ";
const std::string kAtomHead = "select distinct t.refcode from atoms.cp_vdp t where TRUE ";
const std::string kTopologyHead =
    "select distinct t1.refcode from topology.ttd t, topology.tto t1 where t1.ttdid=t.id ";
const std::string kCrystalHead =
    "select distinct t.remark refcode from crystals.crystal_structures t where TRUE ";

TEST(CombinedQuery, IntersectsTheCheckedEntriesInListOrder) {
    const std::vector<TQueryEntry> entries = {
        {"1", " and t.libraryid='X'\r\n  and t.name='water'\r\n", "TTL  Library: L  Name: water",
         true},
        {"2", "  and t.at_num =29\r\n", "TTA  Atom: 29", false},
        {"3", "  and t.name='sql'", "TTD  Name: sql", true},
        {"4", "  and t.remark='ABCDEF'", "TTC  RefCode:ABCDEF", true},
    };
    TTotalQuery query = CombinedQuery(entries);
    EXPECT_EQ(Visible(query.Statement),
              Visible(kLigandHead + "\r\n and t.libraryid='X'\r\n  and t.name='water'\r\n\r\n" +
                      "INTERSECT\r\n" + kTopologyHead + "\r\n  and t.name='sql'\r\n" +
                      "INTERSECT\r\n" + kCrystalHead + "\r\n  and t.remark='ABCDEF'"));
    EXPECT_EQ(query.Description,
              "\r\n  TTL  Library: L  Name: water\r\n  TTD  Name: sql\r\n  TTC  RefCode:ABCDEF");

    // One checked entry: no INTERSECT line.
    TTotalQuery one = CombinedQuery({entries[1], {"2", "  and t.cn=4\r\n", "TTA  CN: 4", true}});
    EXPECT_EQ(Visible(one.Statement), Visible(kAtomHead + "\r\n  and t.cn=4\r\n"));
    EXPECT_EQ(one.Description, "\r\n  TTA  CN: 4");

    // Nothing checked: nothing to run.
    TTotalQuery none = CombinedQuery({entries[1]});
    EXPECT_EQ(none.Statement, "");
    EXPECT_EQ(none.Description, "");
    EXPECT_EQ(SubqueryHead("5"), "");
}

TEST(SelectionCodeList, LinesBecomeQuotedCodes) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "''"},
        {"ABCDEF", "'ABCDEF'"},
        {"ABCDEF\r\nGHIJKL", "'ABCDEF','GHIJKL'"},
        {"ABCDEF\r\nGHIJKL\r\n", "'ABCDEF','GHIJKL'"}, // a final line break adds nothing
        {"\r\n", "''"},
        {"A\r\n\r\nB", "'A','','B'"},
        {"CDEF\r\nGH", "'CDEF','GH'"}, // partly selected lines give partial codes
        {" AB \r\nC", "' AB ','C'"},   // blanks kept
        {"A'B", "'A''B'"},
    };
    for (const auto& [selection, expected] : cases)
        EXPECT_EQ(SelectionCodeList(selection), expected) << Visible(selection);
}

TEST(DoiLookup, StatementAddressAndStatus) {
    EXPECT_EQ(Visible(DoiStatement("'ABCDEF','GHIJKL'")),
              Visible("select doi \r\nfrom crystals.link_doi_structure \r\n"
                      "where refcode in ('ABCDEF','GHIJKL')"));
    EXPECT_EQ(DoiAddress("10.5555/xtal.1989.39926"), "https://doi.org/10.5555/xtal.1989.39926");
    EXPECT_TRUE(IsUnknownDoi("None"));
    EXPECT_FALSE(IsUnknownDoi("none"));
    EXPECT_EQ(DoiStatus(2, 3), "It is open 2 matches out of 3 possible.");
    EXPECT_EQ(TotalDataFileHeader() + TotalDataFileLine("ABCDEF"), "RefCode\r\nABCDEF\r\n");
}

} // namespace
} // namespace ormaline
