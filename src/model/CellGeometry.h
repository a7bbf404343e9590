// Cell geometry: the derived parameters of a cell and the maps between cell and
// Cartesian coordinates, with the scalar and vector helpers that drawing and
// measuring share.
//
// Cartesian frame: c along Z, b in the YZ plane, a completing a right-handed set.
// Lengths in Å, angles in degrees unless a function says radians.
#pragma once

#include "model/OurData.h"

namespace ormaline {

// True when any of the edges a, b, c (Å) or the angles α, β, γ (degrees) is below 0.1,
// or is not a finite number.
bool BadCell(const SVector& edges, const SVector& angles);

// Fills param from the cell edges and angles. NOrth is true when an angle differs from
// 90° by more than 0.01°; only then are the trigonometric values computed, otherwise
// they stay at the identity defaults (CosUg 0, SinAlpha = SinBeta = 1, Cos_C = 0,
// k11 = 1). Returns false, with the identity defaults and NOrth from the angles, when
// BadCell rejects the cell.
bool CalcParamTTO(const SVector& edges, const SVector& angles, TParamTTO& param);
// The same for a compound's DC.Tr and DC.Ug, into its ParamTTO.
bool CalcParamTTO(tCompParam& comp);

// (u, v, w) → (X, Y, Z) in place. (u, v, w) are the fractional coordinates already
// multiplied by a, b and c (Å along the edges); (X, Y, Z) is Cartesian in Å:
//   X = u·k11,  Y = u·SinBeta·Cos_C + v·SinAlpha,  Z = u·cos β + v·cos α + w.
// Callers apply it only for a cell with NOrth set; otherwise (u, v, w) is Cartesian.
void FractToOrth(SVector& vector, const TParamTTO& param);
void FractToOrthD(DVector& vector, const TParamTTO& param);

// The inverse map, Cartesian (X, Y, Z) in Å → (u, v, w) in Å along the edges; divide
// by a, b, c for fractional coordinates. Needs a usable cell (k11 and SinAlpha ≠ 0).
void OrthToFract(DVector& vector, const TParamTTO& param);

// arccos x in radians, with π for x < −1 and 0 for x > 1.
double SafeArcCos(double x);

// The angle (radians) opposite side a of a triangle with sides a, b, c.
double AngleFromSides(double a, double b, double c);

// Length of a vector.
double VecLen(const DVector& v);

// normal := u × v, divided by its length when that is at least eps; otherwise left
// unnormalised and flag := 1. The flag is never cleared here.
void UnitNormal(const DVector& u, const DVector& v, DVector& normal, double eps, int& flag);

} // namespace ormaline
