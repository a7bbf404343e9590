#include "model/PlaneKernels.h"

#include "model/CellGeometry.h"

#include <cmath>
#include <numbers>

namespace ormaline {

double Det3(const DVector& a, const DVector& b, const DVector& c) {
    const long double x =
        static_cast<long double>(b[1]) * c[2] - static_cast<long double>(b[2]) * c[1];
    const long double y =
        static_cast<long double>(b[2]) * c[0] - static_cast<long double>(b[0]) * c[2];
    const long double z =
        static_cast<long double>(b[0]) * c[1] - static_cast<long double>(b[1]) * c[0];
    return static_cast<double>(a[0] * x + a[1] * y + a[2] * z);
}

double Sign(double x) {
    return x >= 0.0 ? 1.0 : -1.0;
}

double Cofactor(const TMatrix3& m, int row, int col) {
    int r0 = row == 0 ? 1 : 0;
    int r1 = row == 2 ? 1 : 2;
    int c0 = col == 0 ? 1 : 0;
    int c1 = col == 2 ? 1 : 2;
    auto at = [&m](int r, int c) {
        return static_cast<long double>(
            m[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
    };
    long double minor = at(r0, c0) * at(r1, c1) - at(r0, c1) * at(r1, c0);
    return static_cast<double>((row + col) % 2 == 0 ? minor : -minor);
}

int FitPlane(const SMasVec& points, double& rms, double& maxdev, DVector& normal, double& D) {
    rms = 0.0;
    maxdev = 0.0;
    normal = {0.0, 0.0, 0.0};
    D = 0.0;
    if (points.empty())
        return kFitPlaneDegenerate;

    const auto count = static_cast<long double>(points.size());
    long double cx = 0, cy = 0, cz = 0;
    for (const SVector& p : points) {
        cx += p[0];
        cy += p[1];
        cz += p[2];
    }
    cx /= count;
    cy /= count;
    cz /= count;

    long double sxx = 0, syy = 0, szz = 0, sxy = 0, sxz = 0, syz = 0;
    for (const SVector& p : points) {
        const long double x = p[0] - cx;
        const long double y = p[1] - cy;
        const long double z = p[2] - cz;
        sxx += x * x;
        syy += y * y;
        szz += z * z;
        sxy += x * y;
        sxz += x * z;
        syz += y * z;
    }

    const long double d = syy + szz;
    const long double e = szz + sxx;
    const long double f = syy + sxx;
    const long double m = -(d + e + f);
    const long double b = d * e + d * f + e * f - sxz * sxz - sxy * sxy - syz * syz;
    const long double c =
        2 * sxy * sxz * syz + e * sxz * sxz + f * sxy * sxy + d * syz * syz - d * e * f;

    const long double p = (3 * b - m * m) / 3;
    const long double q = 2 * m * m * m / 27 - b * m / 3 + c;
    const long double delta = p * p * p / 27 + q * q / 4;
    if (delta > 1e-4L)
        return kFitPlaneDegenerate;

    const long double r = Sign(static_cast<double>(q)) * std::sqrt(std::fabs(p / 3));
    if (std::fabs(r) < 1e-4L)
        return kFitPlaneDegenerate;
    const long double phi = SafeArcCos(static_cast<double>(q / (2 * r * r * r)));
    long double lambda = 0;
    for (int k = 0; k < 3; ++k) {
        const long double root =
            -2 * r * std::cos(phi / 3 + k * 2 * std::numbers::pi_v<long double> / 3) - m / 3;
        if (k == 0 || root > lambda)
            lambda = root;
    }

    const TMatrix3 shifted = {
        {{static_cast<double>(d - lambda), static_cast<double>(-sxy), static_cast<double>(-sxz)},
         {static_cast<double>(-sxy), static_cast<double>(e - lambda), static_cast<double>(-syz)},
         {static_cast<double>(-sxz), static_cast<double>(-syz), static_cast<double>(f - lambda)}}};
    int bestRow = 0;
    int bestCol = 0;
    double best = 0.0;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            double value = std::fabs(Cofactor(shifted, row, col));
            if (value > best) {
                best = value;
                bestRow = row;
                bestCol = col;
            }
        }
    if (best < 1e-4)
        return kFitPlaneNoNormal;

    const double pivot = Cofactor(shifted, bestRow, bestCol);
    DVector n{};
    for (int t = 0; t < 3; ++t)
        n[static_cast<std::size_t>(t)] = Cofactor(shifted, bestRow, t) / pivot;
    const double length = VecLen(n);
    for (double& component : n)
        component /= length;
    if (VecLen(n) < 1e-4)
        return kFitPlaneDegenerate;

    normal = n;
    D = -static_cast<double>(n[0] * cx + n[1] * cy + n[2] * cz);
    long double sumSquares = 0;
    for (const SVector& point : points) {
        const double deviation = std::fabs(n[0] * point[0] + n[1] * point[1] + n[2] * point[2] + D);
        sumSquares += static_cast<long double>(deviation) * deviation;
        if (deviation > maxdev)
            maxdev = deviation;
    }
    rms = static_cast<double>(std::sqrt(sumSquares / count));
    return kFitPlaneOk;
}

void PlaneFrom3(double& A, double& B, double& C, double& D, const SVector& p1, const SVector& p2,
                const SVector& p3) {
    const DVector x{p1[0], p2[0], p3[0]};
    const DVector y{p1[1], p2[1], p3[1]};
    const DVector z{p1[2], p2[2], p3[2]};
    const DVector one{1.0, 1.0, 1.0};
    A = Det3(y, z, one);
    B = Det3(z, x, one);
    C = Det3(x, y, one);
    D = -Det3(x, y, z);
}

} // namespace ormaline
