// The legend (one row per kind of displayed atom, with a circle and a text) and the axes
// glyph ("a", "b", "c" along the projected cell edges) of a viewer window. The rows and
// every node's row are made here; what a frame shows of legend and axes is worked out
// here as pictures in client pixels, which each renderer walks with its own drawing
// calls, so that both renderers draw the same legend and the mouse hits what was drawn.
#pragma once

#include "viewer/core/LVScene.h"
#include "viewer/core/RenderRules.h"

#include <string>
#include <string_view>
#include <vector>

namespace ormaline {

// Text measures of the font the legend and axes are drawn with, in pixels.
class TTextMetrics {
public:
    virtual ~TTextMetrics() = default;
    virtual int TextWidth(std::string_view text) const = 0;
    virtual int TextHeight(std::string_view text) const = 0;
    // Height above the baseline.
    virtual int Ascent() const = 0;
};

// Builds the rows (with `newLegend` from scratch, else extending them) and sets every
// node's LegInd: one row per distinct row text of the legend mode, over the nodes with
// an element above 0. New rows are sorted (SortArrLeg) when `newLegend` is set.
void ReadLegInd(TLVScene& scene, bool newLegend);
// The text of a node's row in legend mode `mode`.
std::string LegendRowText(const tTopAt& node, int mode);
// Orders the rows for the legend mode (exchange sort over all pairs).
void SortArrLeg(TLVScene& scene);
// 0.5 with EqualRadii; otherwise the largest radius of the rows in `shown` (0 when none).
float MaxRadLeg(const TLVScene& scene, const TLegendSet& shown);
// Colour of a row's circle.
TColor LegendRowColour(const TRecLeg& row, const TLatvistaOpt& options,
                       const TViewColours& colours);

// The renderers' visibility pass: a visible node gets bit 1 cleared (to be painted) and,
// unless it is an auxiliary point while ShowVertex is off, its row identity (0..127)
// enters the legend set; an invisible node gets bit 1 set. The set is kept in
// LegendShown for the legend's hit test.
struct TVisibility {
    TLegendSet legend;
    std::size_t nodes = 0; // length of the node list
    std::size_t atoms = 0; // visible nodes that are not auxiliary points
};
TVisibility MarkVisibleNodes(TLVScene& scene);

// Where the rows of the legend set lie: the pixel scale q, the common circle radius s,
// and per shown row (in row order) its centre y, circle radius and half height (the
// larger of the circle radius and half its text height).
struct TLegendRowPlace {
    std::size_t row; // index in ArrLeg
    int centreY;
    int radius; // s with EqualRadii, else round(rad q)
    int half;
};
struct TLegendLayout {
    double q = 0;
    int s = 0;
    int widest = 0; // widest row text " - " + st
    std::vector<TLegendRowPlace> rows;
};
TLegendLayout LegendLayout(const TLVScene& scene, const TLegendSet& shown,
                           const TTextMetrics& metrics);

// The legend of a frame. Circle centres lie at (LegI0, centreY); texts are " - " + st
// starting at textX, vertically around the centre.
struct TLegendPicture {
    struct TRow {
        int x, y;            // circle centre
        int p;               // circle radius of the 2D canvas (at least half the text height)
        double sphereRadius; // radius of the lit sphere, pixels
        TColor colour;
        TBrushStyle fill;
        std::string text;
        int textX;
        int textHeight;
    };
    bool drawn = false; // at least one row
    TRect rect;
    bool frame = false;
    TColor pen = 0, background = 0;
    int circlePenWidth = 0; // TickLineCircle
    std::vector<TRow> rows;
};
// Lays out the legend of the rows in `shown` and sets LegRect (empty when no row is shown).
TLegendPicture SeeLegend(TLVScene& scene, const TViewColours& colours, const TLegendSet& shown,
                         const TTextMetrics& metrics);

// The axes glyph: lines from (Gi0, Gj0) along the projected cell edges a, b, c, a quarter
// of the pixel scale long, each with its letter beside its end.
struct TAxesPicture {
    struct TAxis {
        int x, y; // end point
        TColor colour;
        char letter;
    };
    bool drawn = false; // the cell corners exist
    int x0 = 0, y0 = 0;
    int lineWidth = 0; // ArrTickBonds entry 2 (0: thinnest)
    TColor textColour = 0;
    TAxis axes[3]{};
};
TAxesPicture SeeABCCell(const TLVScene& scene, const TViewColours& colours);

// The legend, axes and cell toggles of the window ("Legend", "ABC Cell", "Cell"), with
// their undo states; showing the cell makes every cell corner visible again.
void ToggleLegend(TLVScene& scene);
void ToggleABCCell(TLVScene& scene);
void ToggleCell(TLVScene& scene);
void ShowCellCorners(TLVScene& scene);

} // namespace ormaline
