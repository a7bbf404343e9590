// Cell-derived parameters of the fractional-to-Cartesian map.
//
// The Cartesian frame has c along Z and b in the YZ plane; a completes a right-handed
// set. With unit vectors along the cell edges: c = (0, 0, 1), b = (0, sin α, cos α),
// a = (k11, sin β · Cos_C, cos β).
#pragma once

#include "model/VectorTypes.h"

namespace ormaline {

struct TParamTTO {
    DVector CosUg{};       // cos α, cos β, cos γ
    double SinAlpha = 0.0; // sin α
    double SinBeta = 0.0;  // sin β
    double Cos_C = 0.0;    // (cos γ − cos α cos β) / (sin α sin β)
    double k11 = 0.0;      // sin β · √|1 − Cos_C²|
    bool NOrth = false;    // at least one cell angle differs from 90° by more than 0.01°
};

} // namespace ormaline
