// The mouse and the keys through the real viewer window: events sent to its drawing
// surface, the picture read back from its framebuffer. One scenario per road: turning
// the model, picking and the hover highlight, select drags and view keys, the double
// clicks of the tool buttons, the mode cursors, legend, axes and cell.
#include "support/GuiTest.h"
#include "viewer/ViewerForms.h"

#include "viewer/Element.h"
#include "viewer/LVCursors.h"
#include "viewer/RotateUnit.h"
#include "viewer/core/Legend.h"
#include "viewer/interact/core/AtomDescription.h"

#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>

#include <numbers>

using namespace ormaline;
using namespace ormaline::testing;

namespace {

class MouseWindowTest : public ScriptedDialogsTest {
protected:
    std::unique_ptr<TLVForm> Open(const std::function<void(TLatvistaOpt&)>& setUp = {}) {
        auto form = ViewerOn(kWater, 10.0, setUp);
        // Tool-button mouse-ups a second apart: no double clicks unless a test says so.
        form->TickCount = [tick = std::uint32_t{0}]() mutable { return tick += 1000; };
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        Picture(*form);
        return form;
    }
    static void Send(TLVForm& form, QEvent::Type type, Qt::MouseButton button,
                     Qt::MouseButtons held, QPoint at, Qt::KeyboardModifiers modifiers = {}) {
        QMouseEvent event(type, QPointF(at), form.Surface()->mapToGlobal(QPointF(at)), button, held,
                          modifiers);
        QApplication::sendEvent(form.Surface(), &event);
    }
    // A left-button drag along `path` (press at its first point, release at its last).
    static void Drag(TLVForm& form, const std::vector<QPoint>& path,
                     Qt::MouseButton button = Qt::LeftButton) {
        Send(form, QEvent::MouseButtonPress, button, button, path.front());
        for (std::size_t k = 1; k < path.size(); ++k)
            Send(form, QEvent::MouseMove, Qt::NoButton, button, path[k]);
        Send(form, QEvent::MouseButtonRelease, button, Qt::NoButton, path.back());
    }
    static QPoint PixelOfAtom(TLVForm& form, int number) {
        const auto p = ScreenPixel(form.Scene(), *NodeOf(form, number));
        return {static_cast<int>(std::lround(p[0])), static_cast<int>(std::lround(p[1]))};
    }
    static int Selected(const TLVForm& form) { return form.Scene().CountInsAt; }

    // Water: O1 bonded to H2 and H3.
    const std::vector<TTestAtom> kWater = {
        {8, 0.5, 0.5, 0.5, "2 3"}, {1, 0.58, 0.56, 0.5, "1"}, {1, 0.42, 0.56, 0.5, "1"}};
};

// Rotation in the plane of view axes lx, lz (1-based) by `angle`, applied to m.
TMatrix3 Turned(const TMatrix3& m, int lx, int lz, double angle) {
    TMatrix3 r = m;
    const auto x = static_cast<std::size_t>(lx - 1), z = static_cast<std::size_t>(lz - 1);
    for (std::size_t column = 0; column < 3; ++column) {
        r[x][column] = std::cos(angle) * m[x][column] - std::sin(angle) * m[z][column];
        r[z][column] = std::sin(angle) * m[x][column] + std::cos(angle) * m[z][column];
    }
    return r;
}

TEST_F(MouseWindowTest, ARotateDragTurnsTheModelByTwiceTheMovesOverTheHalfWindow) {
    auto form = Open();
    QTest::mouseClick(form->tbLVRotate, Qt::LeftButton);
    EXPECT_EQ(form->Scene().MouseMode, 2);
    const TLVScene& scene = form->Scene();
    const TLatvistaOpt& o = scene.WLVO;
    TMatrix3 expected = scene.WMatrRotor;
    // Up 10 pixels turns about screen x, right 30 pixels about screen y.
    expected = Turned(expected, o.L3, o.L2, 2.0 * 10 / scene.oldj0);
    expected = Turned(expected, o.L3, o.L1, 2.0 * 30 / scene.oldi0);
    Drag(*form, {{400, 300}, {430, 290}});
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            EXPECT_NEAR(scene.WMatrRotor[i][j], expected[i][j], 1e-12);
    // The z-rotate mode turns about the viewing axis by -2 dx / oldj0.
    QTest::mouseClick(form->tbLVZRotate, Qt::LeftButton);
    expected = Turned(expected, o.L1, o.L2, -2.0 * 30 / scene.oldj0);
    Drag(*form, {{400, 300}, {430, 300}});
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            EXPECT_NEAR(scene.WMatrRotor[i][j], expected[i][j], 1e-12);
    // The picture follows: the oxygen is drawn where it is projected now.
    const QImage picture = Picture(*form);
    const QPoint oxygen = PixelOfAtom(*form, 1);
    EXPECT_GT(Distance(PixelAt(picture, oxygen.x(), oxygen.y() + 3), Rgb(0xFFFFFF)), 30);
}

TEST_F(MouseWindowTest, PickingDescribesTheAtomAndTheTickCirclesIt) {
    auto form = Open();
    const QPoint oxygen = PixelOfAtom(*form, 1);
    // A click in select mode describes the atom and selects it.
    Drag(*form, {oxygen});
    EXPECT_EQ(form->StatusPanelText(0), " O1 ( 0.5000 0.5000 0.5000)   CN(2:0:0:0:0:0)  CP: H2");
    ASSERT_EQ(Selected(*form), 1);
    EXPECT_EQ(form->Scene().WInsAt->PTA, NodeOf(*form, 1));
    // The mouse resting on a hydrogen: the tick describes it and circles it.
    form->OutPutToStatusBar0("");
    Picture(*form);
    const QPoint hydrogen = PixelOfAtom(*form, 2);
    Send(*form, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, hydrogen);
    form->TimerTimer();
    EXPECT_EQ(form->StatusPanelText(0).substr(0, 4), " H1 ");
    const TLVScene& scene = form->Scene();
    ASSERT_GT(scene.rx_, 3);
    QApplication::processEvents();
    const QImage circled = form->Surface()->KeptPicture();
    // On the circle just outside the sphere the white background turns black.
    const TRgb ring = PixelAt(circled, scene.i_, scene.j_ - scene.rx_ - 1);
    EXPECT_LT(std::max({ring.r, ring.g, ring.b}), 40) << ring.r;
    // The next tick at the same place removes it and draws it again: the same picture.
    const int i = scene.i_, j = scene.j_, r = scene.rx_;
    form->TimerTimer();
    QApplication::processEvents();
    EXPECT_EQ(form->Surface()->KeptPicture(), circled);
    // The next full paint has no circle.
    const QImage plain = Picture(*form);
    EXPECT_LT(Distance(PixelAt(plain, i, j - r - 1), Rgb(0xFFFFFF)), 5);
    EXPECT_EQ(scene.rx_, -1);
}

TEST_F(MouseWindowTest, SelectDragsAndViewKeys) {
    auto form = Open();
    const QPoint o = PixelOfAtom(*form, 1);
    const QPoint empty(o.x() + 150, o.y());
    // 20 pixels from empty space: a click, every atom selected.
    Drag(*form, {empty, empty + QPoint(10, 0), empty + QPoint(20, 0)});
    EXPECT_EQ(Selected(*form), 3);
    // 20 pixels with the right button: a click that deselects every colour-1 atom.
    Drag(*form, {empty, empty + QPoint(20, 0)}, Qt::RightButton);
    EXPECT_EQ(Selected(*form), 0);
    // 21 pixels: a rectangle, here round the oxygen only.
    const QPoint corner = o - QPoint(12, 12);
    Drag(*form, {corner, corner + QPoint(10, 10), corner + QPoint(21, 24)});
    ASSERT_EQ(Selected(*form), 1);
    EXPECT_EQ(form->Scene().WInsAt->PTA, NodeOf(*form, 1));
    // A band drawn twice is gone: of two rectangles drawn in turn only the second shows.
    const QImage before = Picture(*form);
    const QPoint start = empty + QPoint(0, -60);
    Send(*form, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, start);
    Send(*form, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, start + QPoint(25, 25));
    Send(*form, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, start + QPoint(40, 40));
    QApplication::processEvents();
    const QImage banded = form->Surface()->KeptPicture();
    const QPoint firstEdge = start + QPoint(24, 10), secondEdge = start + QPoint(39, 10);
    EXPECT_EQ(banded.pixel(firstEdge), before.pixel(firstEdge));
    EXPECT_LT(Distance(PixelAt(banded, secondEdge.x(), secondEdge.y()), {0, 0, 0}), 5);
    EXPECT_LT(Distance(PixelAt(before, secondEdge.x(), secondEdge.y()), Rgb(0xFFFFFF)), 5);
    Send(*form, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, start + QPoint(40, 40));
    EXPECT_EQ(Selected(*form), 1); // the band held no atom
    EXPECT_EQ(Picture(*form), before);
    // End and Home scale by a tenth; End stops above 0.5, Home has no bound.
    TLVScene& scene = form->Scene();
    scene.mas = 0.5;
    QTest::keyClick(form->Surface(), Qt::Key_End);
    EXPECT_DOUBLE_EQ(scene.mas, 0.5);
    scene.mas = 2.0;
    QTest::keyClick(form->Surface(), Qt::Key_End);
    EXPECT_DOUBLE_EQ(scene.mas, 1.8);
    scene.mas = 1e9;
    QTest::keyClick(form->Surface(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(scene.mas, 1.02e9);
    // Space fits the window again.
    QTest::keyClick(form->Surface(), Qt::Key_Space);
    EXPECT_DOUBLE_EQ(scene.mas, scene.OldMas);
}

TEST_F(MouseWindowTest, ToolButtonsOpenTheirDialogsOnADoubleClick) {
    auto form = Open();
    std::uint32_t now = 1000;
    form->TickCount = [&now] { return now; };
    int rotateDialogs = 0;
    const auto release = [&](QToolButton* button, std::uint32_t tick) {
        now = tick;
        QTimer::singleShot(50, [&rotateDialogs] {
            if (auto* dialog = qobject_cast<TRotateForm*>(QApplication::activeModalWidget())) {
                ++rotateDialogs;
                dialog->reject();
            }
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::qWait(80);
    };
    // 300 ms apart: the rotation angle dialog.
    release(form->tbLVRotate, 1000);
    release(form->tbLVRotate, 1300);
    EXPECT_EQ(rotateDialogs, 1);
    // 400 ms apart: none, and a third mouse-up 100 ms later starts a new pair.
    release(form->tbLVZRotate, 2000);
    release(form->tbLVZRotate, 2400);
    release(form->tbLVZRotate, 2500);
    EXPECT_EQ(rotateDialogs, 1);
    // The scale button asks for the scale number; the pair is shared across buttons.
    dialogs->PushCancel();
    release(form->tbLVScale, 2580);
    EXPECT_EQ(dialogs->records.size(), 1u);
    EXPECT_EQ(dialogs->records.front().caption, "Scale number");
    // The edit button opens the element table on the window's radii.
    QString title;
    now = 5000;
    QTest::mouseClick(form->tbLVEdit, Qt::LeftButton);
    QTest::qWait(20);
    now = 5100;
    QTimer::singleShot(50, [&title] {
        if (auto* dialog = qobject_cast<TElementForm*>(QApplication::activeModalWidget())) {
            title = dialog->windowTitle();
            dialog->reject();
        }
    });
    QTest::mouseClick(form->tbLVEdit, Qt::LeftButton);
    QTest::qWait(80);
    EXPECT_EQ(title, "Change atomic radii");
}

TEST_F(MouseWindowTest, EveryModeShowsItsOwnCursor) {
    auto form = Open();
    const std::vector<QToolButton*> buttons = {
        form->tbLVEdit,      form->tbLVSelect,  form->tbLVRotate,   form->tbLVScale,
        form->tbLVTranslate, form->tbLVZRotate, form->tbLVMagicWand};
    std::vector<QImage> seen;
    for (std::size_t k = 0; k < buttons.size(); ++k) {
        QTest::mouseClick(buttons[k], Qt::LeftButton);
        EXPECT_EQ(form->Scene().MouseMode, static_cast<int>(k));
        EXPECT_TRUE(buttons[k]->isChecked());
        const QImage image = form->Surface()->cursor().pixmap().toImage();
        ASSERT_FALSE(image.isNull()) << CursorResource(static_cast<int>(k) + 1);
        EXPECT_EQ(image, ScreenCursor(static_cast<int>(k) + 1).pixmap().toImage());
        for (const QImage& other : seen)
            EXPECT_NE(image, other);
        seen.push_back(image);
    }
    // A cut shape chooses select mode.
    form->actCutCircle->trigger();
    EXPECT_EQ(form->Scene().MouseMode, 1);
    EXPECT_EQ(form->WLVO().CutMode, 2);
    EXPECT_TRUE(form->actCutCircle->isChecked());
    EXPECT_FALSE(form->actCutRectangle->isChecked());
}

TEST_F(MouseWindowTest, LegendAxesAndCellAreDrawnAndHidingAnElementDropsItsRow) {
    auto form = Open([](TLatvistaOpt& o) { o.ABC_Cell = true; });
    TLVScene& scene = form->Scene();
    // Turn the view so that no cell edge is seen end on.
    RotateByDialog(scene, 30.0f, 0);
    RotateByDialog(scene, 30.0f, 1);
    form->Repaint();
    QImage picture = Picture(*form);
    // The legend: H above O, in a black frame with white inside.
    const TRect frame = scene.LegRect;
    ASSERT_GT(frame.Bottom, frame.Top);
    const int middle = (frame.Top + frame.Bottom) / 2;
    const auto dark = [&](int x, int y) {
        const TRgb c = PixelAt(picture, x, y);
        return std::max({c.r, c.g, c.b}) < 60;
    };
    EXPECT_TRUE(dark(frame.Left, middle) || dark(frame.Left - 1, middle));
    EXPECT_TRUE(dark(frame.Right, middle) || dark(frame.Right - 1, middle));
    EXPECT_TRUE(dark((frame.Left + frame.Right) / 2, frame.Top) ||
                dark((frame.Left + frame.Right) / 2, frame.Top - 1));
    EXPECT_LT(Distance(PixelAt(picture, frame.Left + 3, frame.Bottom - 3), Rgb(0xFFFFFF)), 5);
    TLegendPicture legend =
        SeeLegend(scene, form->Colours(), scene.LegendShown, form->TextMetrics());
    ASSERT_EQ(legend.rows.size(), 2u);
    EXPECT_EQ(legend.rows[0].text, " - H");
    const TRgb hydrogen = PixelAt(picture, legend.rows[0].x - 2, legend.rows[0].y + 2);
    const TRgb oxygen = PixelAt(picture, legend.rows[1].x - 2, legend.rows[1].y + 2);
    EXPECT_LT(std::fabs(hydrogen.r - hydrogen.b), 40);
    EXPECT_GT(oxygen.r, oxygen.g + 80);
    // The axes: a red, b green, c blue, each pure along its line.
    const TAxesPicture axes = SeeABCCell(scene, form->Colours());
    const TRgb pure[3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    for (std::size_t k = 0; k < 3; ++k) {
        const double length = std::hypot(axes.axes[k].x - axes.x0, axes.axes[k].y - axes.y0);
        ASSERT_GT(length, 40) << k;
        // 30 pixels out from the origin.
        const double x = axes.x0 + 30 / length * (axes.axes[k].x - axes.x0);
        const double y = axes.y0 + 30 / length * (axes.axes[k].y - axes.y0);
        double best = 1e9;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                best = std::min(best, Distance(PixelAt(picture, x + dx, y + dy), pure[k]));
        EXPECT_LT(best, 10) << "abc"[k];
    }
    // The cell: its edges appear with "Cell" (fitted so that the cell is in the window).
    form->actCell->trigger();
    form->actFitSpace->trigger();
    const auto edgeDrawn = [&](const QImage& image) {
        const auto p = ScreenPixel(scene, *scene.WVecCell[0]);
        const auto q = ScreenPixel(scene, *scene.WVecCell[1]);
        const double x = (p[0] + q[0]) / 2, y = (p[1] + q[1]) / 2;
        int drawn = 0;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                drawn += Distance(PixelAt(image, x + dx, y + dy), Rgb(0xFFFFFF)) > 60;
        return drawn > 0;
    };
    EXPECT_TRUE(edgeDrawn(Picture(*form)));
    form->actCell->trigger();
    EXPECT_FALSE(edgeDrawn(Picture(*form)));
    // Both hydrogens taken out in edit mode: the H row leaves the legend, which shrinks.
    QTest::mouseClick(form->tbLVEdit, Qt::LeftButton);
    form->Repaint();
    Picture(*form);
    for (int number : {2, 3}) {
        Drag(*form, {PixelOfAtom(*form, number)}, Qt::RightButton);
        Picture(*form);
    }
    EXPECT_EQ(NodeOf(*form, 2)->c & kNodeVisible, 0);
    EXPECT_EQ(NodeOf(*form, 3)->c & kNodeVisible, 0);
    picture = Picture(*form);
    EXPECT_LT(scene.LegRect.Bottom - scene.LegRect.Top, frame.Bottom - frame.Top);
    legend = SeeLegend(scene, form->Colours(), scene.LegendShown, form->TextMetrics());
    ASSERT_EQ(legend.rows.size(), 1u);
    EXPECT_EQ(legend.rows[0].text, " - O");
    EXPECT_EQ(scene.ArrLeg.size(), 2u);
}

TEST_F(MouseWindowTest, EachLegendModeDrawsItsRows) {
    struct Case {
        int mode;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {1, {"H", "O"}}, {2, {"H(1)", "H(2)", "O(1)"}}, {3, {"H", "O"}}, {4, {"None"}}};
    int lastHeight = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        auto form = Open([&c](TLatvistaOpt& o) { o.LegMode = c.mode; });
        std::vector<std::string> texts;
        for (const TRecLeg& row : form->Scene().ArrLeg)
            texts.push_back(row.st);
        EXPECT_EQ(texts, c.texts);
        const TRect& rect = form->Scene().LegRect;
        const int height = rect.Bottom - rect.Top;
        if (c.mode == 2) {
            EXPECT_GT(height, lastHeight);
        } else if (c.mode == 4) {
            EXPECT_LT(height, lastHeight);
        }
        lastHeight = height;
        form->close();
    }
}

} // namespace
