#include "viewer/LargeSceneFrame.h"

#include "viewer/core/SceneActions.h"
#include "viewer/core/ViewTransforms.h"
#include "viewer/interact/core/AtomDescription.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

namespace ormaline {
namespace {

std::uint8_t Byte(std::uint32_t colour, int shift) {
    return static_cast<std::uint8_t>((colour >> shift) & 0xFF);
}

// A colour 0x00BBGGRR as red, green, blue bytes with alpha 255.
std::array<std::uint8_t, 4> Bytes(TColor colour) {
    const auto c = static_cast<std::uint32_t>(colour);
    return {Byte(c, 0), Byte(c, 8), Byte(c, 16), 255};
}

std::array<std::uint8_t, 4> Bytes(float r, float g, float b) {
    const auto byte = [](float v) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    };
    return {byte(r), byte(g), byte(b), 255};
}

constexpr std::array<std::uint8_t, 4> kAmbientBytes{77, 77, 77, 255}; // 0.3
constexpr std::array<std::uint8_t, 4> kWhiteBytes{255, 255, 255, 255};
constexpr std::array<std::uint8_t, 4> kNoEmission{0, 0, 0, 0};

// Spheres under two pixels of radius (as the mesh drawing counts sphere sizes) are drawn
// as points: a ray per pixel of their quads would cost the software rasteriser more than
// it shows.
constexpr double kPointBelowPixels = 4.0; // across
// Cylinders narrower than this are drawn as lines one pixel wide.
constexpr double kLineBelowPixels = 1.5;

// The model radii under which a sphere is a point and a cylinder a line (0: never).
struct TSizeLimits {
    double pointBelow, lineBelow;
};
TSizeLimits SizeLimits(double pixelsPerAngstrom) {
    if (pixelsPerAngstrom <= 0.0)
        return {0.0, 0.0};
    return {kPointBelowPixels / (2.0 * pixelsPerAngstrom),
            kLineBelowPixels / (2.0 * pixelsPerAngstrom)};
}

// Position in GL units, screen axis order.
std::array<float, 3> GlPosition(const TLVScene& scene, const SVector& k) {
    const DVector v = RotorCoordAt(scene, k);
    const TLatvistaOpt& o = scene.WLVO;
    const int order[3] = {o.L1, o.L2, o.L3};
    std::array<float, 3> p{};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const auto from = static_cast<std::size_t>(std::clamp(order[axis], 1, 3) - 1);
        p[axis] = static_cast<float>((scene.gl_[from] + v[from]) / scene.mas);
    }
    return p;
}

class TGatherer {
public:
    // With `viewOnly` only the items that follow the view are gathered.
    TGatherer(TLVScene& scene, const TViewColours& colours, int width, int height,
              double pixelsPerAngstrom, TLargeSceneFrame& frame, bool viewOnly)
        : scene_(scene), o_(scene.WLVO), colours_(colours), width_(width), height_(height),
          frame_(frame), viewOnly_(viewOnly), partRad_(PartRadOf(scene.WLVO)),
          rbModel_(scene.WLVO.dBond / partRad_), limits_(SizeLimits(pixelsPerAngstrom)) {
        for (std::size_t kind = 0; kind < patterns_.size(); ++kind)
            patterns_[kind] = LinePatternOfKind(static_cast<std::uint8_t>(kind));
    }

    void Node(tTopAt& a);

private:
    void Bond(tTopAt& a, TColor colourA, tBoundAt& bond, double modelRadius);

    TLVScene& scene_;
    const TLatvistaOpt& o_;
    const TViewColours& colours_;
    int width_, height_;
    TLargeSceneFrame& frame_;
    bool viewOnly_;
    double partRad_, rbModel_;
    TSizeLimits limits_;
    // The line pattern of every kind of bond (six bits).
    std::array<std::uint16_t, 64> patterns_{};
    bool bondStarted_ = false;
};

void TGatherer::Node(tTopAt& a) {
    a.c |= kNodePainted;
    const std::size_t viewItems =
        frame_.lines.size() + frame_.wirePoints.size() + frame_.labels.size();
    const TColor colourA = NodeColour(a, o_, colours_);
    const bool cellShown = (o_.NumSeeBond & cbCellEdge) != 0;
    double largestRadius = rbModel_;
    bool anyBond = false;
    bondStarted_ = false;
    if (!(a.PolyVert && !cellShown)) {
        for (tBoundAt* bond = a.p; bond != nullptr; bond = bond->li) {
            const double modelRadius = bond->diam >= 0 ? bond->diam / partRad_ : rbModel_;
            largestRadius = anyBond ? std::max(largestRadius, modelRadius) : modelRadius;
            anyBond = true;
            Bond(a, colourA, *bond, modelRadius);
        }
    }
    double drawnRadius = a.rad / partRad_;
    if ((a.c & kNodeAuxiliary) == 0 && !(a.PolyVert && !o_.ShowVertex)) {
        if (a.nm == 0) {
            if (!bondStarted_) {
                const float size = static_cast<float>(o_.ArrTickBonds[0]);
                frame_.wirePoints.push_back(
                    {GlPosition(scene_, a.k), size < 1e-7f ? 1.0f : size, Floats(colourA)});
            }
        } else if (!viewOnly_) {
            if (a.nm == 1 || (a.nm == 3 && a.rad < o_.dBond))
                drawnRadius = largestRadius;
            TImpostorMaterial material{Bytes(colourA), kAmbientBytes, kWhiteBytes, kNoEmission};
            if (a.PIAt != nullptr) {
                const TColorFloats c = ColorToFloats(colourA);
                material.emission =
                    Bytes((0.3f + c.r) / 3.0f, (0.3f + c.g) / 3.0f, (0.3f + c.b) / 3.0f);
            }
            const TImpostorSphere sphere{a.k[0], a.k[1], a.k[2], static_cast<float>(drawnRadius),
                                         material};
            const bool point = drawnRadius < limits_.pointBelow;
            double& nearest = point ? frame_.largestPoint : frame_.smallestSphere;
            nearest = point ? std::max(nearest, drawnRadius) : std::min(nearest, drawnRadius);
            (point ? frame_.points : frame_.spheres).Put(sphere);
        }
    }
    if (a.LabelExist && width_ > 0 && height_ > 0) {
        const std::string text = AtomLabelText(
            a, o_, o_.AtomLabels == 5 ? WrAtom(a, {0, 0, 0}, o_.NumSeeBond).StrCP : "");
        if (!text.empty()) {
            const std::array<float, 3> p = GlPosition(scene_, a.k);
            const double dx = PosNameDx(a.PosName), dy = PosNameDy(a.PosName);
            frame_.labels.push_back({2.0 * dx / width_ * scene_.gl_MaxI + p[0],
                                     p[1] - 2.0 * dy / height_ * scene_.gl_MaxJ,
                                     p[2] + (1.5 * drawnRadius + 0.03) / scene_.mas + 0.001, text});
        }
    }
    // A wire-model atom's point and a label (shown once the window has a size) may come
    // in another view although they do not in this one.
    if (!viewOnly_ &&
        (a.nm == 0 || a.LabelExist ||
         frame_.lines.size() + frame_.wirePoints.size() + frame_.labels.size() != viewItems))
        frame_.viewNodes.push_back(&a);
}

void TGatherer::Bond(tTopAt& a, TColor colourA, tBoundAt& bond, double modelRadius) {
    tTopAt* b = bond.p;
    const auto kind = static_cast<std::uint8_t>(bond.cb & 0x3F);
    if (b == nullptr || (kind & o_.NumSeeBond) == 0 || b == &a || (bond.c & kBondOpen) != 0 ||
        (bond.c & kBondShown) == 0)
        return;
    // Which end draws a bond changes nothing drawn here but whether a wire-model atom
    // shows its point: the bond is taken from the end first in memory, and the mesh
    // drawing's rule (the end first in depth order starts it) only decides that point.
    if (a.nm == 0 && (b->c & kNodeVisible) != 0 && !DepthBefore(*b, a))
        bondStarted_ = true;
    if (std::less<const tTopAt*>()(b, &a) || (b->c & kNodeVisible) == 0)
        return;
    const std::uint16_t pattern = patterns_[kind];
    const bool cylinder = HalfIsCylinder(a, *b, pattern);
    // The partner's colour, where its half needs it (the cylinder colour needs none).
    const bool partnerColour =
        !cylinder || o_.ColBonds || b->nm != 3 || (bond.sel && b->PIAt != nullptr);
    const TColor colourB = partnerColour ? NodeColour(*b, o_, colours_) : TColor{0};
    const auto midpoint = [&] {
        return SVector{(a.k[0] + b->k[0]) / 2, (a.k[1] + b->k[1]) / 2, (a.k[2] + b->k[2]) / 2};
    };
    if (cylinder && !viewOnly_) {
        const auto material = [&](const tTopAt& atom, TColor colour) {
            const TImpostorMaterial plain{Bytes(CylinderHalfDiffuse(bond, atom, colour, o_)),
                                          kAmbientBytes, kWhiteBytes, kNoEmission};
            if (!(bond.sel && atom.PIAt != nullptr))
                return plain;
            const auto selected = Bytes(colour);
            return TImpostorMaterial{selected, selected, selected, kNoEmission};
        };
        const TImpostorMaterial materialA = material(a, colourA);
        const TImpostorMaterial materialB = material(*b, colourB);
        const bool thin = modelRadius < limits_.lineBelow;
        auto& pieces = thin ? frame_.thinCylinders : frame_.cylinders;
        double& nearest = thin ? frame_.largestThin : frame_.smallestCylinder;
        nearest = thin ? std::max(nearest, modelRadius) : std::min(nearest, modelRadius);
        const auto radius = static_cast<float>(modelRadius);
        // Two halves of one material are one cylinder: the same surface, half the pieces.
        if (materialA == materialB) {
            pieces.Put({a.k[0], a.k[1], a.k[2], radius, b->k[0], b->k[1], b->k[2], materialA});
        } else {
            const SVector mid = midpoint();
            pieces.Put({a.k[0], a.k[1], a.k[2], radius, mid[0], mid[1], mid[2], materialA});
            pieces.Put({mid[0], mid[1], mid[2], radius, b->k[0], b->k[1], b->k[2], materialB});
        }
    } else if (!cylinder) {
        struct THalf {
            const tTopAt& atom;
            TColor colour;
            SVector from, to;
        };
        const SVector mid = midpoint();
        const THalf halves[2] = {{a, colourA, a.k, mid}, {*b, colourB, mid, b->k}};
        for (const THalf& half : halves) {
            const TLineMaterial line = LineHalfMaterial(bond, half.atom, half.colour, o_, colours_);
            TFrameLine drawn{GlPosition(scene_, half.from), GlPosition(scene_, half.to),
                             LineWidthOfKind(o_, kind),     pattern,
                             Floats(line.colour),           Floats(line.colour),
                             {0.0f, 0.0f, 0.0f, 0.0f}};
            if (bond.sel && half.atom.PIAt != nullptr)
                drawn.diffuse = drawn.ambient = drawn.specular = Floats(half.colour);
            frame_.lines.push_back(drawn);
        }
    }
    // Only a bond marked for a label has one (the text is made only then).
    if ((bond.c & (kBondLabelKinds | kBondLabelLength)) == 0)
        return;
    const std::string label = BondLabelText(bond, o_);
    if (!label.empty()) {
        const std::array<float, 3> p = GlPosition(scene_, midpoint());
        frame_.labels.push_back({p[0], p[1], p[2] + 2.0 * o_.dBond / partRad_ / scene_.mas, label});
    }
}

// Calls `apply` with each of the frame's tracked lists of spheres and cylinders.
template <class Apply> void ForEachTracked(TLargeSceneFrame& frame, Apply apply) {
    apply(frame.spheres);
    apply(frame.points);
    apply(frame.cylinders);
    apply(frame.thinCylinders);
}

// Empties the items that follow the view, before they are gathered again.
void ClearViewItems(TLargeSceneFrame& frame) {
    frame.lines.clear();
    frame.wirePoints.clear();
    frame.labels.clear();
}

} // namespace

void GatherLargeSceneFrame(TLVScene& scene, const TViewColours& colours, int width, int height,
                           double pixelsPerAngstrom, TLargeSceneFrame& frame) {
    ForEachTracked(frame, [](auto& tracked) { tracked.Begin(); });
    ClearViewItems(frame);
    frame.viewNodes.clear();
    frame.smallestSphere = frame.smallestCylinder = std::numeric_limits<double>::infinity();
    frame.largestPoint = frame.largestThin = -std::numeric_limits<double>::infinity();
    TGatherer gatherer(scene, colours, width, height, pixelsPerAngstrom, frame, false);
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
        if ((node->c & kNodePainted) == 0)
            gatherer.Node(*node);
    ForEachTracked(frame, [](auto& tracked) { tracked.End(); });
}

void GatherLargeSceneViewItems(TLVScene& scene, const TViewColours& colours, int width, int height,
                               TLargeSceneFrame& frame) {
    ForEachTracked(frame, [](auto& tracked) { tracked.Keep(); });
    ClearViewItems(frame);
    TGatherer gatherer(scene, colours, width, height, 0.0, frame, true);
    for (tTopAt* node : frame.viewNodes)
        if ((node->c & kNodePainted) == 0)
            gatherer.Node(*node);
    // The whole frame leaves every node painted (the coordinate export reads it).
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
        node->c |= kNodePainted;
}

bool TLargeSceneFrames::Holds(const TLVScene& scene, const TViewColours& colours,
                              double pixelsPerAngstrom) const {
    const TSizeLimits limits = SizeLimits(pixelsPerAngstrom);
    if (!kept_ || key_.content != scene.ContentStamp || key_.nodeList != scene.NodeListStamp ||
        !(key_.colours == colours) || frame_.largestPoint >= limits.pointBelow ||
        frame_.smallestSphere < limits.pointBelow || frame_.largestThin >= limits.lineBelow ||
        frame_.smallestCylinder < limits.lineBelow)
        return false;
    // The rotation axes only say how the next rotation turns the view.
    TLatvistaOpt options = scene.WLVO;
    options.lin = key_.options.lin;
    options.LX = key_.options.LX;
    options.LZ = key_.options.LZ;
    return options == key_.options;
}

bool TLargeSceneFrames::Gather(TLVScene& scene, const TViewColours& colours, int width, int height,
                               double pixelsPerAngstrom) {
    if (Holds(scene, colours, pixelsPerAngstrom)) {
        GatherLargeSceneViewItems(scene, colours, width, height, frame_);
        return false;
    }
    GatherLargeSceneFrame(scene, colours, width, height, pixelsPerAngstrom, frame_);
    key_ = {scene.ContentStamp, scene.NodeListStamp, scene.WLVO, colours};
    kept_ = true;
    return true;
}

} // namespace ormaline
