// The grid rows and file lines of the atom, topology, crystal and ligand-data results,
// from rows given as the server sends them. Expected texts are written out by hand.
#include "app/core/TTARows.h"
#include "app/core/TTCQuery.h"
#include "app/core/TTDRows.h"
#include "app/core/TTLExport.h"

#include <gtest/gtest.h>

#include "FakeResult.h"
#include "VisibleText.h"

namespace ormaline {
namespace {

using test::TFakeResult;
using test::Visible;

TFakeResult CopperStatistics(std::string stddevRsd) {
    return TFakeResult::OneRow({{"at_num", "29"},
                                {"element", "Cu"},
                                {"avg_rsd", "1.2346"},
                                {"stddev_rsd", std::move(stddevRsd)},
                                {"avg_v_vdp", "8.26"},
                                {"stddev_v_vdp", "0.36"},
                                {"avg_g3_vdp", "0.08123449"},
                                {"stddev_g3_vdp", "0.00017"},
                                {"avg_var_me", "-0.0149"},
                                {"stddev_var_me", "0.0049"},
                                {"count_at", "191"}});
}

TEST(TTARows, ElementRowShowsMeansWithDeviations) {
    EXPECT_EQ(TTAGridRow(CopperStatistics("0.0123")),
              (TGridRow{"Cu", "191", "1.235(12)", "8.3(4)", "0.0812(2)", "-0.01(0)", "29"}));
    // A group of one atom has no deviation; the connection reads its NULL as 0.
    EXPECT_EQ(TTAGridRow(CopperStatistics("0")).at(2), "1.235(0)");
}

TEST(TTARows, QueryFileWritesExponentNotation) {
    EXPECT_EQ(Visible(TTAQueryFileHeader()),
              Visible("Element\tOccur.\tavg_Rsd\tstddev_Rsd\tavg_Vvdp\tstddev_Vvdp\tavg_G3vdp\t"
                      "stddev_G3vdp\tavg_VarMe\tstddev_VarMe\tAtNum\r\n"));
    EXPECT_EQ(Visible(TTAQueryFileLine(CopperStatistics("0.0123"))),
              Visible("Cu\t191\t 1.23460000000000E+0000\t 1.23000000000000E-0002"
                      "\t 8.26000000000000E+0000\t 3.60000000000000E-0001"
                      "\t 8.12344900000000E-0002\t 1.70000000000000E-0004"
                      "\t-1.49000000000000E-0002\t 4.90000000000000E-0003\t29\r\n"));
}

const TFakeResult::Row kAtom = {{"refcode", "ABCDEF"},  {"atom", "Cu1"},
                                {"at_num", "29"},       {"element", "Cu"},
                                {"ox_st", "2"},         {"cn", "6"},
                                {"rsd", "1.40126"},     {"v_vdp", "11.5249"},
                                {"s_vdp", "28.06"},     {"g3_vdp", "0.0812346"},
                                {"var_me", "0.0126"},   {"poly_id", "11"},
                                {"cp_class", "CuO4N2"}, {"cp_full", "CuC2H4N2O4"},
                                {"cf", "octahedron"}};

TEST(TTARows, AtomRowAndDataLine) {
    EXPECT_EQ(TTAOccurrenceRow(TFakeResult::OneRow(kAtom), 7),
              (TGridRow{"7", "ABCDEF", "Cu1", "2", "6", "1.401", "11.5", "28.1", "0.0812", "11",
                        "CuO4N2", "CuC2H4N2O4"}));
    EXPECT_EQ(Visible(TTADataFileHeader()),
              Visible("RefCode\tAtom\tAtNum\tElement\tOxSt\tCN\tRsd\tVvdp\tG3vdp\tVar_Me\tCPclass"
                      "\tCPfull\tCF\r\n"));
    EXPECT_EQ(Visible(TTADataFileLine(TFakeResult::OneRow(kAtom))),
              Visible("ABCDEF\tCu1\t29\tCu\t2\t6\t1.40126\t11.525\t0.081235\t0.013\tCuO4N2\t"
                      "CuC2H4N2O4\toctahedron\r\n"));
}

TEST(TTDRows, HitOccurrenceAndDataLine) {
    TFakeResult hit = TFakeResult::OneRow({{"ID", "{E460CF79-050A-5C24-BC88-4F9FF1EE3467}"},
                                           {"name", "sql"},
                                           {"ttdcode", "3"},
                                           {"numnodes", "1"},
                                           {"c_loc", "42"}});
    const TOneRecTTD record = ReadTTDSearchRow(hit);
    EXPECT_EQ(TTDGridRow(record),
              (TGridRow{"3", "1", "sql", "E460CF79-050A-5C24-BC88-4F9FF1EE3467", "42"}));
    EXPECT_EQ(Visible(TTDQueryFileHeader() + TTDQueryFileLine(record)),
              Visible("TTDCode\tNumNodes\tTTDName\tOccur.\r\n3\t1\tsql\t42\r\n"));

    TFakeResult occurrences({{{"refcode", "ABCDEF"},
                              {"z", "2"},
                              {"fwc", "[Cu(bpy)]"},
                              {"msrc", "0"},
                              {"rep_name", "Standard"}},
                             {{"refcode", "ABCDEG"},
                              {"z", "1"},
                              {"fwc", "[Zn]"},
                              {"msrc", "2"},
                              {"rep_name", "Cluster"}}});
    EXPECT_EQ(TTDOccurrenceRow(occurrences, 1),
              (TGridRow{"1", "ABCDEF", "2", "[Cu(bpy)]", "Standard", ""}));
    occurrences.Next();
    EXPECT_EQ(TTDOccurrenceRow(occurrences, 2),
              (TGridRow{"2", "ABCDEG", "1", "[Zn]", "Cluster", "2"}));

    EXPECT_EQ(Visible(TTDDataFileHeader() +
                      TTDDataFileLine(TFakeResult::OneRow({{"refcode", "ABCDEF"},
                                                           {"dimen", "2"},
                                                           {"z", "1"},
                                                           {"fwc", "[Cu]"},
                                                           {"msrc", "0"},
                                                           {"ttdcode", "3"},
                                                           {"name", "sql"},
                                                           {"rep_name", "Standard"}}))),
              Visible("RefCode\tDimen\tZ\tFWC\tMSRC\tTTDCode\tTopology\tRepresentation\r\n"
                      "ABCDEF\t2\t1\t[Cu]\t0\t3\tsql\tStandard\r\n"));
}

TEST(TTCRows, GroupStructureAndDataLine) {
    TFakeResult group = TFakeResult::OneRow(
        {{"databasename", "Inorganic structures"}, {"id", "2"}, {"c_loc", "17"}});
    EXPECT_EQ(TTCGridRow(group, 3), (TGridRow{"3", "Inorganic structures", "17", "2"}));
    EXPECT_EQ(Visible(TTCQueryFileHeader() + TTCQueryFileLine(group)),
              Visible("Database\tOccur.\r\nInorganic structures\t17\r\n"));
    const TFakeResult::Row structure = {{"remark", "ABCDEF"},
                                        {"refcode", "ABCDEF"},
                                        {"cf_structural", "[Cu(C2O4)]n"},
                                        {"cf_sum", "C2CuO4"},
                                        {"chem_name_systematic", "catena-(oxalato-copper(ii))"}};
    EXPECT_EQ(TTCOccurrenceRow(TFakeResult::OneRow(structure), 1),
              (TGridRow{"1", "ABCDEF", "[Cu(C2O4)]n", "C2CuO4", "catena-(oxalato-copper(ii))"}));
    EXPECT_EQ(Visible(TTCDataFileHeader() + TTCDataFileLine(TFakeResult::OneRow(structure))),
              Visible("RefCode\tStruct.Formula\tTotal Formula\tChem.Name\r\n"
                      "ABCDEF\t[Cu(C2O4)]n\tC2CuO4\tcatena-(oxalato-copper(ii))\r\n"));
}

TEST(TTLDataRows, OccurrenceLine) {
    EXPECT_EQ(Visible(TTLDataFileHeader() +
                      TTLDataFileLine(TFakeResult::OneRow({{"ttlcode", "12"},
                                                           {"name", "oxalate"},
                                                           {"refcode", "ABCDEF"},
                                                           {"coordtype", "K02"},
                                                           {"aligvol", "95.25"},
                                                           {"aligarea", "120.5"}}))),
              Visible("TTLCode\tTTLName\tRefCode\tCoordType\tLigVol\tLigArea\r\n"
                      "12\toxalate\tABCDEF\tK02\t95.25\t120.5\r\n"));
}

} // namespace
} // namespace ormaline
