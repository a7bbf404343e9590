// The viewer window's view commands and scene build life cycle with scripted boxes.
#include "support/GuiTest.h"
#include "viewer/ViewerForms.h"

#include "platform/ActionList.h"
#include "viewer/RotateUnit.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QToolButton>

#include "model/NumberFormat.h"
#include <QMenu>
#include <QRadioButton>
#include <QTimer>

#include <numbers>

using namespace ormaline;
using namespace ormaline::testing;

namespace {

class ViewCommandsTest : public ScriptedDialogsTest {};

const std::vector<TTestAtom> kWater = {
    {8, 0.5, 0.5, 0.5, "2 3"}, {1, 0.58, 0.56, 0.5, "1"}, {1, 0.42, 0.56, 0.5, "1"}};

double MatrixDistance(const TMatrix3& a, const TMatrix3& b) {
    double d = 0;
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            d = std::max(d, std::fabs(a[i][j] - b[i][j]));
    return d;
}

TEST_F(ViewCommandsTest, HklIsAskedAgainAfterABadTextAndTurnsTheViewAlongTheDirection) {
    auto form = ViewerOn(kWater, 10.0);
    dialogs->PushText("1;0;0");
    dialogs->PushText("1,0,0");
    form->Set_hkl("1,0");
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Error),
              (std::vector<std::string>{"Error in hkl!", "Error in hkl!"}));
    ASSERT_EQ(dialogs->records.size(), 4u);
    EXPECT_EQ(dialogs->records[1].kind, DialogKind::Input);
    EXPECT_EQ(dialogs->records[1].caption, "Enter h,k,l");
    // The view now looks along a: R a points along the viewing axis.
    const DVector along = RotorCoordAt_1(form->Scene(), {0.0, 0.0, 1.0});
    const DVector origin = RotorCoordAt_1(form->Scene(), {0.0, 0.0, 0.0});
    EXPECT_NEAR(std::fabs(along[0] - origin[0]), 1.0, 1e-6);
    EXPECT_NEAR(along[1] - origin[1], 0.0, 1e-6);
    EXPECT_NEAR(along[2] - origin[2], 0.0, 1e-6);
    // An empty answer cancels without a change.
    const TMatrix3 before = form->Scene().WMatrRotor;
    dialogs->records.clear();
    dialogs->PushText("");
    form->act_hkl->trigger();
    EXPECT_EQ(dialogs->records.size(), 1u);
    EXPECT_EQ(MatrixDistance(before, form->Scene().WMatrRotor), 0.0);
}

TEST_F(ViewCommandsTest, TheScaleInputRejectsTextsAndScalesThatDrawNothing) {
    auto form = ViewerOn(kWater, 10.0);
    dialogs->PushText("big");
    dialogs->PushText("0");
    dialogs->PushText("2.5");
    form->ScaleInputExecute();
    EXPECT_EQ(dialogs->records.front().caption, "Scale number");
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Error),
              (std::vector<std::string>{"Error in scale number: big", "Error in scale number: 0"}));
    EXPECT_DOUBLE_EQ(form->Scene().mas, 2.5);
    EXPECT_DOUBLE_EQ(form->Scene().CoeffDX, form->Scene().mas_l / 2.5);
    // At 2.5 angstrom per half window the oxygen's sphere is drawn with that pixel scale.
    const QImage picture = Picture(*form);
    const tTopAt& oxygen = *NodeOf(*form, 1);
    const auto centre = ScreenPixel(form->Scene(), oxygen);
    const double r = PixelRadius(*form, oxygen);
    EXPECT_GT(Distance(PixelAt(picture, centre[0] + 0.8 * r, centre[1]), Rgb(0xFFFFFF)), 30.0);
}

TEST_F(ViewCommandsTest, TheRotateDialogTurnsAboutTheChosenAxis) {
    auto form = ViewerOn(kWater, 10.0);
    const TMatrix3 start = form->Scene().WMatrRotor;
    const auto run = [&](const char* angle, int axis) {
        QTimer::singleShot(0, [angle, axis] {
            auto* dialog = qobject_cast<TRotateForm*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->edAngle->setText(angle);
            dialog->SetAxisItem(axis);
            dialog->accept();
        });
        form->RotateDialogExecute();
    };
    run("360", 2);
    EXPECT_LT(MatrixDistance(start, form->Scene().WMatrRotor), 1e-9);
    const TMatrix3 turnedOnce = form->Scene().WMatrRotor;
    run("0.09", 0);
    EXPECT_EQ(MatrixDistance(turnedOnce, form->Scene().WMatrRotor), 0.0);
    run("90", 2);
    // About the viewing axis: screen x goes to screen y.
    const TLatvistaOpt& o = form->WLVO();
    DVector x{};
    x[static_cast<std::size_t>(o.L1 - 1)] = 1.0;
    DVector turned = RotorCoordAt(form->Scene(), RotorCoordAt_1(form->Scene(), x));
    (void)turned;
    const TMatrix3& r = form->Scene().WMatrRotor;
    const double onY =
        r[static_cast<std::size_t>(o.L2 - 1)][static_cast<std::size_t>(o.L1 - 1)] -
        start[static_cast<std::size_t>(o.L2 - 1)][static_cast<std::size_t>(o.L1 - 1)];
    EXPECT_NEAR(std::fabs(onY), 1.0, 1e-6);
    EXPECT_TRUE(dialogs->records.empty());
}

TEST_F(ViewCommandsTest, ContinuousRotationTurnsByTheStepEachTickAndLocksTheCommands) {
    auto form = ViewerOn(kWater, 10.0, [](TLatvistaOpt& o) { o.LinAxis = 3; });
    form->SwitchRotation(true);
    form->Actions().UpdateActions();
    EXPECT_TRUE(form->actLVRotation->isChecked());
    EXPECT_FALSE(form->actLVCreate->isEnabled());
    EXPECT_FALSE(form->actFitSpace->isEnabled());
    EXPECT_TRUE(form->actLVRotation->isEnabled());
    EXPECT_FALSE(form->tbLVSelect->isEnabled());
    EXPECT_EQ(form->Scene().MouseMode, 2);
    const TMatrix3 before = form->Scene().WMatrRotor;
    form->TimerTimer();
    Picture(*form); // the paint applies the pending angle
    const TLatvistaOpt& o = form->WLVO();
    const double step = o.RotorStep * std::numbers::pi / 180.0;
    // About the viewing axis: rows L1 and L2 of R turn by the step.
    const auto l1 = static_cast<std::size_t>(o.L1 - 1), l2 = static_cast<std::size_t>(o.L2 - 1);
    const TMatrix3& after = form->Scene().WMatrRotor;
    for (std::size_t column = 0; column < 3; ++column) {
        EXPECT_NEAR(after[l1][column],
                    std::cos(step) * before[l1][column] - std::sin(step) * before[l2][column],
                    1e-9);
        EXPECT_NEAR(after[l2][column],
                    std::sin(step) * before[l1][column] + std::cos(step) * before[l2][column],
                    1e-9);
    }
    form->actLVRotation->trigger();
    form->Actions().UpdateActions();
    EXPECT_FALSE(form->RotationOn());
    EXPECT_TRUE(form->actLVCreate->isEnabled());
    EXPECT_TRUE(form->tbLVSelect->isEnabled());
}

TEST_F(ViewCommandsTest, FitsCentreAndScaleTheVisibleAtoms) {
    auto form = ViewerOn(kWater, 10.0);
    TLVScene& scene = form->Scene();
    scene.WDeltaCoord = {1.0f, -2.0f, 0.5f};
    scene.mas = 40.0;
    form->actFitCenter->trigger();
    DVector mean{0, 0, 0};
    int count = 0;
    for (const tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li, ++count) {
        const DVector v = RotorCoordAt(scene, node->k);
        for (std::size_t i = 0; i < 3; ++i)
            mean[i] += v[i];
    }
    for (double m : mean)
        EXPECT_NEAR(m / count, 0.0, 1e-5);
    EXPECT_DOUBLE_EQ(scene.mas, 40.0);
    form->actFitScale->trigger();
    EXPECT_DOUBLE_EQ(scene.mas, scene.OldMas);
    EXPECT_LT(scene.mas, 10.0);
    scene.mas = 40.0;
    form->actFitSpace->trigger();
    EXPECT_DOUBLE_EQ(scene.mas, scene.OldMas);
    // The fitted scale, worked out here: 1.1 times the largest screen extent of an atom
    // with its radius, after centring.
    const TLatvistaOpt& o = scene.WLVO;
    double largest = 0;
    for (const tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li) {
        const DVector v = RotorCoordAt(scene, node->k);
        largest = std::max({largest, std::fabs(v[static_cast<std::size_t>(o.L1 - 1)]) + node->rad,
                            std::fabs(v[static_cast<std::size_t>(o.L2 - 1)]) + node->rad});
    }
    EXPECT_NEAR(scene.mas, 1.1 * largest, 1e-6);
    // Every atom's sphere lies inside the client area.
    const QImage picture = Picture(*form);
    for (const tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li) {
        const auto centre = ScreenPixel(scene, *node);
        const double r = PixelRadius(*form, *node);
        EXPECT_GT(centre[0] - r, 0);
        EXPECT_LT(centre[0] + r, picture.width());
        EXPECT_GT(centre[1] - r, 0);
        EXPECT_LT(centre[1] + r, picture.height());
        // Lower left of the centre, away from the highlight.
        EXPECT_GT(
            Distance(PixelAt(picture, centre[0] - 0.5 * r, centre[1] + 0.5 * r), Rgb(0xFFFFFF)),
            30.0);
    }
}

TEST_F(ViewCommandsTest, ClosingDuringABuildAsksToCancelAndKeepsTheWindow) {
    auto form = std::make_unique<TLVForm>();
    std::vector<TTestAtom> atoms;
    for (int i = 0; i < 3000; ++i)
        atoms.push_back({6, (i % 15) / 15.0, ((i / 15) % 15) / 15.0, (i / 225) / 15.0, ""});
    {
        TLigandPanelTexts panel;
        panel.Cell = {"20", "20", "20", "90", "90", "90"};
        for (std::size_t k = 0; k < atoms.size(); ++k)
            panel.AtomRows.push_back({std::to_string(k + 1), "6", std::to_string(k + 1), "0",
                                      std::to_string(atoms[k].x), std::to_string(atoms[k].y),
                                      std::to_string(atoms[k].z)});
        BuildLigandCompound(panel, form->Scene().CompParamMaler);
    }
    DefaultLatvistaOpt(form->WLVO());
    form->WLVO().AdjMatrix = 0;
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->Create1Click();
    // The worker waits for its first progress report to be shown, which needs this
    // thread's event loop: until then the build is certainly running.
    form->Actions().UpdateActions();
    EXPECT_TRUE(form->ThreadRunning());
    EXPECT_TRUE(form->actLVCancel->isEnabled());
    EXPECT_FALSE(form->actLVCreate->isEnabled());
    EXPECT_FALSE(form->miImage->menuAction()->isEnabled());
    EXPECT_FALSE(form->miHelp->menuAction()->isEnabled());
    dialogs->PushYes();
    form->close();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Confirmation),
              (std::vector<std::string>{"Terminate calculation?"}));
    ASSERT_TRUE(WaitForBuild(*form));
    EXPECT_FALSE(form->Scene().HasScene());
    EXPECT_TRUE(form->miImage->menuAction()->isEnabled());
    EXPECT_EQ(form->ProgressBar->value(), 0);
    form->close();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(ViewCommandsTest, RedrawIsAskedWhenASceneExists) {
    auto form = ViewerOn(kWater, 10.0);
    tTopAt* first = form->Scene().WPTAll;
    dialogs->PushNo();
    form->actLVCreate->trigger();
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Confirmation),
              (std::vector<std::string>{"Redraw structure?"}));
    EXPECT_FALSE(form->ThreadRunning());
    EXPECT_EQ(form->Scene().WPTAll, first);
    dialogs->PushYes();
    form->actLVCreate->trigger();
    ASSERT_TRUE(WaitForBuild(*form));
    EXPECT_TRUE(form->Scene().HasScene());
}

TEST_F(ViewCommandsTest, ACompoundWithoutAtomsIsIncompleteAndTheMenusComeBack) {
    auto form = std::make_unique<TLVForm>();
    TLigandPanelTexts panel;
    panel.Cell = {"10", "10", "10", "90", "90", "90"};
    BuildLigandCompound(panel, form->Scene().CompParamMaler);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->Create1Click();
    ASSERT_TRUE(WaitForBuild(*form));
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Error),
              (std::vector<std::string>{"Incomplete data on crystal structure"}));
    EXPECT_TRUE(form->miDisplay->menuAction()->isEnabled());
}

TEST_F(ViewCommandsTest, ClosingWritesTheOptionsBackForTheNextWindow) {
    auto form = ViewerOn(kWater, 10.0);
    form->actBlackWhite->trigger();
    form->close();
    EXPECT_TRUE(ViewerOptions().Black_White);
    TLVForm next;
    EXPECT_TRUE(next.WLVO().Black_White);
    EXPECT_TRUE(next.actBlackWhite->isChecked());
    ViewerOptions() = DefaultLatvistaOptions();
}

} // namespace
