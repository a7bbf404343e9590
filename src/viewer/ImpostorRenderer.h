// The fast drawing of large scenes: every sphere and every cylinder half of a bond is one
// screen-aligned quad whose fragments cast a ray against the exact surface, write its
// depth and light it with the fixed-function light, materials and fog of the mesh
// drawing. In an orthographic view a sphere under two pixels across is a point of its
// colour (lit as the centre of the sphere facing the viewer) and a cylinder under one
// pixel across a line (lit as its side facing the viewer); both cost the software
// rasteriser far less than a ray per pixel of their quads. The primitives are drawn from buffers in
// model space, so a frame whose spheres and cylinders are unchanged (a rotation, a shift, a resize)
// uploads nothing; while the scene's content is unchanged it is not even gathered again
// (see TLargeSceneFrames). Bond halves drawn as lines, wire-model points and labels are drawn as
// the mesh drawing draws them.
//
// Used when the visible atoms reach the option FastDrawAtoms (0: never) and the OpenGL
// implementation has shader programs; otherwise the caller draws meshes, and a one-time
// notice says why.
#pragma once

#include "viewer/LargeSceneFrame.h"
#include "viewer/core/ViewTransforms.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QOpenGLShaderProgram;

namespace ormaline {

class TGLRenderer;

class TImpostorRenderer {
public:
    TImpostorRenderer();
    ~TImpostorRenderer();
    TImpostorRenderer(const TImpostorRenderer&) = delete;
    TImpostorRenderer& operator=(const TImpostorRenderer&) = delete;

    // Whether a frame of `visibleAtoms` atoms is drawn here under the options.
    static bool Wanted(const TLatvistaOpt& options, std::size_t visibleAtoms);

    // Draws the scene's nodes (visibility pass done, projected positions fresh), with the
    // renderer's text output for labels. The depth test orders the pixels, so ArrAt, which
    // only orders the mesh drawing's painting, is left as it is. False, with nothing
    // drawn, when the context lacks what the fast drawing needs. A current context is
    // needed.
    bool DrawFrame(TGLRenderer& renderer, TLVScene& scene, const TViewColours& colours,
                   const TProjection& projection, int width, int height);

    // With the context current: frees the programs and buffers.
    void ReleaseGL();

    // The status text said once when the fast drawing is wanted but cannot be used.
    std::optional<std::string> TakeNotice();

    // The text of that notice.
    static const char* const kNoShadersNotice;

    // From now on behaves as an OpenGL implementation without shader programs (for tests:
    // no such implementation can host the viewer's surface here).
    void RefuseShaders() {
        ReleaseGL();
        state_ = TState::Untried;
        refused_ = true;
    }

    // How often the vertex buffers were filled, and how often the frame was gathered in
    // full rather than only its items that follow the view (for tests and the benchmark).
    std::size_t Uploads() const { return uploads_; }
    std::size_t FullGathers() const { return fullGathers_; }
    // The frame last drawn (for tests).
    const TLargeSceneFrame& LastFrame() const { return frames_.Frame(); }

private:
    bool Prepare();
    void Upload();
    void DrawImpostors(const TLVScene& scene, const TProjection& projection, int width, int height);
    void DrawLinesAndPoints();

    enum class TState { Untried, Ready, Missing };
    TState state_ = TState::Untried;
    bool noticePending_ = false;
    bool refused_ = false;
    std::unique_ptr<QOpenGLShaderProgram> spheres_, cylinders_, points_, lines_;
    // Vertices of the four programs: spheres, points, cylinders, thin cylinders.
    struct TBuffer {
        unsigned name = 0;
        std::size_t capacity = 0;
    };
    TBuffer buffers_[4];
    const TLargeSceneFrame& Frame() const { return frames_.Frame(); }
    TLargeSceneFrames frames_;
    // The vertex buffers hold the frame's items.
    bool uploadedValid_ = false;
    std::size_t uploads_ = 0;
    std::size_t fullGathers_ = 0;
    // The vertices of one buffer being filled, kept for the next upload (up to a size):
    // memory taken afresh for every upload after an edit costs more in page faults than
    // the copying.
    std::vector<unsigned char> vertices_;
};

} // namespace ormaline
