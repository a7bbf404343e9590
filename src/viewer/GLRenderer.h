// The OpenGL renderer of a viewer window: fixed-function OpenGL with GLU quadrics, lit
// spheres and cylinders, patterned lines, bitmap-font labels, fog and perspective.
// It only reads the scene (and marks nodes painted in the frame).
//
// Every sphere and cylinder size is tessellated once: a unit sphere or unit cylinder per
// slice count, with the GLU quadrics' vertices and normals, is kept and copied into
// place on the CPU, and all objects of one material are drawn from one vertex array,
// so that a frame makes a handful of draw calls instead of one per object. The baseline
// mode calls GLU for every object in immediate mode, as the primitives read; both draw
// the same picture. A current OpenGL context is needed for every call.
#pragma once

#include "viewer/RenderRules.h"
#include "viewer/UnitMeshes.h"
#include "viewer/core/ViewTransforms.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct GLUquadric;

namespace ormaline {

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

    // First of the 256 glyph lists of the window font (0: no text is drawn).
    void SetFontListBase(unsigned base) { fontListBase_ = base; }
    unsigned FontListBase() const { return fontListBase_; }

    // Projection and model-view reset, light, material defaults and fog; with
    // `initColor` the default group and selection colours.
    void InitLight(TLatvistaOpt& options, TViewColours& colours, bool initColor);

    // One frame into the current framebuffer of `width` x `height` pixels with the
    // projection of the last FormResize. The scene must have been prepared by BeginPaint.
    void LatvistaFull(TLVScene& scene, const TViewColours& colours, const TProjection& projection,
                      int width, int height);

    TTessellation Tessellation = TTessellation::Cached;

    // Primitives. Positions are model units in screen axis order; they are divided by mas.
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

    // The axes glyph and the legend are drawn after the scene; they come with the legend
    // module and draw nothing yet.
    void SeeABCCell(TLVScene& scene) { (void)scene; }
    void SeeLegend(TLVScene& scene) { (void)scene; }

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
    // With cached tessellations, spheres, cylinders and labels of a frame are gathered
    // and drawn grouped by material: a material change costs the driver far more than
    // the draw itself. Depth testing makes the picture independent of the order.
    struct TSphereItem {
        TMaterial material;
        TColor colour;
        int segments;
        DVector position; // GL units
        double radius;    // GL units
    };
    struct TCylinderItem {
        TMaterial material;
        TColor colour;
        DVector from, to; // model units, screen axis order
        double radius, mas;
        int slices;
    };
    struct TLabelItem {
        double x, y, z;
        std::string text;
    };
    void SetCurrentColour(TColor colour);
    void DrawSphereNow(int segments, const DVector& position, double radius);
    void DrawCylinderNow(const DVector& p, const DVector& q, double radius, double mas, int slices);
    void FlushDeferred(TColor penColour);
    bool deferring_ = false;
    TColor currentColour_ = 0;
    std::vector<TSphereItem> spheres_;
    std::vector<TCylinderItem> cylinders_;
    std::vector<TLabelItem> labels_;
    // The material of what is drawn next; sent to OpenGL at once, or while a frame
    // gathers its objects only when something is drawn immediately (Apply).
    void SetMaterial(const TMaterial& material);
    void Apply();
    void SetNormalize(bool on);
    const TUnitMesh& SphereMesh(int slices);
    const TUnitMesh& CylinderMesh(int slices);
    // Vertices and triangles of one material waiting to be drawn.
    struct TBatch {
        std::vector<float> vertices;
        std::vector<std::uint32_t> triangles;
    };
    void Append(TBatch& batch, const TUnitMesh& mesh, const double (&rotation)[3][3],
                const double (&scale)[3], const DVector& origin);
    void DrawBatch(TBatch& batch);
    void PaintNode(TLVScene& scene, tTopAt& node, const TViewColours& colours);
    DVector ScreenPosition(const TLVScene& scene, const tTopAt& node) const;

    GLUquadric* quadObj_ = nullptr;
    unsigned fontListBase_ = 0;
    std::map<int, TUnitMesh> sphereMeshes_;
    std::map<int, TUnitMesh> cylinderMeshes_;
    TBatch batch_;

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
