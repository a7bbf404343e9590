#include "SceneTestSupport.h"

#include "viewer/core/SceneActions.h"
#include "viewer/core/SceneOps.h"

#include <gtest/gtest.h>

namespace ormaline {
namespace {

// Records the undo states the scene asks for.
class TRecordingUndo : public TSceneUndo {
public:
    void KeepState(int code, std::string_view caption) override {
        states.push_back({code, std::string(caption)});
    }
    std::vector<std::pair<int, std::string>> states;
};

class SceneActions : public ::testing::Test {
protected:
    void SetUp() override {
        scene.WLVO.AdjMatrix = 0;
        test::FillCubic(scene, 10.0f,
                        {{6, {0.5, 0.5, 0.5}}, {8, {0.62, 0.5, 0.5}}, {8, {0.38, 0.5, 0.5}}});
        ASSERT_TRUE(RunSceneBuild(scene, {}));
        atoms = test::AtomNodes(scene);
        ASSERT_EQ(atoms.size(), 3u);
        scene.Undo = &undo;
    }
    void Select(tTopAt* node, int colour) {
        scene.PTMAt = node;
        SpecAt(scene, colour);
    }

    TLVScene scene;
    TRecordingUndo undo;
    std::vector<tTopAt*> atoms;
};

TEST_F(SceneActions, SelectionCounters) {
    Select(atoms[0], 2);
    Select(atoms[1], 2);
    EXPECT_EQ(scene.NumInsAt, 0x20000u);
    EXPECT_EQ(scene.CountInsAt, 2);
    EXPECT_EQ(scene.WInsAt->PTA, atoms[1]); // newest first
    EXPECT_EQ(scene.WInsAt->plo->PTA, atoms[0]);
    EXPECT_EQ(scene.WInsAt->plo->phi, scene.WInsAt);
    NotInsAllAtom(scene);
    EXPECT_EQ(scene.PTMAt, scene.WPTAtEnd);
    EXPECT_EQ(scene.CountInsAt, 0);
    EXPECT_EQ(scene.NumInsAt, 0u);
    EXPECT_EQ(atoms[0]->PIAt, nullptr);
    Select(atoms[2], 3);
    EXPECT_EQ(scene.NumInsAt, 0x10001u);
    EXPECT_EQ(scene.CountInsAt, 1);
}

TEST_F(SceneActions, DeselectOnlyTheSameColourOrAnyWithZero) {
    Select(atoms[0], 1);
    Select(atoms[1], 2);
    Select(atoms[0], -2); // selected with 1: stays
    EXPECT_NE(atoms[0]->PIAt, nullptr);
    Select(atoms[0], -1);
    EXPECT_EQ(atoms[0]->PIAt, nullptr);
    EXPECT_EQ(scene.CountInsAt, 1);
    EXPECT_EQ(scene.NumInsAt, 0x10000u);
    Select(atoms[1], 0);
    EXPECT_EQ(scene.WInsAt, nullptr);
    EXPECT_EQ(scene.NumInsAt, 0u);
    // A new colour replaces the old one.
    Select(atoms[2], 1);
    Select(atoms[2], 3);
    EXPECT_EQ(scene.CountInsAt, 1);
    EXPECT_EQ(scene.NumInsAt, 0x10001u);
    EXPECT_EQ(atoms[2]->PIAt->col, 3);
    EXPECT_EQ(atoms[2]->PIAt->oldcol, 1);
}

TEST_F(SceneActions, SelectAllTakesVisibleAtomsAndRecordsTheState) {
    atoms[1]->c &= static_cast<std::uint8_t>(~kNodeVisible);
    InsAllAtom(scene, 1);
    EXPECT_EQ(scene.CountInsAt, 2);
    EXPECT_EQ(atoms[1]->PIAt, nullptr);
    ASSERT_EQ(undo.states.size(), 1u);
    EXPECT_EQ(undo.states[0], (std::pair<int, std::string>{3, "Select all atoms"}));
    InsAllAtom(scene, 0);
    EXPECT_EQ(scene.CountInsAt, 0);
    // With ShowVertex the walk starts at the cell corners, but they cannot be selected.
    scene.WLVO.ShowVertex = true;
    InsAllAtom(scene, 1);
    EXPECT_EQ(scene.CountInsAt, 2);
    EXPECT_EQ(scene.WPTAll->PIAt, nullptr);
}

TEST_F(SceneActions, DrawingModelOnAllAtomsButTheCellCorners) {
    SetDrawingModel(scene, 0);
    for (const tTopAt* node : test::Nodes(scene.WPTAll))
        EXPECT_EQ(node->nm, 0);
    SetDrawingModel(scene, 2);
    for (const tTopAt* node : atoms)
        EXPECT_EQ(node->nm, 2);
    scene.WLVO.ShowVertex = true;
    SetDrawingModel(scene, 1);
    EXPECT_EQ(scene.WPTCell->nm, 0);
    EXPECT_EQ(undo.states.back(), (std::pair<int, std::string>{9, "Model all atoms"}));
    // On a selection only the selected nodes change.
    Select(atoms[0], 1);
    SetDrawingModel(scene, 3);
    EXPECT_EQ(atoms[0]->nm, 3);
    EXPECT_EQ(atoms[1]->nm, 1);
    EXPECT_EQ(undo.states.back(), (std::pair<int, std::string>{8, "Model selected atoms"}));
}

TEST_F(SceneActions, AtomLabelsToggleBetweenNoneAndNameIndex) {
    scene.WPosName = PackPosName(4, -3);
    ToggleAtomLabels(scene);
    EXPECT_EQ(scene.WLVO.AtomLabels, 3);
    for (const tTopAt* node : atoms) {
        EXPECT_TRUE(node->LabelExist);
        EXPECT_EQ(PosNameDx(node->PosName), 4);
        EXPECT_EQ(PosNameDy(node->PosName), -3);
    }
    ToggleAtomLabels(scene);
    EXPECT_EQ(scene.WLVO.AtomLabels, 0);
    EXPECT_EQ(scene.WPosName, 0);
    for (const tTopAt* node : atoms) {
        EXPECT_FALSE(node->LabelExist);
        EXPECT_EQ(node->PosName, 0);
    }
}

TEST_F(SceneActions, LabelOffsetsOfASelectionAddPerComponent) {
    Select(atoms[0], 1);
    scene.lWPosName = PackPosName(-5, 2);
    scene.WLVO.AtomLabels = 1;
    atoms[0]->PosName = PackPosName(3, 7);
    NewDataPTAt(scene, 1); // newly labelled: starts at 0
    EXPECT_EQ(PosNameDx(atoms[0]->PosName), -5);
    EXPECT_EQ(PosNameDy(atoms[0]->PosName), 2);
    NewDataPTAt(scene, 11); // already labelled: the pending offset is added
    EXPECT_EQ(PosNameDx(atoms[0]->PosName), -10);
    EXPECT_EQ(PosNameDy(atoms[0]->PosName), 4);
    EXPECT_FALSE(atoms[1]->LabelExist);
}

TEST_F(SceneActions, DistanceLabelsOnClosedBondsOnly) {
    // An open bond for the check.
    bool made = false;
    tBoundAt* open = NewBAt(scene, *atoms[0], atoms[1], 4.0, cbValence, 0, {1, 0, 0}, made);
    ASSERT_TRUE(made);
    ToggleBondLabels(scene);
    EXPECT_EQ(scene.WLVO.BondLabels, 2);
    int labelled = 0;
    for (const tTopAt* node : atoms)
        for (const tBoundAt* bond : test::Bonds(*node)) {
            if (bond == open) {
                EXPECT_EQ(bond->c & (kBondLabelKinds | kBondLabelLength), 0);
                continue;
            }
            EXPECT_EQ(bond->c & (kBondLabelKinds | kBondLabelLength), kBondLabelLength);
            ++labelled;
        }
    EXPECT_EQ(labelled, 4); // C-O twice in both lists
    ToggleBondLabels(scene);
    for (const tTopAt* node : atoms)
        for (const tBoundAt* bond : test::Bonds(*node))
            EXPECT_EQ(bond->c & (kBondLabelKinds | kBondLabelLength), 0);
    // On a selection only bonds between selected atoms.
    Select(atoms[0], 1);
    Select(atoms[2], 1);
    scene.WLVO.BondLabels = 1;
    NewDataPTAt(scene, 12);
    for (const tTopAt* node : atoms)
        for (const tBoundAt* bond : test::Bonds(*node)) {
            const bool both =
                node->PIAt != nullptr && bond->p->PIAt != nullptr && (bond->c & kBondOpen) == 0;
            EXPECT_EQ((bond->c & kBondLabelKinds) != 0, both);
        }
}

TEST_F(SceneActions, RadPlusThreeTimesReturns) {
    EXPECT_EQ(scene.WLVO.PartRad, 3);
    RadPlus(scene);
    EXPECT_EQ(scene.WLVO.PartRad, 2);
    RadPlus(scene);
    EXPECT_EQ(scene.WLVO.PartRad, 1);
    RadPlus(scene);
    EXPECT_EQ(scene.WLVO.PartRad, 3);
}

TEST_F(SceneActions, TogglesRecordUndoOnlyWhileAllowed) {
    ToggleColouredBonds(scene);
    ToggleBlackWhite(scene);
    SetRenderMode(scene, 1);
    EXPECT_TRUE(scene.WLVO.ColBonds);
    EXPECT_TRUE(scene.WLVO.Black_White);
    EXPECT_EQ(scene.WLVO.ModelCryst, 1);
    EXPECT_EQ(undo.states, (std::vector<std::pair<int, std::string>>{
                               {14, "Color bonds"}, {12, "Black and white"}, {24, "Image model"}}));
    scene.NoUndo = false;
    ToggleColouredBonds(scene);
    EXPECT_FALSE(scene.WLVO.ColBonds);
    EXPECT_EQ(undo.states.size(), 3u);
    scene.Undo = &TSceneUndo::None();
}

} // namespace
} // namespace ormaline

namespace ormaline {
namespace {

TEST(ElementRadii, NewRadiiReachElementsAndNodes) {
    TLVScene scene;
    test::FillCubic(scene, 10.0f, {{6, {0.5, 0.5, 0.5}}, {8, {0.6, 0.5, 0.5}}});
    ASSERT_TRUE(RunSceneBuild(scene, {}));
    EXPECT_EQ(scene.CompParamMaler.MEl[0].n, 6); // C 0.70 before O 0.60
    scene.WLVO.RadAt[8] = 1.5f;
    ApplyElementRadii(scene);
    EXPECT_EQ(scene.CompParamMaler.MEl[0].n, 8);
    EXPECT_FLOAT_EQ(scene.CompParamMaler.MEl[0].r, 1.5f);
    for (const tTopAt* node : test::AtomNodes(scene))
        EXPECT_FLOAT_EQ(node->rad, node->pSAt->A.n == 8 ? 1.5f : 0.70f);
    EXPECT_FLOAT_EQ(scene.WPTCell->rad, 0.529f);
}

TEST(WindowScene, StartsFromTheProcessWideOptions) {
    TLatvistaOpt shared = DefaultLatvistaOptions();
    shared.RadSyst = 1;
    shared.RadAt.fill(9.0f);
    shared.ModelCryst = 254;
    shared.NumModel = 0;
    shared.SelInsAt = false;
    TLVScene scene;
    scene.ShowMoleculeOnly = true;
    scene.NoUndo = false;
    InitWindowScene(scene, shared);
    EXPECT_EQ(scene.WLVO.NumModel, 0);
    EXPECT_EQ(scene.WLVO.ModelCryst, 1);
    EXPECT_TRUE(scene.WLVO.SelInsAt);
    EXPECT_EQ(scene.WLVO.RadAt, ElementRadiiTable(1));
    EXPECT_TRUE(scene.NoUndo);
    EXPECT_FALSE(scene.ShowMoleculeOnly);
}

} // namespace
} // namespace ormaline
