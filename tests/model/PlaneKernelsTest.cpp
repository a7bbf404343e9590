#include "model/PlaneKernels.h"
#include "model/CellGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace ormaline {
namespace {

TEST(Det3, KnownDeterminants) {
    EXPECT_EQ(Det3({1, 0, 0}, {0, 1, 0}, {0, 0, 1}), 1.0);
    EXPECT_EQ(Det3({0, 1, 0}, {1, 0, 0}, {0, 0, 1}), -1.0);
    EXPECT_EQ(Det3({1, 2, 3}, {0, 1, 4}, {5, 6, 0}), 1.0);
    EXPECT_EQ(Det3({2, 0, 1}, {1, 3, 2}, {1, 1, 1}), 0.0);
    EXPECT_EQ(Det3({1, 2, 3}, {2, 4, 6}, {7, 1, 5}), 0.0); // dependent rows
}

TEST(Sign, ZeroIsPositive) {
    EXPECT_EQ(Sign(0.0), 1.0);
    EXPECT_EQ(Sign(-0.0), 1.0);
    EXPECT_EQ(Sign(3.5), 1.0);
    EXPECT_EQ(Sign(-1e-300), -1.0);
}

TEST(Cofactor, MatchesTheAdjugateOfAKnownInverse) {
    // M has determinant 1, so its inverse is the transposed cofactor matrix:
    // inverse = [[-24, 18, 5], [20, -15, -4], [-5, 4, 1]].
    const TMatrix3 m = {{{1, 2, 3}, {0, 1, 4}, {5, 6, 0}}};
    const double cofactors[3][3] = {{-24, 20, -5}, {18, -15, 4}, {5, -4, 1}};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            EXPECT_EQ(Cofactor(m, row, col), cofactors[row][col]) << row << col;
}

struct Fit {
    int result = -1;
    double rms = -1, maxdev = -1, D = -1;
    DVector normal{-1, -1, -1};
};

Fit FitOf(const SMasVec& points) {
    Fit fit;
    fit.result = FitPlane(points, fit.rms, fit.maxdev, fit.normal, fit.D);
    return fit;
}

TEST(FitPlane, CollinearPointsNeverSucceed) {
    const SMasVec rows[] = {
        {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}},
        {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}},
        {{0, 0, 0}, {1.5f, -2, 0.5f}, {3, -4, 1}, {-1.5f, 2, -0.5f}},
    };
    for (const SMasVec& points : rows) {
        Fit fit = FitOf(points);
        EXPECT_TRUE(fit.result == kFitPlaneNoNormal || fit.result == kFitPlaneDegenerate);
    }
}

TEST(FitPlane, ThreePointsLieOnTheirPlane) {
    Fit fit = FitOf({{0, 0, 1}, {2, 0, 1}, {0, 3, 1}});
    ASSERT_EQ(fit.result, kFitPlaneOk);
    EXPECT_NEAR(fit.rms, 0, 1e-9);
    EXPECT_NEAR(fit.maxdev, 0, 1e-9);
    EXPECT_NEAR(VecLen(fit.normal), 1, 1e-12);
    EXPECT_NEAR(std::fabs(fit.normal[2]), 1, 1e-12);
    EXPECT_NEAR(fit.D, -fit.normal[2] * 1.0, 1e-9);
}

TEST(FitPlane, TiltedSquare) {
    // A 2 Å square centred at (1, 2, 3) in the plane with normal (1, 1, 1)/√3.
    const DVector n{1 / std::sqrt(3.0), 1 / std::sqrt(3.0), 1 / std::sqrt(3.0)};
    const DVector u{1 / std::sqrt(2.0), -1 / std::sqrt(2.0), 0};
    const DVector v{1 / std::sqrt(6.0), 1 / std::sqrt(6.0), -2 / std::sqrt(6.0)};
    SMasVec square;
    for (auto [s, t] : {std::pair{1, 1}, {1, -1}, {-1, -1}, {-1, 1}})
        square.push_back({static_cast<float>(1 + s * u[0] + t * v[0]),
                          static_cast<float>(2 + s * u[1] + t * v[1]),
                          static_cast<float>(3 + s * u[2] + t * v[2])});
    Fit fit = FitOf(square);
    ASSERT_EQ(fit.result, kFitPlaneOk);
    EXPECT_NEAR(fit.maxdev, 0, 1e-6);
    EXPECT_NEAR(fit.rms, 0, 1e-6);
    double dot = fit.normal[0] * n[0] + fit.normal[1] * n[1] + fit.normal[2] * n[2];
    EXPECT_NEAR(std::fabs(dot), 1, 1e-9);
    // The centre lies on the plane: n·c + D = 0, with n·c = 6/√3 up to the sign.
    EXPECT_NEAR(std::fabs(fit.D), 6 / std::sqrt(3.0), 1e-5);
}

TEST(FitPlane, SingleAndIdenticalPointsAreDegenerate) {
    for (const SMasVec& points :
         {SMasVec{}, SMasVec{{1, 2, 3}}, SMasVec{{1, 2, 3}, {1, 2, 3}, {1, 2, 3}, {1, 2, 3}}}) {
        Fit fit = FitOf(points);
        EXPECT_EQ(fit.result, kFitPlaneDegenerate);
        EXPECT_EQ(fit.rms, 0);
        EXPECT_EQ(fit.maxdev, 0);
        EXPECT_EQ(fit.D, 0);
        EXPECT_EQ(fit.normal, (DVector{0, 0, 0}));
    }
}

// Smallest eigenvalue and its eigenvector of a symmetric 3 × 3 matrix by Jacobi
// rotations: an independent second computation of the best plane.
std::pair<double, DVector> SmallestEigen(TMatrix3 a) {
    TMatrix3 v = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    for (int sweep = 0; sweep < 100; ++sweep)
        for (int p = 0; p < 2; ++p)
            for (int q = p + 1; q < 3; ++q) {
                if (std::fabs(a[p][q]) < 1e-300)
                    continue;
                double theta = (a[q][q] - a[p][p]) / (2 * a[p][q]);
                double t =
                    (theta >= 0 ? 1 : -1) / (std::fabs(theta) + std::sqrt(theta * theta + 1));
                double c = 1 / std::sqrt(t * t + 1), s = t * c;
                for (int k = 0; k < 3; ++k) {
                    double akp = a[k][p], akq = a[k][q];
                    a[k][p] = c * akp - s * akq;
                    a[k][q] = s * akp + c * akq;
                }
                for (int k = 0; k < 3; ++k) {
                    double apk = a[p][k], aqk = a[q][k];
                    a[p][k] = c * apk - s * aqk;
                    a[q][k] = s * apk + c * aqk;
                }
                for (int k = 0; k < 3; ++k) {
                    double vkp = v[k][p], vkq = v[k][q];
                    v[k][p] = c * vkp - s * vkq;
                    v[k][q] = s * vkp + c * vkq;
                }
            }
    int smallest = 0;
    for (int k = 1; k < 3; ++k)
        if (a[k][k] < a[smallest][smallest])
            smallest = k;
    return {a[smallest][smallest], DVector{v[0][smallest], v[1][smallest], v[2][smallest]}};
}

TEST(FitPlane, AgreesWithJacobiOnNoisyPlanes) {
    std::mt19937 random(2024);
    std::normal_distribution<double> noise(0.0, 0.05);
    std::uniform_real_distribution<double> spread(-5.0, 5.0);
    for (int trial = 0; trial < 100; ++trial) {
        DVector normal{noise(random) * 20, noise(random) * 20, noise(random) * 20 + 0.1};
        double length = VecLen(normal);
        for (double& c : normal)
            c /= length;
        DVector u{};
        int flag = 0;
        UnitNormal(normal, DVector{1, 0, 0}, u, 1e-3, flag);
        if (flag != 0)
            continue;
        DVector w{};
        UnitNormal(normal, u, w, 1e-9, flag);
        SMasVec points;
        int count = 4 + trial;
        for (int k = 0; k < count; ++k) {
            double s = spread(random), t = spread(random), h = noise(random);
            points.push_back({static_cast<float>(3 + s * u[0] + t * w[0] + h * normal[0]),
                              static_cast<float>(-2 + s * u[1] + t * w[1] + h * normal[1]),
                              static_cast<float>(7 + s * u[2] + t * w[2] + h * normal[2])});
        }
        Fit fit = FitOf(points);
        ASSERT_EQ(fit.result, kFitPlaneOk) << trial;

        DVector c{0, 0, 0};
        for (const SVector& p : points)
            for (std::size_t k = 0; k < 3; ++k)
                c[k] += p[k] / count;
        TMatrix3 scatter{};
        for (const SVector& p : points)
            for (std::size_t i = 0; i < 3; ++i)
                for (std::size_t j = 0; j < 3; ++j)
                    scatter[i][j] += (p[i] - c[i]) * (p[j] - c[j]);
        auto [lambda, expected] = SmallestEigen(scatter);
        double dot =
            fit.normal[0] * expected[0] + fit.normal[1] * expected[1] + fit.normal[2] * expected[2];
        EXPECT_NEAR(std::fabs(dot), 1, 1e-6) << trial;
        EXPECT_NEAR(fit.rms, std::sqrt(lambda / count), 1e-5) << trial;
        double maxdev = 0;
        for (const SVector& p : points)
            maxdev = std::max(maxdev, std::fabs(fit.normal[0] * p[0] + fit.normal[1] * p[1] +
                                                fit.normal[2] * p[2] + fit.D));
        EXPECT_NEAR(fit.maxdev, maxdev, 1e-9);
        EXPECT_NEAR(fit.normal[0] * c[0] + fit.normal[1] * c[1] + fit.normal[2] * c[2] + fit.D, 0,
                    1e-6);
    }
}

TEST(PlaneFrom3, UnitPoints) {
    double a = 0, b = 0, c = 0, d = 0;
    PlaneFrom3(a, b, c, d, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(c, 1);
    EXPECT_EQ(d, -1);
}

TEST(PlaneFrom3, HorizontalPlaneAndDegenerateTriples) {
    double a = 0, b = 0, c = 0, d = 0;
    PlaneFrom3(a, b, c, d, {0, 0, 5}, {1, 0, 5}, {0, 1, 5});
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
    EXPECT_NE(c, 0);
    EXPECT_EQ(d, -5 * c);

    PlaneFrom3(a, b, c, d, {0, 0, 0}, {1, 1, 1}, {2, 2, 2});
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(c, 0);
    PlaneFrom3(a, b, c, d, {3, 1, 2}, {3, 1, 2}, {3, 1, 2});
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(c, 0);

    // Every point satisfies the plane of a general triple.
    const SVector p1{1.5f, -2, 0.25f}, p2{4, 1, -3}, p3{-2, 0.5f, 6};
    PlaneFrom3(a, b, c, d, p1, p2, p3);
    for (const SVector& p : {p1, p2, p3})
        EXPECT_NEAR(a * p[0] + b * p[1] + c * p[2] + d, 0, 1e-9);
}

} // namespace
} // namespace ormaline
