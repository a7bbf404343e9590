// The grid bond search against the straightforward all-pairs loops on random structures:
// every node's bond list must be the same, in order.
#include "SceneTestSupport.h"

#include "viewer/core/BondSearch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <random>

namespace ormaline {
namespace {

struct TRandomCase {
    unsigned seed;
    int atoms;
    float edge;
    bool triclinic;
    double onFace;        // share of atoms put on a face through the origin
    float tolerance;      // AdjTol
    bool zeroRadii;       // radii 0 and a tiny tolerance: a very fine grid
    double outside = 0.0; // share of atoms moved up to 0.3 beyond a face of the cell
    float skew = 20.0f;   // triclinic angles within 90 +- skew degrees
};

std::vector<test::TTestAtom> RandomAtoms(const TRandomCase& c, std::mt19937& random) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const std::int16_t elements[] = {1, 6, 8, 11, 14, 17, 26, 0, 111, 112};
    std::uniform_int_distribution<int> element(0, 9);
    std::uniform_int_distribution<int> axis(0, 2);
    std::vector<test::TTestAtom> atoms;
    for (int index = 0; index < c.atoms; ++index) {
        DVector k{unit(random), unit(random), unit(random)};
        if (unit(random) < c.onFace)
            k[static_cast<std::size_t>(axis(random))] = 0.0;
        if (unit(random) < c.onFace / 3)
            k = {0.0, 0.0, k[2]};
        if (unit(random) < c.outside)
            k[static_cast<std::size_t>(axis(random))] +=
                unit(random) < 0.5 ? -0.3 * unit(random) : 1.0 + 0.3 * unit(random);
        atoms.push_back({elements[element(random)], k});
    }
    return atoms;
}

// A scene with nodes but no bonds (the bond step switched off).
void BuildWithoutBonds(TLVScene& scene, const TRandomCase& c) {
    std::mt19937 random(c.seed);
    std::uniform_real_distribution<float> angle(90.0f - c.skew, 90.0f + c.skew);
    const SVector angles = c.triclinic ? SVector{angle(random), angle(random), angle(random)}
                                       : SVector{90.0f, 90.0f, 90.0f};
    const SVector edges{c.edge, c.edge * 0.8f, c.edge * 1.1f};
    const auto atoms = RandomAtoms(c, random);
    test::FillCompound(scene, edges, angles, atoms);
    scene.WLVO.AdjMatrix = 2;
    scene.WLVO.AdjTol = c.tolerance;
    if (c.zeroRadii)
        scene.WLVO.RadAt.fill(0.0f);
    ASSERT_TRUE(test::Build(scene));
    scene.WLVO.AdjMatrix = 0;
}

using test::BondTable;
using test::TBondRecord;

class GridAgainstAllPairs : public ::testing::TestWithParam<TRandomCase> {};

TEST_P(GridAgainstAllPairs, SameBondListsInTheSameOrder) {
    const TRandomCase& c = GetParam();
    TLVScene grid, allPairs;
    BuildWithoutBonds(grid, c);
    BuildWithoutBonds(allPairs, c);
    ASSERT_EQ(grid.WCountAt, allPairs.WCountAt);
    ASSERT_TRUE(DetAdjMatrix(grid, {}));
    ASSERT_TRUE(DetAdjMatrixAllPairs(allPairs, {}));
    const auto expected = BondTable(allPairs);
    const auto actual = BondTable(grid);
    ASSERT_EQ(actual.size(), expected.size());
    std::size_t bonds = 0, open = 0;
    for (std::size_t node = 0; node < expected.size(); ++node) {
        ASSERT_EQ(actual[node], expected[node]) << "node " << node;
        bonds += expected[node].size();
        for (const TBondRecord& bond : expected[node])
            open += (bond.c & kBondOpen) != 0 ? 1 : 0;
    }
    // The case must exercise what it compares.
    EXPECT_GT(bonds, 8u * 6u);
    if (!c.zeroRadii) {
        EXPECT_GT(open, 24u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    RandomStructures, GridAgainstAllPairs,
    ::testing::Values(TRandomCase{1, 60, 8.0f, false, 0.2, 0.3f, false},
                      TRandomCase{2, 200, 12.0f, false, 0.1, 0.3f, false},
                      TRandomCase{3, 200, 12.0f, true, 0.1, 0.3f, false},
                      TRandomCase{4, 400, 16.0f, true, 0.05, 0.5f, false},
                      TRandomCase{5, 150, 6.0f, true, 0.3, 0.0f, false},
                      TRandomCase{6, 300, 20.0f, false, 0.1, 1.5f, false},
                      TRandomCase{7, 120, 30.0f, true, 0.5, 0.001f, true},
                      // Cells wide against the bond reach, so that
                      // most atoms are far from every face.
                      TRandomCase{8, 1500, 26.0f, false, 0.02, 0.3f, false},
                      TRandomCase{9, 1500, 26.0f, true, 0.02, 0.3f, false, 0.0, 35.0f},
                      TRandomCase{10, 1200, 24.0f, true, 0.05, 0.4f, false, 0.05}));

TEST(GridBondSearch, TMaxNotZeroSkipsTheUnwrapping) {
    const TRandomCase c{11, 100, 8.0f, false, 0.2, 0.3f, false};
    TLVScene grid, allPairs;
    BuildWithoutBonds(grid, c);
    BuildWithoutBonds(allPairs, c);
    grid.WLVO.TMax = allPairs.WLVO.TMax = {0, 2, 0};
    ASSERT_TRUE(DetAdjMatrix(grid, {}));
    ASSERT_TRUE(DetAdjMatrixAllPairs(allPairs, {}));
    EXPECT_EQ(BondTable(grid), BondTable(allPairs));
    for (const auto& bonds : BondTable(grid))
        for (const TBondRecord& bond : bonds)
            if ((bond.cb & cbCellEdge) == 0) {
                EXPECT_EQ(bond.c & kBondOpen, 0);
            }
}

TEST(GridBondSearch, NodesWithoutFinitePositionsNeverBond) {
    TLVScene scene;
    test::FillCubic(scene, 10.0f, {{6, {0.5, 0.5, 0.5}}, {6, {0.55, 0.5, 0.5}}});
    scene.WLVO.AdjMatrix = 2;
    ASSERT_TRUE(test::Build(scene));
    scene.WPTAtEnd->k[0] = std::numeric_limits<float>::quiet_NaN();
    ASSERT_TRUE(DetAdjMatrix(scene, {}));
    EXPECT_EQ(test::AtomBondCount(scene), 0);
}

TEST(GridBondSearch, CancelAfterAnAtomStops) {
    const TRandomCase c{21, 200, 12.0f, false, 0.1, 0.3f, false};
    TLVScene scene;
    BuildWithoutBonds(scene, c);
    std::atomic<bool> cancel{true};
    TSceneBuildMonitor monitor;
    monitor.Cancel = &cancel;
    std::vector<std::pair<int, std::string>> status;
    monitor.Status = [&](int panel, const std::string& text) { status.push_back({panel, text}); };
    int lastPosition = -1;
    monitor.Progress = [&](int position, int) { lastPosition = position; };
    EXPECT_FALSE(DetAdjMatrix(scene, monitor));
    EXPECT_EQ(lastPosition, 0);
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.back(), (std::pair<int, std::string>{1, ""}));
    // Only the first atom's bonds were added.
    int withBonds = 0;
    for (const tTopAt* node = scene.WPTAtEnd->li; node != nullptr; node = node->li)
        for (const tBoundAt* bond = node->p; bond != nullptr; bond = bond->li)
            withBonds += bond->p != scene.WPTAtEnd ? 1 : 0;
    EXPECT_EQ(withBonds, 0);
}

} // namespace
} // namespace ormaline
