// Least-squares planes and lines through the selected atoms and the texts of their
// equations. Positions are model coordinates (Cartesian, angstrom, cell centre at the
// origin); a plane is a·x + b·y + c·z + d = 0.
#pragma once

#include "viewer/core/LVScene.h"

#include <string>
#include <vector>

namespace ormaline {

// The equation texts of the last calculation, shared by every viewer window: the planes
// of group 1 and group 2 in orthogonal and fractional coordinates, and the line.
struct TPlaneTexts {
    std::string OrthoEq1, OrthoEq2;
    std::string FracEq1, FracEq2;
    std::string LineEq;
};
TPlaneTexts& PlaneTexts();

// The plane a·x + b·y + c·z + d = 0 (model coordinates) in fractional coordinates of
// the scene's cell: coefficients and constant, as the fractional equation writes them
// before scaling.
struct TFractionalPlane {
    DVector coefficients{};
    double constant = 0.0;
};
TFractionalPlane FractionalPlane(const TLVScene& scene, const DVector& normal, double d);

// Makes the equation texts of a plane of group 1 or 2: the orthogonal text with Sigma
// and MaxDev (angstrom, two decimals) and the fractional text, the latter of group 1
// with the index suffix " (h,k,l)" when its scaled coefficients are integers.
void CalcPlEq(const TLVScene& scene, int group, const DVector& normal, double d, double MaxDev,
              double Sigma);

// The least-squares plane through every selected atom (selection order) into the
// scene's Sigma, MaxDistLoc, zx and zx4; true when the fit succeeds.
bool EquationPlaneMNK(TLVScene& scene);

// The least-squares line through points (angstrom): centre b, unit direction u and
// summ, the sum of squared distances from the line. Fails (nothing) for fewer than two
// distinct directions to choose from: coincident points, a spread without a single
// smallest moment of inertia.
struct TLineFit {
    DVector b{};
    DVector u{};
    double summ = 0.0;
};
std::optional<TLineFit> FitLine(const std::vector<DVector>& points);

// The line through every selected atom; on success its text goes to LineEq.
bool EquationLineMNK(const TLVScene& scene);

// "   x=" ... "   summ=" lines of a fitted line, four decimals, each ending in CR LF.
std::string LineEquationText(const TLineFit& line);

// Model positions of the selected atoms, newest first.
std::vector<DVector> SelectedPositions(const TLVScene& scene);

} // namespace ormaline
