// Plane kernels of the geometric calculations: the least-squares plane through a
// point set and the plane through three points, with their determinant helpers.
// Coordinates in Å (Cartesian); planes are n·x + D = 0.
#pragma once

#include "model/VectorTypes.h"

#include <array>

namespace ormaline {

using TMatrix3 = std::array<std::array<double, 3>, 3>;

// a · (b × c): the determinant of the matrix with rows a, b, c.
double Det3(const DVector& a, const DVector& b, const DVector& c);

// 1 when x ≥ 0 (also for 0), else −1.
double Sign(double x);

// (−1)^(row+col) times the 2 × 2 minor of m without that row and column. Rows and
// columns are indexed 0..2 here.
double Cofactor(const TMatrix3& m, int row, int col);

// Result of FitPlane.
inline constexpr int kFitPlaneDegenerate = 0;
inline constexpr int kFitPlaneOk = 1;
inline constexpr int kFitPlaneNoNormal = 2;

// Least-squares plane through the points: the unit normal is the eigenvector of the
// largest eigenvalue of the centred inertia-like matrix, found from its characteristic
// cubic. Returns 1 on success with normal, D (plane normal·x + D = 0), the largest
// deviation maxdev and the root-mean-square deviation rms; 0 for a degenerate set
// (none, one or identical points, or a cubic without three real roots); 2 when no
// normal can be extracted (collinear points). All outputs start at zero.
int FitPlane(const SMasVec& points, double& rms, double& maxdev, DVector& normal, double& D);

// The plane A·x + B·y + C·z + D = 0 through three points (not normalised); three
// collinear or coincident points give A = B = C = 0.
void PlaneFrom3(double& A, double& B, double& C, double& D, const SVector& p1, const SVector& p2,
                const SVector& p3);

} // namespace ormaline
