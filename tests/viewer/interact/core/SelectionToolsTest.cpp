// The magic wand's commands and "Do for" choices, and the region limits and radius of
// the cut dialogs, on a built scene: carbon 1 at the cell centre, oxygens 2 and 3 beside
// it, carbon 4 on the face c = 0 (shown at c = 0 and c = 1).
#include "viewer/core/ViewTestSupport.h"

#include "viewer/core/ElementTables.h"
#include "viewer/core/SceneActions.h"
#include "viewer/interact/core/SelectionTools.h"

#include <gtest/gtest.h>

namespace ormaline {
namespace {

class SelectionTools : public ::testing::Test {
protected:
    void SetUp() override {
        test::PlainScreenAxes(scene);
        test::FillCubic(scene, 10.0f,
                        {{6, {0.5, 0.5, 0.5}},
                         {8, {0.62, 0.5, 0.5}},
                         {8, {0.38, 0.5, 0.5}},
                         {6, {0.5, 0.5, 0.0}}});
        test::BuildAndProject(scene);
        ResetElementColorTable();
    }
    void TearDown() override { ResetElementColorTable(); }
    std::vector<int> Selected() const {
        std::vector<int> numbers;
        for (const tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo)
            numbers.push_back(record->PTA->pSAt->i);
        std::sort(numbers.begin(), numbers.end());
        return numbers;
    }
    void Wand(int number, int keyAt, int command, TColor newColour = 0) {
        scene.PTCurrAt = test::NodeOfAtom(scene, number);
        MagicWandClick(scene, colours, keyAt, command, 1, bsCross, 0, newColour, -1);
    }

    TLVScene scene;
    TViewColours colours;
};

struct TWandRow {
    const char* name;
    int atom, keyAt;
    std::vector<int> selected; // atom numbers of the selected nodes afterwards
};

class WandRows : public SelectionTools, public ::testing::WithParamInterface<TWandRow> {};

void PrintTo(const TWandRow& row, std::ostream* out) {
    *out << row.name;
}

TEST_P(WandRows, SelectMatchesTheChoice) {
    const TWandRow& row = GetParam();
    // Oxygen 3 selected beforehand, for "Selected".
    scene.PTMAt = test::NodeOfAtom(scene, 3);
    SpecAt(scene, 2);
    Wand(row.atom, row.keyAt, kWandSelect);
    EXPECT_EQ(Selected(), row.selected);
    EXPECT_TRUE(scene.NoUndo);
    ASSERT_EQ(scene.UndoHistory.UndoCount(), 1);
    EXPECT_EQ(scene.UndoHistory.UndoCaption(), "Undo: Select atoms");
}

INSTANTIATE_TEST_SUITE_P(DoFor, WandRows,
                         ::testing::ValuesIn(std::vector<TWandRow>{
                             {"Atom", 1, kWandAtom, {1, 3}},
                             // Both copies of carbon 4, not carbon 1.
                             {"CrystSort", 4, kWandCrystSort, {3, 4, 4}},
                             {"ChemSort", 1, kWandChemSort, {1, 3, 4, 4}},
                             // The oxygens share the element colour.
                             {"OneColour", 2, kWandOneColour, {2, 3}},
                             {"Selected", 1, kWandSelected, {3}},
                             {"AllAtoms", 1, kWandAllAtoms, {1, 2, 3, 4, 4}},
                         }),
                         [](const auto& rowInfo) { return std::string(rowInfo.param.name); });

TEST_F(SelectionTools, ChangeColourOfAnElementChangesTheElementTableOrTheGroupColours) {
    Wand(2, kWandChemSort, kWandChangeColour, 0x123456);
    EXPECT_EQ(test::NodeOfAtom(scene, 2)->lAColor, 0x123456);
    EXPECT_EQ(test::NodeOfAtom(scene, 3)->FillStyle, bsCross);
    EXPECT_EQ(test::NodeOfAtom(scene, 1)->lAColor, clNone);
    EXPECT_EQ(ElementColorTable()[8], 0x123456);
    EXPECT_EQ(scene.UndoHistory.UndoCaption(), "Undo: Magic wand");
    // Undo gives the tints back (the element table is process-wide, not the window's).
    scene.UndoHistory.actUndoExecute(800, 600, nullptr);
    EXPECT_EQ(test::NodeOfAtom(scene, 2)->lAColor, clNone);
    EXPECT_EQ(test::NodeOfAtom(scene, 3)->FillStyle, bsSolid);
    // With group colours, every group colour equal to the old colour changes instead.
    scene.WLVO.GrColor = true;
    colours.ColorGr[0] = 0x0000FF;
    colours.ColorGr[1] = 0x0000FF;
    scene.PTCurrAt = test::NodeOfAtom(scene, 1);
    MagicWandClick(scene, colours, kWandChemSort, kWandChangeColour, 1, bsSolid, 0x0000FF, 0x00FF00,
                   -1);
    EXPECT_EQ(colours.ColorGr[0], 0x00FF00);
    EXPECT_EQ(colours.ColorGr[1], 0x00FF00);
    EXPECT_EQ(ElementColorTable()[6], DefaultElementColors[6]);
}

TEST_F(SelectionTools, WandDeleteHidesAndIsUndoneStepByStep) {
    Wand(2, kWandChemSort, kWandDelete);
    for (int oxygen : {2, 3})
        EXPECT_EQ(test::NodeOfAtom(scene, oxygen)->c & kNodeVisible, 0);
    EXPECT_EQ(scene.UndoHistory.UndoCaption(), "Undo: Delete atom");
    scene.UndoHistory.actUndoExecute(800, 600, nullptr);
    for (int oxygen : {2, 3})
        EXPECT_NE(test::NodeOfAtom(scene, oxygen)->c & kNodeVisible, 0);
}

TEST_F(SelectionTools, ALegendRowWithoutVisibleAtomsDoesNothing) {
    scene.PTCurrAt = nullptr;
    MagicWandClick(scene, colours, kWandOneColour, kWandSelect, 1, bsSolid, 0, 0, 0);
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(scene.UndoHistory.UndoCount(), 0);
}

TEST(RegionLimitTexts, NumbersReplaceLimitsAndPairsAreOrdered) {
    TRegionLimits limits{-4.0f, 4.0f, -4.0f, 4.0f, -0.5f, 0.5f};
    ReadLimitTexts(limits, {"5", "1", "x", "2.5", " -1.5 ", ""});
    EXPECT_EQ(limits, (TRegionLimits{1.0f, 5.0f, -4.0f, 2.5f, -1.5f, 0.5f}));
    EXPECT_EQ(ParseRadius(""), 0.0);
    EXPECT_EQ(ParseRadius("2.5"), 2.5);
    EXPECT_EQ(ParseRadius("2,5"), std::nullopt);
}

TEST_F(SelectionTools, TheRectangleSelectsStrictlyInsideAndTheSphereByRadius) {
    scene.WLVO.CutMode = 1;
    // Carbon 1 and the oxygens lie at c = 0.5, on the upper limit: not selected.
    ASSERT_TRUE(SelectRegion(scene, {0.4f, 0.6f, 0.4f, 0.6f, 0.4f, 0.5f}, 0.0));
    EXPECT_TRUE(Selected().empty());
    ASSERT_TRUE(SelectRegion(scene, {0.4f, 0.6f, 0.4f, 0.6f, 0.4f, 0.6f}, 0.0));
    EXPECT_EQ(Selected(), (std::vector<int>{1}));
    // The sphere about carbon 1 (the selection's centre): 1.2 angstrom reaches the oxygens.
    scene.WLVO.CutMode = 3;
    scene.VCentre = RegionCentre(scene);
    const int states = scene.UndoHistory.UndoCount();
    EXPECT_FALSE(SelectRegion(scene, {}, 0.0)); // a radius of 0 selects and records nothing
    EXPECT_EQ(scene.UndoHistory.UndoCount(), states);
    ASSERT_TRUE(SelectRegion(scene, {}, 1.2));
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3}));
    // Without a selection the centre is that of every visible atom.
    NotInsAllAtom(scene);
    const DVector centre = RegionCentre(scene);
    EXPECT_NEAR(centre[2], 0.0, 1e-6); // carbon 4 at c = 0 and c = 1 balance
}

} // namespace
} // namespace ormaline
