// The OpenGL renderer's picture read back from the framebuffer: point size of isolated
// wire-model atoms, cylinder colour, selection colours, black and white, line patterns,
// fog and the legend-set rule.
#include "support/GuiTest.h"
#include "viewer/ViewerForms.h"

#include "viewer/GLRenderer.h"
#include "viewer/core/SceneActions.h"

#include <GL/gl.h>

#include <numbers>

using namespace ormaline;
using namespace ormaline::testing;

namespace {

class RendererTest : public ::testing::Test {
protected:
    void SetUp() override { dialogs = &FreshDialogs(); }
    void TearDown() override {
        EXPECT_TRUE(dialogs->records.empty()) << dialogs->records.front().text;
    }
    ScriptedUserDialogs* dialogs = nullptr;
};

const std::vector<TTestAtom> kTwoOxygens = {{8, 0.35, 0.5, 0.5, "2"}, {8, 0.65, 0.5, 0.5, "1"}};

TEST_F(RendererTest, AWireModelIsolatedAtomIsAPointOfTheFirstLineWidth) {
    for (int size : {5, 3, 0}) {
        SCOPED_TRACE(size);
        auto form = ViewerOn({{8, 0.5, 0.5, 0.5, ""}}, 10.0, [size](TLatvistaOpt& o) {
            o.NumModel = 0;
            o.ArrTickBonds[0] = static_cast<std::uint8_t>(size);
        });
        const QImage picture = Picture(*form);
        picture.save(QString("/tmp/ormaline-wire-%1.png").arg(size));
        const tTopAt& node = *form->Scene().WPTAtEnd;
        const auto centre = ScreenPixel(form->Scene(), node);
        const int side = size == 0 ? 1 : size;
        EXPECT_EQ(ForegroundPixels(picture, centre[0], centre[1], 10, 0xFFFFFF), side * side);
        if (size == 5) {
            // The point is lit like any atom: red stays the strongest channel of oxygen.
            const TRgb seen = PixelAt(picture, std::floor(centre[0]), std::floor(centre[1]));
            EXPECT_GT(seen.r, seen.g + 60);
        }
    }
}

TEST_F(RendererTest, AWireModelAtomWithABondShowsNoPoint) {
    auto form = ViewerOn(kTwoOxygens, 10.0, [](TLatvistaOpt& o) {
        o.NumModel = 0;
        o.ArrTickBonds[0] = 5;
    });
    const QImage picture = Picture(*form);
    // The bond is drawn from the atom painted first; that atom shows no point, its
    // partner (from which no bond was started) does.
    const TLVScene& scene = form->Scene();
    tTopAt* first = nullptr;
    for (tTopAt* node : scene.ArrAt)
        if (node->pSAt != nullptr && node->pSAt->A.n == 8) {
            first = node;
            break;
        }
    ASSERT_NE(first, nullptr);
    tTopAt* second = first == NodeOf(*form, 1) ? NodeOf(*form, 2) : NodeOf(*form, 1);
    const auto a = ScreenPixel(scene, *first);
    const auto b = ScreenPixel(scene, *second);
    // Just beyond an atom's centre, away from the bond, the line has ended; only a point
    // covers the pixels there.
    const auto beyond = [&](const std::array<double, 2>& at, const std::array<double, 2>& from) {
        const double length = std::hypot(at[0] - from[0], at[1] - from[1]);
        const double ux = (at[0] - from[0]) / length, uy = (at[1] - from[1]) / length;
        int count = 0;
        for (int t = -2; t <= 2; ++t)
            if (Distance(PixelAt(picture, at[0] + 2.0 * ux - t * uy, at[1] + 2.0 * uy + t * ux),
                         Rgb(0xFFFFFF)) > 20)
                ++count;
        return count;
    };
    EXPECT_LE(beyond(a, b), 1);
    EXPECT_GE(beyond(b, a), 4);
    EXPECT_EQ(ForegroundPixels(picture, b[0], b[1], 2, 0xFFFFFF), 25);
}

TEST_F(RendererTest, WithoutColouredBondsCylindersTakeTheCylinderColour) {
    auto form = ViewerOn(kTwoOxygens, 10.0, [](TLatvistaOpt& o) {
        o.CylinderCol = 0x00FF00;
        o.ColBonds = false;
    });
    const TLVScene& scene = form->Scene();
    const auto a = ScreenPixel(scene, *NodeOf(*form, 1));
    const auto b = ScreenPixel(scene, *NodeOf(*form, 2));
    const double width = scene.WLVO.dBond / scene.WLVO.PartRad * scene.CoeffDX;
    ASSERT_GT(width, 3.0);
    // Beside the axis, away from the highlight.
    const double length = std::hypot(b[0] - a[0], b[1] - a[1]);
    const double nx = -(b[1] - a[1]) / length * 0.4 * width,
                 ny = (b[0] - a[0]) / length * 0.4 * width;
    const auto at = [&](double t) {
        return std::array<double, 2>{a[0] + t * (b[0] - a[0]) + nx, a[1] + t * (b[1] - a[1]) + ny};
    };
    QImage picture = Picture(*form);
    for (double t : {0.42, 0.5, 0.58}) {
        const TRgb seen = PixelAt(picture, at(t)[0], at(t)[1]);
        EXPECT_GT(seen.g, seen.r + 80) << t;
        EXPECT_GT(seen.g, seen.b + 80) << t;
    }
    // Coloured bonds: each half takes its atom's colour (oxygen red).
    form->actColouredBonds->trigger();
    picture = Picture(*form);
    for (double t : {0.42, 0.58}) {
        const TRgb seen = PixelAt(picture, at(t)[0], at(t)[1]);
        EXPECT_GT(seen.r, seen.g + 80) << t;
    }
}

TEST_F(RendererTest, SelectedAtomsTakeTheSelectionColoursWithTheirGlow) {
    auto form = ViewerOn(kTwoOxygens, 10.0);
    TLVScene& scene = form->Scene();
    scene.PTMAt = NodeOf(*form, 1);
    SpecAt(scene, 1);
    scene.PTMAt = NodeOf(*form, 2);
    SpecAt(scene, 2);
    const QImage picture = Picture(*form);
    for (int number : {1, 2}) {
        SCOPED_TRACE(number);
        const tTopAt& node = *NodeOf(*form, number);
        const TColor colour = form->Colours().clGLInsAt[static_cast<std::size_t>(number - 1)];
        const TColorFloats c = ColorToFloats(colour);
        const std::array<double, 3> glow{(0.3 + c.r) / 3, (0.3 + c.g) / 3, (0.3 + c.b) / 3};
        const auto centre = ScreenPixel(scene, node);
        const double r = PixelRadius(*form, node);
        const TRgb expected =
            LitSphere(colour, 0.0, -0.55, node.rk / scene.mas, EyeCentre(*form, node),
                      scene.WLVO.Light_Position, scene.WLVO.Luminosity, glow);
        const TRgb seen = PixelAt(picture, centre[0], centre[1] - 0.55 * r);
        EXPECT_LT(Distance(seen, expected), 28.0)
            << seen.r << "," << seen.g << "," << seen.b << " vs " << expected.r << "," << expected.g
            << "," << expected.b;
    }
}

TEST_F(RendererTest, BlackAndWhiteDrawsAtomsSilver) {
    auto form = ViewerOn(kTwoOxygens, 10.0);
    form->actBlackWhite->trigger();
    const QImage picture = Picture(*form);
    const TLVScene& scene = form->Scene();
    const tTopAt& node = *NodeOf(*form, 1);
    const auto centre = ScreenPixel(scene, node);
    const double r = PixelRadius(*form, node);
    const TRgb expected =
        LitSphere(0xC0C0C0, 0.0, -0.55, node.rk / scene.mas, EyeCentre(*form, node),
                  scene.WLVO.Light_Position, scene.WLVO.Luminosity);
    const TRgb seen = PixelAt(picture, centre[0], centre[1] - 0.55 * r);
    EXPECT_LT(Distance(seen, expected), 28.0);
    EXPECT_LT(std::fabs(seen.r - seen.b), 4.0);
}

TEST_F(RendererTest, AVanDerWaalsBondBetweenCylinderAtomsIsADashedLine) {
    auto form = std::make_unique<TLVForm>();
    {
        // The stored contact of kind 3 (van der Waals) is set on the compound by hand.
        TLigandPanelTexts panel;
        panel.Cell = {"10", "10", "10", "90", "90", "90"};
        panel.AtomRows = {{"1", "8", "1", "1", "0.3", "0.5", "0.5"},
                          {"2", "8", "2", "1", "0.7", "0.5", "0.5"}};
        panel.BondCells = {"2", "1"};
        BuildLigandCompound(panel, form->Scene().CompParamMaler);
        for (tSteckAt* atom = form->Scene().CompParamMaler.pAt0; atom != nullptr; atom = atom->li)
            atom->PMAd->m = bkVanDerWaals;
    }
    DefaultLatvistaOpt(form->WLVO());
    form->WLVO().NumModel = 1;
    form->WLVO().NumSeeBond = cbValence | cbVanDerWaals;
    form->Scene().ShowMoleculeOnly = true;
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->Create1Click();
    ASSERT_TRUE(WaitForBuild(*form));
    const QImage picture = Picture(*form);
    picture.save("/tmp/ormaline-vdw.png");
    const auto a = ScreenPixel(form->Scene(), *NodeOf(*form, 1));
    const auto b = ScreenPixel(form->Scene(), *NodeOf(*form, 2));
    const double ra = PixelRadius(*form, *NodeOf(*form, 1));
    const double length = std::hypot(b[0] - a[0], b[1] - a[1]);
    int transitions = 0;
    bool previous = false;
    for (double d = ra + 2; d < length - ra - 2; d += 1.0) {
        const double t = d / length;
        const bool on = Distance(PixelAt(picture, std::floor(a[0] + t * (b[0] - a[0])),
                                         std::floor(a[1] + t * (b[1] - a[1]))),
                                 Rgb(0xFFFFFF)) > 40;
        if (on != previous)
            ++transitions;
        previous = on;
    }
    EXPECT_GE(transitions, 6);
}

TEST_F(RendererTest, FogRunsFromZeroPosMinusOneToZeroPosPlusFive) {
    auto form = ViewerOn(kTwoOxygens, 10.0);
    form->actFog->trigger();
    form->Surface()->makeCurrent();
    GLfloat start = 0, end = 0;
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    const bool fogOn = glIsEnabled(GL_FOG) == GL_TRUE;
    form->Surface()->doneCurrent();
    EXPECT_TRUE(fogOn);
    EXPECT_FLOAT_EQ(start, static_cast<float>(form->WLVO().ZeroPos - 1));
    EXPECT_FLOAT_EQ(end, static_cast<float>(form->WLVO().ZeroPos + 5));
}

TEST_F(RendererTest, NodesWhoseLegendRowsAreAbove127PaintOnlyTheBackground) {
    auto form = ViewerOn(kTwoOxygens, 10.0);
    for (tTopAt* node = form->Scene().WPTAll; node != nullptr; node = node->li)
        node->LegInd = 200;
    const QImage picture = Picture(*form);
    const auto a = ScreenPixel(form->Scene(), *NodeOf(*form, 1));
    EXPECT_EQ(ForegroundPixels(picture, a[0], a[1], 10, 0xFFFFFF), 0);
}

// Which pixels are not the (white) background.
bool Covered(const QImage& image, int x, int y) {
    return Distance(PixelAt(image, x, y), TRgb{255, 255, 255}) > 8;
}

TEST_F(RendererTest, EverySizeIsTessellatedOnceAndBothModesDrawTheSamePicture) {
    // Bonds in the atoms' colour, so that every drawn pixel stands out of the background.
    auto form = ViewerOn(kTwoOxygens, 10.0, [](TLatvistaOpt& o) { o.ColBonds = true; });
    const QImage cached = Picture(*form);
    const std::size_t spheres = form->Renderer().CachedSphereCount();
    EXPECT_GE(spheres, 1u);
    Picture(*form);
    EXPECT_EQ(form->Renderer().CachedSphereCount(), spheres);
    form->Renderer().Tessellation = TTessellation::GluEveryObject;
    const QImage everyObject = Picture(*form);
    // The same pixels are covered; the atoms, which face the viewer in both modes, have
    // the same colours. (The cylinders' facets are laid around the bond in model space by
    // the cached mode, so their shading may differ by a facet's turn.)
    int coverageDiffers = 0;
    for (int y = 0; y < cached.height(); ++y)
        for (int x = 0; x < cached.width(); ++x)
            if (Covered(cached, x, y) != Covered(everyObject, x, y))
                ++coverageDiffers;
    EXPECT_LT(coverageDiffers, cached.width() * cached.height() / 1000);
    const TLVScene& scene = form->Scene();
    for (int number : {1, 2}) {
        const tTopAt& node = *NodeOf(*form, number);
        const auto centre = ScreenPixel(scene, node);
        const double radius = 0.8 * node.rk * scene.CoeffDX;
        int inside = 0, differing = 0;
        for (double dy = -radius; dy <= radius; dy += 1.0)
            for (double dx = -radius; dx <= radius; dx += 1.0) {
                if (dx * dx + dy * dy > radius * radius)
                    continue;
                ++inside;
                if (Distance(PixelAt(cached, centre[0] + dx, centre[1] + dy),
                             PixelAt(everyObject, centre[0] + dx, centre[1] + dy)) > 8)
                    ++differing;
            }
        EXPECT_GT(inside, 50) << "atom " << number;
        EXPECT_LT(differing, inside / 100) << "atom " << number;
    }
}

TEST_F(RendererTest, EveryAtomOfALargeSceneIsDrawnWhateverTheNumberOfDraws) {
    // 8,464 isolated sulfur atoms 3 angstrom apart in the plane that faces the viewer:
    // more spheres of one colour and size than one draw takes.
    std::vector<TTestAtom> atoms;
    constexpr int kSide = 92;
    for (int i = 0; i < kSide; ++i)
        for (int j = 0; j < kSide; ++j)
            atoms.push_back({16, (i + 0.5) / kSide, 0.5, (j + 0.5) / kSide, ""});
    auto form = ViewerOn(atoms, 3.0 * kSide, [](TLatvistaOpt& o) { o.PartRad = 1; });
    const QImage picture = Picture(*form);
    const TLVScene& scene = form->Scene();
    int atomsSeen = 0, missing = 0;
    for (tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li) {
        if (node->pSAt == nullptr || (node->c & kNodeVisible) == 0)
            continue;
        ++atomsSeen;
        // The spheres are a few pixels wide: one of the pixels around the centre.
        const auto at = ScreenPixel(scene, *node);
        if (ForegroundPixels(picture, at[0], at[1], 1, scene.WLVO.WGBCol) == 0)
            ++missing;
    }
    EXPECT_EQ(atomsSeen, kSide * kSide);
    EXPECT_EQ(missing, 0);
}

TEST_F(RendererTest, TurningTheViewReplaysThePlacedGeometryAndAChangedSceneRebuildsIt) {
    auto form = ViewerOn(kTwoOxygens, 10.0);
    Picture(*form);
    const std::size_t builds = form->Renderer().GeometryBuilds();
    EXPECT_GE(builds, 1u);
    // A quarter turn about the viewing axis keeps every object and moves the picture:
    // the atoms stand where the bond's middle was, left and right of it.
    const TLVScene& scene = form->Scene();
    const auto before = ScreenPixel(scene, *NodeOf(*form, 1));
    ChooseRotationAxis(form->Scene().WLVO, 3);
    RotorCoord(form->Scene(), std::numbers::pi / 2);
    const QImage turned = Picture(*form);
    EXPECT_EQ(form->Renderer().GeometryBuilds(), builds);
    for (int number : {1, 2}) {
        const tTopAt& node = *NodeOf(*form, number);
        const auto at = ScreenPixel(scene, node);
        // Below the centre, away from the highlight: the oxygen's red.
        const TRgb lit = PixelAt(turned, at[0], at[1] + 0.5 * node.rk * scene.CoeffDX);
        EXPECT_GT(lit.r, lit.g + 60) << "atom " << number;
    }
    EXPECT_FALSE(Covered(turned, static_cast<int>(before[0]), static_cast<int>(before[1])));
    // A changed bond colour changes the objects: the geometry is placed again, into the
    // buffers of the first placing, and the bond shows its new colour.
    for (tTopAt* node = form->Scene().WPTAll; node != nullptr; node = node->li)
        for (tBoundAt* bond = node->p; bond != nullptr; bond = bond->li)
            bond->lBColor = 0xFF0000; // blue
    form->WLVO().ColBonds = false;
    const QImage recoloured = Picture(*form);
    EXPECT_EQ(form->Renderer().GeometryBuilds(), builds + 1);
    const auto a = ScreenPixel(scene, *NodeOf(*form, 1));
    const auto b = ScreenPixel(scene, *NodeOf(*form, 2));
    const double bondRadius = scene.WLVO.dBond / scene.WLVO.PartRad * scene.CoeffDX;
    const TRgb bondPixel =
        PixelAt(recoloured, (a[0] + b[0]) / 2, (a[1] + b[1]) / 2 + 0.5 * bondRadius);
    EXPECT_GT(bondPixel.b, bondPixel.r + 60);
    Picture(*form);
    EXPECT_EQ(form->Renderer().GeometryBuilds(), builds + 1);
    // A bond three times as thick is placed into the same buffers again: it now covers
    // what lay beside the thin one.
    const TRgb besideBefore =
        PixelAt(recoloured, (a[0] + b[0]) / 2, (a[1] + b[1]) / 2 + 2 * bondRadius);
    EXPECT_LT(Distance(besideBefore, TRgb{255, 255, 255}), 8);
    for (tTopAt* node = form->Scene().WPTAll; node != nullptr; node = node->li)
        for (tBoundAt* bond = node->p; bond != nullptr; bond = bond->li)
            bond->diam = 3 * scene.WLVO.dBond;
    const QImage thick = Picture(*form);
    EXPECT_EQ(form->Renderer().GeometryBuilds(), builds + 2);
    const TRgb beside = PixelAt(thick, (a[0] + b[0]) / 2, (a[1] + b[1]) / 2 + 2 * bondRadius);
    EXPECT_GT(beside.b, beside.r + 60);
}

} // namespace

namespace {

TEST_F(RendererTest, NamedAtomsDrawTheirLabelsInThePenColourAboveTheAtom) {
    auto form = ViewerOn(kTwoOxygens, 10.0);
    const QImage plain = Picture(*form);
    form->actAtomLabels->trigger();
    EXPECT_EQ(form->WLVO().AtomLabels, 3);
    const QImage labelled = Picture(*form);
    labelled.save("/tmp/ormaline-labels.png");
    // The labels "O1" and "O2" add dark pixels near each atom's centre; nothing else changes.
    const TLVScene& scene = form->Scene();
    for (int number : {1, 2}) {
        const auto centre = ScreenPixel(scene, *NodeOf(*form, number));
        int dark = 0;
        for (int y = -12; y <= 12; ++y)
            for (int x = 0; x <= 24; ++x) {
                const TRgb seen = PixelAt(labelled, centre[0] + x, centre[1] + y);
                const TRgb before = PixelAt(plain, centre[0] + x, centre[1] + y);
                if (seen.r < 40 && seen.g < 40 && seen.b < 40 && Distance(seen, before) > 60)
                    ++dark;
            }
        EXPECT_GT(dark, 10) << number;
    }
}

} // namespace
