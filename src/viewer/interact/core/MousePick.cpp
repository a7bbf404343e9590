#include "viewer/interact/core/MousePick.h"

#include "viewer/core/ViewTransforms.h"
#include "viewer/interact/core/AtomDescription.h"
#include "viewer/interact/core/InteractShared.h"

#include <cmath>

namespace ormaline {
namespace {

bool Inside(const TRect& rect, int x, int y) {
    return rect.Left < x && x < rect.Right && rect.Top < y && y < rect.Bottom;
}

// The node may be picked: an atom (or an auxiliary point while ShowVertex is on) that is
// visible, and a cell corner only while the cell is shown.
bool Candidate(const tTopAt& node, const TLatvistaOpt& options) {
    return (!node.PolyVert || options.ShowVertex) && (node.c & kNodeVisible) != 0 &&
           ((node.c & kNodeAuxiliary) == 0 || (options.NumSeeBond & cbCellEdge) != 0);
}

bool InSquare(double ik, double jk, double rk, double a, double b) {
    return std::fabs(ik - a) < rk && std::fabs(jk - b) < rk;
}

} // namespace

void MouseAtom(TLVScene& scene, const TMouseEnv& env, TMouseButton button, int X, int Y,
               TMouseResult& result) {
    scene.PTMAt = nullptr;
    if (env.threadRunning || !scene.HasScene() || !(std::fabs(scene.CoeffDX) > 1e-7))
        return;
    if (scene.WLVO.Legend && Inside(scene.LegRect, X, Y))
        return;
    const double a = static_cast<float>((X - scene.i0) / scene.CoeffDX);
    const double b = static_cast<float>((scene.j0 - Y) / scene.CoeffDX);
    if (button == TMouseButton::Right && scene.MouseMode == 1) {
        for (tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo) {
            const tTopAt& node = *record->PTA;
            if (InSquare(node.ik, node.jk, node.rk, a, b)) {
                scene.PTMAt = record->PTA;
                return;
            }
        }
        return;
    }
    if (!scene.PickIndex.ValidFor(scene.ProjectionStamp, scene.NodeListStamp))
        scene.PickIndex.Build(scene.WPTAll, scene.ProjectionStamp, scene.NodeListStamp);
    tTopAt* best = nullptr;
    float bestDepth = 0.0f;
    // In list order: on equal depth the first hit stays.
    scene.PickIndex.ForSquareHits(a, b, [&](const TPickIndex::TEntry& entry) {
        const double dx = entry.ik - a, dy = entry.jk - b, r = entry.rk;
        if (!(dx * dx + dy * dy < r * r) || !Candidate(*entry.node, scene.WLVO))
            return;
        if (best == nullptr || entry.hk > bestDepth) {
            best = entry.node;
            bestDepth = entry.hk;
        }
    });
    if (best == nullptr)
        return;
    scene.PTMAt = best;
    TInteractShared& shared = InteractShared();
    shared.StatusText = WrAtom(*best, {0, 0, 0}, scene.WLVO.NumSeeBond).text;
    result.status0 = shared.StatusText;
    shared.StatusText.clear();
}

int LegClick(const TLVScene& scene, const TTextMetrics& metrics, int X, int Y) {
    if (!scene.WLVO.Legend)
        return -1;
    const TLegendLayout layout = LegendLayout(scene, scene.LegendShown, metrics);
    for (const TLegendRowPlace& place : layout.rows)
        if (std::fabs(place.centreY - Y) < place.radius + 2.5 && scene.LegRect.Left < X &&
            X < scene.LegRect.Right)
            return static_cast<int>(place.row);
    return -1;
}

TXorShape HoverCircle(const TLVScene& scene) {
    TXorShape circle;
    circle.kind = TXorShape::TKind::Circle;
    circle.x = scene.i_;
    circle.y = scene.j_;
    circle.radius = scene.rx_;
    circle.penWidth = 3;
    circle.segments = 20;
    return circle;
}

void HoverTick(TLVScene& scene, const TMouseEnv& env, TMouseResult& result) {
    if (!scene.WCurrentAtom || env.rotationOn || !scene.HasScene())
        return;
    if ((scene.MouseMode >= 2 && scene.MouseMode <= 5) || scene.MouseMove)
        return;
    if (scene.rx_ >= 0 && scene.XMouse == scene.i_ && scene.YMouse == scene.j_)
        return;
    MouseAtom(scene, env, TMouseButton::Left, scene.XMouse, scene.YMouse, result);
    if (scene.rx_ > 0)
        result.xorShapes.push_back(HoverCircle(scene));
    const tTopAt* node = scene.PTMAt;
    if (node == nullptr) {
        scene.rx_ = -1;
        return;
    }
    scene.rx_ = PixelRound(node->rk * scene.CoeffDX);
    scene.i_ = PixelRound(node->ik * scene.CoeffDX) + scene.i0;
    scene.j_ = scene.j0 - PixelRound(node->jk * scene.CoeffDX);
    result.xorShapes.push_back(HoverCircle(scene));
}

} // namespace ormaline
