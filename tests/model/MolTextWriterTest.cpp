#include "ModelTestUtil.h"

#include "model/Compound.h"
#include "model/MolTextReader.h"
#include "model/MolTextWriter.h"
#include "model/Symmetry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace ormaline {
namespace {

using test::AtomsOf;

void CubicCell(tCompParam& comp) {
    InitCompParam(comp, staAtNI);
    comp.DC.Tr = {10, 10, 10};
    comp.DC.Ug = {90, 90, 90};
}

TMolTextAtom Atom(std::int16_t element, DVector k, std::string colour,
                  std::vector<TMolTextBond> bonds, bool central = false) {
    TMolTextAtom atom;
    atom.central = central;
    atom.element = element;
    atom.multiplicity = 1;
    atom.siteSymmetry = "?";
    atom.colour = std::move(colour);
    atom.k = k;
    atom.bonds = std::move(bonds);
    return atom;
}

TEST(WriteMolText, WaterInTheReaderForm) {
    tCompParam comp;
    CubicCell(comp);
    comp.MDC.CmpName = "water";
    std::vector<std::string> lines =
        WriteMolText(comp, {Atom(8, {0.5, 0.5, 0.5}, "clRed", {{2, bkValence}, {3, bkValence}}),
                            Atom(1, {0.596, 0.5, 0.5}, "clWhite", {{1, bkValence}}),
                            Atom(1, {0.476, 0.593, 0.5}, "clWhite", {{1, bkValence}})});
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "VER=1;0::water",
                         "10.000 10.000 10.000 90.00 90.00 90.00",
                         "1 O[1,?]<clRed> 0.500 0.500 0.500 2 v 3 v ",
                         "2 H[1,?]<clWhite> 0.596 0.500 0.500 1 v ",
                         "3 H[1,?]<clWhite> 0.476 0.593 0.500 1 v ",
                     }));
}

TEST(WriteMolText, HeaderAndCell) {
    tCompParam comp;
    InitCompParam(comp, staAtNI);
    comp.DC.code = -1234567890123;
    comp.DC.RefCode = "ABCDEF01";
    comp.MDC.CmpName = "bis(ligand)";
    comp.DC.Tr = {7.3914f, 9.4211f, 6.8123f};
    comp.DC.Ug = {90, 104.555f, 90.004f};
    EXPECT_EQ(MolTextHeader(comp), "VER=1;-1234567890123:ABCDEF01:bis(ligand)");
    EXPECT_EQ(MolTextCellLine(comp), "7.391 9.421 6.812 90.00 104.56 90.00");
}

TEST(WriteMolText, BondsAndMarks) {
    // Two valence-bonded atoms: line 1 ends "2 v ", line 2 ends "1 v ".
    std::vector<TMolTextAtom> atoms = {
        Atom(6, {0.1, 0.2, 0.3}, "$FFFFFFFF", {{2, bkValence}}),
        Atom(7, {0.4, 0.5, -0.25}, "clNavy", {{1, bkValence}}, true)};
    EXPECT_EQ(MolTextAtomLine(1, atoms[0], 2), "1 C[1,?]<$FFFFFFFF> 0.100 0.200 0.300 2 v ");
    EXPECT_EQ(MolTextAtomLine(2, atoms[1], 2), "*2 N[1,?]<clNavy> 0.400 0.500 -0.250 1 v ");

    TMolTextAtom mixed = Atom(8, {0, 0, 0}, "clRed",
                              {{2, bkSpecific},
                               {3, bkVanDerWaals},
                               {2, bkHydrogen},
                               {4, 0},
                               {5, 9},
                               {0, bkValence},
                               {7, bkValence}});
    mixed.siteSymmetry = " C2v ";
    mixed.multiplicity = 2;
    EXPECT_EQ(MolTextAtomLine(1, mixed, 6), "1 O[2,C2v]<clRed> 0.000 0.000 0.000 2 s 3 w 2 h ");

    TMolTextAtom plain = Atom(17, {0.5, 0.5, 0.5}, "", {});
    EXPECT_EQ(MolTextAtomLine(3, plain, 3), "3 Cl[1,?] 0.500 0.500 0.500 ");
}

TEST(WriteMolText, CentralAtomReadsBackNegative) {
    tCompParam comp;
    CubicCell(comp);
    std::vector<std::string> lines =
        WriteMolText(comp, {Atom(6, {0.5, 0.5, 0.5}, "clLime", {{2, bkValence}}, true),
                            Atom(6, {0.6, 0.5, 0.5}, "clLime", {{1, bkValence}})});
    tCompParam back;
    ASSERT_TRUE(ReadMolText(lines, back, {}));
    EXPECT_EQ(test::ListLabels(back.pAt0), "C-1 C2");
}

TEST(MolTextAtomsFromCompound, RecordsOfAReadCompound) {
    tCompParam comp;
    ASSERT_TRUE(
        ReadMolText({"VER=1;0::water", "10 10 10 90 90 90", "1 O[1,?]<clRed> 0.5 0.5 0.5 2 v 3 v",
                     "2 H<clWhite> 0.596 0.5 0.5 1 v", "*3 H 0.476 0.593 0.5 1 h 9 v"},
                    comp, {}));
    std::vector<TMolTextAtom> records = MolTextAtomsFromCompound(comp);
    ASSERT_EQ(records.size(), 3u); // list order H-2 (number 3), H1 (number 2), O1
    EXPECT_EQ(records[0].element, 1);
    EXPECT_TRUE(records[0].central);
    EXPECT_FALSE(records[1].central);
    EXPECT_EQ(records[0].colour, "");
    EXPECT_EQ(records[1].colour, "clWhite");
    EXPECT_EQ(records[2].colour, "clRed");
    EXPECT_EQ(records[2].multiplicity, 1);
    EXPECT_EQ(records[2].siteSymmetry, "?");
    ASSERT_EQ(records[2].bonds.size(), 2u);
    EXPECT_EQ(records[2].bonds[0].partner, 2); // atom number 2 is second in the list
    EXPECT_EQ(records[2].bonds[1].partner, 1);
    ASSERT_EQ(records[0].bonds.size(), 1u); // the bond to the missing atom 9 is dropped
    EXPECT_EQ(records[0].bonds[0].kind, bkHydrogen);
    EXPECT_EQ(records[0].bonds[0].partner, 3);
}

// Random compounds written and read back keep atoms, coordinates to the written
// precision, colours and bonds.
TEST(WriteMolText, RandomRoundTrips) {
    std::mt19937 random(31337);
    std::uniform_real_distribution<double> coordinate(-1.5, 2.5);
    const char* colours[] = {"clRed", "clWhite", "$FFFFFFFF", "$00123ABC", "clMoneyGreen"};
    for (int trial = 0; trial < 100; ++trial) {
        int count = 1 + static_cast<int>(random() % 60);
        std::vector<TMolTextAtom> atoms;
        for (int k = 0; k < count; ++k) {
            TMolTextAtom atom;
            atom.central = random() % 7 == 0;
            atom.element = static_cast<std::int16_t>(1 + random() % 120);
            atom.multiplicity = static_cast<std::int32_t>(random() % 256);
            atom.siteSymmetry = std::string(SiteSymmetryNames[random() % 51]);
            atom.colour = colours[random() % 5];
            atom.k = {coordinate(random), coordinate(random), coordinate(random)};
            atoms.push_back(atom);
        }
        for (int k = 0; k < count; ++k)
            for (int bond = static_cast<int>(random() % 5); bond > 0; --bond)
                atoms[static_cast<std::size_t>(k)].bonds.push_back(
                    {static_cast<std::int32_t>(1 + random() % static_cast<unsigned>(count)),
                     static_cast<std::uint8_t>(1 + random() % 4)});

        tCompParam comp;
        InitCompParam(comp, staAtNI);
        comp.DC.Tr = {static_cast<float>(5 + random() % 20), 11.5f, 8.25f};
        comp.DC.Ug = {90, static_cast<float>(95 + random() % 20), 120};
        std::vector<std::string> lines = WriteMolText(comp, atoms);

        tCompParam back;
        std::vector<std::string> messages;
        ASSERT_TRUE(ReadMolText(lines, back, [&](const std::string& m) { messages.push_back(m); }))
            << lines[2];
        EXPECT_EQ(back.DC.Ug[1], comp.DC.Ug[1]);
        EXPECT_EQ(back.DC.Tr[0], comp.DC.Tr[0]);
        ASSERT_EQ(back.DC.at_, static_cast<std::uint32_t>(count));

        std::vector<int> seen(static_cast<std::size_t>(count), 0);
        for (const tSteckAt* atom : AtomsOf(back.pAt0)) {
            ASSERT_GE(atom->i, 1);
            ASSERT_LE(atom->i, count);
            const TMolTextAtom& original = atoms[static_cast<std::size_t>(atom->i - 1)];
            ++seen[static_cast<std::size_t>(atom->i - 1)];
            EXPECT_EQ(atom->A.n, original.element);
            EXPECT_EQ(atom->A.i < 0, original.central);
            for (std::size_t axis = 0; axis < 3; ++axis)
                EXPECT_NEAR(atom->A.k[axis], original.k[axis], 0.0005 + 1e-12);
            ASSERT_NE(atom->Struct, nullptr);
            EXPECT_EQ(atom->Struct->Color, original.colour);
            EXPECT_TRUE(atom->Struct->MultSet.Contains(original.multiplicity));
            int site = SiteSymIndex(original.siteSymmetry);
            EXPECT_EQ(atom->Struct->SiteSymSet.Contains(site), site > 0);
            std::vector<std::pair<int, int>> bonds;
            for (const tAdjMatr* entry = atom->PMAd; entry != nullptr; entry = entry->li)
                bonds.emplace_back(entry->i, entry->m);
            std::vector<std::pair<int, int>> expected;
            for (const TMolTextBond& bond : original.bonds)
                expected.emplace_back(bond.partner, bond.kind);
            EXPECT_EQ(bonds, expected);
        }
        EXPECT_EQ(seen, std::vector<int>(static_cast<std::size_t>(count), 1));

        // Writing what was read gives the same file again, apart from the atom order.
        std::vector<TMolTextAtom> again = MolTextAtomsFromCompound(back);
        EXPECT_EQ(again.size(), atoms.size());
    }
}

} // namespace
} // namespace ormaline
