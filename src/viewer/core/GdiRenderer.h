// The 2D renderer: the scene drawn with canvas operations only, filled circles for
// atoms, lines or filled outlines for bonds, text labels, then the axes glyph and the
// legend. Depth comes from the painter's order: nodes are painted from the back to the
// front. The picture is a list of canvas operations (Canvas2D.h) that a window bitmap,
// a vector picture or a printer page draws.
#pragma once

#include "viewer/core/Canvas2D.h"
#include "viewer/core/LVScene.h"
#include "viewer/core/Legend.h"
#include "viewer/core/RenderRules.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ormaline {

// Quicksort by hk ascending with the middle element as pivot (ties in any order).
void GQuickSort(std::vector<tTopAt*>& nodes);

// One end of a bond outline: pixels, and the view depth (model units).
struct TOutlineEnd {
    double x = 0, y = 0, z = 0;
};
// What perspective does to the outline's width: under perspective with ZeroPos > 0 the
// half-width at an end of depth z is w * NearPos * mas / (mas * ZeroPos - z).
struct TOutlineView {
    bool perspective = false;
    int NearPos = 0, ZeroPos = 0;
    double mas = 0;
};
using TOutline = std::array<TPoint, 8>;
// Outline of one bond half drawn as a cylinder from P1 to P2 with half-width w (pixels)
// and half bond length `halfLength` (angstrom): the two long sides and, at each end, two
// points of a half-ellipse whose depth part shows how much the bond points out of the
// screen plane. Nothing when P1 and P2 fall on the same pixel position.
std::optional<TOutline> CalcRect(double w, double halfLength, const TOutlineEnd& p1,
                                 const TOutlineEnd& p2, const TOutlineView& view);

// Colours of a node on the 2D canvas: the fill of its circle, and the line colour of its
// bond halves.
TColor FillColour2D(const tTopAt& node, const TLatvistaOpt& options, const TViewColours& colours);
TColor LineColour2D(const tTopAt& node, const TLatvistaOpt& options, const TViewColours& colours);
// Pen style of a bond kind: "Sp" dash, "vdW" dot, "Hb" dash-dot, otherwise solid.
TPenStyle PenStyleOfKind(std::uint8_t kind);

// What the canvas brings besides the scene: its size, its text measures and the colour
// of framed labels (the system's tooltip background).
struct TCanvasEnv {
    int width = 0, height = 0;
    const TTextMetrics* metrics = nullptr;
    TColor tooltipColour = 0xE1FFFF;
    // The partner composition of an atom, for atom labels of kind 5 ("CP Composition").
    std::function<std::string(const tTopAt&)> partnerComposition;
};

// One picture of the scene (prepared by BeginPaint). Marks the nodes it paints.
TCanvasPicture LatvistaFull_old(TLVScene& scene, const TViewColours& colours,
                                const TCanvasEnv& env);

// The legend and the axes glyph of Legend.h as canvas operations.
void AddLegend(TCanvasPicture& picture, const TLegendPicture& legend);
void AddAxes(TCanvasPicture& picture, const TAxesPicture& axes, const TTextMetrics& metrics);

} // namespace ormaline
