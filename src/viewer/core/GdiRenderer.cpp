#include "viewer/core/GdiRenderer.h"

#include "viewer/core/SceneActions.h"
#include "viewer/core/ViewTransforms.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ormaline {
namespace {

constexpr std::size_t kMaxLabel = 10;

bool IsCellCorner(const tTopAt& node) {
    return (node.c & kNodeAuxiliary) != 0;
}

int ElementOf(const tTopAt& node) {
    return node.pSAt != nullptr ? node.pSAt->A.n : 0;
}

std::optional<TColor> SelectionColour(const tTopAt& node, const TViewColours& colours) {
    if (node.PIAt == nullptr)
        return std::nullopt;
    const int col = node.PIAt->col;
    if (col < 1 || col > 4)
        return std::nullopt;
    return colours.clInsAt[static_cast<std::size_t>(col - 1)];
}

// Tint, group colour, legend mode 4 or element colour: the part both colours share.
TColor OwnColour(const tTopAt& node, const TLatvistaOpt& o, const TViewColours& colours) {
    if (node.lAColor != clNone)
        return node.lAColor;
    if (o.GrColor)
        return GroupColorOf(ElementOf(node), colours.ColorGr);
    if (o.LegMode == 4)
        return ParamColor(node, colours);
    return ElementColor(ElementOf(node));
}

// Perspective factor of a length at view depth z.
double DepthScale(const TOutlineView& view, double z) {
    if (!view.perspective || view.ZeroPos <= 0)
        return 1.0;
    return view.NearPos * view.mas / (view.mas * view.ZeroPos - z);
}

TPoint Rounded(double x, double y) {
    return {PixelRound(x), PixelRound(y)};
}

std::string Cut(std::string text) {
    if (text.size() > kMaxLabel)
        text.resize(kMaxLabel);
    return text;
}

int HalfEven(int size) {
    return (size + (size & 1)) / 2;
}

class TPainter2D {
public:
    TPainter2D(TLVScene& scene, const TViewColours& colours, const TCanvasEnv& env,
               TCanvasPicture& picture)
        : scene_(scene), o_(scene.WLVO), colours_(colours), env_(env), picture_(picture) {
        view_.perspective = o_.Perspect && o_.ZeroPos > 0;
        view_.NearPos = o_.ZeroPos - 3;
        view_.ZeroPos = o_.ZeroPos;
        view_.mas = scene.mas;
        defaultHalfWidth_ = o_.dBond / PartRadOf(o_) * scene.CoeffDX;
        int atoms = 0;
        for (const tTopAt* node = scene.WPTAtEnd; node != nullptr && atoms < 2; node = node->li)
            ++atoms;
        singleAtom_ = atoms == 1;
    }

    void PaintNode(tTopAt& a);

private:
    TOutlineEnd EndOf(const tTopAt& node) const {
        return {static_cast<double>(scene_.i0 + PixelRound(node.ik * scene_.CoeffDX)),
                static_cast<double>(scene_.j0 - PixelRound(node.jk * scene_.CoeffDX)), node.hk};
    }
    void AddHalf(const TOutlineEnd& from, const TOutlineEnd& to, const tTopAt& atom,
                 TColor lineColour, const tBoundAt& bond, bool cylinder, TPen pen,
                 double halfWidth);
    // A label of `text` centred on (x, y): with framed labels on a tooltip-coloured box 2
    // pixels larger than the text; `background` gives the text cell a solid fill.
    void AddLabel(double x, double y, const std::string& text, std::optional<TColor> background);
    void Add(TCanvasItem item) { picture_.items.push_back(std::move(item)); }

    TLVScene& scene_;
    const TLatvistaOpt& o_;
    const TViewColours& colours_;
    const TCanvasEnv& env_;
    TCanvasPicture& picture_;
    TOutlineView view_;
    double defaultHalfWidth_ = 0;
    bool singleAtom_ = false;
};

void TPainter2D::AddHalf(const TOutlineEnd& from, const TOutlineEnd& to, const tTopAt& atom,
                         TColor lineColour, const tBoundAt& bond, bool cylinder, TPen pen,
                         double halfWidth) {
    if (cylinder) {
        TColor fill = lineColour;
        if (!o_.ColBonds && atom.nm == 3)
            fill = bond.lBColor != clNone ? bond.lBColor : o_.CylinderCol;
        const std::optional<TOutline> outline = CalcRect(halfWidth, bond.r / 2.0, from, to, view_);
        if (!outline)
            return;
        TCanvasItem polygon;
        polygon.kind = TCanvasItem::TKind::Polygon;
        polygon.pen = {colours_.PenColor, 1, TPenStyle::Solid};
        polygon.brush = {fill, bsSolid};
        polygon.points.assign(outline->begin(), outline->end());
        Add(std::move(polygon));
        return;
    }
    pen.colour = lineColour;
    if (!o_.ColBonds && IsSphereModel(atom.nm))
        pen.colour = bond.lBColor != clNone ? bond.lBColor : colours_.PenColor;
    TCanvasItem line;
    line.kind = TCanvasItem::TKind::Line;
    line.pen = pen;
    line.brush = {0, bsClear};
    line.points = {Rounded(from.x, from.y), Rounded(to.x, to.y)};
    Add(std::move(line));
}

void TPainter2D::AddLabel(double x, double y, const std::string& text,
                          std::optional<TColor> background) {
    if (text.empty() || env_.metrics == nullptr)
        return;
    const int width = env_.metrics->TextWidth(text);
    const int height = env_.metrics->TextHeight(text);
    const int left = PixelRound(x) - HalfEven(width);
    const int top = PixelRound(y) - HalfEven(height);
    TCanvasItem label;
    label.kind = TCanvasItem::TKind::Text;
    label.pen = {colours_.PenColor, 1, TPenStyle::Solid};
    label.brush = {0, bsClear};
    if (o_.ATransparent) {
        TCanvasItem box;
        box.kind = TCanvasItem::TKind::Rectangle;
        box.pen = label.pen;
        box.brush = {env_.tooltipColour, bsSolid};
        box.points = {{left - 1, top - 1}, {left + width + 1, top + height + 1}};
        Add(std::move(box));
        if (background)
            label.brush = {env_.tooltipColour, bsSolid};
    } else if (background) {
        label.brush = {*background, bsSolid};
    }
    label.points = {{left, top}};
    label.text = text;
    Add(std::move(label));
}

void TPainter2D::PaintNode(tTopAt& a) {
    a.c |= kNodePainted;
    const bool cellShown = (o_.NumSeeBond & cbCellEdge) != 0;
    const TOutlineEnd pa = EndOf(a);
    const TColor lineA = LineColour2D(a, o_, colours_);
    double largestHalfWidth = defaultHalfWidth_;
    bool anyHalfWidth = false;
    bool bondDrawn = false;

    if (!(IsCellCorner(a) && !cellShown)) {
        for (const tBoundAt* bond = a.p; bond != nullptr; bond = bond->li) {
            const auto kind = static_cast<std::uint8_t>(bond->cb & 0x3F);
            if ((bond->cb & cbCellEdge) != 0 && !cellShown) {
                bondDrawn = true;
                continue;
            }
            const double halfWidth =
                bond->diam >= 0 ? bond->diam / PartRadOf(o_) * scene_.CoeffDX : defaultHalfWidth_;
            largestHalfWidth = anyHalfWidth ? std::max(largestHalfWidth, halfWidth) : halfWidth;
            anyHalfWidth = true;
            const tTopAt* b = bond->p;
            if (b == nullptr || b == &a || (kind & o_.NumSeeBond) == 0 ||
                (b->c & (kNodePainted | kNodeVisible)) != (kNodePainted | kNodeVisible) ||
                (bond->c & kBondShown) == 0 || (bond->c & kBondOpen) != 0)
                continue;
            bondDrawn = true;
            const TOutlineEnd pb = EndOf(*b);
            const TOutlineEnd mid{(pa.x + pb.x) / 2, (pa.y + pb.y) / 2, (pa.z + pb.z) / 2};
            TOutlineEnd end = pb;
            if (!(bond->r < 0.001f || b->nm < 2 || IsCellCorner(*b))) {
                const double length = view_.perspective ? std::hypot(a.ik - b->ik, a.jk - b->jk)
                                                        : static_cast<double>(bond->r);
                if (length > 1e-7) {
                    const double t = b->rk / length;
                    end = {pb.x + t * (pa.x - pb.x), pb.y + t * (pa.y - pb.y),
                           pb.z + t * (pa.z - pb.z)};
                }
            }
            const TPen pen{0, o_.ArrTickBonds[static_cast<std::size_t>(TickIndexOfKind(kind))],
                           PenStyleOfKind(kind)};
            const bool cylinder =
                IsCylinderModel(a.nm) && IsCylinderModel(b->nm) && pen.style == TPenStyle::Solid;
            AddHalf(pa, mid, a, lineA, *bond, cylinder, pen, halfWidth);
            AddHalf(mid, end, *b, LineColour2D(*b, o_, colours_), *bond, cylinder, pen, halfWidth);
            AddLabel(mid.x, mid.y, Cut(BondLabelText(*bond, o_)), o_.WGBCol);
        }
    }

    if ((a.nm == 0 || a.nm == 1) && !bondDrawn) {
        const int radius = o_.ArrTickBonds[0] / 2 + (a.nm == 1 ? 1 : 0);
        if (radius > 1 && !IsCellCorner(a)) {
            TCanvasItem disc;
            disc.kind = TCanvasItem::TKind::Ellipse;
            disc.pen = {lineA, 1, TPenStyle::Solid};
            disc.brush = {a.nm == 1 ? colours_.PenColor : lineA, bsSolid};
            const int x = static_cast<int>(pa.x), y = static_cast<int>(pa.y);
            disc.points = {{x - radius, y - radius}, {x + radius, y + radius}};
            Add(std::move(disc));
        }
    } else if (!IsCellCorner(a) && !(a.PolyVert && !o_.ShowVertex)) {
        int radius = PixelRound(a.rk * scene_.CoeffDX);
        if (a.nm == 1 || (a.nm == 3 && a.rad < o_.dBond))
            radius = PixelRound(largestHalfWidth * DepthScale(view_, a.hk));
        if (IsSphereModel(a.nm) || a.nm == 1 || singleAtom_) {
            const int x = static_cast<int>(pa.x), y = static_cast<int>(pa.y);
            TCanvasItem circle;
            circle.kind = TCanvasItem::TKind::Ellipse;
            circle.pen = {colours_.PenColor, o_.TickLineCircle, TPenStyle::Solid};
            circle.brush = {FillColour2D(a, o_, colours_), bsSolid};
            circle.points = {{x - radius, y - radius}, {x + radius, y + radius}};
            Add(circle);
            if (a.FillStyle != bsSolid) {
                circle.brush = {colours_.PenColor, a.FillStyle};
                Add(std::move(circle));
            }
        }
    }

    if (a.LabelExist) {
        const std::string composition =
            o_.AtomLabels == 5 && env_.partnerComposition ? env_.partnerComposition(a) : "";
        const std::string text = Cut(AtomLabelText(a, o_, composition));
        AddLabel(pa.x + PosNameDx(a.PosName), pa.y + PosNameDy(a.PosName), text, std::nullopt);
    }
}

} // namespace

void GQuickSort(std::vector<tTopAt*>& nodes) {
    if (nodes.size() < 2)
        return;
    // Hoare partition around the middle element; the smaller part recursively, the
    // larger one in the loop, so that the stack stays logarithmic.
    std::ptrdiff_t left = 0, right = static_cast<std::ptrdiff_t>(nodes.size()) - 1;
    const auto sort = [&nodes](auto&& self, std::ptrdiff_t l, std::ptrdiff_t r) -> void {
        while (l < r) {
            std::ptrdiff_t i = l, j = r;
            const float pivot = nodes[static_cast<std::size_t>((l + r) / 2)]->hk;
            do {
                while (nodes[static_cast<std::size_t>(i)]->hk < pivot)
                    ++i;
                while (nodes[static_cast<std::size_t>(j)]->hk > pivot)
                    --j;
                if (i <= j) {
                    std::swap(nodes[static_cast<std::size_t>(i)],
                              nodes[static_cast<std::size_t>(j)]);
                    ++i;
                    --j;
                }
            } while (i <= j);
            if (j - l < r - i) {
                self(self, l, j);
                l = i;
            } else {
                self(self, i, r);
                r = j;
            }
        }
    };
    sort(sort, left, right);
}

std::optional<TOutline> CalcRect(double w, double halfLength, const TOutlineEnd& p1,
                                 const TOutlineEnd& p2, const TOutlineView& view) {
    const double w1 = w * DepthScale(view, p1.z);
    const double w2 = w * DepthScale(view, p2.z);
    const double dx = p2.x - p1.x, dy = p2.y - p1.y;
    if (std::fabs(dx) < 1e-7 && std::fabs(dy) < 1e-7)
        return std::nullopt;
    const double f = std::fabs(halfLength) <= 1e-7 ? 0.0 : std::fabs(p2.z - p1.z) / halfLength;
    const double length = std::hypot(dx, dy);
    // The unit normal with a positive x component; a horizontal bond takes (0, 1).
    double nx = -dy / length, ny = dx / length;
    if (std::fabs(dx) < 1e-7) {
        nx = 1;
        ny = 0;
    } else if (std::fabs(dy) < 1e-7) {
        nx = 0;
        ny = 1;
    } else if (nx < 0) {
        nx = -nx;
        ny = -ny;
    }
    const double push = std::sqrt(3.0) / 2.0 * w * f;
    const double px = dx / length * push, py = dy / length * push;
    if (!std::isfinite(w1) || !std::isfinite(w2) || !std::isfinite(px) || !std::isfinite(py))
        return std::nullopt;
    return TOutline{
        Rounded(p1.x - w1 * nx, p1.y - w1 * ny),
        Rounded(p1.x - 0.5 * w1 * nx + px, p1.y - 0.5 * w1 * ny + py),
        Rounded(p1.x + 0.5 * w1 * nx + px, p1.y + 0.5 * w1 * ny + py),
        Rounded(p1.x + w1 * nx, p1.y + w1 * ny),
        Rounded(p2.x + w2 * nx, p2.y + w2 * ny),
        Rounded(p2.x + 0.5 * w2 * nx + px, p2.y + 0.5 * w2 * ny + py),
        Rounded(p2.x - 0.5 * w2 * nx + px, p2.y - 0.5 * w2 * ny + py),
        Rounded(p2.x - w2 * nx, p2.y - w2 * ny),
    };
}

TColor FillColour2D(const tTopAt& node, const TLatvistaOpt& options, const TViewColours& colours) {
    if (const std::optional<TColor> selected = SelectionColour(node, colours))
        return *selected;
    if (options.Black_White)
        return options.LegMode == 4 ? ParamColor(node, colours) : 0xFFFFFF;
    return OwnColour(node, options, colours);
}

TColor LineColour2D(const tTopAt& node, const TLatvistaOpt& options, const TViewColours& colours) {
    if (const std::optional<TColor> selected = SelectionColour(node, colours))
        return *selected;
    if (options.Black_White)
        return options.LegMode == 4 ? ParamColor(node, colours) : colours.PenColor;
    if (ElementOf(node) == 0)
        return colours.PenColor;
    return OwnColour(node, options, colours);
}

TPenStyle PenStyleOfKind(std::uint8_t kind) {
    switch (kind) {
    case cbSpecific:
        return TPenStyle::Dash;
    case cbVanDerWaals:
        return TPenStyle::Dot;
    case cbHydrogen:
        return TPenStyle::DashDot;
    default:
        return TPenStyle::Solid;
    }
}

void AddLegend(TCanvasPicture& picture, const TLegendPicture& legend) {
    if (!legend.drawn)
        return;
    TCanvasItem background;
    background.kind = TCanvasItem::TKind::Rectangle;
    background.pen = {legend.frame ? legend.pen : legend.background, 1, TPenStyle::Solid};
    background.brush = {legend.background, bsSolid};
    background.points = {{legend.rect.Left, legend.rect.Top},
                         {legend.rect.Right, legend.rect.Bottom}};
    picture.items.push_back(std::move(background));
    for (const TLegendPicture::TRow& row : legend.rows) {
        TCanvasItem circle;
        circle.kind = TCanvasItem::TKind::Ellipse;
        circle.pen = {legend.pen, legend.circlePenWidth, TPenStyle::Solid};
        circle.brush = {row.colour, bsSolid};
        circle.points = {{row.x - row.p, row.y - row.p}, {row.x + row.p, row.y + row.p}};
        picture.items.push_back(circle);
        if (row.fill != bsSolid) {
            circle.brush = {legend.pen, row.fill};
            picture.items.push_back(std::move(circle));
        }
        TCanvasItem text;
        text.kind = TCanvasItem::TKind::Text;
        text.pen = {legend.pen, 1, TPenStyle::Solid};
        text.brush = {0, bsClear};
        text.points = {{row.textX, row.y - row.textHeight / 2 - 2}};
        text.text = row.text;
        picture.items.push_back(std::move(text));
    }
}

void AddAxes(TCanvasPicture& picture, const TAxesPicture& axes, const TTextMetrics& metrics) {
    if (!axes.drawn)
        return;
    const int halfText = metrics.TextHeight("a") / 2;
    for (const TAxesPicture::TAxis& axis : axes.axes) {
        TCanvasItem line;
        line.kind = TCanvasItem::TKind::Line;
        line.pen = {axis.colour, axes.lineWidth, TPenStyle::Solid};
        line.brush = {0, bsClear};
        line.points = {{axes.x0, axes.y0}, {axis.x, axis.y}};
        picture.items.push_back(std::move(line));
        TCanvasItem letter;
        letter.kind = TCanvasItem::TKind::Text;
        letter.pen = {axes.textColour, 1, TPenStyle::Solid};
        letter.brush = {0, bsClear};
        letter.points = {{axis.x, axis.y - halfText}};
        letter.text = std::string(1, axis.letter);
        picture.items.push_back(std::move(letter));
    }
}

TCanvasPicture LatvistaFull_old(TLVScene& scene, const TViewColours& colours,
                                const TCanvasEnv& env) {
    TCanvasPicture picture;
    picture.width = env.width;
    picture.height = env.height;
    const TVisibility visibility = MarkVisibleNodes(scene);
    TCanvasItem background;
    background.kind = TCanvasItem::TKind::FillRect;
    background.brush = {scene.WLVO.WGBCol, bsSolid};
    background.points = {{0, 0}, {env.width, env.height}};
    picture.items.push_back(std::move(background));
    if (visibility.legend.none())
        return picture;
    GQuickSort(scene.ArrAt);
    TPainter2D painter(scene, colours, env, picture);
    for (tTopAt* node : scene.ArrAt)
        if ((node->c & kNodePainted) == 0)
            painter.PaintNode(*node);
    if (env.metrics == nullptr)
        return picture;
    if (scene.WLVO.ABC_Cell)
        AddAxes(picture, SeeABCCell(scene, colours), *env.metrics);
    if (scene.WLVO.Legend)
        AddLegend(picture, SeeLegend(scene, colours, visibility.legend, *env.metrics));
    return picture;
}

} // namespace ormaline
