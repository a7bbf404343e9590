#include "SceneTestSupport.h"

#include "viewer/core/SceneActions.h"
#include "viewer/core/ViewTransforms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace ormaline {
namespace {

constexpr double kPi = std::numbers::pi;

void ExpectMatrixNear(const TMatrix3& a, const TMatrix3& b, double tolerance) {
    for (std::size_t row = 0; row < 3; ++row)
        for (std::size_t column = 0; column < 3; ++column)
            EXPECT_NEAR(a[row][column], b[row][column], tolerance) << row << "," << column;
}

DVector Apply(const TMatrix3& r, const DVector& v) {
    DVector out{};
    for (std::size_t row = 0; row < 3; ++row)
        out[row] = r[row][0] * v[0] + r[row][1] * v[1] + r[row][2] * v[2];
    return out;
}

DVector Unit(DVector v) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return {v[0] / length, v[1] / length, v[2] / length};
}

TEST(ViewFit, SingleAtomAtTheOrigin) {
    TLVScene scene;
    test::FillCubic(scene, 10.0f, {{6, {0.5, 0.5, 0.5}}});
    ASSERT_TRUE(RunSceneBuild(scene, {}));
    EXPECT_NEAR(scene.mas, 1.1 * 0.70, 1e-6);
    EXPECT_NEAR(scene.OldMas, scene.mas, 1e-12);
    EXPECT_DOUBLE_EQ(scene.GLXYZMas, 4 * scene.mas);
    EXPECT_DOUBLE_EQ(scene.PrevMas, scene.mas);
    EXPECT_DOUBLE_EQ(scene.CoefMas, 1.0);
    // A radius below 0.001 counts as 1.
    TLVScene helium;
    test::FillCubic(helium, 10.0f, {{2, {0.5, 0.5, 0.5}}});
    ASSERT_TRUE(RunSceneBuild(helium, {}));
    EXPECT_NEAR(helium.mas, 1.1, 1e-9);
}

TEST(ViewFit, CentreMovesTheMeanOfTheVisibleNodesToTheOrigin) {
    TLVScene scene;
    test::FillCubic(scene, 10.0f, {{6, {0.1, 0.5, 0.5}}, {6, {0.3, 0.7, 0.5}}});
    scene.ShowMoleculeOnly = true;
    ASSERT_TRUE(RunSceneBuild(scene, {}));
    // Mean model position ((-4 + -2) / 2, (0 + 2) / 2, 0) = (-3, 1, 0).
    EXPECT_FLOAT_EQ(scene.WDeltaCoord[0], 3.0f);
    EXPECT_FLOAT_EQ(scene.WDeltaCoord[1], -1.0f);
    EXPECT_FLOAT_EQ(scene.WDeltaCoord[2], 0.0f);
    // With the default axis order (3, 1, 2) screen x is view z and screen y view x:
    // X = max(|0| + 0.7) = 0.7, Y = max(|-1| + 0.7, |1| + 0.7) = 1.7.
    EXPECT_NEAR(scene.mas, 1.1 * 1.7, 1e-6);
    // With a selection only the selected node counts.
    scene.PTMAt = scene.WPTAtEnd;
    SpecAt(scene, 1);
    CurrCentre(scene);
    const DVector v = RotorCoordAt(scene, scene.WPTAtEnd->k);
    EXPECT_NEAR(v[0], 0.0, 1e-6);
    EXPECT_NEAR(v[1], 0.0, 1e-6);
}

TEST(ViewFit, PerspectivePass) {
    TLVScene scene;
    test::FillCubic(scene, 10.0f, {{6, {0.7, 0.5, 0.6}}});
    scene.ShowMoleculeOnly = true;
    ASSERT_TRUE(test::Build(scene));
    scene.WLVO.L1 = 1;
    scene.WLVO.L2 = 2;
    scene.WLVO.L3 = 3;
    scene.WPTAtEnd->rad = 0.5f;
    scene.WLVO.Perspect = true;
    scene.WLVO.ZeroPos = 7;
    // v = (2, 0, 1): first pass X = 2.5, Y = 0.5, so 2.5; then
    // X = |2 + 0.5| * 4 * 2.5 / (7 * 2.5 - 1) = 25 / 16.5.
    EXPECT_NEAR(MaxOrthDist(scene), 1.1 * 25.0 / 16.5, 1e-6);
    EXPECT_NEAR(scene.GLLegMas, 1.1 * 25.0 / 16.5, 1e-6);
}

TEST(ViewGeometry, ResizeFrom800x600To400x600) {
    TLVScene scene;
    NewScale(scene, 800, 600, false);
    EXPECT_EQ(scene.Gi0, 100);
    EXPECT_EQ(scene.LegI0, 700);
    EXPECT_EQ(scene.Gj0, 375);
    EXPECT_EQ(scene.LegJ0, 75);
    EXPECT_DOUBLE_EQ(scene.mas_l, 300);
    const TProjection projection = FormResize(scene, 400, 600);
    EXPECT_EQ(scene.Gi0, 50);
    EXPECT_EQ(scene.LegI0, 350);
    EXPECT_EQ(scene.Gj0, 375);
    EXPECT_EQ(scene.LegJ0, 75);
    EXPECT_DOUBLE_EQ(scene.mas_l, 200);
    EXPECT_DOUBLE_EQ(scene.gl_MaxI, 1.0);
    EXPECT_DOUBLE_EQ(scene.gl_MaxJ, 1.5);
    EXPECT_FALSE(projection.perspective);
    EXPECT_DOUBLE_EQ(projection.top, 1.5);
    EXPECT_DOUBLE_EQ(projection.left, -1.0);
}

TEST(ViewGeometry, ProjectionForAWideWindowInPerspective) {
    TLVScene scene;
    scene.WLVO.Perspect = true;
    scene.WLVO.ZeroPos = 9;
    const TProjection p = FormResize(scene, 800, 600);
    EXPECT_TRUE(p.perspective);
    EXPECT_EQ(p.viewportWidth, 800);
    EXPECT_EQ(p.viewportHeight, 600);
    EXPECT_DOUBLE_EQ(p.left, -800.0 / 600.0);
    EXPECT_DOUBLE_EQ(p.right, 800.0 / 600.0);
    EXPECT_DOUBLE_EQ(p.bottom, -1.0);
    EXPECT_DOUBLE_EQ(p.top, 1.0);
    EXPECT_DOUBLE_EQ(p.nearZ, 6.0);
    EXPECT_DOUBLE_EQ(p.farZ, 12.0);
    EXPECT_DOUBLE_EQ(p.translateZ, -9.0);
    // An empty client area does not divide by zero.
    const TProjection empty = FormResize(scene, 0, 0);
    EXPECT_TRUE(std::isfinite(empty.left) && std::isfinite(empty.top));
}

TEST(ViewRotation, QuarterTurnByHand) {
    TLVScene scene;
    scene.WLVO.lin = 3;
    scene.WLVO.LX = 1;
    scene.WLVO.LZ = 2;
    scene.WDeltaCoord = {1.0f, 0.0f, 5.0f};
    RotorCoord(scene, kPi / 2);
    ExpectMatrixNear(scene.WMatrRotor, TMatrix3{{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}}, 1e-12);
    EXPECT_NEAR(scene.WDeltaCoord[0], 0.0, 1e-6);
    EXPECT_NEAR(scene.WDeltaCoord[1], 1.0, 1e-6);
    EXPECT_NEAR(scene.WDeltaCoord[2], 5.0, 1e-6);
    const DVector v = RotorCoordAt(scene, DVector{1, 0, 0});
    EXPECT_NEAR(v[0], 0.0, 1e-6);
    EXPECT_NEAR(v[1], 2.0, 1e-6);
}

TEST(ViewRotation, FullTurnInTheDialogReturnsToTheStart) {
    TLVScene scene;
    RotateByDialog(scene, 30.0f, 0);
    RotateByDialog(scene, 50.0f, 1);
    const TMatrix3 start = scene.WMatrRotor;
    for (int item = 0; item < 3; ++item) {
        RotateByDialog(scene, 360.0f, item);
        ExpectMatrixNear(scene.WMatrRotor, start, 1e-9);
    }
    EXPECT_DOUBLE_EQ(scene.alfa, 0.0);
}

TEST(ViewRotation, TinyAngleDoesNothing) {
    TLVScene scene;
    scene.WLVO.lin = 2;
    RotateByDialog(scene, 0.09f, 2);
    ExpectMatrixNear(scene.WMatrRotor, TMatrix3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, 0.0);
    EXPECT_EQ(scene.WLVO.lin, 2); // the axis is not even chosen
    scene.alfa = 0.0017;
    ApplyPendingRotation(scene);
    ExpectMatrixNear(scene.WMatrRotor, TMatrix3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, 0.0);
    scene.alfa = 0.0018;
    ApplyPendingRotation(scene);
    EXPECT_NE(scene.WMatrRotor[0][0], 1.0);
    EXPECT_EQ(scene.alfa, 0.0);
}

TEST(ViewRotation, AxisChoiceByNumber) {
    TLatvistaOpt o = DefaultLatvistaOptions(); // L = (3, 1, 2)
    ChooseRotationAxis(o, 1);
    EXPECT_EQ((std::array<int, 3>{o.lin, o.LX, o.LZ}), (std::array<int, 3>{3, 1, 2}));
    ChooseRotationAxis(o, 2);
    EXPECT_EQ((std::array<int, 3>{o.lin, o.LX, o.LZ}), (std::array<int, 3>{1, 2, 3}));
    ChooseRotationAxis(o, 3);
    EXPECT_EQ((std::array<int, 3>{o.lin, o.LX, o.LZ}), (std::array<int, 3>{2, 3, 1}));
}

TEST(ViewRotation, ContinuousTickAboutTheViewingAxis) {
    TLVScene scene;
    scene.WLVO.L1 = 1;
    scene.WLVO.L2 = 2;
    scene.WLVO.L3 = 3;
    scene.WLVO.LinAxis = 3;
    scene.WLVO.RotorStep = 2.0f;
    ContinuousRotationTick(scene);
    EXPECT_EQ(scene.WLVO.lin, 3);
    EXPECT_NEAR(scene.alfa, 2.0 * kPi / 180.0, 1e-12);
    ApplyPendingRotation(scene);
    // The picture turns in the screen plane: screen x (view 1) moves towards screen y.
    const DVector v = RotorCoordAt(scene, DVector{1, 0, 0});
    EXPECT_NEAR(v[0], std::cos(2.0 * kPi / 180.0), 1e-9);
    EXPECT_NEAR(v[1], std::sin(2.0 * kPi / 180.0), 1e-9);
    EXPECT_NEAR(v[2], 0.0, 1e-12);
}

TEST(ViewRotation, InverseRoundTrip) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> angle(-kPi, kPi);
    std::uniform_real_distribution<float> shift(-10.0f, 10.0f);
    std::uniform_int_distribution<int> axis(1, 3);
    TLVScene scene;
    for (int trial = 0; trial < 50; ++trial) {
        ChooseRotationAxis(scene.WLVO, axis(random));
        RotorCoord(scene, angle(random));
        scene.WDeltaCoord = {shift(random), shift(random), shift(random)};
        const DVector k{angle(random), angle(random), angle(random)};
        const DVector back = RotorCoordAt_1(scene, RotorCoordAt(scene, k));
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(back[c], k[c], 1e-5);
    }
    // A scaled matrix is inverted through its determinant: R = 2 I gives k = (v - D) / 8 * 2.
    scene.WMatrRotor = {{{2, 0, 0}, {0, 2, 0}, {0, 0, 2}}};
    scene.WDeltaCoord = {0, 0, 0};
    const DVector scaled = RotorCoordAt_1(scene, DVector{8, 0, 0});
    EXPECT_NEAR(scaled[0], 2.0, 1e-12);
    // A singular matrix leaves the point unchanged.
    scene.WMatrRotor = {};
    const DVector same = RotorCoordAt_1(scene, DVector{1, 2, 3});
    EXPECT_EQ(same, (DVector{1, 2, 3}));
}

TEST(ViewProjection, GetIntKOrthographicAndPerspective) {
    TLVScene scene;
    test::FillCubic(scene, 10.0f, {{6, {0.7, 0.6, 0.5}}});
    scene.ShowMoleculeOnly = true;
    ASSERT_TRUE(test::Build(scene));
    tTopAt& node = *scene.WPTAtEnd; // model (2, 1, 0)
    scene.WLVO.PartRad = 2;
    scene.gl_ = {0.0f, 0.0f, 2.0f};
    GetIntK(scene);
    // Axis order (3, 1, 2): ik = z, jk = x, hk = y.
    EXPECT_FLOAT_EQ(node.ik, 2.0f);
    EXPECT_FLOAT_EQ(node.jk, 2.0f);
    EXPECT_FLOAT_EQ(node.hk, 1.0f);
    EXPECT_FLOAT_EQ(node.rk, 0.35f);
    scene.WLVO.Perspect = true;
    scene.WLVO.ZeroPos = 7;
    scene.mas = 2.0;
    GetIntK(scene);
    const double f = 4.0 * 2.0 / (7.0 * 2.0 - 1.0);
    EXPECT_NEAR(node.ik, 2.0 * f, 1e-6);
    EXPECT_NEAR(node.jk, 2.0 * f, 1e-6);
    EXPECT_NEAR(node.rk, 0.35 * f, 1e-6);
    EXPECT_FLOAT_EQ(node.hk, 1.0f);
    scene.i0 = 400;
    scene.j0 = 300;
    scene.CoeffDX = 10.0;
    const auto pixel = ScreenPixel(scene, node);
    EXPECT_NEAR(pixel[0], 400 + node.ik * 10.0, 1e-9);
    EXPECT_NEAR(pixel[1], 300 - node.jk * 10.0, 1e-9);
}

TEST(ViewScale, TypedScale) {
    TLVScene scene;
    scene.mas_l = 300;
    SetTypedScale(scene, 5.0f);
    EXPECT_DOUBLE_EQ(scene.mas, 5.0);
    EXPECT_DOUBLE_EQ(scene.CoeffDX, 60.0);
    EXPECT_DOUBLE_EQ(scene.GLXYZMas, 20.0);
    EXPECT_DOUBLE_EQ(scene.XYZMas, 15.0);
    SetTypedScale(scene, 0.0f);
    EXPECT_DOUBLE_EQ(scene.mas, 0.0);
    EXPECT_DOUBLE_EQ(scene.CoeffDX, 60.0);
}

struct HklCase {
    const char* text;
    bool ok;
    std::array<int, 3> hkl;
};

class HklTexts : public ::testing::TestWithParam<HklCase> {};

TEST_P(HklTexts, Parse) {
    const HklCase& c = GetParam();
    const auto hkl = ParseHkl(c.text);
    ASSERT_EQ(hkl.has_value(), c.ok) << c.text;
    if (c.ok) {
        EXPECT_EQ(*hkl, c.hkl);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HklTexts,
    ::testing::Values(HklCase{"1,0,0", true, {1, 0, 0}}, HklCase{"-1,2,-3", true, {-1, 2, -3}},
                      HklCase{"10,0,1", true, {10, 0, 1}}, HklCase{"1,0", false, {}},
                      HklCase{"1,0,0,0", false, {}}, HklCase{"1;0;0", false, {}},
                      HklCase{"1, 0, 0", false, {}}, HklCase{"", false, {}},
                      HklCase{"1,,0", false, {}}, HklCase{"1-,0,0", false, {}},
                      HklCase{"a,b,c", false, {}}, HklCase{"1,0,0,", false, {}},
                      HklCase{"99999999999,0,0", false, {}}));

TEST(ViewAlong, HklOnAnOrthogonalCellLooksAlongA) {
    TLVScene scene;
    test::FillCubic(scene, 10.0f, {{6, {0.5, 0.5, 0.5}}, {8, {0.6, 0.5, 0.5}}});
    ASSERT_TRUE(RunSceneBuild(scene, {}));
    ASSERT_TRUE(Set_hkl(scene, "1,0,0", 800, 600));
    const DVector a = Apply(scene.WMatrRotor, {1, 0, 0});
    EXPECT_NEAR(a[0], 0.0, 1e-9);
    EXPECT_NEAR(a[1], 0.0, 1e-9);
    EXPECT_NEAR(a[2], 1.0, 1e-9);
    EXPECT_EQ((std::array<int, 3>{scene.WLVO.L1, scene.WLVO.L2, scene.WLVO.L3}),
              (std::array<int, 3>{1, 2, 3}));
    EXPECT_EQ((std::array<int, 3>{scene.WLVO.lin, scene.WLVO.LX, scene.WLVO.LZ}),
              (std::array<int, 3>{3, 1, 2}));
    EXPECT_TRUE(scene.NoUndo);
    // Fitted and centred: the two atoms' mean at the view origin.
    const DVector v1 = RotorCoordAt(scene, scene.WPTAtEnd->k);
    const DVector v2 = RotorCoordAt(scene, scene.WPTAtEnd->li->k);
    EXPECT_NEAR(v1[2] + v2[2], 0.0, 1e-5);
    EXPECT_FALSE(Set_hkl(scene, "1;0;0", 800, 600));
}

TEST(ViewAlong, AnyDirectionEndsOnTheViewingAxis) {
    TLVScene scene;
    test::FillCompound(scene, {3.0f, 3.0f, 5.0f}, {90.0f, 90.0f, 120.0f}, {{6, {0.5, 0.5, 0.5}}});
    ASSERT_TRUE(RunSceneBuild(scene, {}));
    const std::array<int, 3> cases[] = {{1, 0, 0},  {0, 1, 0},   {0, 0, 1}, {1, 1, 0},
                                        {-1, 2, 3}, {0, -1, -1}, {2, -1, 0}};
    for (const auto& hkl : cases) {
        const DVector v = HklVector(scene, hkl);
        SetNormal(scene, v, 640, 480);
        const DVector turned = Apply(scene.WMatrRotor, Unit(v));
        EXPECT_NEAR(turned[0], 0.0, 1e-9);
        EXPECT_NEAR(turned[1], 0.0, 1e-9);
        EXPECT_NEAR(turned[2], 1.0, 1e-9);
    }
    // On the hexagonal cell a is (k11 a, Cos_C a, 0) = (2.598, -1.5, 0).
    const DVector a = HklVector(scene, {1, 0, 0});
    EXPECT_NEAR(a[0], 3.0 * std::sqrt(0.75), 1e-6);
    EXPECT_NEAR(a[1], -1.5, 1e-6);
}

TEST(ViewText, StrVectorWritesFractionalCoordinates) {
    TLVScene scene;
    test::FillCubic(scene, 10.0f, {{6, {0.5, 0.5, 0.5}}});
    ASSERT_TRUE(test::Build(scene));
    EXPECT_EQ(StrVector(scene, {0, 0, 0}), " 0.50000 0.50000 0.50000");
    EXPECT_EQ(StrVector(scene, {2.5, -5, 0.123456}), " 0.75000 0.00000 0.51235");
    TLVScene hexagonal;
    test::FillCompound(hexagonal, {3.0f, 3.0f, 5.0f}, {90.0f, 90.0f, 120.0f},
                       {{6, {0.5, 0.5, 0.5}}});
    ASSERT_TRUE(test::Build(hexagonal));
    // The cell corner (1, 0, 0) lies at (u, v, w) = (1.5, -1.5, -2.5) from the centre,
    // that is at X = 1.5 k11, Y = 1.5 Cos_C - 1.5, Z = -2.5.
    EXPECT_EQ(StrVector(hexagonal, {1.5 * std::sqrt(0.75), -2.25, -2.5}),
              " 1.00000 0.00000 0.00000");
}

} // namespace
} // namespace ormaline
