#include "SceneTestSupport.h"

#include "viewer/core/BondSearch.h"
#include "viewer/core/SceneActions.h"
#include "viewer/core/SceneOps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace ormaline {
namespace {

using test::AtomNodes;
using test::Bonds;
using test::Build;
using test::FillCompound;
using test::FillCubic;

constexpr std::int16_t C = 6, O = 8, Na = 11, Cl = 17, ZA = 111;

int CountWithTranslation(const std::vector<tTopAt*>& nodes, ShIVector t) {
    return static_cast<int>(
        std::count_if(nodes.begin(), nodes.end(), [&](const tTopAt* n) { return n->t == t; }));
}

TEST(SceneBuild, AtomAtOriginGivesEightNodesWithoutStoredAdjacency) {
    TLVScene scene;
    scene.WLVO.AdjMatrix = 0;
    FillCubic(scene, 10.0f, {{Na, {0, 0, 0}}});
    ASSERT_TRUE(Build(scene));
    const auto atoms = AtomNodes(scene);
    ASSERT_EQ(atoms.size(), 8u);
    for (int i = 0; i <= 1; ++i)
        for (int j = 0; j <= 1; ++j)
            for (int k = 0; k <= 1; ++k) {
                const ShIVector t{static_cast<std::int8_t>(i), static_cast<std::int8_t>(j),
                                  static_cast<std::int8_t>(k)};
                ASSERT_EQ(CountWithTranslation(atoms, t), 1);
            }
    // Model positions are the cell corners, the cell centre being the origin.
    for (const tTopAt* node : atoms)
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_FLOAT_EQ(node->k[axis], node->t[axis] == 1 ? 5.0f : -5.0f);
    EXPECT_EQ(scene.WCountAt, 16);
}

TEST(SceneBuild, AtomOnOneFaceGivesTwoNodes) {
    TLVScene scene;
    scene.WLVO.AdjMatrix = 0;
    FillCubic(scene, 10.0f, {{Na, {0, 0.5, 0.5}}});
    ASSERT_TRUE(Build(scene));
    const auto atoms = AtomNodes(scene);
    ASSERT_EQ(atoms.size(), 2u);
    EXPECT_EQ(CountWithTranslation(atoms, {1, 0, 0}), 1);
    EXPECT_EQ(CountWithTranslation(atoms, {0, 0, 0}), 1);
}

TEST(SceneBuild, NodeFieldsAtCreation) {
    TLVScene scene;
    scene.WLVO.NumModel = 1;
    FillCubic(scene, 10.0f, {{O, {0.25, 0.5, 0.75}}});
    ASSERT_TRUE(Build(scene));
    const auto atoms = AtomNodes(scene);
    ASSERT_EQ(atoms.size(), 1u);
    const tTopAt& node = *atoms[0];
    EXPECT_EQ(node.c, kNodeVisible);
    EXPECT_EQ(node.nm, 1);
    EXPECT_FALSE(node.LabelExist);
    EXPECT_EQ(node.lAColor, clNone);
    EXPECT_EQ(node.FillStyle, bsSolid);
    EXPECT_FLOAT_EQ(node.rad, 0.60f); // oxygen, Slater
    EXPECT_DOUBLE_EQ(node.rrs, 1.0);
    EXPECT_FLOAT_EQ(node.k[0], -2.5f);
    EXPECT_FLOAT_EQ(node.k[1], 0.0f);
    EXPECT_FLOAT_EQ(node.k[2], 2.5f);
    EXPECT_EQ(node.pSAt, scene.CompParamMaler.pAt0);
    EXPECT_EQ(scene.WDeltaVec, (DVector{0.5, 0.5, 0.5}));
}

TEST(SceneBuild, ElementRadiiFromTheWindowTableAndSortedList) {
    TLVScene scene;
    scene.WLVO.RadAt[C] = 0.9f;
    scene.WLVO.RadAt[111] = 2.5f; // element numbers below 1 take entry 111
    FillCubic(scene, 10.0f, {{C, {0.1, 0.1, 0.1}}, {0, {0.2, 0.2, 0.2}}, {O, {0.3, 0.3, 0.3}}});
    ASSERT_TRUE(Build(scene));
    const TArrOfElement& elements = scene.CompParamMaler.MEl;
    ASSERT_EQ(elements.size(), 3u);
    // Largest radius first.
    EXPECT_EQ(elements[0].n, 0);
    EXPECT_FLOAT_EQ(elements[0].r, 2.5f);
    EXPECT_EQ(elements[1].n, C);
    EXPECT_FLOAT_EQ(elements[1].r, 0.9f);
    EXPECT_EQ(elements[2].n, O);
    EXPECT_FLOAT_EQ(elements[2].r, 0.6f);
    for (const tTopAt* node : AtomNodes(scene))
        if (node->pSAt->A.n == C) {
            EXPECT_FLOAT_EQ(node->rad, 0.9f);
        }
}

TEST(SceneBuild, NumAllTopIsTheLargestPseudoElementAbove110) {
    TLVScene scene;
    FillCubic(scene, 10.0f, {{C, {0.1, 0.1, 0.1}}, {114, {0.5, 0.5, 0.5}}, {112, {0.3, 0.3, 0.3}}});
    ASSERT_TRUE(Build(scene));
    EXPECT_EQ(scene.NumAllTop, 4);
    TLVScene plain;
    FillCubic(plain, 10.0f, {{C, {0.1, 0.1, 0.1}}});
    ASSERT_TRUE(Build(plain));
    EXPECT_EQ(plain.NumAllTop, 0);
}

TEST(SceneBuild, PseudoAtomsNeverBondToOrdinaryAtoms) {
    TLVScene scene;
    scene.WLVO.AdjMatrix = 0;
    // C and ZA 1 angstrom apart; two ZA 1 angstrom apart.
    FillCubic(scene, 10.0f, {{C, {0.5, 0.5, 0.5}}, {ZA, {0.6, 0.5, 0.5}}, {ZA, {0.6, 0.6, 0.5}}});
    ASSERT_TRUE(Build(scene));
    int pseudoPairs = 0;
    for (const tTopAt* node : AtomNodes(scene))
        for (const tBoundAt* bond : Bonds(*node)) {
            EXPECT_EQ(node->pSAt->A.n > 110, bond->p->pSAt->A.n > 110);
            pseudoPairs += node->pSAt->A.n > 110 ? 1 : 0;
        }
    EXPECT_EQ(pseudoPairs, 2); // ZA-ZA in both lists
}

TEST(SceneBuild, MissingPartnerSwitchesToDistanceBonds) {
    TLVScene scene;
    // The contact names atom 99, which does not exist; the two atoms are 1.2 A apart.
    FillCubic(scene, 10.0f, {{C, {0.5, 0.5, 0.5}, {{99, 1}}}, {C, {0.62, 0.5, 0.5}}});
    ASSERT_TRUE(Build(scene));
    const auto atoms = AtomNodes(scene);
    ASSERT_EQ(atoms.size(), 2u);
    ASSERT_EQ(Bonds(*atoms[0]).size(), 1u);
    EXPECT_EQ(Bonds(*atoms[0])[0]->cb, cbValence);
    EXPECT_NEAR(Bonds(*atoms[0])[0]->r, 1.2f, 1e-5);
}

TEST(SceneBuild, StoredContactsGiveBondsOfTheirKind) {
    TLVScene scene;
    scene.ShowMoleculeOnly = true;
    FillCubic(scene, 10.0f,
              {{C, {0.5, 0.5, 0.5}, {{2, 1}, {3, 3}}},
               {O, {0.62, 0.5, 0.5}, {{1, 1}}},
               {Cl, {0.5, 0.9, 0.5}, {{1, 3}, {1, 4, {0, -1, 0}}}}});
    ASSERT_TRUE(Build(scene));
    // No boundary atoms with stored adjacency.
    const auto atoms = AtomNodes(scene);
    ASSERT_EQ(atoms.size(), 3u);
    // Nodes are in reverse compound order: Cl, O, C.
    const tTopAt& cl = *atoms[0];
    const tTopAt& o = *atoms[1];
    const tTopAt& c = *atoms[2];
    ASSERT_EQ(Bonds(c).size(), 2u);
    EXPECT_EQ(Bonds(c)[0]->p, &o);
    EXPECT_EQ(Bonds(c)[0]->cb, cbValence);
    EXPECT_EQ(Bonds(c)[0]->c, kBondShown);
    EXPECT_NEAR(Bonds(c)[0]->r, 1.2, 1e-5);
    EXPECT_EQ(Bonds(c)[1]->p, &cl);
    EXPECT_EQ(Bonds(c)[1]->cb, cbVanDerWaals);
    ASSERT_EQ(Bonds(cl).size(), 2u);
    EXPECT_EQ(Bonds(cl)[1]->p, &c);
    EXPECT_EQ(Bonds(cl)[1]->cb, cbHydrogen);
    EXPECT_EQ(Bonds(cl)[1]->c, kBondShown | kBondOpen);
    EXPECT_EQ(Bonds(cl)[1]->t, (ShIVector{0, -1, 0}));
    // Cl at y = 0.9, the image of C at y = 0.5 - 1: 14 A apart.
    EXPECT_NEAR(Bonds(cl)[1]->r, 14.0, 1e-4);
}

TEST(SceneBuild, StoredContactsOfAtomsOnAFaceAreCarriedToTheCopy) {
    TLVScene scene;
    // C on the face x = 0 bonded to O inside the cell, and to the O image one cell
    // further down along x.
    FillCubic(
        scene, 10.0f,
        {{C, {0.0, 0.5, 0.5}, {{2, 1}}}, {O, {0.1, 0.5, 0.5}, {{1, 1}}}, {O, {0.9, 0.5, 0.5}}});
    scene.CompParamMaler.pAt0->PMAd->li = nullptr;
    tAdjMatr* extra = NewAdjMatr();
    extra->i = 3;
    extra->m = 1;
    extra->a = {-1, 0, 0};
    scene.CompParamMaler.pAt0->PMAd->li = extra;
    ASSERT_TRUE(Build(scene));
    const auto atoms = AtomNodes(scene);
    ASSERT_EQ(atoms.size(), 4u);
    const tTopAt& copy = *atoms[0]; // inserted at WPTAtEnd
    EXPECT_EQ(copy.pSAt, scene.CompParamMaler.pAt0);
    EXPECT_EQ(copy.t, (ShIVector{1, 0, 0}));
    EXPECT_FLOAT_EQ(copy.k[0], 5.0f);
    // Copy's bonds: to the O image at x = 1.1 (not shown: open, translation (1,0,0)) and
    // to the O at x = 0.9 (shown: closed, and the O gets the bond back).
    const auto bonds = Bonds(copy);
    ASSERT_EQ(bonds.size(), 2u);
    EXPECT_EQ(bonds[0]->t, (ShIVector{1, 0, 0}));
    EXPECT_EQ(bonds[0]->c, kBondShown | kBondOpen);
    const tTopAt& o3 = *atoms[1];
    EXPECT_EQ(o3.pSAt->i, 3);
    EXPECT_EQ(bonds[1]->p, &o3);
    EXPECT_EQ(bonds[1]->c, kBondShown);
    ASSERT_EQ(Bonds(o3).size(), 1u);
    EXPECT_EQ(Bonds(o3)[0]->p, &copy);
    EXPECT_EQ(Bonds(o3)[0]->c, kBondShown);
    EXPECT_NEAR(Bonds(o3)[0]->r, 1.0, 1e-5);
    EXPECT_EQ(scene.WCountAt, 12);
    EXPECT_EQ(scene.OldWCountAt, 12);
}

TEST(SceneBuild, NoBondsButCellEdgesWithAdjMatrix2) {
    TLVScene scene;
    scene.WLVO.AdjMatrix = 2;
    FillCubic(scene, 10.0f, {{C, {0.5, 0.5, 0.5}}, {C, {0.6, 0.5, 0.5}}});
    ASSERT_TRUE(Build(scene));
    EXPECT_EQ(test::AtomBondCount(scene), 0);
    int cellEdges = 0;
    for (const tTopAt* node : test::Nodes(scene.WPTAll))
        for (const tBoundAt* bond : Bonds(*node)) {
            EXPECT_NE(bond->cb & cbCellEdge, 0);
            ++cellEdges;
        }
    EXPECT_EQ(cellEdges, 8 * 6);
}

TEST(SceneBuild, BondAcrossAFaceIsOpenWithTMaxZeroAndMissingOtherwise) {
    for (const std::uint8_t tmax : {0, 1}) {
        TLVScene scene;
        scene.WLVO.AdjMatrix = 0;
        scene.WLVO.TMax = {tmax, 0, 0};
        FillCubic(scene, 10.0f, {{C, {0.05, 0.5, 0.5}}, {C, {0.95, 0.5, 0.5}}});
        ASSERT_TRUE(Build(scene));
        const auto atoms = AtomNodes(scene);
        ASSERT_EQ(atoms.size(), 2u);
        const tTopAt& c2 = *atoms[0]; // x = 0.95
        const tTopAt& c1 = *atoms[1]; // x = 0.05
        if (tmax != 0) {
            EXPECT_TRUE(Bonds(c1).empty());
            EXPECT_TRUE(Bonds(c2).empty());
            continue;
        }
        ASSERT_EQ(Bonds(c1).size(), 1u);
        EXPECT_EQ(Bonds(c1)[0]->p, &c2);
        EXPECT_EQ(Bonds(c1)[0]->t, (ShIVector{-1, 0, 0}));
        EXPECT_EQ(Bonds(c1)[0]->c, kBondShown | kBondOpen);
        EXPECT_NEAR(Bonds(c1)[0]->r, 1.0, 1e-5);
        ASSERT_EQ(Bonds(c2).size(), 1u);
        EXPECT_EQ(Bonds(c2)[0]->p, &c1);
        EXPECT_EQ(Bonds(c2)[0]->t, (ShIVector{1, 0, 0}));
    }
}

TEST(SceneBuild, CellCornersInOrderWithEdgesAndAxisMarks) {
    TLVScene scene;
    FillCompound(scene, {4.0f, 5.0f, 6.0f}, {90.0f, 90.0f, 90.0f}, {{C, {0.5, 0.5, 0.5}}});
    ASSERT_TRUE(Build(scene));
    const auto all = test::Nodes(scene.WPTAll);
    ASSERT_EQ(all.size(), 9u);
    const ShIVector order[8] = {{1, 1, 1}, {1, 1, 0}, {1, 0, 1}, {1, 0, 0},
                                {0, 1, 1}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0}};
    EXPECT_EQ(scene.WPTCell, all[0]);
    EXPECT_EQ(scene.WPTAtEnd, all[8]);
    for (int index = 0; index < 8; ++index) {
        const tTopAt& corner = *all[static_cast<std::size_t>(index)];
        EXPECT_EQ(corner.t, order[index]) << index;
        EXPECT_EQ(corner.c, 18);
        EXPECT_TRUE(corner.PolyVert);
        EXPECT_EQ(corner.nm, 0);
        EXPECT_FLOAT_EQ(corner.rad, 0.529f);
        EXPECT_EQ(corner.pSAt, scene.WPTopEnd);
        EXPECT_FLOAT_EQ(corner.k[0], corner.t[0] == 1 ? 2.0f : -2.0f);
        EXPECT_FLOAT_EQ(corner.k[1], corner.t[1] == 1 ? 2.5f : -2.5f);
        EXPECT_FLOAT_EQ(corner.k[2], corner.t[2] == 1 ? 3.0f : -3.0f);
        // Per axis a, b, c: the closed edge, then its continuation into the next cell.
        const auto bonds = Bonds(corner);
        ASSERT_EQ(bonds.size(), 6u);
        for (int axis = 0; axis < 3; ++axis) {
            const tBoundAt& closed = *bonds[static_cast<std::size_t>(2 * axis)];
            const tBoundAt& open = *bonds[static_cast<std::size_t>(2 * axis + 1)];
            ShIVector neighbour = corner.t;
            neighbour[axis] = static_cast<std::int8_t>(1 - neighbour[axis]);
            EXPECT_EQ(closed.p->t, neighbour);
            EXPECT_EQ(closed.c, kBondShown);
            EXPECT_EQ(closed.t, (ShIVector{0, 0, 0}));
            EXPECT_FLOAT_EQ(closed.r, scene.CompParamMaler.DC.Tr[axis]);
            EXPECT_EQ(open.p, closed.p);
            EXPECT_EQ(open.c, kBondShown | kBondOpen);
            ShIVector continuation{};
            continuation[axis] = static_cast<std::int8_t>(corner.t[axis] == 1 ? 2 : -2);
            EXPECT_EQ(open.t, continuation);
            EXPECT_EQ(open.cb, cbCellEdge);
            // Axis marks only on the closed edges at the origin.
            std::uint8_t mark = 0;
            if (corner.t == ShIVector{0, 0, 0} || closed.p->t == ShIVector{0, 0, 0})
                mark = axis == 0 ? cbAxisA : axis == 1 ? cbAxisB : cbAxisC;
            EXPECT_EQ(closed.cb, cbCellEdge | mark) << index << " " << axis;
        }
    }
    EXPECT_EQ(scene.WVecCell[0]->t, (ShIVector{1, 1, 1}));
    EXPECT_EQ(scene.WVecCell[1]->t, (ShIVector{0, 1, 1}));
    EXPECT_EQ(scene.WVecCell[2]->t, (ShIVector{1, 0, 1}));
    EXPECT_EQ(scene.WVecCell[3]->t, (ShIVector{1, 1, 0}));
    ASSERT_NE(scene.WPTopEnd, nullptr);
    EXPECT_EQ(scene.WPTopEnd->A.n, 0);
    EXPECT_EQ(scene.WPTopEnd->A.i, 1);
    EXPECT_FLOAT_EQ(scene.WPTopEnd->A.S, 1.0f);
}

TEST(SceneBuild, NonOrthogonalCellUsesTheCartesianFrame) {
    TLVScene scene;
    FillCompound(scene, {3.0f, 3.0f, 5.0f}, {90.0f, 90.0f, 120.0f}, {{C, {1.0, 0.5, 0.5}}});
    scene.ShowMoleculeOnly = true;
    ASSERT_TRUE(Build(scene));
    const tTopAt& node = *AtomNodes(scene)[0];
    // (u, v, w) = (1.5, 0, 0) maps to (1.5 k11, 1.5 Cos_C, 0) with k11 = sqrt(0.75).
    EXPECT_NEAR(node.k[0], 1.5 * std::sqrt(0.75), 1e-5);
    EXPECT_NEAR(node.k[1], -0.75, 1e-5);
    EXPECT_NEAR(node.k[2], 0.0, 1e-5);
}

TEST(MultTransAtom, ExistingCopyIsOnlyMadeVisible) {
    TLVScene scene;
    scene.WLVO.AdjMatrix = 0;
    FillCubic(scene, 10.0f, {{Na, {0, 0, 0}}, {Cl, {0.5, 0.5, 0.5}}});
    ASSERT_TRUE(Build(scene));
    const auto before = AtomNodes(scene);
    tTopAt* base = nullptr;
    tTopAt* shifted = nullptr;
    for (tTopAt* node : before) {
        if (node->pSAt->A.n != Na)
            continue;
        if (node->t == ShIVector{0, 0, 0})
            base = node;
        if (node->t == ShIVector{1, 0, 0})
            shifted = node;
    }
    ASSERT_NE(base, nullptr);
    ASSERT_NE(shifted, nullptr);
    shifted->c &= static_cast<std::uint8_t>(~kNodeVisible);
    const int count = scene.WCountAt;
    const int bonds = test::AtomBondCount(scene);
    MultTransAtom(scene, base, {1, 0, 0});
    EXPECT_EQ(scene.WCountAt, count);
    EXPECT_EQ(AtomNodes(scene).size(), before.size());
    EXPECT_EQ(test::AtomBondCount(scene), bonds);
    EXPECT_NE(shifted->c & kNodeVisible, 0);
}

TEST(MultTransAtom, NewCopyGoesToWPTAtEndWithItsBonds) {
    TLVScene scene;
    scene.WLVO.AdjMatrix = 0;
    scene.WLVO.TMax = {1, 0, 0};
    FillCubic(scene, 10.0f, {{C, {0.5, 0.5, 0.5}}, {O, {0.62, 0.5, 0.5}}});
    ASSERT_TRUE(Build(scene));
    const auto atoms = AtomNodes(scene);
    tTopAt* o = atoms[0];
    tTopAt* c = atoms[1];
    ASSERT_EQ(o->pSAt->A.n, O);
    MultTransAtom(scene, c, {0, 0, 1});
    tTopAt* copy = scene.WPTAtEnd;
    ASSERT_NE(copy, c);
    EXPECT_EQ(copy->li, o);
    EXPECT_EQ(copy->t, (ShIVector{0, 0, 1}));
    EXPECT_FLOAT_EQ(copy->k[2], 10.0f);
    EXPECT_EQ(scene.WCountAt, 11);
    // The O image above is not shown: an open bond from the copy.
    ASSERT_EQ(Bonds(*copy).size(), 1u);
    EXPECT_EQ(Bonds(*copy)[0]->p, o);
    EXPECT_EQ(Bonds(*copy)[0]->t, (ShIVector{0, 0, 1}));
    EXPECT_EQ(Bonds(*copy)[0]->c, kBondShown | kBondOpen);
    EXPECT_NEAR(Bonds(*copy)[0]->r, 1.2, 1e-5);
    // Now the O copy: the C copy is found, closed bonds in both directions, and the open
    // bond of the C copy is reused for it.
    MultTransAtom(scene, o, {0, 0, 1});
    tTopAt* oCopy = scene.WPTAtEnd;
    ASSERT_EQ(Bonds(*oCopy).size(), 1u);
    EXPECT_EQ(Bonds(*oCopy)[0]->p, copy);
    EXPECT_EQ(Bonds(*oCopy)[0]->c, kBondShown);
    ASSERT_EQ(Bonds(*copy).size(), 1u);
    EXPECT_EQ(Bonds(*copy)[0]->p, oCopy);
    EXPECT_EQ(Bonds(*copy)[0]->c, kBondShown);
    EXPECT_EQ(Bonds(*copy)[0]->t, (ShIVector{0, 0, 0}));
}

TEST(NewBAt, SameBondTwiceIsReturnedUnchanged) {
    TLVScene scene;
    scene.WLVO.AdjMatrix = 2;
    FillCubic(scene, 10.0f, {{C, {0.5, 0.5, 0.5}}, {C, {0.6, 0.5, 0.5}}});
    ASSERT_TRUE(Build(scene));
    tTopAt* a = AtomNodes(scene)[0];
    tTopAt* b = AtomNodes(scene)[1];
    bool made = false;
    tBoundAt* first = NewBAt(scene, *a, b, 4.0, cbValence, kClosedBond, {}, made);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(made);
    EXPECT_FLOAT_EQ(first->r, 2.0f);
    EXPECT_FLOAT_EQ(first->diam, -1.0f);
    EXPECT_EQ(first->lBColor, clNone);
    tBoundAt* again = NewBAt(scene, *a, b, 9.0, cbSpecific, kClosedBond, {}, made);
    EXPECT_EQ(again, first);
    EXPECT_FALSE(made);
    EXPECT_EQ(first->cb, cbValence);
    tBoundAt* open = NewBAt(scene, *a, b, 9.0, cbSpecific, kOpenBond, {1, 0, 0}, made);
    EXPECT_NE(open, first);
    EXPECT_TRUE(made);
    EXPECT_EQ(open->c, kBondShown | kBondOpen);
    EXPECT_EQ(open->li_, first);
    EXPECT_EQ(first->li, open);
}

TEST(SceneBuild, StatusTextsInOrder) {
    TLVScene scene;
    scene.WLVO.AdjMatrix = 0;
    FillCubic(scene, 10.0f, {{C, {0.5, 0.5, 0.5}}});
    std::vector<std::string> texts;
    TSceneBuildMonitor monitor;
    monitor.Status = [&texts](int panel, const std::string& text) {
        if (panel == 1 && !text.empty())
            texts.push_back(text);
    };
    ASSERT_TRUE(SeeCryst(scene, monitor));
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "Generating symmetry codes for P 1...", "Generating boundary atoms...",
                         "Processing coordinates...", "Computing adjacency matrix...",
                         "Unwrapping reduced graph..."}));
}

TEST(SceneBuild, CancelledBuildLeavesNoScene) {
    for (const std::string& stopAt :
         {std::string("Generating symmetry codes for P 1..."),
          std::string("Processing coordinates..."), std::string("Computing adjacency matrix..."),
          std::string("Unwrapping reduced graph...")}) {
        TLVScene scene;
        scene.WLVO.AdjMatrix = 0;
        std::vector<test::TTestAtom> atoms;
        for (int index = 0; index < 50; ++index)
            atoms.push_back({C, {0.02 * index, 0.3, 0.3}});
        FillCubic(scene, 10.0f, atoms);
        std::atomic<bool> cancel{false};
        int lastProgress = -1;
        TSceneBuildMonitor monitor;
        monitor.Cancel = &cancel;
        monitor.Status = [&](int, const std::string& text) {
            if (text == stopAt)
                cancel = true;
        };
        monitor.Progress = [&](int position, int) { lastProgress = position; };
        EXPECT_FALSE(RunSceneBuild(scene, monitor)) << stopAt;
        EXPECT_FALSE(scene.HasScene());
        EXPECT_EQ(scene.WPTopEnd, nullptr);
        EXPECT_EQ(scene.WPTAtEnd, nullptr);
        EXPECT_EQ(scene.WCountAt, 0);
        EXPECT_TRUE(scene.NoUndo);
        // The compound stays; a second build without cancel succeeds.
        cancel = false;
        monitor.Status = nullptr;
        EXPECT_TRUE(RunSceneBuild(scene, monitor));
        EXPECT_EQ(AtomNodes(scene).size(), 51u) << stopAt; // the atom at x = 0 twice
        (void)lastProgress;
    }
}

TEST(SceneBuild, RebuildRestoresTheCompletedScene) {
    TLVScene scene;
    scene.WLVO.AdjMatrix = 0;
    FillCubic(scene, 10.0f, {{C, {0.5, 0.5, 0.5}}, {O, {0.62, 0.5, 0.5}}});
    ASSERT_TRUE(RunSceneBuild(scene, {}));
    const int count = scene.WCountAt;
    const auto atoms = AtomNodes(scene);
    tTopAt* c = atoms[1];
    const auto bondsBefore = Bonds(*c).size();
    // Changes after completion: a lattice copy, a hidden atom, a tint, a removed bond.
    MultTransAtom(scene, c, {1, 0, 0});
    atoms[0]->c &= static_cast<std::uint8_t>(~kNodeVisible);
    atoms[0]->c |= kNodeHidden32;
    c->lAColor = 0x123456;
    tBoundAt* bond = c->p;
    UnlinkBond(*c, bond);
    DisposeBondList(bond);
    scene.PTMAt = c;
    SpecAt(scene, 1);
    ASSERT_TRUE(RunSceneBuild(scene, {}));
    EXPECT_EQ(scene.WCountAt, count);
    EXPECT_EQ(scene.WPTAtEnd, scene.WPTAtEnd0);
    EXPECT_EQ(AtomNodes(scene), atoms);
    EXPECT_EQ(atoms[0]->c, kNodeVisible);
    EXPECT_EQ(c->lAColor, clNone);
    EXPECT_EQ(Bonds(*c).size(), bondsBefore);
    EXPECT_EQ(Bonds(*c)[0]->p, atoms[0]);
    EXPECT_EQ(scene.WInsAt, nullptr);
    EXPECT_EQ(scene.CountInsAt, 0);
}

TEST(SceneBuild, CompletionReportsIncompleteData) {
    TLVScene scene;
    FillCubic(scene, 10.0f, {{C, {0.5, 0.5, 0.5}}});
    ASSERT_TRUE(RunSceneBuild(scene, {}));
    EXPECT_EQ(CompleteSceneBuild(scene), std::nullopt);
    EXPECT_EQ(scene.ArrAt.size(), 9u);
    EXPECT_EQ(scene.ArrAt.front(), scene.WPTAll);
    scene.CompParamMaler.CodeSG = 0;
    EXPECT_EQ(CompleteSceneBuild(scene), "Incomplete data on crystal structure");
    scene.CompParamMaler.CodeSG = 1;
    scene.CompParamMaler.DC.at_ = 0;
    EXPECT_EQ(CompleteSceneBuild(scene), "Incomplete data on crystal structure");
}

TEST(SceneBuild, PrepareWithSublatticeFreesTheScene) {
    TLVScene scene;
    FillCubic(scene, 10.0f, {{C, {0.5, 0.5, 0.5}}});
    ASSERT_TRUE(RunSceneBuild(scene, {}));
    scene.WLVO.Sublattice = false;
    PrepareSceneBuild(scene);
    EXPECT_TRUE(scene.HasScene());
    scene.WLVO.Sublattice = true;
    scene.WLVO.DataToFile = true;
    PrepareSceneBuild(scene);
    EXPECT_FALSE(scene.HasScene());
    EXPECT_FALSE(scene.WLVO.DataToFile);
}

} // namespace
} // namespace ormaline
