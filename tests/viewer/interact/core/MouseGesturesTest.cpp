// The gestures of the mouse modes and the view keys on a built scene seen at 30 pixels
// per angstrom: clicks against drags, rubber bands, the bounds of the scale drags, the
// keys' steps, the edit and magic-wand clicks and the undo states they record.
#include "viewer/core/ViewTestSupport.h"

#include "viewer/core/SceneActions.h"
#include "viewer/interact/core/InteractShared.h"
#include "viewer/interact/core/MouseGestures.h"

#include <gtest/gtest.h>

#include <map>
#include <numbers>

namespace ormaline {
namespace {

class TRecordingUndo : public TSceneUndo {
public:
    void KeepState(int, std::string_view remark) override { remarks.emplace_back(remark); }
    std::vector<std::string> remarks;
};

class MouseGestures : public ::testing::Test {
protected:
    // Oxygens 1 and 2 one angstrom apart, a carbon 3 two angstrom left of and above
    // oxygen 1; no bonds.
    void SetUp() override {
        test::PlainScreenAxes(scene);
        test::FillCubic(scene, 10.0f,
                        {{8, {0.5, 0.5, 0.5}}, {8, {0.6, 0.5, 0.5}}, {6, {0.3, 0.7, 0.5}}});
        test::BuildAndProject(scene);
        scene.mas = 10.0; // 300 / 10 = 30 pixels per angstrom
        ASSERT_TRUE(BeginPaint(scene));
        scene.Undo = &undo;
        env.metrics = &metrics;
        env.clientWidth = 800;
        env.clientHeight = 600;
        InteractShared() = {};
    }
    void TearDown() override { InteractShared() = {}; }
    std::array<int, 2> Pixel(int number) const {
        return test::PixelOf(scene, *test::NodeOfAtom(scene, number));
    }
    // A press, moves with the left button held, and the release at the last point; the
    // outlines drawn on the way are collected.
    void Drag(int shift, std::array<int, 2> from, const std::vector<std::array<int, 2>>& path,
              TMouseButton button = TMouseButton::Left) {
        Collect(FormMouseDown(scene, env, button, shift, from[0], from[1]));
        for (const auto& [x, y] : path)
            Collect(FormMouseMove(scene, env, shift | ssLeft, x, y));
        const auto last = path.empty() ? from : path.back();
        Collect(FormMouseUp(scene, env, button, shift, last[0], last[1]));
    }
    void Collect(const TMouseResult& result) {
        shapes.insert(shapes.end(), result.xorShapes.begin(), result.xorShapes.end());
        if (result.status1) {
            status1 = *result.status1;
            status1Texts.push_back(status1);
        }
    }
    // Every outline drawn was drawn again (removed) by the end of the gesture.
    void ExpectAllRemoved() const {
        std::map<std::tuple<int, int, int, int, int, int, int>, int> counts;
        for (const TXorShape& s : shapes)
            ++counts[{static_cast<int>(s.kind), s.rect.Left, s.rect.Top, s.rect.Right,
                      s.rect.Bottom, s.x * 10000 + s.y, s.radius}];
        for (const auto& [shape, count] : counts)
            EXPECT_EQ(count % 2, 0);
    }
    std::vector<std::string> status1Texts; // every text panel 1 was given
    std::vector<int> Selected() const {
        std::vector<int> numbers;
        for (const tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo)
            numbers.push_back(record->PTA->pSAt->i);
        std::sort(numbers.begin(), numbers.end());
        return numbers;
    }

    TLVScene scene;
    TRecordingUndo undo;
    test::TFixedMetrics metrics;
    TMouseEnv env;
    std::vector<TXorShape> shapes;
    std::string status1;
};

TEST_F(MouseGestures, TheSecondMouseUpWithin350MillisecondsIsADoubleClick) {
    struct Case {
        std::vector<std::uint32_t> ticks;
        std::vector<bool> doubleClicks;
    };
    const Case cases[] = {
        {{1000, 1300}, {false, true}},
        {{1000, 1349}, {false, true}},
        {{1000, 1350}, {false, false}},
        // The slow pair clears the stored tick: the third mouse-up starts a new pair.
        {{1000, 1400, 1500}, {false, false, false}},
        {{1000, 1300, 1400, 1500}, {false, true, false, true}},
    };
    for (const Case& c : cases) {
        std::uint32_t stored = 0;
        std::vector<bool> seen;
        for (std::uint32_t tick : c.ticks)
            seen.push_back(CheckDoubleClick(stored, tick));
        EXPECT_EQ(seen, c.doubleClicks) << c.ticks.size();
    }
}

TEST_F(MouseGestures, SelectionColoursOfButtonsAndModifiers) {
    struct Case {
        TMouseButton button;
        int shift, colour;
    };
    const Case cases[] = {{TMouseButton::Left, 0, 1},
                          {TMouseButton::Left, ssCtrl, 2},
                          {TMouseButton::Left, ssShift, 3},
                          {TMouseButton::Left, ssShift | ssCtrl, 2},
                          {TMouseButton::Right, 0, -1},
                          {TMouseButton::Right, ssCtrl, -2},
                          {TMouseButton::Right, ssShift | ssAlt, -3},
                          {TMouseButton::Middle, ssCtrl, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(SelectionColour(c.button, c.shift), c.colour) << c.shift;
}

TEST_F(MouseGestures, ADragOf20PixelsIsAClickAnd21SelectTheRectangle) {
    scene.MouseMode = 1;
    const auto [x, y] = Pixel(1); // radius 0.2 A = 6 pixels
    // From empty space beside oxygen 1: 20 pixels make a click, which selects every atom.
    Drag(0, {x - 12, y - 5}, {{x - 2, y}, {x + 8, y + 3}});
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(undo.remarks, (std::vector<std::string>{"Select all atoms"}));
    EXPECT_TRUE(shapes.empty());
    NotInsAllAtom(scene);
    undo.remarks.clear();
    // 21 pixels make a region: only oxygen 1 lies in the rectangle.
    Drag(0, {x - 12, y - 5}, {{x - 2, y}, {x + 9, y + 3}});
    EXPECT_EQ(Selected(), (std::vector<int>{1}));
    EXPECT_EQ(undo.remarks, (std::vector<std::string>{"Select region"}));
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0].rect, (TRect{x - 12, y - 5, x + 9, y + 3}));
    ExpectAllRemoved();
    EXPECT_FALSE(scene.MouseMove);
    EXPECT_FALSE(InteractShared().RubberActive);
    // The right button with Ctrl deselects only colour-2 atoms in the region.
    Drag(ssCtrl, {x - 12, y - 5}, {{x + 9, y + 3}}, TMouseButton::Right);
    EXPECT_EQ(Selected(), (std::vector<int>{1}));
    // In perspective no band is drawn and a drag selects nothing.
    NotInsAllAtom(scene);
    scene.WLVO.Perspect = true;
    shapes.clear();
    Drag(0, {x - 12, y - 5}, {{x + 9, y + 3}, {x + 30, y + 30}});
    EXPECT_TRUE(shapes.empty());
    EXPECT_TRUE(Selected().empty());
}

TEST_F(MouseGestures, CircleAndSphereBandsSelectByTheirRadius) {
    scene.MouseMode = 1;
    scene.WLVO.CutMode = 2;
    const auto [x, y] = Pixel(1);
    // 35 pixels: 1.167 angstrom about oxygen 1 on the screen takes in oxygen 2.
    Drag(0, {x, y}, {{x + 25, y}, {x + 35, y}});
    // The radius while dragging; the measurement of the selection once it is made.
    ASSERT_GE(status1Texts.size(), 2u);
    EXPECT_EQ(status1Texts[status1Texts.size() - 2], "Radius = 1.167");
    EXPECT_EQ(status1, "2:0:0  O2   r(O1-O2)=1.000 A");
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2}));
    ASSERT_EQ(shapes.size(), 4u); // drawn, removed and drawn again, removed
    EXPECT_EQ(shapes[2].radius, 35);
    ExpectAllRemoved();
    // The sphere is centred on the visible atoms' centre (-1/3, 2/3, 0) angstrom from
    // oxygen 1: 1.6 angstrom takes in both oxygens (0.75 and 1.49) but not the carbon (2.13).
    NotInsAllAtom(scene);
    scene.WLVO.CutMode = 3;
    shapes.clear();
    FormMouseDown(scene, env, TMouseButton::Left, 0, 100, 100);
    const int cx = scene.SStartX, cy = scene.SStartY;
    EXPECT_EQ(cx, x - 10);
    EXPECT_EQ(cy, y - 20);
    FormMouseMove(scene, env, ssLeft, cx + 48, cy);
    FormMouseUp(scene, env, TMouseButton::Left, 0, cx + 48, cy);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2}));
}

TEST_F(MouseGestures, ScaleDragsStopAtTheirBounds) {
    scene.MouseMode = 3;
    struct Case {
        const char* title;
        int shift;
        bool abc, legend, equal;
        double TLVScene::*size;
        double start, bound;
        bool lower; // the bound is a lower one
    };
    const Case cases[] = {
        {"axes", ssCtrl, true, false, false, &TLVScene::XYZMas, 3.0, 1.0, true},
        {"legend, equal radii", ssAlt, false, true, true, &TLVScene::PrevMas, 10.0, 50.0, false},
        {"legend", ssAlt, false, true, false, &TLVScene::CoefMas, 1.0, 5.0, false},
        {"scale", 0, false, false, false, &TLVScene::mas, 10.0, 0.5, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        scene.WLVO.ABC_Cell = c.abc;
        scene.WLVO.Legend = c.legend;
        scene.WLVO.EqualRadii = c.equal;
        scene.*c.size = c.start;
        // Up and right shrinks the axes and the legend and magnifies the model; down and
        // left the other way round.
        const int step = c.lower == (c.size != &TLVScene::mas) ? 30 : -30;
        std::vector<std::array<int, 2>> path;
        for (int k = 1; k <= 60; ++k)
            path.push_back({400 + k * step, 300 - k * step});
        Drag(c.shift, {400, 300}, path);
        const double value = scene.*c.size;
        if (c.lower) {
            EXPECT_GT(value, c.bound);
            EXPECT_LT(value, c.bound * 1.25);
        } else {
            EXPECT_LT(value, c.bound);
            EXPECT_GT(value, c.bound / 1.25);
        }
    }
    // One drag of the scale records one state.
    EXPECT_EQ(undo.remarks, std::vector<std::string>(4, "Rotation"));
    EXPECT_TRUE(scene.NoUndo);
}

TEST_F(MouseGestures, TranslateDragsMoveTheModelTheAxesTheLegendOrTheLabels) {
    scene.MouseMode = 4;
    scene.WLVO.ABC_Cell = true;
    scene.WLVO.Legend = true;
    scene.WLVO.AtomLabels = 1;
    const SVector before = scene.gl_;
    Drag(0, {400, 300}, {{410, 300}, {410, 295}});
    // 2 dx / 800 * gl_MaxI * mas with gl_MaxI = 4/3; dy = 5 up.
    EXPECT_NEAR(scene.gl_[0] - before[0], 2.0 * 10 / 800 * (4.0 / 3.0) * 10.0, 1e-5);
    EXPECT_NEAR(scene.gl_[1] - before[1], 2.0 * 5 / 600 * 1.0 * 10.0, 1e-5);
    const int gi = scene.Gi0, gj = scene.Gj0, li = scene.LegI0, lj = scene.LegJ0;
    Drag(ssCtrl, {400, 300}, {{407, 297}});
    EXPECT_EQ(scene.Gi0, gi + 7);
    EXPECT_EQ(scene.Gj0, gj - 3);
    Drag(ssAlt, {400, 300}, {{393, 304}});
    EXPECT_EQ(scene.LegI0, li - 7);
    EXPECT_EQ(scene.LegJ0, lj + 4);
    // Labels of all atoms share WPosName; a selection's labels move by each step.
    Drag(ssShift, {400, 300}, {{402, 299}, {404, 298}, {406, 297}});
    EXPECT_EQ(PosNameDx(scene.WPosName), 6);
    EXPECT_EQ(PosNameDy(scene.WPosName), -3);
    EXPECT_EQ(test::NodeOfAtom(scene, 3)->PosName, scene.WPosName);
    scene.PTMAt = test::NodeOfAtom(scene, 1);
    SpecAt(scene, 1);
    Drag(ssShift, {400, 300}, {{402, 299}, {404, 298}, {406, 297}});
    // From where the first drag left it, by exactly the second drag.
    const tTopAt& labelled = *test::NodeOfAtom(scene, 1);
    EXPECT_EQ(PosNameDx(labelled.PosName), 12);
    EXPECT_EQ(PosNameDy(labelled.PosName), -6);
    EXPECT_EQ(test::NodeOfAtom(scene, 3)->PosName, scene.WPosName);
}

TEST_F(MouseGestures, ViewKeysScaleShiftAndTurn) {
    struct Case {
        int key, shift;
        double mas, masAfter;
    };
    const Case scales[] = {
        {VK_END, 0, 1.0, 0.9},    {VK_END, ssCtrl, 1.0, 0.98},
        {VK_END, 0, 0.5, 0.5},    {VK_END, 0, 0.52, 0.52}, // a step below 0.5 is not taken
        {VK_HOME, 0, 1e6, 1.1e6}, {VK_HOME, ssCtrl, 2.0, 2.04},
    };
    for (const Case& c : scales) {
        scene.mas = c.mas;
        const TMouseResult result = FormKeyDown(scene, env, c.key, c.shift);
        EXPECT_DOUBLE_EQ(scene.mas, c.masAfter) << c.key << " " << c.mas;
        EXPECT_TRUE(result.repaint);
        EXPECT_DOUBLE_EQ(scene.CoeffDX, scene.mas_l / scene.mas);
    }
    EXPECT_EQ(undo.remarks, std::vector<std::string>(6, "Scale"));
    scene.mas = 10.0;
    // Alt moves by ShiftStep (0.5), a fifth of it with Ctrl, backwards for Page Up, Left, Down.
    const SVector start = scene.gl_;
    FormKeyDown(scene, env, VK_LEFT, ssAlt);
    FormKeyDown(scene, env, VK_NEXT, ssAlt | ssCtrl);
    FormKeyDown(scene, env, VK_UP, ssAlt);
    EXPECT_FLOAT_EQ(scene.gl_[0] - start[0], -0.5f);
    EXPECT_FLOAT_EQ(scene.gl_[1] - start[1], 0.5f);
    EXPECT_FLOAT_EQ(scene.gl_[2] - start[2], 0.1f);
    // Up turns about screen x by -RotorStep; Ctrl makes it a fifth.
    for (int shift : {0, ssCtrl}) {
        const TMatrix3 r = scene.WMatrRotor;
        FormKeyDown(scene, env, VK_UP, shift);
        const double angle = -std::numbers::pi / 180.0 / (shift != 0 ? 5.0 : 1.0);
        for (std::size_t column = 0; column < 3; ++column) {
            EXPECT_NEAR(scene.WMatrRotor[0][column], r[0][column], 1e-12);
            EXPECT_NEAR(scene.WMatrRotor[1][column],
                        std::cos(angle) * r[1][column] - std::sin(angle) * r[2][column], 1e-12);
            EXPECT_NEAR(scene.WMatrRotor[2][column],
                        std::sin(angle) * r[1][column] + std::cos(angle) * r[2][column], 1e-12);
        }
    }
    // Other keys do nothing.
    EXPECT_FALSE(FormKeyDown(scene, env, 'A', 0).repaint);
}

TEST_F(MouseGestures, KeyReleasesFitTheSpaceStopRotationAndToggleGroupColours) {
    TViewColours colours;
    colours.ColorGr[0] = 0x123456;
    env.colours = &colours;
    scene.mas = 50.0;
    EXPECT_TRUE(FormKeyUp(scene, env, VK_SPACE, 0).repaint);
    EXPECT_DOUBLE_EQ(scene.mas, scene.OldMas);
    EXPECT_FALSE(FormKeyUp(scene, env, VK_ESCAPE, 0).stopRotation);
    env.rotationOn = true;
    EXPECT_TRUE(FormKeyUp(scene, env, VK_ESCAPE, 0).stopRotation);
    FormKeyUp(scene, env, VK_GRAVE, 0);
    EXPECT_TRUE(scene.WLVO.GrColor);
    EXPECT_EQ(colours.ColorGr, GroupColorTable);
    EXPECT_EQ(undo.remarks, (std::vector<std::string>{"Group color"}));
}

TEST_F(MouseGestures, RotateDragsRecordOneStateAndChangeModeRecordsItsOwn) {
    ChoiceMouseMode(scene, 3);
    EXPECT_EQ(scene.MouseMode, 2);
    Drag(0, {400, 300}, {{410, 300}, {420, 310}, {430, 300}});
    EXPECT_EQ(undo.remarks, (std::vector<std::string>{"Mouse mode", "Rotation"}));
    EXPECT_TRUE(scene.NoUndo);
}

TEST_F(MouseGestures, EditAndMagicWandClicks) {
    scene.MouseMode = 0;
    const auto [x, y] = Pixel(2);
    tTopAt* oxygen = test::NodeOfAtom(scene, 2);
    // The left button only describes.
    Drag(0, {x, y}, {});
    EXPECT_NE(oxygen->c & kNodeVisible, 0);
    // The right button takes the atom out of the view, without an undo state.
    Drag(0, {x, y}, {}, TMouseButton::Right);
    EXPECT_EQ(oxygen->c & kNodeVisible, 0);
    EXPECT_NE(oxygen->c & kNodeHidden32, 0);
    EXPECT_EQ(scene.PTMAt, nullptr);
    EXPECT_TRUE(undo.remarks.empty());
    // On empty space it drops the selection.
    scene.PTMAt = test::NodeOfAtom(scene, 1);
    SpecAt(scene, 2);
    Drag(0, {5, 5}, {}, TMouseButton::Right);
    EXPECT_TRUE(Selected().empty());
    // The magic wand: an unbonded atom has no neighbour table; empty space does nothing.
    scene.MouseMode = 6;
    const auto [x1, y1] = Pixel(1);
    TMouseResult result = FormMouseDown(scene, env, TMouseButton::Right, 0, x1, y1);
    EXPECT_EQ(result.information, "Atom  O(1) ( 0.500, 0.500, 0.500) is not bonded");
    EXPECT_EQ(result.neighbourTable, nullptr);
    result = FormMouseDown(scene, env, TMouseButton::Left, 0, 5, 5);
    EXPECT_FALSE(result.repaint);
    EXPECT_FALSE(result.magicWand);
    result = FormMouseDown(scene, env, TMouseButton::Left, 0, x1, y1);
    EXPECT_TRUE(result.magicWand);
    EXPECT_EQ(result.wandNode, test::NodeOfAtom(scene, 1));
    EXPECT_TRUE(result.repaint);
}

TEST_F(MouseGestures, NothingHappensInAnInactiveWindowOrAfterAResize) {
    scene.MouseMode = 1;
    env.active = false;
    Drag(0, {5, 5}, {});
    EXPECT_TRUE(Selected().empty());
    env.active = true;
    scene.WinResize = true;
    EXPECT_FALSE(FormMouseMove(scene, env, ssLeft, 50, 50).repaint);
    FormMouseUp(scene, env, TMouseButton::Left, 0, 5, 5);
    EXPECT_FALSE(scene.WinResize);
    EXPECT_TRUE(Selected().empty());
}

} // namespace
} // namespace ormaline
