#include "model/CellGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace ormaline {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

TParamTTO ParamsOf(SVector edges, SVector angles, bool* usable = nullptr) {
    TParamTTO param;
    bool result = CalcParamTTO(edges, angles, param);
    if (usable != nullptr)
        *usable = result;
    return param;
}

// Cartesian position (Å) of fractional coordinates, as the viewer forms it.
DVector Cartesian(const DVector& fractional, const SVector& edges, const TParamTTO& param) {
    DVector v{fractional[0] * edges[0], fractional[1] * edges[1], fractional[2] * edges[2]};
    if (param.NOrth)
        FractToOrthD(v, param);
    return v;
}

double Distance(const DVector& p, const DVector& q) {
    return VecLen(DVector{p[0] - q[0], p[1] - q[1], p[2] - q[2]});
}

// Independent distance from the metric tensor of the cell.
double MetricDistance(const DVector& df, const SVector& e, const SVector& g) {
    double ca = std::cos(g[0] * kDegree), cb = std::cos(g[1] * kDegree),
           cg = std::cos(g[2] * kDegree);
    double x = df[0] * e[0], y = df[1] * e[1], z = df[2] * e[2];
    return std::sqrt(x * x + y * y + z * z + 2 * x * y * cg + 2 * x * z * cb + 2 * y * z * ca);
}

TEST(CellGeometry, CubicCellKeepsIdentityDefaults) {
    bool usable = false;
    TParamTTO param = ParamsOf({10, 10, 10}, {90, 90, 90}, &usable);
    EXPECT_TRUE(usable);
    EXPECT_FALSE(param.NOrth);
    EXPECT_EQ(param.CosUg, (DVector{0, 0, 0}));
    EXPECT_EQ(param.SinAlpha, 1.0);
    EXPECT_EQ(param.SinBeta, 1.0);
    EXPECT_EQ(param.Cos_C, 0.0);
    EXPECT_EQ(param.k11, 1.0);
}

TEST(CellGeometry, OrthogonalityTolerance) {
    const std::pair<float, bool> rows[] = {{90.005f, false}, {89.995f, false}, {90.02f, true},
                                           {89.98f, true},   {120.0f, true},   {90.0f, false}};
    for (auto [angle, nonOrthogonal] : rows) {
        EXPECT_EQ(ParamsOf({5, 6, 7}, {90, angle, 90}).NOrth, nonOrthogonal) << angle;
        EXPECT_EQ(ParamsOf({5, 6, 7}, {angle, 90, 90}).NOrth, nonOrthogonal) << angle;
        EXPECT_EQ(ParamsOf({5, 6, 7}, {90, 90, angle}).NOrth, nonOrthogonal) << angle;
    }
}

TEST(CellGeometry, HexagonalCell) {
    TParamTTO param = ParamsOf({3, 3, 5}, {90, 90, 120});
    EXPECT_TRUE(param.NOrth);
    EXPECT_NEAR(param.Cos_C, -0.5, 1e-7);
    EXPECT_NEAR(param.k11, std::sqrt(0.75), 1e-7);
    DVector v{3, 0, 0};
    FractToOrthD(v, param);
    EXPECT_NEAR(v[0], 2.598076, 1e-6);
    EXPECT_NEAR(v[1], -1.5, 1e-6);
    EXPECT_NEAR(v[2], 0.0, 1e-6);
    EXPECT_NEAR(VecLen(v), 3.0, 1e-6);

    SVector s{3, 0, 0};
    FractToOrth(s, param);
    EXPECT_NEAR(s[0], 2.598076f, 1e-5f);
    EXPECT_NEAR(s[1], -1.5f, 1e-5f);
}

TEST(CellGeometry, BadCellKeepsIdentity) {
    bool usable = true;
    TParamTTO param = ParamsOf({0.05f, 10, 10}, {90, 90, 120}, &usable);
    EXPECT_FALSE(usable);
    EXPECT_TRUE(param.NOrth);
    EXPECT_EQ(param.k11, 1.0);
    EXPECT_EQ(param.Cos_C, 0.0);
    EXPECT_EQ(param.SinAlpha, 1.0);

    EXPECT_TRUE(BadCell({10, 10, 10}, {90, 0.09f, 90}));
    EXPECT_FALSE(BadCell({0.1f, 0.1f, 0.1f}, {0.1f, 0.1f, 0.1f}));
    EXPECT_TRUE(BadCell({10, 10, -1}, {90, 90, 90}));
    EXPECT_TRUE(BadCell({10, NAN, 10}, {90, 90, 90}));
    EXPECT_TRUE(BadCell({10, 10, 10}, {90, INFINITY, 90}));
}

TEST(CellGeometry, CompoundOverload) {
    tCompParam comp;
    comp.DC.Tr = {3, 3, 5};
    comp.DC.Ug = {90, 90, 120};
    EXPECT_TRUE(CalcParamTTO(comp));
    EXPECT_NEAR(comp.ParamTTO.Cos_C, -0.5, 1e-7);
}

// Known distance: in a monoclinic cell a = 5, b = 6, c = 7, β = 100°, the points
// (0,0,0) and (1,0,1) are a + c apart: √(25 + 49 + 70·cos 100°) = 7.86413 Å.
TEST(CellGeometry, MonoclinicDistanceByHand) {
    SVector edges{5, 6, 7};
    TParamTTO param = ParamsOf(edges, {90, 100, 90});
    double d = Distance(Cartesian({0, 0, 0}, edges, param), Cartesian({1, 0, 1}, edges, param));
    EXPECT_NEAR(d, 7.86413, 1e-5);
}

// Edges come out with their lengths and the angles between them, for random cells.
TEST(CellGeometry, EdgesKeepLengthsAndAngles) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> edge(2.0f, 30.0f);
    std::uniform_real_distribution<float> angle(60.0f, 120.0f);
    for (int trial = 0; trial < 200; ++trial) {
        SVector edges{edge(random), edge(random), edge(random)};
        SVector angles{angle(random), angle(random), angle(random)};
        bool usable = false;
        TParamTTO param = ParamsOf(edges, angles, &usable);
        // Angles this close to each other's sum do not make a cell.
        if (angles[0] + angles[1] + angles[2] >= 360.0f || !usable)
            continue;
        DVector a = Cartesian({1, 0, 0}, edges, param);
        DVector b = Cartesian({0, 1, 0}, edges, param);
        DVector c = Cartesian({0, 0, 1}, edges, param);
        EXPECT_NEAR(VecLen(a), edges[0], 1e-4);
        EXPECT_NEAR(VecLen(b), edges[1], 1e-4);
        EXPECT_NEAR(VecLen(c), edges[2], 1e-4);
        auto angleBetween = [](const DVector& u, const DVector& v) {
            return std::acos((u[0] * v[0] + u[1] * v[1] + u[2] * v[2]) / VecLen(u) / VecLen(v)) /
                   kDegree;
        };
        if (std::fabs(param.Cos_C) <= 1.0) {
            EXPECT_NEAR(angleBetween(b, c), angles[0], 1e-3);
            EXPECT_NEAR(angleBetween(a, c), angles[1], 1e-3);
            EXPECT_NEAR(angleBetween(a, b), angles[2], 1e-3);
            // c along Z, b in the YZ plane, right-handed.
            EXPECT_NEAR(c[0], 0, 1e-9);
            EXPECT_NEAR(c[1], 0, 1e-9);
            EXPECT_NEAR(b[0], 0, 1e-9);
            EXPECT_GT(a[0] * (b[1] * c[2] - b[2] * c[1]), 0.0);

            DVector p{0.1, 0.7, -0.3};
            DVector q{0.9, -0.2, 0.4};
            DVector delta{q[0] - p[0], q[1] - p[1], q[2] - p[2]};
            EXPECT_NEAR(Distance(Cartesian(p, edges, param), Cartesian(q, edges, param)),
                        MetricDistance(delta, edges, angles),
                        1e-6 * edges[0] * edges[1] * edges[2]);
        }
    }
}

TEST(CellGeometry, RoundTripOverRandomCells) {
    std::mt19937 random(99);
    std::uniform_real_distribution<float> edge(0.5f, 50.0f);
    std::uniform_real_distribution<float> angle(30.0f, 150.0f);
    std::uniform_real_distribution<double> coordinate(-40.0, 40.0);
    int checked = 0;
    for (int trial = 0; trial < 500; ++trial) {
        bool usable = false;
        TParamTTO param = ParamsOf({edge(random), edge(random), edge(random)},
                                   {angle(random), angle(random), angle(random)}, &usable);
        if (!usable || param.k11 < 1e-3)
            continue;
        DVector original{coordinate(random), coordinate(random), coordinate(random)};
        DVector v = original;
        FractToOrthD(v, param);
        OrthToFract(v, param);
        for (std::size_t axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(v[axis], original[axis], 1e-9 / param.k11);
        ++checked;
    }
    EXPECT_GT(checked, 400);
}

TEST(ScalarOperations, SafeArcCos) {
    EXPECT_EQ(SafeArcCos(1.0000001), 0.0);
    EXPECT_EQ(SafeArcCos(-1.5), std::numbers::pi);
    EXPECT_NEAR(SafeArcCos(0.5), std::numbers::pi / 3, 1e-15);
    EXPECT_EQ(SafeArcCos(1.0), 0.0);
    EXPECT_NEAR(SafeArcCos(-1.0), std::numbers::pi, 1e-15);
}

TEST(ScalarOperations, AngleFromSides) {
    // The 3-4-5 triangle: the angle opposite 5 is right, opposite 3 is asin 0.6.
    EXPECT_NEAR(AngleFromSides(5, 3, 4), std::numbers::pi / 2, 1e-12);
    EXPECT_NEAR(AngleFromSides(3, 4, 5), std::asin(0.6), 1e-12);
    // Equilateral: 60°.
    EXPECT_NEAR(AngleFromSides(2, 2, 2), std::numbers::pi / 3, 1e-12);
    // Water: O-H 0.9572 Å twice, H...H 1.5139 Å gives the gas-phase 104.52°.
    EXPECT_NEAR(AngleFromSides(1.5139, 0.9572, 0.9572) / kDegree, 104.52, 0.01);
    // A side longer than the other two together is clamped.
    EXPECT_EQ(AngleFromSides(10, 1, 1), std::numbers::pi);
}

TEST(ScalarOperations, VecLen) {
    EXPECT_EQ(VecLen({3, 4, 12}), 13.0);
    EXPECT_EQ(VecLen({0, 0, 0}), 0.0);
    EXPECT_EQ(VecLen({-2, 0, 0}), 2.0);
}

TEST(ScalarOperations, UnitNormal) {
    DVector n{};
    int flag = 0;
    UnitNormal({2, 0, 0}, {0, 3, 0}, n, 1e-6, flag);
    EXPECT_EQ(n, (DVector{0, 0, 1}));
    EXPECT_EQ(flag, 0);

    UnitNormal({1, 1, 0}, {2, 2, 0}, n, 1e-6, flag);
    EXPECT_EQ(n, (DVector{0, 0, 0}));
    EXPECT_EQ(flag, 1);

    UnitNormal({0, 1, 0}, {1, 0, 0}, n, 1e-6, flag);
    EXPECT_EQ(n, (DVector{0, 0, -1}));
    EXPECT_EQ(flag, 1); // never cleared here

    flag = 0;
    UnitNormal({1e-4, 0, 0}, {0, 1e-4, 0}, n, 1e-6, flag); // |n| = 1e-8 < eps
    EXPECT_NEAR(n[2], 1e-8, 1e-20);
    EXPECT_EQ(flag, 1);
}

} // namespace
} // namespace ormaline
