// The measurement line of the selection: its composition and, by how many atoms are
// selected with which colour, a distance, a bond or torsion angle, a point-to-plane
// distance, or an angle between lines and planes. Positions are model coordinates
// (Cartesian, angstrom); angles are written in degrees.
#pragma once

#include "viewer/core/LVScene.h"

#include <optional>
#include <string>

namespace ormaline {

// The measurement line of the selection for status panel 1, recomputed after every
// change of the selection; nothing without a scene. The plane-equation texts are made
// again on the way (PlaneEquations.h).
std::optional<std::string> Dimension(TLVScene& scene);

// The angle (degrees) between the planes a1·x + d1 = 0 and a2·x + d2 = 0, or nothing
// when a plane passes through the model origin (|d| below 1e-7) or a normal is shorter
// than 1e-4. Without `hinge` it is folded to 0..90°. With the hinge B→C of a torsion it
// is signed by (n1 × n2)·(C − B).
std::optional<double> PlaneAngle(const DVector& n1, double d1, const DVector& n2, double d2,
                                 const DVector* hingeB = nullptr, const DVector* hingeC = nullptr);

} // namespace ormaline
