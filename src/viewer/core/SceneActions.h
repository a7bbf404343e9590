// Selection primitives and the model and label actions' effects on the scene.
#pragma once

#include "viewer/core/LVScene.h"

namespace ormaline {

// Selects PTMAt with colour 1..3 (a node already selected takes the new colour); a colour
// of 0 or below deselects it (NotSpecAt with the colour's magnitude). Auxiliary points
// (bit 16: the cell corners) are never selected.
void SpecAt(TLVScene& scene, int colour);
// Deselects PTMAt when it is selected with `colour`, or with any colour for 0.
void NotSpecAt(TLVScene& scene, int colour);
// Applies SpecAt(colour) to every visible node that has a compound atom (from WPTAll with
// ShowVertex, else from WPTAtEnd), after the undo state 3 "Select all atoms".
void InsAllAtom(TLVScene& scene, int colour);
// Drops every selection record; PTMAt := WPTAtEnd.
void NotInsAllAtom(TLVScene& scene);

// Applies the current model (key 0), atom label (keys 1 and 11) or bond label (key 12)
// settings to the selected nodes, or to all nodes when nothing is selected.
void NewDataPTAt(TLVScene& scene, int key);

// Model and label actions ("Wire" .. "Sphere&&Cylinder", "Named Atoms", "Distance Labels",
// "RadPlus", "Coloured Bonds", "Black&&White", "OpenGL Mode" / "Windows GDI Mode").
void SetDrawingModel(TLVScene& scene, int model);
void ToggleAtomLabels(TLVScene& scene);
void ToggleBondLabels(TLVScene& scene);
void RadPlus(TLVScene& scene);
void ToggleColouredBonds(TLVScene& scene);
// Records the undo state (code, remark) of a switch of the options and turns it over.
void ToggleOption(TLVScene& scene, int code, std::string_view remark, bool TLatvistaOpt::*option);
void ToggleBlackWhite(TLVScene& scene);
void SetRenderMode(TLVScene& scene, int tag);

// New radii in WLVO.RadAt take effect: the compound's element radii (codes below 1 take
// entry 111), the element list re-sorted by radius, and every node with an element gets
// its element's radius.
void ApplyElementRadii(TLVScene& scene);

// A new window's scene state: the options from the process-wide copy with the radius table
// of their radius system, a renderer number above 253 taken as 1, no selection, undo
// recording allowed, no single-molecule mode, select mode and no hover highlight.
void InitWindowScene(TLVScene& scene, const TLatvistaOpt& processWide);

// Label offsets: dx in the low 16 bits, dy in the high 16 bits, both signed.
std::int32_t PackPosName(int dx, int dy);
int PosNameDx(std::int32_t packed);
int PosNameDy(std::int32_t packed);

} // namespace ormaline
