#include "ModelTestUtil.h"

#include "model/AdjacencyLinking.h"
#include "model/CellGeometry.h"
#include "model/Compound.h"
#include "model/MolTextReader.h"
#include "model/TextUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>

namespace ormaline {
namespace {

using test::AtomsOf;
using test::ListLabels;

const std::vector<std::string> kWater = {
    "VER=1;0::water",
    "10.000 10.000 10.000 90.00 90.00 90.00",
    "1 O[1,?]<clRed> 0.500 0.500 0.500 2 v 3 v",
    "2 H[1,?]<clWhite> 0.596 0.500 0.500 1 v",
    "3 H[1,?]<clWhite> 0.476 0.593 0.500 1 v",
};

// Reads lines into comp and records every message shown.
struct Reader {
    tCompParam comp;
    std::vector<std::string> messages;

    bool Read(const std::vector<std::string>& lines) {
        return ReadMolText(lines, comp,
                           [this](const std::string& message) { messages.push_back(message); });
    }
    // A cubic 10 Å version 1 file with the given atom lines.
    bool ReadAtoms(const std::vector<std::string>& atomLines) {
        std::vector<std::string> lines = {"VER=1;0::test", "10 10 10 90 90 90"};
        lines.insert(lines.end(), atomLines.begin(), atomLines.end());
        return Read(lines);
    }
    const tSteckAt& Atom(int index) const {
        return *AtomsOf(comp.pAt0).at(static_cast<std::size_t>(index));
    }
};

std::vector<std::string> ReadDataFile(const std::string& name) {
    std::ifstream file(std::string(ORMALINE_TEST_DATA) + "/" + name, std::ios::binary);
    EXPECT_TRUE(file.good()) << name;
    std::stringstream text;
    text << file.rdbuf();
    return SplitLines(text.str());
}

using test::Members;

std::vector<std::pair<int, int>> Entries(const tSteckAt& atom) {
    std::vector<std::pair<int, int>> entries;
    for (const tAdjMatr* entry = atom.PMAd; entry != nullptr; entry = entry->li)
        entries.emplace_back(entry->i, entry->m);
    return entries;
}

// Cartesian position in Å of an atom, with the cell centre as origin.
DVector CartesianOf(const tCompParam& comp, const tSteckAt& atom) {
    DVector v{};
    for (std::size_t axis = 0; axis < 3; ++axis)
        v[axis] = (atom.A.k[axis] - 0.5) * comp.DC.Tr[axis];
    if (comp.ParamTTO.NOrth)
        FractToOrthD(v, comp.ParamTTO);
    return v;
}

double DistanceOf(const tCompParam& comp, const tSteckAt& a, const tSteckAt& b) {
    DVector p = CartesianOf(comp, a);
    DVector q = CartesianOf(comp, b);
    return VecLen(DVector{p[0] - q[0], p[1] - q[1], p[2] - q[2]});
}

double AngleOf(const tCompParam& comp, const tSteckAt& end1, const tSteckAt& middle,
               const tSteckAt& end2) {
    return AngleFromSides(DistanceOf(comp, end1, end2), DistanceOf(comp, middle, end1),
                          DistanceOf(comp, middle, end2)) *
           180.0 / std::numbers::pi;
}

TEST(ReadMolText, WaterExample) {
    Reader reader;
    ASSERT_TRUE(reader.Read(kWater));
    EXPECT_TRUE(reader.messages.empty());
    const tCompParam& comp = reader.comp;
    EXPECT_EQ(ListLabels(comp.pAt0), "H1 H2 O1");
    EXPECT_EQ(comp.pAtEnd, comp.pAt0);
    EXPECT_EQ(comp.DC.at_, 3u);
    EXPECT_EQ(comp.DC.Tr, (SVector{10, 10, 10}));
    EXPECT_EQ(comp.DC.Ug, (SVector{90, 90, 90}));
    EXPECT_FALSE(comp.ParamTTO.NOrth);
    EXPECT_EQ(comp.NameSG, "P 1");
    EXPECT_EQ(comp.CodeSG, 1);
    EXPECT_EQ(comp.SGMult, 1);
    EXPECT_EQ(comp.SortType, staAtNI);
    EXPECT_EQ(comp.ADConfig, 0);
    EXPECT_EQ(comp.SizeStruct, static_cast<std::int32_t>(sizeof(tAtData)));

    const tSteckAt& h1 = reader.Atom(0);
    const tSteckAt& h2 = reader.Atom(1);
    const tSteckAt& o1 = reader.Atom(2);
    EXPECT_EQ(h1.i, 2);
    EXPECT_EQ(h2.i, 3);
    EXPECT_EQ(o1.i, 1);
    EXPECT_EQ(o1.CN, 2);
    EXPECT_EQ(o1.CNdop, 0);
    EXPECT_EQ(o1.A.S, 2.0f);
    EXPECT_EQ(h1.CN, 1);
    EXPECT_EQ(h1.A.S, 1.0f);
    EXPECT_EQ(Entries(o1), (std::vector<std::pair<int, int>>{{2, 1}, {3, 1}}));
    EXPECT_EQ(o1.PMAd->p, nullptr);
    EXPECT_EQ(o1.A.k, (DVector{0.5, 0.5, 0.5}));
    EXPECT_EQ(h2.A.k, (DVector{0.476, 0.593, 0.5}));
    for (const tSteckAt* atom : AtomsOf(comp.pAt0)) {
        ASSERT_NE(atom->Struct, nullptr);
        EXPECT_EQ(Members(atom->Struct->MultSet), std::vector<int>{1});
        EXPECT_TRUE(atom->Struct->SiteSymSet.IsEmpty());
        EXPECT_TRUE(atom->Struct->cnset.IsEmpty());
        EXPECT_TRUE(atom->Struct->atset.Contains(atom->A.n));
        EXPECT_EQ(atom->Struct->atset.Count(), 1);
        EXPECT_EQ(atom->NSite, 0);
        EXPECT_EQ(atom->WyckL, u'a');
        EXPECT_EQ(atom->A.kch, 0);
        EXPECT_EQ(atom->A.DegOx, 16);
    }
    EXPECT_EQ(o1.Struct->Color, "clRed");
    EXPECT_EQ(h1.Struct->Color, "clWhite");

    // Literature-like geometry of the example: O-H 0.96 Å, H-O-H 104.5°.
    EXPECT_NEAR(DistanceOf(comp, o1, h1), 0.96, 0.005);
    EXPECT_NEAR(DistanceOf(comp, o1, h2), 0.96, 0.005);
    EXPECT_NEAR(AngleOf(comp, h1, o1, h2), 104.5, 0.5);
}

TEST(ReadMolText, Version0CubicCellCentresTheMolecule) {
    Reader reader;
    ASSERT_TRUE(
        reader.Read({"no version header", "10 10 10 90 90 90", "1 C 0 0 0 2 v", "2 H 1 0 0 1 v"}));
    EXPECT_EQ(reader.Atom(0).A.n, 1);
    EXPECT_NEAR(reader.Atom(0).A.k[0], 0.6, 1e-12);
    EXPECT_NEAR(reader.Atom(0).A.k[1], 0.5, 1e-12);
    EXPECT_NEAR(reader.Atom(0).A.k[2], 0.5, 1e-12);
    EXPECT_EQ(reader.Atom(1).A.k, (DVector{0.5, 0.5, 0.5}));
}

TEST(ReadMolText, Version0MethaneFile) {
    Reader reader;
    ASSERT_TRUE(reader.Read(ReadDataFile("methane_v0.gph")));
    ASSERT_EQ(ListLabels(reader.comp.pAt0), "H1 H2 H3 H4 C1");
    const tSteckAt& carbon = reader.Atom(4);
    EXPECT_EQ(carbon.CN, 4);
    EXPECT_EQ(carbon.A.k, (DVector{0.5, 0.5, 0.5}));
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(DistanceOf(reader.comp, carbon, reader.Atom(k)), 1.087, 0.002);
        for (int l = k + 1; l < 4; ++l)
            EXPECT_NEAR(AngleOf(reader.comp, reader.Atom(k), carbon, reader.Atom(l)), 109.47, 0.2);
    }
}

TEST(ReadMolText, Version0InHexagonalCellConvertsFromCartesian) {
    Reader reader;
    ASSERT_TRUE(reader.Read(ReadDataFile("ammonia_v0_hex.gph")));
    EXPECT_TRUE(reader.comp.ParamTTO.NOrth);
    ASSERT_EQ(ListLabels(reader.comp.pAt0), "H1 H2 H3 N1");
    const tSteckAt& nitrogen = reader.Atom(3);
    EXPECT_EQ(nitrogen.A.k, (DVector{0.5, 0.5, 0.5}));
    // H1 at Cartesian (0.937, 0, -0.381): u = X/k11, v = (Y - u·SinBeta·Cos_C)/SinAlpha.
    double u = 0.937 / std::sqrt(0.75);
    EXPECT_NEAR(reader.Atom(0).A.k[0], u / 8 + 0.5, 1e-6);
    EXPECT_NEAR(reader.Atom(0).A.k[1], (0.0 + u * 0.5) / 8 + 0.5, 1e-6);
    EXPECT_NEAR(reader.Atom(0).A.k[2], -0.381 / 9 + 0.5, 1e-6);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(DistanceOf(reader.comp, nitrogen, reader.Atom(k)), 1.012, 0.002);
        for (int l = k + 1; l < 3; ++l)
            EXPECT_NEAR(AngleOf(reader.comp, reader.Atom(k), nitrogen, reader.Atom(l)), 106.67,
                        0.2);
    }
}

TEST(ReadMolText, BenzeneInMonoclinicCell) {
    Reader reader;
    ASSERT_TRUE(reader.Read(ReadDataFile("benzene.gph")));
    const tCompParam& comp = reader.comp;
    ASSERT_EQ(ListLabels(comp.pAt0), "H1 H2 H3 H4 H5 H6 C1 C2 C3 C4 C5 C6");
    // Carbons are atoms 1..6 of the file, in ring order.
    for (int k = 0; k < 6; ++k) {
        const tSteckAt& carbon = reader.Atom(6 + k);
        const tSteckAt& next = reader.Atom(6 + (k + 1) % 6);
        const tSteckAt& hydrogen = reader.Atom(k);
        EXPECT_NEAR(DistanceOf(comp, carbon, next), 1.397, 0.01) << k;
        EXPECT_NEAR(DistanceOf(comp, carbon, hydrogen), 1.084, 0.01) << k;
        EXPECT_NEAR(AngleOf(comp, reader.Atom(6 + (k + 5) % 6), carbon, next), 120.0, 1.0) << k;
        EXPECT_EQ(carbon.CN, 3);
        EXPECT_EQ(hydrogen.CN, 1);
    }
}

TEST(ReadMolText, QueryFragmentFile) {
    Reader reader;
    ASSERT_TRUE(reader.Read(ReadDataFile("query_carboxylate.gph")));
    const tCompParam& comp = reader.comp;
    // By element code: H 1, Li 3 (the Me set), C -1 (central) and C 2 (E4 without Pb),
    // O 1 (the O/S list) and O 2, Cl 1.
    EXPECT_EQ(ListLabels(comp.pAt0), "H1 Li1 C-1 C2 O1 O2 Cl1");
    EXPECT_EQ(comp.ADConfig & 1, 1);

    const tSteckAt& centre = reader.Atom(2);
    EXPECT_EQ(centre.i, 1);
    EXPECT_EQ(Members(centre.Struct->SiteSymSet), std::vector<int>{1});
    const tSteckAt& list = reader.Atom(4);
    EXPECT_EQ(list.i, 2);
    EXPECT_TRUE(list.Struct->atset.Contains(8));
    EXPECT_TRUE(list.Struct->atset.Contains(16));
    EXPECT_EQ(list.CN, 1);
    EXPECT_EQ(list.CNdop, 1);
    const tSteckAt& marked = reader.Atom(5);
    EXPECT_EQ(marked.i, 3);
    EXPECT_EQ(marked.A.kch, 1);
    EXPECT_EQ(Members(marked.Struct->MultSet), std::vector<int>{2});
    const tSteckAt& metal = reader.Atom(1);
    EXPECT_EQ(metal.Struct->atset, ElementGroupSets[15]);
    EXPECT_EQ(Members(metal.Struct->SiteSymSet), std::vector<int>{2});
    EXPECT_EQ(Entries(metal), (std::vector<std::pair<int, int>>{{2, bkSpecific}}));
    const tSteckAt& hydrogen = reader.Atom(0);
    EXPECT_EQ(Entries(hydrogen),
              (std::vector<std::pair<int, int>>{{3, bkHydrogen}, {7, bkVanDerWaals}}));
    EXPECT_EQ(hydrogen.CN, 0);
    EXPECT_EQ(hydrogen.CNdop, 2);
    EXPECT_EQ(hydrogen.A.S, 0.0f);
    EXPECT_EQ(reader.Atom(6).Struct, nullptr); // plain Cl
}

TEST(ReadMolText, CentralAtom) {
    Reader reader;
    ASSERT_TRUE(reader.ReadAtoms({"*5 C 0.1 0.2 0.3"}));
    EXPECT_EQ(reader.Atom(0).i, 5);
    EXPECT_EQ(reader.Atom(0).A.i, -1);
    EXPECT_EQ(reader.Atom(0).A.k, (DVector{0.1, 0.2, 0.3}));
    EXPECT_EQ(reader.Atom(0).Struct, nullptr);
    EXPECT_EQ(reader.comp.SizeStruct, 0);
}

TEST(ReadMolText, CentralAtomsCountAmongTheirElement) {
    Reader reader;
    ASSERT_TRUE(reader.ReadAtoms({"*1 C 0 0 0", "2 C 0 0 0", "*#3 C 0 0 0", "4 N 0 0 0"}));
    EXPECT_EQ(ListLabels(reader.comp.pAt0), "C-3 C-1 C2 N1");
    EXPECT_EQ(reader.Atom(0).A.kch, 1);
    EXPECT_EQ(reader.Atom(1).A.kch, 0);
}

TEST(ReadMolText, ElementListsInBraces) {
    Reader reader;
    ASSERT_TRUE(reader.ReadAtoms(
        {"1 {C N O} 0 0 0", "2 {Qq} 0 0 0", "3 {*} 0 0 0", "4 {ZA,ZB} 0 0 0", "5 {N O}[2] 0 0 0"}));
    EXPECT_EQ(ListLabels(reader.comp.pAt0), "001 C1 C2 N1 ZA1");
    const tSteckAt& list = reader.Atom(1);
    EXPECT_EQ(list.i, 1);
    ASSERT_NE(list.Struct, nullptr);
    ElementCodeSet cno;
    for (int code : {6, 7, 8})
        cno.Include(code);
    EXPECT_EQ(list.Struct->atset, cno);
    const tSteckAt& unknown = reader.Atom(2);
    EXPECT_EQ(unknown.i, 2);
    EXPECT_EQ(unknown.Struct, nullptr);
    EXPECT_EQ(reader.Atom(0).A.n, 0); // only code 0 in the set
    EXPECT_TRUE(reader.Atom(0).Struct->atset.Contains(0));
    EXPECT_EQ(reader.Atom(4).A.n, 111);
    const tSteckAt& constrained = reader.Atom(3);
    EXPECT_EQ(constrained.i, 5);
    EXPECT_TRUE(constrained.Struct->atset.Contains(8)); // the list, not just {N}
    EXPECT_EQ(Members(constrained.Struct->MultSet), std::vector<int>{2});
}

TEST(ReadMolText, ConstraintGroups) {
    Reader reader;
    ASSERT_TRUE(
        reader.ReadAtoms({"1 C[4] 0 0 0", "2 C[C2v] 0 0 0", "3 C[2,D3d] 0 0 0", "4 C[Xy] 0 0 0",
                          "5 C<clLime>[1,Cs] 0 0 0",
                          "6 C<0123456789012345678901234567890123> 0 0 0", "7 C 0.1 0.2 0.3 [8]"}));
    auto block = [&reader](int k) { return reader.Atom(k).Struct; };
    EXPECT_EQ(Members(block(0)->MultSet), std::vector<int>{4});
    EXPECT_TRUE(block(0)->SiteSymSet.IsEmpty());
    ElementCodeSet carbon;
    carbon.Include(6);
    EXPECT_EQ(block(0)->atset, carbon);
    EXPECT_EQ(Members(block(1)->SiteSymSet), std::vector<int>{8});
    EXPECT_TRUE(block(1)->MultSet.IsEmpty());
    EXPECT_EQ(Members(block(2)->MultSet), std::vector<int>{2});
    EXPECT_EQ(Members(block(2)->SiteSymSet), std::vector<int>{43});
    EXPECT_TRUE(block(3)->SiteSymSet.IsEmpty()); // unknown name, no error
    EXPECT_EQ(block(4)->Color, "clLime");
    EXPECT_EQ(Members(block(4)->SiteSymSet), std::vector<int>{2});
    EXPECT_EQ(block(5)->Color, "012345678901234567890123456789");
    // A group may stand anywhere after the element.
    EXPECT_EQ(Members(block(6)->MultSet), std::vector<int>{8});
    EXPECT_EQ(reader.Atom(6).A.k, (DVector{0.1, 0.2, 0.3}));
}

TEST(ReadMolText, UnknownBondLetter) {
    Reader reader;
    ASSERT_TRUE(reader.ReadAtoms({"1 C 0 0 0 7 x"}));
    const tSteckAt& atom = reader.Atom(0);
    EXPECT_EQ(Entries(atom), (std::vector<std::pair<int, int>>{{7, 0}}));
    EXPECT_EQ(atom.CN, 0);
    EXPECT_EQ(atom.CNdop, 1);
    EXPECT_EQ(reader.comp.ADConfig & 1, 1);
}

TEST(ReadMolText, AllBondLetters) {
    Reader reader;
    ASSERT_TRUE(reader.ReadAtoms({"1 C 0 0 0 2 v 3 s 4 w 5 h 6 vx 7 v"}));
    EXPECT_EQ(Entries(reader.Atom(0)),
              (std::vector<std::pair<int, int>>{{2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 1}, {7, 1}}));
    EXPECT_EQ(reader.Atom(0).CN, 3);
    EXPECT_EQ(reader.Atom(0).CNdop, 3);
    EXPECT_EQ(reader.Atom(0).A.S, 3.0f);
}

TEST(ReadMolText, ExactlyThreeLines) {
    Reader reader;
    ASSERT_TRUE(reader.Read({"VER=1", "1 1 1 90 90 90", "1 Fe 0.5 0.5 0.5"}));
    EXPECT_EQ(ListLabels(reader.comp.pAt0), "Fe1");
    EXPECT_EQ(reader.comp.DC.at_, 1u);
}

TEST(ReadMolText, SymbolsAreCaseSensitive) {
    Reader reader;
    ASSERT_TRUE(reader.ReadAtoms({"1 CL 0 0 0", "2 Cl 0 0 0", "3 Qq 0 0 0", "4 C1 0 0"}));
    EXPECT_EQ(reader.Atom(0).A.n, -16);
    EXPECT_EQ(reader.Atom(1).A.n, -16);
    EXPECT_EQ(reader.Atom(2).A.n, 6); // "C", then "1" is the x coordinate
    EXPECT_EQ(reader.Atom(2).A.k, (DVector{1, 0, 0}));
    EXPECT_EQ(reader.Atom(3).A.n, 17);
}

TEST(ReadMolText, CellWithFewerNumbersRepeatsTheLast) {
    Reader reader;
    ASSERT_TRUE(reader.Read({"VER=1", "4 5 6 80 70", "1 C 0 0 0"}));
    EXPECT_EQ(reader.comp.DC.Tr, (SVector{4, 5, 6}));
    EXPECT_EQ(reader.comp.DC.Ug, (SVector{80, 70, 70}));
    EXPECT_TRUE(reader.comp.ParamTTO.NOrth);
}

TEST(ReadMolText, BadNumbersAreNotReported) {
    Reader reader;
    ASSERT_TRUE(reader.Read(
        {"VER=1", "10 abc 10 90 90 90", "1 C 0.5 x 1e999 2 v", "2 C 0.1  0.2   0.3 1 v"}));
    EXPECT_TRUE(reader.messages.empty());
    EXPECT_EQ(reader.comp.DC.Tr[1], 0.0f);
    EXPECT_EQ(reader.Atom(0).A.k, (DVector{0.5, 0, 0}));
    // Extra blanks between the coordinates are taken as one separator.
    EXPECT_EQ(reader.Atom(1).A.k, (DVector{0.1, 0.2, 0.3}));
}

TEST(ReadMolText, VersionDigit) {
    const std::pair<const char*, bool> rows[] = {
        {"VER=1;x", true}, {"VER=9", true}, {"VER:0", true}, {"ver=x", true},
        {"VERx", false},   {"VER", false},  {"VER=", false}, {"VER=a;1", false},
    };
    for (auto [header, ok] : rows) {
        Reader reader;
        EXPECT_EQ(reader.Read({header, "10 10 10 90 90 90", "1 C 0.5 0.5 0.5"}), ok) << header;
    }
    Reader versionZero;
    ASSERT_TRUE(versionZero.Read({"ver=1", "10 10 10 90 90 90", "1 C 1 2 3"}));
    EXPECT_NEAR(versionZero.Atom(0).A.k[0], 0.6, 1e-12); // lower case is not a version
}

struct FailureRow {
    const char* name;
    std::vector<std::string> lines;
};

TEST(ReadMolText, FailuresReleaseAndReport) {
    const FailureRow rows[] = {
        {"no version digit", {"VER=x", "10 10 10 90 90 90", "1 C 0 0 0"}},
        {"header too short", {"VER", "10 10 10 90 90 90", "1 C 0 0 0"}},
        {"empty atom line", {"VER=1", "10 10 10 90 90 90", ""}},
        {"blank atom line", {"VER=1", "10 10 10 90 90 90", "   \t "}},
        {"trailing empty line", {"VER=1", "10 10 10 90 90 90", "1 C 0 0 0", ""}},
        {"no blank after number", {"VER=1", "10 10 10 90 90 90", "1"}},
        {"number not an integer", {"VER=1", "10 10 10 90 90 90", "x C 0 0 0"}},
        {"number out of range", {"VER=1", "10 10 10 90 90 90", "99999999999 C 0 0 0"}},
        {"blank after star", {"VER=1", "10 10 10 90 90 90", "* 5 C 0 0 0"}},
        {"bond without blank", {"VER=1", "10 10 10 90 90 90", "1 C 0 0 0 2v"}},
        {"partner not integer", {"VER=1", "10 10 10 90 90 90", "1 C 0 0 0 a v"}},
        {"empty bracket group", {"VER=1", "10 10 10 90 90 90", "1 C[] 0.1 0.2 0.3"}},
        {"multiplicity not integer", {"VER=1", "10 10 10 90 90 90", "1 C[x] 0 0 0"}},
        {"multiplicity above 255", {"VER=1", "10 10 10 90 90 90", "1 C[256,Cs] 0 0 0"}},
        {"failure after good atoms",
         {"VER=1", "10 10 10 90 90 90", "1 {C N}[2]<clRed> 0 0 0 2 v", "2 O 0 0 0 1 v 3"}},
    };
    for (const FailureRow& row : rows) {
        Reader reader;
        EXPECT_FALSE(reader.Read(row.lines)) << row.name;
        EXPECT_EQ(reader.messages, std::vector<std::string>{"Errors in molecule data."})
            << row.name;
        EXPECT_EQ(reader.comp.pAt0, nullptr) << row.name;
        EXPECT_EQ(reader.comp.pAtEnd, nullptr) << row.name;
    }
}

// Numbers that no entry can name are read whole: they never link, not even to the atom
// that a 16-bit truncation would name (70000 - 65536 = 4464, -1 + 65536 = 65535).
TEST(ReadMolText, PartnerNumbersOutside16BitsAreKeptAndNeverLink) {
    Reader reader;
    ASSERT_TRUE(reader.ReadAtoms(
        {"1 C 0 0 0 70000 v 2 v", "2 O 0 0 0 1 v -1 s", "4464 N 0 0 0 1 v", "65535 H 0 0 0"}));
    const tSteckAt& carbon = reader.Atom(1);
    const tSteckAt& oxygen = reader.Atom(3);
    ASSERT_EQ(carbon.i, 1);
    ASSERT_EQ(oxygen.i, 2);
    std::vector<std::pair<std::int32_t, int>> entries;
    for (const tAdjMatr* e = carbon.PMAd; e != nullptr; e = e->li)
        entries.emplace_back(e->i, e->m);
    for (const tAdjMatr* e = oxygen.PMAd; e != nullptr; e = e->li)
        entries.emplace_back(e->i, e->m);
    EXPECT_EQ(entries, (std::vector<std::pair<std::int32_t, int>>{
                           {70000, bkValence}, {2, bkValence}, {1, bkValence}, {-1, bkSpecific}}));
    EXPECT_EQ(carbon.CN, 2);
    EXPECT_EQ(oxygen.CN, 1);
    EXPECT_EQ(oxygen.CNdop, 1);
    EXPECT_TRUE(reader.messages.empty());
    // The viewer's linking fails on them, so it draws contacts from distances.
    EXPECT_FALSE(LinkAdjMatr(reader.comp.pAt0, reader.comp.pAtEnd));
    const TAtomNumberIndex index(reader.comp.pAt0);
    EXPECT_EQ(index.Find(70000), nullptr);
    EXPECT_EQ(index.Find(-1), nullptr);
    EXPECT_EQ(index.Find(4464), &reader.Atom(2));
    EXPECT_EQ(index.Find(65535), &reader.Atom(0));
}

TEST(ReadMolText, FewerThanThreeLinesLeavesTheCompoundAlone) {
    for (std::size_t count = 0; count < 3; ++count) {
        Reader reader;
        reader.comp.DC.code = 42;
        reader.comp.pAt0 = reader.comp.pAtEnd = test::MakeAtom(6, 1);
        std::vector<std::string> lines(kWater.begin(),
                                       kWater.begin() + static_cast<std::ptrdiff_t>(count));
        EXPECT_FALSE(reader.Read(lines));
        EXPECT_TRUE(reader.messages.empty());
        EXPECT_EQ(reader.comp.DC.code, 42);
        EXPECT_EQ(ListLabels(reader.comp.pAt0), "C1");
    }
}

TEST(ReadMolText, ReadingAgainReplacesTheCompound) {
    Reader reader;
    ASSERT_TRUE(reader.Read(kWater));
    ASSERT_TRUE(reader.ReadAtoms({"1 N 0 0 0"}));
    EXPECT_EQ(ListLabels(reader.comp.pAt0), "N1");
    EXPECT_EQ(reader.comp.DC.at_, 1u);
}

TEST(ReadMolText, WithoutReportCallback) {
    tCompParam comp;
    EXPECT_FALSE(ReadMolText({"VER=x", "1 1 1 90 90 90", "1 C 0 0 0"}, comp, {}));
    EXPECT_TRUE(ReadMolTextFromString("VER=1\r\n1 1 1 90 90 90\r\n1 C 0 0 0\r\n", comp, {}));
    EXPECT_EQ(ListLabels(comp.pAt0), "C1");
}

TEST(ReadMolText, MillionCharacterLines) {
    std::string bonds;
    for (int k = 0; k < 250'000; ++k)
        bonds += "2 v ";
    Reader reader;
    ASSERT_TRUE(reader.ReadAtoms({"1 C 0 0 0 " + bonds, "2 C 0 0 0"}));
    EXPECT_EQ(reader.Atom(0).CN, 65535); // the 16-bit count stops at its largest value
    EXPECT_EQ(reader.Atom(0).A.S, 250'000.0f);
    EXPECT_EQ(test::ListLength(reader.Atom(0).PMAd), 250'000);

    Reader junk;
    EXPECT_FALSE(junk.ReadAtoms({"1 C 0 0 0 " + std::string(1'000'000, '{')}));
    Reader letters;
    EXPECT_TRUE(letters.ReadAtoms({"1 " + std::string(1'000'000, 'x')}));
    EXPECT_EQ(letters.Atom(0).A.n, -16);
}

TEST(ReadMolText, BinaryJunk) {
    std::string junk;
    for (int k = 0; k < 4096; ++k)
        junk += static_cast<char>((k * 7919) % 256);
    Reader reader;
    reader.Read(SplitLines("VER=1\n1 1 1 1 1 1\n" + junk));
    Reader nul;
    EXPECT_FALSE(nul.Read({std::string("VER=1\0", 6), std::string(3, '\0'), std::string(5, '\0')}));
}

TEST(ExtractGroup, Table) {
    struct Row {
        const char* line;
        char open, close;
        const char* group;
        const char* rest;
    };
    const Row rows[] = {
        {"O[1,?]<clRed> 0.5", '[', ']', "1,?", "O<clRed> 0.5"},
        {"  {C N} 0.1  ", '{', '}', "C N", "0.1"},
        {"C[] 0.1", '[', ']', "", "C[] 0.1"},
        {"C] x [2", '[', ']', "", "C] x [2"},
        {"C[2 no close", '[', ']', "", "C[2 no close"},
        {"none here ", '<', '>', "", "none here"},
        {"<a><b>", '<', '>', "a", "<b>"},
        {"[x]", '[', ']', "x", ""},
    };
    for (const Row& row : rows) {
        std::string line = row.line;
        EXPECT_EQ(ExtractGroup(row.open, row.close, line), row.group) << row.line;
        EXPECT_EQ(line, row.rest) << row.line;
    }
}

} // namespace
} // namespace ormaline
