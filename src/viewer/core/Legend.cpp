#include "viewer/core/Legend.h"

#include "model/ElementCodes.h"
#include "model/NumberFormat.h"
#include "viewer/core/SceneActions.h"
#include "viewer/core/ViewTransforms.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ormaline {
namespace {

// Legend modes.
constexpr int kModeName = 1;
constexpr int kModeNameIndex = 2;
constexpr int kModeNameDegOx = 3;
constexpr int kModeTint = 4;

constexpr int kNoDegOx = 16;

int ElementOf(const tTopAt& node) {
    return node.pSAt != nullptr ? node.pSAt->A.n : 0;
}

bool Shown(const TRecLeg& row, const TLegendSet& shown) {
    return row.ind >= 0 && row.ind <= 127 && shown.test(static_cast<std::size_t>(row.ind));
}

} // namespace

std::string LegendRowText(const tTopAt& node, int mode) {
    const tSAtom& atom = node.pSAt->A;
    const std::string symbol(ElSymbol(atom.n));
    switch (mode) {
    case kModeName:
        return symbol;
    case kModeNameIndex:
        return symbol + "(" + std::to_string(atom.i) + ")";
    case kModeNameDegOx:
        if (std::abs(atom.DegOx) == kNoDegOx)
            return symbol;
        return symbol + "{" + (atom.DegOx > 0 ? "+" : "") + std::to_string(atom.DegOx) + "}";
    default:
        return "None";
    }
}

void ReadLegInd(TLVScene& scene, bool newLegend) {
    const int mode = scene.WLVO.LegMode;
    if (newLegend) {
        scene.ArrLeg.clear();
        scene.CArrLeg = 0;
        for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
            node->LegInd = 0;
    }
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li) {
        const int element = ElementOf(*node);
        if (element <= 0)
            continue;
        const std::string text = LegendRowText(*node, mode);
        const auto found = std::find_if(scene.ArrLeg.begin(), scene.ArrLeg.end(),
                                        [&](const TRecLeg& row) { return row.st == text; });
        if (found != scene.ArrLeg.end()) {
            node->LegInd = found->ind;
            continue;
        }
        TRecLeg row;
        row.st = text;
        row.n = static_cast<std::int16_t>(element);
        row.rad = node->rad;
        row.KTint = node->rad;
        row.t_ind = -1;
        row.ind = node->LegInd != 0 ? node->LegInd : scene.CArrLeg + 1;
        row.i = -1;
        row.DegOx = -kNoDegOx;
        row.LegFillStyle = bsSolid;
        if (mode == kModeNameIndex) {
            row.i = node->pSAt->A.i;
        } else if (mode == kModeNameDegOx) {
            row.DegOx = static_cast<std::int8_t>(node->pSAt->A.DegOx);
        } else if (mode == kModeTint) {
            row.n = -1;
            row.rad = 0.5f;
            row.KTint = 0.0f;
        } else if (mode != kModeName) {
            row.n = -1;
            row.rad = row.KTint = 0.5f;
        }
        scene.ArrLeg.push_back(row);
        ++scene.CArrLeg;
        if (node->LegInd == 0)
            node->LegInd = scene.CArrLeg;
    }
    if (newLegend)
        SortArrLeg(scene);
}

void SortArrLeg(TLVScene& scene) {
    const int mode = scene.WLVO.LegMode;
    std::vector<TRecLeg>& rows = scene.ArrLeg;
    const auto before = [mode](const TRecLeg& later, const TRecLeg& earlier) {
        switch (mode) {
        case kModeName:
            return later.n < earlier.n;
        case kModeNameIndex:
            return later.n < earlier.n || (later.n == earlier.n && later.i < earlier.i);
        case kModeNameDegOx:
            return later.n < earlier.n || (later.n == earlier.n && later.DegOx < earlier.DegOx);
        case kModeTint:
            return earlier.t_ind < later.t_ind;
        default:
            return false;
        }
    };
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (std::size_t j = i + 1; j < rows.size(); ++j)
            if (before(rows[j], rows[i]))
                std::swap(rows[i], rows[j]);
}

float MaxRadLeg(const TLVScene& scene, const TLegendSet& shown) {
    if (scene.WLVO.EqualRadii)
        return 0.5f;
    float largest = 0.0f;
    for (const TRecLeg& row : scene.ArrLeg)
        if (Shown(row, shown))
            largest = std::max(largest, row.rad);
    return largest;
}

TColor LegendRowColour(const TRecLeg& row, const TLatvistaOpt& options,
                       const TViewColours& colours) {
    if (options.Black_White)
        return options.LegMode == kModeTint ? colours.PenColor : 0xFFFFFF;
    if (options.GrColor)
        return GroupColorOf(row.n, colours.ColorGr);
    if (options.LegMode == kModeTint)
        return colours.PenColor;
    return ElementColor(row.n);
}

TVisibility MarkVisibleNodes(TLVScene& scene) {
    TVisibility pass;
    const bool vertices = scene.WLVO.ShowVertex;
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li) {
        ++pass.nodes;
        if ((node->c & kNodeVisible) != 0) {
            pass.atoms += node->PolyVert ? 0 : 1;
            node->c &= static_cast<std::uint8_t>(~kNodePainted);
            if (!(node->PolyVert && !vertices) && node->LegInd >= 0 && node->LegInd <= 127)
                pass.legend.set(static_cast<std::size_t>(node->LegInd));
        } else {
            node->c |= kNodePainted;
        }
    }
    scene.LegendShown = pass.legend;
    return pass;
}

TLegendLayout LegendLayout(const TLVScene& scene, const TLegendSet& shown,
                           const TTextMetrics& metrics) {
    const TLatvistaOpt& o = scene.WLVO;
    TLegendLayout layout;
    if (o.EqualRadii) {
        layout.q = scene.mas_l / scene.PrevMas / PartRadOf(o);
    } else {
        layout.q = scene.CoefMas * scene.CoeffDX / PartRadOf(o);
        if (o.Perspect && o.ZeroPos > 0)
            layout.q = (o.ZeroPos - 3) * layout.q / o.ZeroPos;
    }
    if (!std::isfinite(layout.q))
        layout.q = 0;
    layout.s = PixelRound(MaxRadLeg(scene, shown) * layout.q);
    int y = scene.LegJ0;
    int previousHalf = 0;
    for (std::size_t index = 0; index < scene.ArrLeg.size(); ++index) {
        const TRecLeg& row = scene.ArrLeg[index];
        if (!Shown(row, shown))
            continue;
        const std::string text = " - " + row.st;
        const int radius = o.EqualRadii ? layout.s : PixelRound(row.rad * layout.q);
        const int half = std::max(radius, metrics.TextHeight(text) / 2);
        y += previousHalf + half + 5;
        previousHalf = half;
        layout.widest = std::max(layout.widest, metrics.TextWidth(text));
        layout.rows.push_back({index, y, radius, half});
    }
    return layout;
}

TLegendPicture SeeLegend(TLVScene& scene, const TViewColours& colours, const TLegendSet& shown,
                         const TTextMetrics& metrics) {
    const TLatvistaOpt& o = scene.WLVO;
    const TLegendLayout layout = LegendLayout(scene, shown, metrics);
    TLegendPicture picture;
    picture.rect.Top = scene.LegJ0;
    picture.rect.Left = scene.LegI0 - layout.s - 7;
    if (layout.rows.empty()) {
        // Nothing shown: an empty rectangle, so that no old legend keeps the mouse away.
        picture.rect.Right = picture.rect.Left;
        picture.rect.Bottom = picture.rect.Top;
        scene.LegRect = picture.rect;
        return picture;
    }
    const TLegendRowPlace& last = layout.rows.back();
    picture.rect.Right = scene.LegI0 + layout.widest + layout.s + 15;
    picture.rect.Bottom = last.centreY + last.half + 5;
    scene.LegRect = picture.rect;
    picture.drawn = true;
    picture.frame = o.LegFrame;
    picture.pen = colours.PenColor;
    picture.background = o.WGBCol;
    picture.circlePenWidth = o.TickLineCircle;
    const float maxRad = MaxRadLeg(scene, shown);
    for (const TLegendRowPlace& place : layout.rows) {
        const TRecLeg& row = scene.ArrLeg[place.row];
        const std::string text = " - " + row.st;
        picture.rows.push_back({scene.LegI0, place.centreY, place.half,
                                (o.EqualRadii ? maxRad : row.rad) * layout.q,
                                LegendRowColour(row, o, colours), row.LegFillStyle, text,
                                scene.LegI0 + layout.s + 3, metrics.TextHeight(text)});
    }
    return picture;
}

TAxesPicture SeeABCCell(const TLVScene& scene, const TViewColours& colours) {
    TAxesPicture picture;
    const TCellArr& cell = scene.WVecCell;
    if (std::find(cell.begin(), cell.end(), nullptr) != cell.end())
        return picture;
    const TLatvistaOpt& o = scene.WLVO;
    picture.drawn = true;
    picture.x0 = scene.Gi0;
    picture.y0 = scene.Gj0;
    picture.lineWidth = o.ArrTickBonds[2];
    picture.textColour = colours.PenColor;
    constexpr TColor kAxisColours[3] = {0x0000FF, 0x00FF00, 0xFF0000};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const double dx = (cell[0]->ik - cell[axis + 1]->ik) * scene.XYZMas;
        const double dy = (cell[0]->jk - cell[axis + 1]->jk) * scene.XYZMas;
        picture.axes[axis] = {scene.Gi0 + PixelRound(dx), scene.Gj0 - PixelRound(dy),
                              o.Black_White ? colours.PenColor : kAxisColours[axis],
                              static_cast<char>('a' + axis)};
    }
    return picture;
}

void ShowCellCorners(TLVScene& scene) {
    for (tTopAt* node = scene.WPTAll; node != nullptr && node != scene.WPTAtEnd; node = node->li)
        if ((node->c & kNodeAuxiliary) != 0)
            node->c |= kNodeVisible;
}

void ToggleLegend(TLVScene& scene) {
    ToggleOption(scene, 18, "Legend", &TLatvistaOpt::Legend);
}

void ToggleABCCell(TLVScene& scene) {
    ToggleOption(scene, 16, "ABC cell", &TLatvistaOpt::ABC_Cell);
}

void ToggleCell(TLVScene& scene) {
    KeepState(scene, 13, "Cell");
    scene.WLVO.NumSeeBond ^= cbCellEdge;
    if ((scene.WLVO.NumSeeBond & cbCellEdge) != 0)
        ShowCellCorners(scene);
}

} // namespace ormaline
