// The OpenGL renderer of a viewer window: fixed-function OpenGL with GLU quadrics, lit
// spheres and cylinders, patterned lines, bitmap-font labels, fog and perspective.
// It only reads the scene (and marks nodes painted in the frame).
//
// Every sphere and cylinder size is tessellated once: a unit sphere or unit cylinder per
// slice count, with the GLU quadrics' vertices and normals. The bond cylinders of a frame
// are placed from those meshes in model space (the atoms' Cartesian positions, before
// the view rotation) and kept in buffer objects, grouped by material; the view
// (rotation, shift, axis order, scale) is the model-view matrix. A frame that yields the
// same cylinders as the frame they were placed for (a rotation, a shift, a resize, fog)
// only replays the buffers. Spheres face the viewer as gluSphere's do (where the
// highlight falls depends on it): each is one draw of its slice count's unit sphere,
// kept in a buffer, under its own matrix. The baseline mode calls GLU for every object
// in immediate mode, as the primitives read; both draw the same picture. A current
// OpenGL context is needed for every call.
#pragma once

#include "viewer/ImpostorRenderer.h"
#include "viewer/UnitMeshes.h"
#include "viewer/core/Legend.h"
#include "viewer/core/RenderRules.h"
#include "viewer/core/ViewTransforms.h"
#include "viewer/interact/core/MouseTypes.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct GLUquadric;

namespace ormaline {

// Two OpenGL buffer objects (0: none) with the bytes their storage holds.
struct TBufferPair {
    unsigned vertexBuffer = 0, indexBuffer = 0;
    std::size_t vertexBytes = 0, indexBytes = 0;
};

enum class TTessellation {
    Cached,         // unit meshes per slice count, placed and drawn in batches
    GluEveryObject, // gluSphere / gluCylinder for every object of every frame
};

class TGLRenderer {
public:
    TGLRenderer() = default;
    ~TGLRenderer() = default;
    TGLRenderer(const TGLRenderer&) = delete;
    TGLRenderer& operator=(const TGLRenderer&) = delete;

    // With the context current: the quadric, depth test and line stipple. False when the
    // quadric cannot be made.
    bool InitGL();
    // With the context current: frees the quadric and the tessellation lists.
    void ReleaseGL();
    bool Ready() const { return quadObj_ != nullptr; }

    // First of the 256 glyph lists of the window font (0: no text is drawn), and the
    // measures of that font (none: no legend is drawn).
    void SetFontListBase(unsigned base) { fontListBase_ = base; }
    unsigned FontListBase() const { return fontListBase_; }
    void SetTextMetrics(const TTextMetrics* metrics) { metrics_ = metrics; }

    // Projection and model-view reset, light, material defaults and fog; with
    // `initColor` the default group and selection colours.
    void InitLight(TLatvistaOpt& options, TViewColours& colours, bool initColor);

    // One frame into the current framebuffer of `width` x `height` pixels with the
    // projection of the last FormResize. The scene must have been prepared by BeginPaint.
    void LatvistaFull(TLVScene& scene, const TViewColours& colours, const TProjection& projection,
                      int width, int height);

    TTessellation Tessellation = TTessellation::Cached;

    // Large scenes are drawn by the impostor renderer (option FastDrawAtoms); its status
    // text, said once when it cannot be used, and its state for tests and the benchmark.
    std::optional<std::string> TakeNotice() { return impostors_.TakeNotice(); }
    const TImpostorRenderer& Impostors() const { return impostors_; }
    TImpostorRenderer& Impostors() { return impostors_; }
    // Whether the last frame was drawn by the impostor renderer.
    bool LastFrameFast() const { return lastFrameFast_; }
    // After drawing that set OpenGL's material and normalisation behind the renderer's
    // back: the next material is sent again.
    void ForgetGLState() {
        materialKnown_ = false;
        normalizeState_ = -1;
    }

    // With the context current: drops the placed geometry, so that the next frame places
    // every object again.
    void ForgetGeometry();
    // How often the placed geometry was built (for tests and the benchmark).
    std::size_t GeometryBuilds() const { return geometryBuilds_; }

    // Primitives, drawn at once. Positions are model units in screen axis order; they
    // are divided by mas.
    void drawSphere(TColor colour, double nSeg, double mas, double radius, const DVector& position);
    void drawOneLine(double mas, const DVector& p, const DVector& q);
    void gluCylinderMy(const DVector& p, const DVector& q, double radius, double mas, int slices);
    // Diffuse, ambient and emission := colour, current colour := colour.
    void GLSetColor(TColor colour);
    // The same with the pen colour (all texts).
    void SetColFont(TColor penColour);
    // Text through the glyph lists at a 3D or 2D raster position.
    void TextOut3D(double x, double y, double z, const std::string& text);
    void TextOut2D(double x, double y, const std::string& text);

    // The axes glyph and the legend, drawn after the scene at depth 0 of the view (their
    // pictures come from the legend module, in client pixels).
    void SeeABCCell(TLVScene& scene, const TViewColours& colours);
    void SeeLegend(TLVScene& scene, const TViewColours& colours, const TLegendSet& shown);
    // Outlines in exclusive-or mode over what the framebuffer holds, in client pixels, with
    // the depth test off; drawing one twice removes it.
    void DrawXorShapes(const std::vector<TXorShape>& shapes, int width, int height);

    // Slice counts of the tessellations made so far (for tests and the benchmark).
    std::size_t CachedSphereCount() const { return sphereMeshes_.size(); }
    std::size_t CachedCylinderCount() const { return cylinderMeshes_.size(); }

private:
    struct TMaterial {
        std::array<float, 4> diffuse, ambient, specular, emission;
        float shininess;
        bool operator==(const TMaterial&) const = default;
        auto operator<=>(const TMaterial&) const = default;
    };
    // With cached tessellations the spheres (in eye space) and cylinders (in model space)
    // of a frame are gathered and drawn grouped by material: a material change costs the
    // driver far more than the draw itself. Depth testing makes the picture independent
    // of the order. A frame's cylinders are compared with those the placed geometry was
    // built from.
    struct TSphereItem {
        std::uint32_t material; // index in materials_
        std::int32_t segments;
        std::array<float, 3> position; // GL units, screen axis order
        float radius;                  // GL units
    };
    struct TCylinderItem {
        std::uint32_t material;
        std::int32_t slices;
        std::array<float, 3> from, to; // model units, before the view
        float radius;
    };
    struct TLabelItem {
        double x, y, z;
        std::string text;
    };
    // Vertices (x, y, z, nx, ny, nz) and triangles of one material, in buffer objects
    // when the context has them, else kept here and drawn from client memory.
    struct TGeometryChunk {
        std::uint32_t material = 0;
        std::vector<float> vertices;
        std::vector<std::uint32_t> triangles;
        TBufferPair buffers;
        std::size_t indexCount = 0;
    };
    void SetCurrentColour(TColor colour);
    void SetEmission(const std::array<float, 4>& emission);
    TMaterial SphereMaterial(TColor colour) const;
    // A vertex of a point or line, in GL units.
    static void GlVertex(const DVector& p, double mas);
    std::uint32_t MaterialIndex(const TMaterial& material);
    void AddSphereItem(const DVector& glPosition, int segments, double glRadius);
    // The unit sphere of a slice count with its distinct vertices, and normals and
    // triangles for a number of copies of it.
    struct TSphereShape {
        std::vector<float> unit; // x, y, z per distinct vertex (also its normal)
        std::vector<std::uint32_t> triangles;
        std::size_t copies = 0;
        TBufferPair buffers; // normals and triangles; none: kept in the two vectors below
        std::vector<float> normals;
        std::vector<std::uint32_t> copyTriangles;
    };
    TSphereShape& SphereShape(int segments);
    void ReserveSphereCopies(TSphereShape& shape, std::size_t copies);
    void DrawSpheres();
    void AddCylinderItem(const SVector& from, const SVector& to, double radius);
    void FlushDeferred(const TLVScene& scene, TColor penColour);
    void BuildGeometry();
    void CloseChunk(TGeometryChunk& chunk);
    void DrawGeometry(const TLVScene& scene);
    void ReleaseGeometry();
    bool deferring_ = false;
    // The frame walks the nodes in list order rather than depth order.
    bool stableWalk_ = false;
    std::vector<TMaterial> materials_;
    std::vector<std::uint64_t> materialHashes_;
    std::uint32_t lastMaterial_ = 0;
    std::vector<TSphereItem> spheres_;
    std::vector<TCylinderItem> cylinders_;
    std::vector<TLabelItem> labels_;
    // A frame's cylinders as a multiset: the sum of their hashes and their number.
    struct TFrameContent {
        std::uint64_t cylinderSum = 0;
        std::size_t cylinderCount = 0;
        bool operator==(const TFrameContent&) const = default;
    };
    TFrameContent frameContent_;
    // What the placed geometry was built from.
    TFrameContent builtContent_;
    std::vector<TMaterial> builtMaterials_;
    std::vector<TGeometryChunk> chunks_;
    bool geometryValid_ = false;
    bool buffersAvailable_ = false;
    std::size_t geometryBuilds_ = 0;
    // The material of what is drawn next; sent to OpenGL at once, or while a frame
    // gathers its objects only when something is drawn immediately (Apply).
    void SetMaterial(const TMaterial& material);
    void Apply();
    void SetNormalize(bool on);
    const TUnitMesh& SphereMesh(int slices);
    const TUnitMesh& CylinderMesh(int slices);
    // Whether the bond from a to b was drawn from b's side: b comes before a in the
    // frame's depth order or is not drawn at all.
    bool PartnerPaintedFirst(const tTopAt& a, const tTopAt& b) const;
    // The frame's nodes as meshes, in depth order.
    void DrawMeshes(TLVScene& scene, const TViewColours& colours, std::size_t nodeCount);
    void MakeOpaque();
    void PaintNode(TLVScene& scene, tTopAt& node, const TViewColours& colours);
    DVector ScreenPosition(const TLVScene& scene, const tTopAt& node) const;
    // A client pixel as a point of the view at depth 0 (GL units).
    DVector PixelToGL(const TLVScene& scene, double x, double y) const;
    // Text whose character cell has its top left corner at client pixel (x, top).
    void TextAtPixel(const TLVScene& scene, double x, double top, double z,
                     const std::string& text);

    TImpostorRenderer impostors_;
    bool lastFrameFast_ = false;
    GLUquadric* quadObj_ = nullptr;
    unsigned fontListBase_ = 0;
    const TTextMetrics* metrics_ = nullptr;
    std::map<int, TUnitMesh> sphereMeshes_;
    std::map<int, TUnitMesh> cylinderMeshes_;
    std::map<int, TSphereShape> sphereShapes_;
    std::vector<std::uint32_t> sphereOrder_;   // a frame's spheres by material and size
    std::vector<float> spherePositions_;       // one draw's placed sphere vertices
    std::vector<TBufferPair> positionBuffers_; // one per draw of a frame (vertex half)
    std::vector<TBufferPair> spareBuffers_;    // a rebuild's buffers to fill again

    // Per frame
    bool materialKnown_ = false; // applied_ holds what OpenGL has
    TMaterial material_{};
    TMaterial applied_{};
    int normalizeState_ = -1; // -1 unknown
    double rbModel_ = 0.0;    // default bond radius in model units
    int cylinderSlices_ = 3;
    int width_ = 0, height_ = 0;
};

} // namespace ormaline
