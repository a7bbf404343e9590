#include "ModelTestUtil.h"

#include "model/AdjacencyLinking.h"
#include "model/Compound.h"
#include "model/Symmetry.h"

#include <gtest/gtest.h>

namespace ormaline {
namespace {

using test::AddEntry;
using test::MakeAtom;

// A compound whose atoms carry the given numbers, in that list order.
void FillAtoms(tCompParam& comp, std::initializer_list<int> numbers) {
    InitCompParam(comp, staAtNI);
    tSteckAt** link = &comp.pAt0;
    for (int number : numbers) {
        *link = MakeAtom(6, number, number);
        link = &(*link)->li;
    }
    comp.pAtEnd = comp.pAt0;
}

tSteckAt* Nth(tCompParam& comp, int index) {
    tSteckAt* atom = comp.pAt0;
    while (index-- > 0)
        atom = atom->li;
    return atom;
}

TEST(LinkAdjMatr, LinksEveryEntryByNumber) {
    tCompParam comp;
    FillAtoms(comp, {1, 2, 3});
    AddEntry(Nth(comp, 0), 2);
    AddEntry(Nth(comp, 0), 3);
    AddEntry(Nth(comp, 1), 1);
    AddEntry(Nth(comp, 2), 1, bkHydrogen);
    EXPECT_TRUE(LinkAdjMatr(comp.pAt0, comp.pAtEnd));
    EXPECT_EQ(Nth(comp, 0)->PMAd->p, Nth(comp, 1));
    EXPECT_EQ(Nth(comp, 0)->PMAd->li->p, Nth(comp, 2));
    EXPECT_EQ(Nth(comp, 1)->PMAd->p, Nth(comp, 0));
    EXPECT_EQ(Nth(comp, 2)->PMAd->p, Nth(comp, 0));
}

TEST(LinkAdjMatr, MissingPartnerStopsAndKeepsEarlierLinks) {
    tCompParam comp;
    FillAtoms(comp, {1, 2, 3});
    AddEntry(Nth(comp, 0), 2);
    AddEntry(Nth(comp, 1), 9); // no atom 9
    AddEntry(Nth(comp, 1), 1);
    AddEntry(Nth(comp, 2), 1);
    EXPECT_FALSE(LinkAdjMatr(comp.pAt0, comp.pAtEnd));
    EXPECT_EQ(Nth(comp, 0)->PMAd->p, Nth(comp, 1));
    EXPECT_EQ(Nth(comp, 1)->PMAd->p, nullptr);
    EXPECT_EQ(Nth(comp, 1)->PMAd->li->p, nullptr); // not reached
    EXPECT_EQ(Nth(comp, 2)->PMAd->p, nullptr);
}

TEST(LinkAdjMatr, NumberAbove16BitsNeverLinks) {
    tCompParam comp;
    FillAtoms(comp, {1, 70000});
    // An entry holds 16 bits: 70000 cannot be named, and 70000 - 65536 = 4464 is not
    // the atom either.
    AddEntry(Nth(comp, 0), static_cast<std::uint16_t>(70000 & 0xFFFF));
    EXPECT_FALSE(LinkAdjMatr(comp.pAt0, comp.pAtEnd));
    EXPECT_EQ(Nth(comp, 0)->PMAd->p, nullptr);
}

TEST(LinkAdjMatr, NegativeAtomNumberNeverLinks) {
    tCompParam comp;
    FillAtoms(comp, {-1, 2});
    AddEntry(Nth(comp, 1), 0xFFFF);
    EXPECT_FALSE(LinkAdjMatr(comp.pAt0, comp.pAtEnd));
}

TEST(LinkAdjMatr, DuplicateNumbersLinkToTheFirstFromTheSearchHead) {
    tCompParam comp;
    FillAtoms(comp, {5, 7, 5});
    AddEntry(Nth(comp, 1), 5);
    AddEntry(Nth(comp, 2), 7);
    EXPECT_TRUE(LinkAdjMatr(comp.pAt0, comp.pAtEnd));
    EXPECT_EQ(Nth(comp, 1)->PMAd->p, Nth(comp, 0));
    // Starting the search further on finds the later atom.
    EXPECT_TRUE(LinkAdjMatr(Nth(comp, 1), Nth(comp, 1)));
    EXPECT_EQ(Nth(comp, 1)->PMAd->p, Nth(comp, 2));
}

TEST(LinkAdjMatr, EmptyListsAndChains) {
    tCompParam comp;
    FillAtoms(comp, {1, 2});
    EXPECT_TRUE(LinkAdjMatr(comp.pAt0, comp.pAtEnd));
    EXPECT_TRUE(LinkAdjMatr(nullptr, comp.pAtEnd));

    tAdjMatr* entry = AddEntry(Nth(comp, 0), 2);
    entry->Chan = new tChanStack{};
    entry->Chan->i = 1;
    EXPECT_TRUE(LinkAdjMatr(comp.pAt0, comp.pAtEnd));
    EXPECT_EQ(entry->Chan->pC, Nth(comp, 0));
    entry->Chan->li = new tChanStack{};
    entry->Chan->li->i = 3;
    EXPECT_FALSE(LinkAdjMatr(comp.pAt0, comp.pAtEnd));
}

TEST(LinkAdjMatr, SecondListIsNotVisited) {
    tCompParam comp;
    FillAtoms(comp, {1});
    Nth(comp, 0)->PMAd_ = NewAdjMatr();
    Nth(comp, 0)->PMAd_->i = 99;
    EXPECT_TRUE(LinkAdjMatr(comp.pAt0, comp.pAtEnd));
}

TEST(SpreadAdjMatr, ChangesNothing) {
    tCompParam comp;
    FillAtoms(comp, {1, 2});
    AddEntry(Nth(comp, 0), 2);
    EXPECT_TRUE(SpreadAdjMatr(comp));
    EXPECT_EQ(Nth(comp, 0)->PMAd->li, nullptr);
    EXPECT_EQ(Nth(comp, 1)->PMAd, nullptr);
}

TEST(Symmetry, P1Tables) {
    tCompParam comp;
    InitCompParam(comp, staAtNI);
    comp.NameSG = "P 1";
    comp.CodeSG = SpaceGroupCode(comp);
    EXPECT_EQ(comp.CodeSG, 1);
    EXPECT_EQ(comp.nbr, 1);
    EXPECT_EQ(comp.NGC, 1);
    EXPECT_EQ(comp.CodeSingon, 1);
    BuildSGTables(comp);
    EXPECT_EQ(comp.SGMult, 1);
    EXPECT_EQ(comp.NCode, 0);
    EXPECT_FALSE(comp.center);
    EXPECT_EQ(comp.NumSubgr, 0);
    EXPECT_EQ(comp.CodesOfSG[0].code, (std::array<std::uint8_t, 3>{1, 2, 3}));
    EXPECT_EQ(comp.RotSym[0].Rot[0][0], 1);
    EXPECT_EQ(comp.RotSym[0].Rot[1][1], 1);
    EXPECT_EQ(comp.RotSym[0].Rot[2][2], 1);
    EXPECT_EQ(comp.RotSym[0].Rot[0][1], 0);

    for (DVector position : {DVector{0, 0, 0}, DVector{0.5, 0.5, 0.5}, DVector{0.13, 0.9, 0.2}}) {
        tSteckAt* atom = MakeAtom(8, 1);
        atom->A.k = position;
        SiteSymmetry(comp, *atom);
        EXPECT_EQ(atom->NSite, 0);
        EXPECT_EQ(atom->WyckL, u'a');
        EXPECT_EQ(SiteMult(comp, *atom), 1);
        EXPECT_EQ(SiteSymName(comp, *atom), "?");
        DisposeAtList(atom);
    }
}

TEST(Symmetry, OtherSymbolsAreNotSupported) {
    const std::pair<const char*, int> rows[] = {{"P 21/c", 1}, {"C 2/c", 4}, {"F m -3 m", 5},
                                                {"", 0},       {"P1", 1},    {"Q 1", 0}};
    for (auto [symbol, latticeIndex] : rows) {
        tCompParam comp;
        InitCompParam(comp, staAtNI);
        comp.NameSG = symbol;
        EXPECT_EQ(SpaceGroupCode(comp), 0) << symbol;
        EXPECT_EQ(comp.nbr, latticeIndex) << symbol;
        EXPECT_EQ(comp.NGC, 0) << symbol;
    }
}

TEST(Symmetry, GridBuilderCompoundWithoutTables) {
    tCompParam comp;
    InitCompParam(comp, staAtNI);
    comp.NameSG = "P 1";
    comp.CodeSG = 1; // stored, tables not built
    tSteckAt* atom = MakeAtom(6, 1);
    EXPECT_EQ(SiteMult(comp, *atom), 0);
    EXPECT_EQ(atom->WyckL, u' ');
    DisposeAtList(atom);
}

TEST(Symmetry, SiteSymmetryNames) {
    EXPECT_EQ(SiteSymmetryNames.size(), 51u);
    EXPECT_EQ(SiteSymIndex("C1"), 1);
    EXPECT_EQ(SiteSymIndex("Cs"), 2); // first of three
    EXPECT_EQ(SiteSymIndex("C2v"), 8);
    EXPECT_EQ(SiteSymIndex("C3"), 18); // not 32
    EXPECT_EQ(SiteSymIndex("D3d"), 43);
    EXPECT_EQ(SiteSymIndex("Oh"), 47);
    EXPECT_EQ(SiteSymIndex("Th"), 48);
    EXPECT_EQ(SiteSymIndex("?"), 0);
    EXPECT_EQ(SiteSymIndex("cs"), 0);
    EXPECT_EQ(SiteSymIndex(" Cs"), 0);
    EXPECT_EQ(SiteSymmetryNames[50], "D3d");
    EXPECT_EQ(SiteSymmetryNames[31], "O");
}

TEST(Symmetry, GenerateOrbitInP1ClearsOperationFields) {
    tCompParam comp;
    InitCompParam(comp, staAtNI);
    comp.NameSG = "P 1";
    comp.CodeSG = SpaceGroupCode(comp);
    BuildSGTables(comp);
    tSteckAt* list = MakeAtom(113, 1);
    list->CSym = 3;
    list->Br = 2;
    list->A.tr = PackTr(1, -1, 0);
    list->A.k = {0.25, 0.5, 0.75};
    GenerateOrbit(comp, 'P', 0, 1e-5, list);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->li, nullptr);
    EXPECT_EQ(list->CSym, 0);
    EXPECT_EQ(list->Br, 0);
    EXPECT_EQ(list->A.tr, 0);
    EXPECT_EQ(list->A.k, (DVector{0.25, 0.5, 0.75}));
    DisposeAtList(list);
}

} // namespace
} // namespace ormaline
