// What one frame of a large scene draws, gathered without OpenGL: the spheres and the
// cylinder halves (in model space, for the ray-cast impostors of the fast drawing), the
// bond halves drawn as lines, the points of wire-model atoms and the labels. The rules
// are those of the renderer's node painting: the same colours, materials, radii, labels
// and which wire-model atom shows a point (the one from which no bond is started in depth
// order).
//
// Spheres and cylinders are in model space, so a rotation, shift or zoom leaves them as
// they are; only the lines, points and labels (in GL units, and the wire points' depth
// order) follow the view. A frame of an unchanged scene in another view therefore walks
// only the few nodes that have such items, not every bond of every atom.
#pragma once

#include "viewer/core/RenderRules.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace ormaline {

// Material of an impostor: the fixed-function colours (shininess 100), as bytes.
struct TImpostorMaterial {
    std::array<std::uint8_t, 4> diffuse, ambient, specular, emission;
    bool operator==(const TImpostorMaterial&) const = default;
};

// One sphere: centre in model space (angstrom, before the view), radius in angstrom.
struct TImpostorSphere {
    float x, y, z, radius;
    TImpostorMaterial material;
    bool operator==(const TImpostorSphere&) const = default;
};

// One bond half drawn as a cylinder without caps: ends in model space, radius in angstrom.
struct TImpostorCylinder {
    float fromX, fromY, fromZ, radius;
    float toX, toY, toZ;
    TImpostorMaterial material;
    bool operator==(const TImpostorCylinder&) const = default;
};

// One bond half drawn as a line, or the point of a wire-model atom: positions in GL
// units in screen axis order (as the renderer's primitives receive them after the
// division by mas).
struct TFrameLine {
    std::array<float, 3> from, to;
    float width;
    std::uint16_t pattern;
    std::array<float, 4> diffuse, ambient, specular; // emission black
    bool operator==(const TFrameLine&) const = default;
};
struct TFramePoint {
    std::array<float, 3> at;
    float size;
    std::array<float, 4> colour; // diffuse = ambient; specular and emission black
    bool operator==(const TFramePoint&) const = default;
};
struct TFrameLabel {
    double x, y, z; // raster position in GL units
    std::string text;
    bool operator==(const TFrameLabel&) const = default;
};

// The items of a frame written over those of the previous frame, noting whether any
// differs: a frame that changes nothing (a rotation) needs no upload. The items are
// compared by their bytes (records without padding).
template <typename T> class TTrackedItems {
public:
    void Begin() {
        used_ = 0;
        changed_ = false;
    }
    void Put(const T& item) {
        if (used_ < items_.size()) {
            if (std::memcmp(&items_[used_], &item, sizeof(T)) != 0) {
                items_[used_] = item;
                changed_ = true;
            }
        } else {
            items_.push_back(item);
            changed_ = true;
        }
        ++used_;
    }
    void End() {
        if (used_ != items_.size()) {
            items_.resize(used_);
            changed_ = true;
        }
    }
    // Since the previous Begin.
    bool Changed() const { return changed_; }
    // The items stay those of the previous frame: nothing to upload.
    void Keep() { changed_ = false; }
    const std::vector<T>& Items() const { return items_; }

private:
    std::vector<T> items_;
    std::size_t used_ = 0;
    bool changed_ = false;
};

struct TLargeSceneFrame {
    TTrackedItems<TImpostorSphere> spheres, points;            // points: under two pixels across
    TTrackedItems<TImpostorCylinder> cylinders, thinCylinders; // thin: under 1.5 pixels
    // The items that follow the view.
    std::vector<TFrameLine> lines;
    std::vector<TFramePoint> wirePoints;
    std::vector<TFrameLabel> labels;
    // In list order, the nodes from which those items come or may come in another view:
    // wire-model atoms (their point depends on the depth order), labelled atoms and atoms
    // that draw a bond as lines or with a label. Valid while the scene is unchanged.
    std::vector<tTopAt*> viewNodes;
    // The model radii nearest to the sizes under which spheres become points and cylinders
    // thin, from either side: a zoom that leaves every radius on its side changes nothing
    // in the spheres and cylinders.
    double smallestSphere = 0, largestPoint = 0, smallestCylinder = 0, largestThin = 0;
};

// Gathers the frame of the scene, whose visibility pass has run (visible nodes not yet
// marked painted) and whose projected positions are fresh. Every node is marked painted.
// `width` and `height` are the client size in pixels (label offsets). With
// `pixelsPerAngstrom` above 0 (an orthographic view) spheres under two pixels of radius go
// to `points` and cylinders under one and a half pixels across to `thinCylinders`.
void GatherLargeSceneFrame(TLVScene& scene, const TViewColours& colours, int width, int height,
                           double pixelsPerAngstrom, TLargeSceneFrame& frame);

// Gathers again only the items that follow the view (lines, wire-model points, labels)
// from `frame.viewNodes`, for a frame gathered in full from the same scene content; the
// spheres and cylinders are kept and reported unchanged. The preconditions and the marking
// of every node as painted are those of GatherLargeSceneFrame.
void GatherLargeSceneViewItems(TLVScene& scene, const TViewColours& colours, int width, int height,
                               TLargeSceneFrame& frame);

// A large scene's frame kept from paint to paint: gathered in full when anything it
// depends on besides the view changed (the scene's content or node list, its options but
// for the rotation axes, the colours, or the pixel size so far that a sphere turns into a
// point or back, or a cylinder into a thin one), otherwise only its view items.
class TLargeSceneFrames {
public:
    // True when the frame was gathered in full.
    bool Gather(TLVScene& scene, const TViewColours& colours, int width, int height,
                double pixelsPerAngstrom);
    const TLargeSceneFrame& Frame() const { return frame_; }

private:
    struct TKey {
        std::uint64_t content = 0, nodeList = 0;
        TLatvistaOpt options{};
        TViewColours colours;
    };
    bool Holds(const TLVScene& scene, const TViewColours& colours, double pixelsPerAngstrom) const;

    TLargeSceneFrame frame_;
    TKey key_;
    bool kept_ = false;
};

} // namespace ormaline
