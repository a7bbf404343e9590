// Picking: the atom under a point of the window (from the projected positions the last
// paint stored in every node), the legend row under a point, and the hover highlight
// that the window's tick draws around the atom under the mouse.
#pragma once

#include "viewer/interact/core/MouseTypes.h"

namespace ormaline {

// Sets PTMAt to the node under client pixel (X, Y) or to none, and on a hit shows its
// description in status panel 0. A right click in select mode looks only at the
// selection, newest first, by the nodes' squares, and shows nothing. Otherwise the hit
// nearest the viewer (largest depth hk) wins, the first in the list on equal depth.
// Nothing is picked while a build runs, at a zero scale, or inside the shown legend.
void MouseAtom(TLVScene& scene, const TMouseEnv& env, TMouseButton button, int X, int Y,
               TMouseResult& result);

// Index in ArrLeg of the shown legend row under (X, Y), -1 when none (or no legend).
int LegClick(const TLVScene& scene, const TTextMetrics& metrics, int X, int Y);

// One tick of the hover highlight: picks at the mouse position (unless it stands at the
// centre of the current highlight) and moves the highlight circle to the picked atom.
void HoverTick(TLVScene& scene, const TMouseEnv& env, TMouseResult& result);
// The hover circle at its current place (to draw or to remove).
TXorShape HoverCircle(const TLVScene& scene);

} // namespace ormaline
