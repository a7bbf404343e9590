// The undo history on a built scene: states recorded and undone one at a time, the view
// put back, the stale states discarded, the window-size rescaling, the edit records of
// new nodes and bonds, and recording switched off.
#include "viewer/core/ViewTestSupport.h"

#include "viewer/core/SceneActions.h"
#include "viewer/interact/core/MouseGestures.h"
#include "viewer/interact/core/SelectionTools.h"

#include <gtest/gtest.h>

namespace ormaline {
namespace {

class Undo : public ::testing::Test {
protected:
    void SetUp() override {
        test::PlainScreenAxes(scene);
        scene.WLVO.AdjMatrix = 0;
        test::FillCubic(scene, 10.0f,
                        {{6, {0.5, 0.5, 0.5}}, {8, {0.62, 0.5, 0.5}}, {8, {0.38, 0.5, 0.5}}});
        test::BuildAndProject(scene);
        env.clientWidth = 800;
        env.clientHeight = 600;
        atoms = test::AtomNodes(scene);
    }
    TUndoHistory& History() { return scene.UndoHistory; }
    void Select(tTopAt* node, int colour) {
        scene.PTMAt = node;
        SpecAt(scene, colour);
    }

    TLVScene scene;
    TMouseEnv env;
    std::vector<tTopAt*> atoms;
};

TEST_F(Undo, ARotationDragIsUndoneInOneStep) {
    const TMatrix3 before = scene.WMatrRotor;
    ChoiceMouseMode(scene, 3);
    FormMouseDown(scene, env, TMouseButton::Left, 0, 400, 300);
    for (int x = 410; x <= 500; x += 10)
        FormMouseMove(scene, env, ssLeft, x, 300 + (x - 400) / 2);
    FormMouseUp(scene, env, TMouseButton::Left, 0, 500, 350);
    ASSERT_NE(scene.WMatrRotor, before);
    ASSERT_EQ(History().UndoCount(), 2); // "Mouse mode", "Rotation"
    EXPECT_EQ(History().UndoCaption(), "Undo: Rotation");
    EXPECT_TRUE(History().actUndoExecute(800, 600, nullptr).done);
    EXPECT_EQ(scene.WMatrRotor, before);
    EXPECT_EQ(scene.MouseMode, 2); // the mode was already chosen before the drag
    EXPECT_EQ(History().UndoCaption(), "Undo: Mouse mode");
    EXPECT_TRUE(History().actUndoExecute(800, 600, nullptr).done);
    EXPECT_EQ(scene.MouseMode, 1);
    // Everything undone: nothing is left, and Undo does nothing more.
    EXPECT_EQ(History().UndoCount(), 0);
    EXPECT_EQ(History().UndoCaption(), "Undo");
    EXPECT_EQ(History().UndoHint(), "Undo");
    EXPECT_FALSE(History().actUndoExecute(800, 600, nullptr).done);
    EXPECT_TRUE(scene.NoUndo);
}

TEST_F(Undo, UndoAfterShowSelectionOnlyShowsEveryAtomUnselectedThen) {
    atoms[0]->c = kNodeHidden32; // hidden before, not selected
    Select(atoms[1], 1);
    ASSERT_TRUE(ShowSelectionOnly1Click(scene));
    EXPECT_EQ(atoms[2]->c & kNodeVisible, 0);
    EXPECT_NE(atoms[1]->c & kNodeVisible, 0);
    EXPECT_TRUE(History().actUndoExecute(800, 600, nullptr).done);
    for (tTopAt* atom : atoms)
        EXPECT_EQ(atom->c & (kNodeVisible | kNodeHidden32 | kNodeHidden64), kNodeVisible);
    EXPECT_EQ(scene.CountInsAt, 1);
    EXPECT_EQ(scene.WInsAt->PTA, atoms[1]);
    // Without a selection it does nothing and records nothing.
    NotInsAllAtom(scene);
    EXPECT_FALSE(ShowSelectionOnly1Click(scene));
    EXPECT_EQ(History().UndoCount(), 0);
}

TEST_F(Undo, ANewStepAfterUndosDiscardsTheUndoneStates) {
    KeepState(scene, 5, "Scale");
    scene.mas *= 2;
    KeepState(scene, 5, "Fit scale");
    scene.mas *= 2;
    KeepState(scene, 17, "Fog");
    scene.WLVO.Fog = !scene.WLVO.Fog;
    ASSERT_EQ(History().UndoCount(), 3);
    const bool fog = scene.WLVO.Fog;
    History().actUndoExecute(800, 600, nullptr);
    EXPECT_NE(scene.WLVO.Fog, fog); // the toggle ran again
    History().actUndoExecute(800, 600, nullptr);
    EXPECT_EQ(History().UndoCount(), 1);
    EXPECT_EQ(History().ArrState().size(), 3u); // stale states stay until the next one
    KeepState(scene, 13, "Cell");
    EXPECT_EQ(History().UndoCount(), 2);
    ASSERT_EQ(History().ArrState().size(), 2u);
    EXPECT_EQ(History().ArrState()[1].KSRemStr, "Cell");
    EXPECT_EQ(History().UndoHint(), "Undo Cell");
}

TEST_F(Undo, LegendAndAxesKeepTheirPlaceInAResizedWindow) {
    scene.Gi0 = 100;
    scene.Gj0 = 450;
    scene.LegI0 = 700;
    scene.LegJ0 = 75;
    KeepState(scene, 5, "Scale"); // recorded in the 800 x 600 window
    scene.Gi0 = scene.Gj0 = scene.LegI0 = scene.LegJ0 = 0;
    History().actUndoExecute(1000, 300, nullptr);
    EXPECT_EQ(scene.Gi0, 125);   // 1000 * 100 / 800
    EXPECT_EQ(scene.Gj0, 225);   // 300 * 450 / 600
    EXPECT_EQ(scene.LegI0, 875); // 1000 * 700 / 800
    EXPECT_EQ(scene.LegJ0, 38);  // 300 * 75 / 600 = 37.5, ties to even
}

TEST_F(Undo, NothingIsRecordedWithKeepForUndoOff) {
    scene.WLVO.KeepForUndo = false;
    KeepState(scene, 5, "Scale");
    Select(atoms[0], 1);
    Invert1Click(scene);
    EXPECT_EQ(History().UndoCount(), 0);
    scene.WLVO.KeepForUndo = true;
    EXPECT_FALSE(History().actUndoExecute(800, 600, nullptr).done);
}

TEST_F(Undo, ComplementTwiceGivesTheVisibleAtomsInColour1AndUndoesStepByStep) {
    Select(atoms[0], 2);
    atoms[2]->c = 0; // invisible: never selected
    Invert1Click(scene);
    ASSERT_EQ(scene.CountInsAt, 1);
    EXPECT_EQ(scene.WInsAt->PTA, atoms[1]);
    Invert1Click(scene);
    ASSERT_EQ(scene.CountInsAt, 1);
    EXPECT_EQ(scene.WInsAt->PTA, atoms[0]);
    EXPECT_EQ(scene.WInsAt->col, 1);
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
        EXPECT_EQ(node->c & 128, 0);
    History().actUndoExecute(800, 600, nullptr);
    EXPECT_EQ(scene.WInsAt->PTA, atoms[1]);
    History().actUndoExecute(800, 600, nullptr);
    EXPECT_EQ(scene.WInsAt->PTA, atoms[0]);
    EXPECT_EQ(scene.WInsAt->col, 2);
}

TEST_F(Undo, NewLatticeCopiesAndTheirBondsGoWithTheNextState) {
    const int count = scene.WCountAt;
    const auto bonds = test::BondTable(scene);
    // A copy of the carbon one cell along a, made while single steps are recorded.
    MultTransAtom(scene, atoms[0], {1, 0, 0});
    ASSERT_EQ(scene.WCountAt, count + 1);
    ASSERT_NE(History().WEditStack(), nullptr);
    scene.PTMAt = scene.WPTAtEnd; // the new copy, selected
    SpecAt(scene, 1);
    KeepState(scene, 3, "Select");
    EXPECT_EQ(History().WEditStack(), nullptr);
    History().actUndoExecute(800, 600, nullptr);
    EXPECT_EQ(scene.WCountAt, count);
    EXPECT_EQ(CountNodes(scene.WPTAll), count);
    EXPECT_EQ(scene.ArrAt.size(), static_cast<std::size_t>(count));
    EXPECT_EQ(scene.WInsAt, nullptr);
    EXPECT_EQ(test::BondTable(scene), bonds);
}

TEST_F(Undo, DrawingModelsOfTheSelectedOrOfAllAtomsComeBack) {
    const int model = atoms[0]->nm;
    Select(atoms[0], 3);
    SetDrawingModel(scene, model == 0 ? 1 : 0); // "Model selected atoms"
    NotInsAllAtom(scene);
    SetDrawingModel(scene, 2); // "Model all atoms"
    EXPECT_EQ(atoms[1]->nm, 2);
    atoms[1]->c = 0; // hidden since: shown again by the undo
    History().actUndoExecute(800, 600, nullptr);
    EXPECT_EQ(History().UndoCaption(), "Undo: Model selected atoms");
    EXPECT_NE(atoms[1]->nm, 2);
    EXPECT_NE(atoms[1]->c & kNodeVisible, 0);
    History().actUndoExecute(800, 600, nullptr);
    EXPECT_EQ(atoms[0]->nm, model);
    ASSERT_EQ(scene.CountInsAt, 1); // the selection as it was
    EXPECT_EQ(scene.WInsAt->col, 3);
}

TEST_F(Undo, ABuildEmptiesTheHistory) {
    KeepState(scene, 5, "Scale");
    Select(atoms[0], 1);
    KeepState(scene, 3, "Select");
    PrepareSceneBuild(scene);
    EXPECT_EQ(History().UndoCount(), 0);
    EXPECT_TRUE(History().ArrState().empty());
}

} // namespace
} // namespace ormaline
