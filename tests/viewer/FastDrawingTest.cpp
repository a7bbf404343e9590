// The fast drawing of large scenes against the mesh drawing, both read back from the
// framebuffer on a scene of a few hundred atoms with the threshold forced down: which
// pixels are covered and the mean colour of every atom's inner disc, plain and with
// perspective, fog, black and white, a selection, the cylinder colour, the sphere & wire
// model, closer with the near plane cutting the grid, labels and the axes glyph (the
// legend is always shown); far away, where spheres are points and cylinders lines. Then the
// threshold as the options dialog edits it, when it applies, and the mesh drawing with its one-time
// status text when shaders are missing. Last, that the frame kept between paints is the one
// gathered afresh after every kind of change made through the window, and that turning
// the view does not gather it again.
#include "support/GuiTest.h"
#include "viewer/ViewerForms.h"

#include "viewer/GLRenderer.h"
#include "viewer/LVOpt.h"
#include "viewer/core/Legend.h"
#include "viewer/core/SceneActions.h"
#include "viewer/interact/core/MouseTypes.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QToolButton>

using namespace ormaline;
using namespace ormaline::testing;

namespace {

class FastDrawingTest : public ScriptedDialogsTest {};

// A 6 x 6 x 6 grid of carbon, nitrogen and oxygen atoms 1.4 angstrom apart, each bonded to
// its neighbours along the three axes: 216 atoms, 540 bonds.
std::vector<TTestAtom> GridAtoms() {
    constexpr int n = 6;
    const int elements[3] = {6, 7, 8};
    std::vector<TTestAtom> atoms;
    const auto number = [](int i, int j, int k) { return (i * n + j) * n + k + 1; };
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            for (int k = 0; k < n; ++k) {
                std::string neighbours;
                const int steps[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
                for (const auto& s : steps)
                    for (int sign : {-1, 1}) {
                        const int a = i + sign * s[0], b = j + sign * s[1], c = k + sign * s[2];
                        if (a >= 0 && a < n && b >= 0 && b < n && c >= 0 && c < n)
                            neighbours +=
                                (neighbours.empty() ? "" : " ") + std::to_string(number(a, b, c));
                    }
                atoms.push_back({elements[(i + j + k) % 3], (i + 0.5) / n, (j + 0.5) / n,
                                 (k + 0.5) / n, neighbours});
            }
    return atoms;
}

struct TVariant {
    const char* name;
    std::function<void(TLatvistaOpt&)> options;
    bool selectAll;
    double zoom = 1.0; // > 1: closer, the near and far planes cut the grid
    // Share of the covered pixels allowed astray. Closer, the mesh spheres' facets lie
    // more than a pixel inside the exact silhouettes and their cuts by the near plane.
    double strayShare = 0.01;
    bool labels = false; // every atom named
};

// How far two pictures of the same scene differ.
struct TComparison {
    int covered = 0;        // pixels covered in the mesh picture
    int strayPixels = 0;    // covered in one picture and more than a pixel from the other's
    int atoms = 0;          // atoms drawn at least 3 pixels wide in the picture
    int coloursOff = 0;     // of those, atoms whose mean colours differ by more than kColour
    double worstColour = 0; // the largest difference of means (0..255 per channel)
};

// The tolerances of the comparison. The mesh drawing lights the vertices of its facets,
// the fast drawing every pixel: the mean colour of an atom's inner disc (0.7 of its
// radius) differs by some levels, most where the highlight falls. Silhouettes agree to
// within one pixel (the facets' edges) but for a share of the pixels.
constexpr double kColour = 16.0;
constexpr double kOffShare = 0.05; // of the atoms

bool Covered(const QImage& image, int x, int y, const TRgb& background) {
    return Distance(PixelAt(image, x, y), background) > 12;
}

// Whether a pixel of `image` within one pixel of (x, y) is covered.
bool CoveredNear(const QImage& image, int x, int y, const TRgb& background) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int px = x + dx, py = y + dy;
            if (px >= 0 && py >= 0 && px < image.width() && py < image.height() &&
                Covered(image, px, py, background))
                return true;
        }
    return false;
}

TComparison Compare(const QImage& mesh, const QImage& fast, TColor background, TLVForm& form) {
    TComparison result;
    const TRgb b = Rgb(background);
    for (int y = 0; y < mesh.height(); ++y)
        for (int x = 0; x < mesh.width(); ++x) {
            const bool inMesh = Covered(mesh, x, y, b), inFast = Covered(fast, x, y, b);
            result.covered += inMesh ? 1 : 0;
            if ((inMesh && !CoveredNear(fast, x, y, b)) || (inFast && !CoveredNear(mesh, x, y, b)))
                ++result.strayPixels;
        }
    const TLVScene& scene = form.Scene();
    for (const tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li) {
        const auto centre = ScreenPixel(scene, *node);
        const double radius = 0.7 * PixelRadius(form, *node);
        if (radius < 1.5 || centre[0] < radius || centre[1] < radius ||
            centre[0] > mesh.width() - 1 - radius || centre[1] > mesh.height() - 1 - radius)
            continue;
        ++result.atoms;
        std::array<double, 3> sum{};
        int pixels = 0;
        for (double dy = -radius; dy <= radius; dy += 1.0)
            for (double dx = -radius; dx <= radius; dx += 1.0) {
                if (dx * dx + dy * dy > radius * radius)
                    continue;
                const TRgb m = PixelAt(mesh, centre[0] + dx, centre[1] + dy);
                const TRgb f = PixelAt(fast, centre[0] + dx, centre[1] + dy);
                sum[0] += m.r - f.r;
                sum[1] += m.g - f.g;
                sum[2] += m.b - f.b;
                ++pixels;
            }
        const double d = std::max({std::fabs(sum[0]), std::fabs(sum[1]), std::fabs(sum[2])}) /
                         std::max(pixels, 1);
        result.worstColour = std::max(result.worstColour, d);
        result.coloursOff += d > kColour ? 1 : 0;
    }
    return result;
}

TEST_F(FastDrawingTest, TheFastPictureMatchesTheMeshPicture) {
    const TVariant variants[] = {
        {"plain", {}, false},
        {"perspective", [](TLatvistaOpt& o) { o.Perspect = true; }, false},
        {"fog, black and white",
         [](TLatvistaOpt& o) {
             o.Fog = true;
             o.Black_White = true;
         },
         false},
        {"selection, cylinder colour",
         [](TLatvistaOpt& o) {
             o.ColBonds = false;
             o.CylinderCol = 0x00A000;
         },
         true},
        {"sphere and wire", [](TLatvistaOpt& o) { o.NumModel = 2; }, false},
        {"closer, larger spheres, cut by the near plane", [](TLatvistaOpt& o) { o.PartRad = 2; },
         false, 4.0, 0.02},
        {"labels and axes", [](TLatvistaOpt& o) { o.ABC_Cell = true; }, false, 1.0, 0.01, true},
    };
    for (const TVariant& variant : variants) {
        SCOPED_TRACE(variant.name);
        // Bonds in the atoms' colours, so that every drawn pixel stands out of the background.
        auto form = ViewerOn(GridAtoms(), 8.4, [&](TLatvistaOpt& o) {
            o.FastDrawAtoms = 0;
            o.ColBonds = true;
            if (variant.options)
                variant.options(o);
        });
        TLVScene& scene = form->Scene();
        // A turned view, so that atoms, bonds and their overlaps take every direction.
        RotorCoord(scene, 0.5);
        scene.WLVO.lin = 2;
        scene.WLVO.LX = 3;
        scene.WLVO.LZ = 1;
        RotorCoord(scene, 0.4);
        if (variant.zoom != 1.0)
            SetTypedScale(scene, static_cast<float>(scene.mas / variant.zoom));
        if (variant.selectAll)
            InsAllAtom(scene, 2);
        if (variant.labels)
            form->actAtomLabels->trigger();
        const QImage mesh = Picture(*form);
        EXPECT_FALSE(form->Renderer().LastFrameFast());
        scene.WLVO.FastDrawAtoms = 1;
        const QImage fast = Picture(*form);
        ASSERT_TRUE(form->Renderer().LastFrameFast());
        const TComparison c = Compare(mesh, fast, scene.WLVO.WGBCol, *form);
        EXPECT_GT(c.covered, 20000);
        EXPECT_GT(c.atoms, variant.zoom == 1.0 ? 150 : 10);
        EXPECT_LT(c.strayPixels, variant.strayShare * c.covered)
            << c.strayPixels << " of " << c.covered;
        EXPECT_LT(c.coloursOff, kOffShare * c.atoms)
            << c.coloursOff << " of " << c.atoms << ", worst " << c.worstColour;
    }
}

// Far away, spheres under two pixels of radius are points and cylinders under a pixel and
// a half lines: each atom and bond still shows where the mesh drawing shows it, in about
// its colour.
TEST_F(FastDrawingTest, FarAwaySpheresArePointsAndCylindersLines) {
    auto form = ViewerOn(GridAtoms(), 8.4, [&](TLatvistaOpt& o) {
        o.FastDrawAtoms = 0;
        o.ColBonds = true;
    });
    TLVScene& scene = form->Scene();
    RotorCoord(scene, 0.5);
    SetTypedScale(scene, static_cast<float>(scene.mas * 6.0));
    ASSERT_LT(PixelRadius(*form, *scene.WPTAtEnd), 2.0);
    const QImage mesh = Picture(*form);
    scene.WLVO.FastDrawAtoms = 1;
    const QImage fast = Picture(*form);
    ASSERT_TRUE(form->Renderer().LastFrameFast());
    const TComparison c = Compare(mesh, fast, scene.WLVO.WGBCol, *form);
    EXPECT_GT(c.covered, 2000);
    // Points are squares and lines a pixel wide: silhouettes agree to a pixel but for a
    // few percent of the covered pixels.
    EXPECT_LT(c.strayPixels, 0.05 * c.covered) << c.strayPixels << " of " << c.covered;
    // Where both cover a pixel the colours agree on average.
    const TRgb b = Rgb(scene.WLVO.WGBCol);
    std::array<double, 3> sum{};
    int both = 0;
    for (int y = 0; y < mesh.height(); ++y)
        for (int x = 0; x < mesh.width(); ++x)
            if (Covered(mesh, x, y, b) && Covered(fast, x, y, b)) {
                const TRgb m = PixelAt(mesh, x, y), f = PixelAt(fast, x, y);
                sum[0] += m.r - f.r;
                sum[1] += m.g - f.g;
                sum[2] += m.b - f.b;
                ++both;
            }
    ASSERT_GT(both, 0);
    for (double channel : sum)
        EXPECT_LT(std::fabs(channel) / both, kColour);
}

TEST_F(FastDrawingTest, TheDialogsThresholdDecidesAndWithoutShadersMeshesAreDrawn) {
    TLatvistaOptForm dialog;
    dialog.lLVO = DefaultLatvistaOptions();
    dialog.ParamToLVO();
    EXPECT_EQ(dialog.edFastDrawAtoms->text(), "20000");
    const auto leave = [&](const QString& text) {
        dialog.edFastDrawAtoms->setText(text);
        emit dialog.edFastDrawAtoms->editingFinished();
    };
    for (const char* rejected : {"12.5", "-1", "20000000", "many"}) {
        dialogs->records.clear();
        leave(rejected);
        EXPECT_EQ(dialogs->TextsOf(DialogKind::Error),
                  (std::vector<std::string>{std::string("Error in fast drawing atoms: ") +
                                            rejected + " (range=0-1E+07)."}));
        EXPECT_EQ(dialog.edFastDrawAtoms->text(), "20000");
    }
    dialogs->records.clear();
    leave("0"); // never
    EXPECT_TRUE(dialogs->records.empty());
    EXPECT_EQ(dialog.lLVO.FastDrawAtoms, 0);
    leave("216");
    EXPECT_TRUE(dialogs->records.empty());
    EXPECT_EQ(dialog.lLVO.FastDrawAtoms, 216);
    dialog.ParamToLVO();
    EXPECT_EQ(dialog.edFastDrawAtoms->text(), "216");

    // 216 visible atoms: drawn fast from a threshold of 216 down to 1, never with 0.
    auto form = ViewerOn(GridAtoms(), 8.4, [&](TLatvistaOpt& o) { o = dialog.lLVO; });
    const struct {
        int threshold;
        bool fast;
    } cases[] = {{216, true}, {217, false}, {1, true}, {0, false}};
    for (const auto& c : cases) {
        form->Scene().WLVO.FastDrawAtoms = c.threshold;
        Picture(*form);
        EXPECT_EQ(form->Renderer().LastFrameFast(), c.fast) << c.threshold;
    }
    // No notice: the panel keeps the measurement line of the (empty) selection.
    EXPECT_EQ(form->StatusPanelText(1), "0:0:0  ");

    // Without shader programs the meshes are drawn and the status bar says so once.
    form->Scene().WLVO.FastDrawAtoms = 1;
    form->Surface()->makeCurrent();
    form->Renderer().Impostors().RefuseShaders();
    form->Surface()->doneCurrent();
    Picture(*form);
    EXPECT_FALSE(form->Renderer().LastFrameFast());
    EXPECT_EQ(form->StatusPanelText(1), TImpostorRenderer::kNoShadersNotice);
    form->OutPutToStatusBar1("");
    Picture(*form);
    EXPECT_FALSE(form->Renderer().LastFrameFast());
    EXPECT_EQ(form->StatusPanelText(1), "");
}

// The frame the fast drawing keeps against one gathered afresh from the scene as it is.
void ExpectFreshFrame(TLVForm& form, const std::string& step) {
    TLVScene& scene = form.Scene();
    ASSERT_TRUE(form.Renderer().LastFrameFast()) << step;
    ASSERT_TRUE(BeginPaint(scene));
    MarkVisibleNodes(scene);
    TLargeSceneFrame fresh;
    GatherLargeSceneFrame(scene, form.Colours(), form.ClientWidth(), form.ClientHeight(),
                          scene.WLVO.Perspect ? 0.0 : scene.CoeffDX, fresh);
    EndPaint(scene);
    const TLargeSceneFrame& kept = form.Renderer().Impostors().LastFrame();
    EXPECT_TRUE(kept.spheres.Items() == fresh.spheres.Items()) << step;
    EXPECT_TRUE(kept.points.Items() == fresh.points.Items()) << step;
    EXPECT_TRUE(kept.cylinders.Items() == fresh.cylinders.Items()) << step;
    EXPECT_TRUE(kept.thinCylinders.Items() == fresh.thinCylinders.Items()) << step;
    EXPECT_TRUE(kept.lines == fresh.lines) << step;
    EXPECT_TRUE(kept.wirePoints == fresh.wirePoints) << step;
    EXPECT_TRUE(kept.labels == fresh.labels) << step;
}

TEST_F(FastDrawingTest, TheKeptFrameIsTheFreshOneAfterEveryChangeAndTurnsWithoutAGather) {
    // The points and thin cylinders of the far view are checked to be there.
    std::size_t farPoints = 0, farThin = 0;
    auto form = ViewerOn(GridAtoms(), 8.4, [](TLatvistaOpt& o) { o.FastDrawAtoms = 1; });
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    TLVScene& scene = form->Scene();
    const auto pixelOf = [&](int number) {
        const auto p = ScreenPixel(scene, *NodeOf(*form, number));
        return QPointF(std::lround(p[0]), std::lround(p[1]));
    };
    const auto click = [&](QPointF at) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, form->Surface()->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(form->Surface(), &event);
        }
    };
    const auto zoom = [&](Qt::Key key) {
        for (int i = 0; i < 20; ++i)
            QTest::keyClick(form->Surface(), key);
    };
    // A click selects the atom drawn at the pixel (whichever lies in front there).
    const struct {
        const char* name;
        std::function<void()> change;
    } steps[] = {
        {"select an atom", [&] { click(pixelOf(216)); }},
        {"select another", [&] { click(pixelOf(210)); }},
        {"delete the selection", [&] { QTest::keyClick(form->Surface(), Qt::Key_Delete); }},
        {"undo", [&] { form->actUndo->trigger(); }},
        {"show all", [&] { form->actRestoreAll->trigger(); }},
        {"label the atoms", [&] { form->actAtomLabels->trigger(); }},
        {"move the labels",
         [&] {
             form->ChoiceMouseModeClick(form->tbLVTranslate);
             const QPointF at = pixelOf(216);
             const int x = static_cast<int>(at.x()), y = static_cast<int>(at.y());
             form->FormMouseDown(TMouseButton::Left, ssShift | ssLeft, x, y);
             form->FormMouseMove(ssShift | ssLeft, x + 30, y + 12);
             form->FormMouseUp(TMouseButton::Left, ssShift, x + 30, y + 12);
         }},
        {"label the bonds", [&] { form->actBondLabels->trigger(); }},
        {"coloured bonds off", [&] { form->actColouredBonds->trigger(); }},
        {"black and white", [&] { form->actBlackWhite->trigger(); }},
        {"larger spheres", [&] { form->actRadPlus->trigger(); }},
        {"undo again", [&] { form->actUndo->trigger(); }},
        // Zoomed by the keys until spheres are points and cylinders lines, and back.
        {"zoom far out", [&] { zoom(Qt::Key_Home); }},
        {"zoom back in", [&] { zoom(Qt::Key_End); }},
    };
    Picture(*form);
    ExpectFreshFrame(*form, "built");
    for (const auto& step : steps) {
        step.change();
        Picture(*form);
        ExpectFreshFrame(*form, step.name);
        if (std::string(step.name) == "zoom far out") {
            farPoints = form->Renderer().Impostors().LastFrame().points.Items().size();
            farThin = form->Renderer().Impostors().LastFrame().thinCylinders.Items().size();
        }
        // Turned by the arrow keys and zoomed out a step: the same spheres and cylinders,
        // their lines and labels placed anew.
        const std::size_t gathers = form->Renderer().Impostors().FullGathers();
        QTest::keyClick(form->Surface(), Qt::Key_Left);
        QTest::keyClick(form->Surface(), Qt::Key_Up);
        QTest::keyClick(form->Surface(), Qt::Key_Home);
        Picture(*form);
        EXPECT_EQ(form->Renderer().Impostors().FullGathers(), gathers) << step.name;
        ExpectFreshFrame(*form, std::string(step.name) + ", turned");
    }
    EXPECT_GT(farPoints, 0U);
    EXPECT_GT(farThin, 0U);
}

} // namespace
