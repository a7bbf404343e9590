// Bonds from interatomic distances (`DetAdjMatrix`): two atoms are bonded when their
// distance is below the sum of their radii plus the tolerance `AdjTol`. With `TMax` =
// (0,0,0) the bonds that cross the cell faces are added as open bonds to the atom's
// image ("unwrapping").
#pragma once

#include "viewer/core/SceneBuild.h"

namespace ormaline {

// The bond search through a spatial grid (cell list). It adds the bonds in exactly the
// order of the straightforward loops below, so every node's bond list is the same. The
// bonds across the faces are looked for only among the nodes near a face (within the
// bond reach of it), so that step costs in proportion to them. Returns false when
// cancelled.
bool DetAdjMatrix(TLVScene& scene, const TSceneBuildMonitor& monitor);

// The straightforward version: every pair of nodes, and in the unwrapping step every node
// against all others for each of the 26 neighbouring cells. Kept as the reference.
bool DetAdjMatrixAllPairs(TLVScene& scene, const TSceneBuildMonitor& monitor);

// The two steps separately (the benchmark times them one by one).
bool DetAdjPairs(TLVScene& scene, const TSceneBuildMonitor& monitor);
bool DetAdjUnwrap(TLVScene& scene, const TSceneBuildMonitor& monitor);
bool DetAdjPairsAllPairs(TLVScene& scene, const TSceneBuildMonitor& monitor);
bool DetAdjUnwrapAllPairs(TLVScene& scene, const TSceneBuildMonitor& monitor);

} // namespace ormaline
