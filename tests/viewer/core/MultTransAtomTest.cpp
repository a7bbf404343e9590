// The indexed lattice copies of the build's last step against the straightforward
// version that searches the list, on random structures with stored contacts.
#include "SceneTestSupport.h"

#include "viewer/core/SceneOps.h"

#include <gtest/gtest.h>

#include <random>

namespace ormaline {
namespace {

struct TStoredCase {
    unsigned seed;
    int atoms;
    double onFace;
};

// A scene from stored contacts with the lattice-copy step left out.
void BuildStored(TLVScene& scene, const TStoredCase& c) {
    std::mt19937 random(c.seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_int_distribution<int> partner(1, c.atoms);
    std::uniform_int_distribution<int> shift(-1, 1);
    std::uniform_int_distribution<int> kind(1, 4);
    std::uniform_int_distribution<int> axis(0, 2);
    std::vector<test::TTestAtom> atoms;
    for (int index = 0; index < c.atoms; ++index) {
        DVector k{unit(random), unit(random), unit(random)};
        if (unit(random) < c.onFace)
            k[static_cast<std::size_t>(axis(random))] = 0.0;
        if (unit(random) < c.onFace / 2)
            k = {0.0, 0.0, k[2]};
        test::TTestAtom atom{static_cast<std::int16_t>(6 + index % 3), k};
        for (int contact = 0; contact < 4; ++contact) {
            ShIVector a{};
            if (unit(random) < 0.4)
                a = {static_cast<std::int8_t>(shift(random)),
                     static_cast<std::int8_t>(shift(random)),
                     static_cast<std::int8_t>(shift(random))};
            atom.contacts.push_back({partner(random), static_cast<std::uint8_t>(kind(random)), a});
        }
        atoms.push_back(atom);
    }
    test::FillCompound(scene, {7.0f, 8.0f, 9.0f}, {80.0f, 95.0f, 105.0f}, atoms);
    scene.ShowMoleculeOnly = true;
    ASSERT_TRUE(test::Build(scene));
}

class IndexedAgainstStraightforward : public ::testing::TestWithParam<TStoredCase> {};

TEST_P(IndexedAgainstStraightforward, SameNodesAndBonds) {
    TLVScene indexed, straightforward;
    BuildStored(indexed, GetParam());
    BuildStored(straightforward, GetParam());
    const int before = indexed.WCountAt;
    ASSERT_TRUE(MultiplyFaceAtoms(indexed, {}));
    ASSERT_TRUE(MultiplyFaceAtomsStraightforward(straightforward, {}));
    EXPECT_GT(indexed.WCountAt, before + 10); // copies were made
    ASSERT_EQ(indexed.WCountAt, straightforward.WCountAt);
    const auto a = test::Nodes(indexed.WPTAll);
    const auto b = test::Nodes(straightforward.WPTAll);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t node = 0; node < a.size(); ++node) {
        EXPECT_EQ(a[node]->t, b[node]->t) << node;
        EXPECT_EQ(a[node]->pSAt->i, b[node]->pSAt->i) << node;
        EXPECT_EQ(a[node]->c, b[node]->c) << node;
    }
    EXPECT_EQ(test::BondTable(indexed), test::BondTable(straightforward));
}

INSTANTIATE_TEST_SUITE_P(RandomStructures, IndexedAgainstStraightforward,
                         ::testing::Values(TStoredCase{1, 40, 0.3}, TStoredCase{2, 150, 0.2},
                                           TStoredCase{3, 300, 0.4}));

TEST(MultTransAtom, CellCornerCopyGoesToTheHead) {
    TLVScene scene;
    test::FillCubic(scene, 10.0f, {{6, {0.5, 0.5, 0.5}}});
    scene.ShowMoleculeOnly = true;
    ASSERT_TRUE(test::Build(scene));
    tTopAt* origin = test::Nodes(scene.WPTAll)[7];
    ASSERT_EQ(origin->t, (ShIVector{0, 0, 0}));
    MultTransAtom(scene, origin, {1, 0, 0}); // the corner (1,0,0) exists
    EXPECT_EQ(scene.WCountAt, 9);
    MultTransAtom(scene, origin, {-1, 0, 0});
    EXPECT_EQ(scene.WCountAt, 10);
    EXPECT_EQ(scene.WPTAll->t, (ShIVector{-1, 0, 0}));
    EXPECT_TRUE(scene.WPTAll->PolyVert);
    EXPECT_FLOAT_EQ(scene.WPTAll->k[0], -15.0f);
    EXPECT_EQ(test::AtomNodes(scene).size(), 1u);
    // Its edge to (1,0,0) becomes a closed edge to the origin corner.
    bool toOrigin = false;
    for (const tBoundAt* bond : test::Bonds(*scene.WPTAll))
        toOrigin = toOrigin || (bond->p == origin && (bond->c & kBondOpen) == 0);
    EXPECT_TRUE(toOrigin);
}

} // namespace
} // namespace ormaline
