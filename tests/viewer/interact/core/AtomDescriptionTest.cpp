// The atom description of the status bar and the caption of messages about one atom,
// for an iron atom with valence bonds to two oxygens, a hydrogen bond to a nitrogen and a
// specific contact to a chlorine; texts written out by hand.
#include "viewer/core/ViewTestSupport.h"

#include "viewer/interact/core/AtomDescription.h"

#include <gtest/gtest.h>

namespace ormaline {
namespace {

class AtomDescription : public ::testing::Test {
protected:
    void SetUp() override {
        scene.ShowMoleculeOnly = true;
        test::FillCubic(scene, 10.0f,
                        {{26,
                          {0.5, 0.5, 0.5},
                          {{2, bkValence}, {3, bkHydrogen}, {4, bkValence}, {5, bkSpecific}}},
                         {8, {0.65, 0.5, 0.5}, {{1, bkValence}}},
                         {7, {0.5, 0.65, 0.5}, {{1, bkHydrogen}}},
                         {8, {0.35, 0.5, 0.5}, {{1, bkValence}}},
                         {17, {0.5, 0.35, -0.25}, {{1, bkSpecific}}}});
        ASSERT_TRUE(test::Build(scene));
        iron = test::NodeOfAtom(scene, 1);
        ASSERT_EQ(BondCount(*iron), 4);
    }
    TLVScene scene;
    tTopAt* iron = nullptr;
};

TEST_F(AtomDescription, CountsByKindAndPartnersByElement) {
    // The chlorine's contact is hidden: it still counts as a bond, not as a partner.
    for (tBoundAt* bond = iron->p; bond != nullptr; bond = bond->li)
        if (bond->cb == cbSpecific)
            bond->c &= static_cast<std::uint8_t>(~kBondShown);
    struct Case {
        std::uint16_t numSeeBond;
        ShIVector trans;
        float param;
        const char* text;
    };
    const Case cases[] = {
        {1 | 2 | 32, {0, 0, 0}, 0.0f, " Fe1 ( 0.5000 0.5000 0.5000)   CN(2:1:0:0:0:1)  CP: O2N1"},
        {1 | 2 | 32,
         {1, 0, -1},
         2.5f,
         " Fe1 ( 0.5000 0.5000 0.5000) t(1,0,-1)  CN(2:1:0:0:0:1)  CP: O2N1 2.500"},
        // Only the valence bonds are seen.
        {1, {0, 0, 0}, -0.0005f, " Fe1 ( 0.5000 0.5000 0.5000)   CN(2:0:0:0:0:0)  CP: O2"},
        // No bond is seen: no partners.
        {4, {0, 0, 0}, 0.0f, " Fe1 ( 0.5000 0.5000 0.5000)   CN(0:0:0:0:0:0)"},
    };
    for (const Case& c : cases) {
        iron->param = c.param;
        EXPECT_EQ(WrAtom(*iron, c.trans, c.numSeeBond).text, c.text);
    }
    const TAtomDescription all = WrAtom(*iron, {0, 0, 0}, 63);
    EXPECT_EQ(all.StrCN, "2:1:0:0:0:1");
    EXPECT_EQ(all.StrCP, "O2N1");
    // A chlorine below the cell, in a shifted copy: the position is translation plus atom.
    tTopAt* chlorine = test::NodeOfAtom(scene, 5);
    chlorine->t = {0, 1, 0};
    EXPECT_EQ(WrAtom(*chlorine, {0, 0, 0}, 2).text,
              " Cl5 ( 0.5000 1.3500-0.2500)   CN(0:1:0:0:0:0)  CP: Fe1");
    EXPECT_EQ(AtomCaption(*chlorine), " Cl(5) ( 0.500, 1.350,-0.250)");
}

TEST_F(AtomDescription, LongCountsAreCutToTheirShortString) {
    // 100 more bonds of every kind, half to an oxygen and half to the iron itself.
    tTopAt* oxygen = test::NodeOfAtom(scene, 2);
    for (int k = 0; k < 100; ++k) {
        tBoundAt* bond = NewBoundAt();
        bond->c = kBondShown;
        bond->cb = 63;
        bond->p = k % 2 == 0 ? oxygen : iron;
        AppendBond(*iron, bond);
    }
    const TAtomDescription d = WrAtom(*iron, {0, 0, 0}, 63);
    // "102:101:100:100:100:101" keeps its first 20 characters.
    EXPECT_EQ(d.StrCN, "102:101:100:100:100:");
    EXPECT_EQ(d.StrCP, "O52N1Cl1Fe50");
    EXPECT_EQ(d.text, " Fe1 ( 0.5000 0.5000 0.5000)   CN(102:101:100:100:100:)  CP: O52N1Cl1Fe50");
}

} // namespace
} // namespace ormaline
