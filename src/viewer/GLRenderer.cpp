#include "viewer/GLRenderer.h"

#include "model/NumberFormat.h"
#include "viewer/core/SceneActions.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <bitset>
#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>
#include <numeric>

namespace ormaline {
namespace {

using TFloat4 = std::array<float, 4>;

constexpr TFloat4 kBlack{0.0f, 0.0f, 0.0f, 0.0f};
constexpr TFloat4 kAtomAmbient{0.3f, 0.3f, 0.3f, 1.0f};
constexpr TFloat4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
constexpr float kShininess = 100.0f;
constexpr TFloat4 kLightAmbient{0.5f, 0.5f, 0.5f, 1.0f};
constexpr TFloat4 kLightDiffuse{1.0f, 1.0f, 1.0f, 1.0f};
constexpr TFloat4 kLightSpecular{1.0f, 1.0f, 1.0f, 1.0f};

TFloat4 Floats(TColor colour) {
    const TColorFloats f = ColorToFloats(colour);
    return {f.r, f.g, f.b, f.a};
}

double PartRadOf(const TLatvistaOpt& options) {
    return options.PartRad == 0 ? 1.0 : static_cast<double>(options.PartRad);
}

std::size_t AxisIndex(int oneBased) {
    return static_cast<std::size_t>(std::clamp(oneBased, 1, 3) - 1);
}

bool IsCellCorner(const tTopAt& node) {
    return node.PolyVert;
}

// The frame's depth order: by projected depth, ties by the node's address, so that the
// order is total and the same for every frame of an unchanged view.
bool DepthBefore(const tTopAt& x, const tTopAt& y) {
    if (x.hk != y.hk)
        return x.hk < y.hk;
    return std::less<const tTopAt*>()(&x, &y);
}

// Places a copy of a unit mesh: scaled per axis, rotated, moved to `origin`.
void AppendMesh(std::vector<float>& vertices, std::vector<std::uint32_t>& triangles,
                const TUnitMesh& mesh, const double (&rotation)[3][3], const double (&scale)[3],
                const DVector& origin) {
    const auto base = static_cast<std::uint32_t>(vertices.size() / 6);
    const std::size_t count = mesh.VertexCount();
    const std::size_t first = vertices.size();
    vertices.resize(first + 6 * count);
    float* out = vertices.data() + first;
    for (std::size_t v = 0; v < count; ++v, out += 6) {
        const float* in = &mesh.vertices[6 * v];
        const double x = in[0] * scale[0], y = in[1] * scale[1], z = in[2] * scale[2];
        for (std::size_t row = 0; row < 3; ++row) {
            out[row] = static_cast<float>(origin[row] + rotation[row][0] * x +
                                          rotation[row][1] * y + rotation[row][2] * z);
            out[3 + row] = static_cast<float>(rotation[row][0] * in[3] + rotation[row][1] * in[4] +
                                              rotation[row][2] * in[5]);
        }
    }
    const std::size_t firstIndex = triangles.size();
    triangles.resize(firstIndex + mesh.triangles.size());
    std::uint32_t* indexOut = triangles.data() + firstIndex;
    for (std::uint32_t index : mesh.triangles)
        *indexOut++ = base + index;
}

// 64-bit hash of a record of 32-bit words (no padding), seeded; well mixed, so that a sum
// of such hashes tells different multisets apart.
std::uint64_t HashWords(const void* record, std::size_t bytes, std::uint64_t seed) {
    const auto* bytesIn = static_cast<const unsigned char*>(record);
    std::uint64_t h = seed ^ 0x9E3779B97F4A7C15ULL;
    std::size_t i = 0;
    for (; i + 8 <= bytes; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytesIn + i, 8);
        h = (h ^ word) * 0xBF58476D1CE4E5B9ULL;
        h ^= h >> 32;
    }
    if (i + 4 <= bytes) {
        std::uint32_t word;
        std::memcpy(&word, bytesIn + i, 4);
        h = (h ^ word) * 0xBF58476D1CE4E5B9ULL;
    }
    h ^= h >> 30;
    h *= 0x94D049BB133111EBULL;
    h ^= h >> 31;
    return h;
}

QOpenGLFunctions* CurrentFunctions() {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context == nullptr ? nullptr : context->functions();
}

// Fills one buffer object (made when `name` is 0) with `bytes` from `data`: in its present
// storage when that is large enough (reused storage costs the driver no new memory),
// else in new storage of that size.
void FillBuffer(QOpenGLFunctions& functions, GLenum target, unsigned& name, std::size_t& capacity,
                const void* data, std::size_t bytes) {
    if (name == 0) {
        functions.glGenBuffers(1, &name);
        capacity = 0;
    }
    functions.glBindBuffer(target, name);
    if (bytes <= capacity && capacity != 0) {
        functions.glBufferSubData(target, 0, static_cast<GLsizeiptr>(bytes), data);
    } else {
        functions.glBufferData(target, static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
        capacity = bytes;
    }
    functions.glBindBuffer(target, 0);
}

// Deletes the two buffer objects (0 stands for none) and forgets them.
void ReleaseBuffers(TBufferPair& pair) {
    QOpenGLFunctions* functions = CurrentFunctions();
    const GLuint buffers[2] = {pair.vertexBuffer, pair.indexBuffer};
    if (functions != nullptr && (pair.vertexBuffer != 0 || pair.indexBuffer != 0))
        functions->glDeleteBuffers(2, buffers);
    pair = {};
}

void ReleaseAll(std::vector<TBufferPair>& pairs) {
    for (TBufferPair& pair : pairs)
        ReleaseBuffers(pair);
    pairs.clear();
}

// Copies vertex data and triangles into the pair's buffer objects of the current context,
// made or grown as needed. False, with the buffers deleted, when that fails (no memory).
bool UploadArrays(const std::vector<float>& vertices, const std::vector<std::uint32_t>& triangles,
                  TBufferPair& pair) {
    QOpenGLFunctions* functions = CurrentFunctions();
    if (functions == nullptr)
        return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    FillBuffer(*functions, GL_ARRAY_BUFFER, pair.vertexBuffer, pair.vertexBytes, vertices.data(),
               vertices.size() * sizeof(float));
    FillBuffer(*functions, GL_ELEMENT_ARRAY_BUFFER, pair.indexBuffer, pair.indexBytes,
               triangles.data(), triangles.size() * sizeof(std::uint32_t));
    if (glGetError() != GL_NO_ERROR) {
        ReleaseBuffers(pair);
        return false;
    }
    return true;
}

} // namespace

bool TGLRenderer::InitGL() {
    if (quadObj_ == nullptr)
        quadObj_ = gluNewQuadric();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LINE_STIPPLE);
    QOpenGLFunctions* functions = CurrentFunctions();
    buffersAvailable_ =
        functions != nullptr && functions->hasOpenGLFeature(QOpenGLFunctions::Buffers);
    return quadObj_ != nullptr;
}

void TGLRenderer::ReleaseGL() {
    impostors_.ReleaseGL();
    ReleaseGeometry();
    for (auto& [segments, shape] : sphereShapes_)
        ReleaseBuffers(shape.buffers);
    sphereShapes_.clear();
    ReleaseAll(positionBuffers_);
    ReleaseAll(spareBuffers_);
    sphereMeshes_.clear();
    cylinderMeshes_.clear();
    if (quadObj_ != nullptr)
        gluDeleteQuadric(quadObj_);
    quadObj_ = nullptr;
}

void TGLRenderer::InitLight(TLatvistaOpt& options, TViewColours& colours, bool initColor) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    options.NearPos = options.ZeroPos - 3;
    options.FarPos = options.ZeroPos + 3;
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const TFloat4 position{options.Light_Position[0], options.Light_Position[1],
                           options.Light_Position[2], 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position.data());
    const TFloat4 modelAmbient{options.Luminosity, options.Luminosity, options.Luminosity, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, modelAmbient.data());
    glLightfv(GL_LIGHT0, GL_AMBIENT, kLightAmbient.data());
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kLightDiffuse.data());
    glLightfv(GL_LIGHT0, GL_SPECULAR, kLightSpecular.data());
    glMaterialfv(GL_FRONT, GL_EMISSION, kBlack.data());
    if (options.Fog) {
        glEnable(GL_FOG);
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glFogf(GL_FOG_START, static_cast<float>(options.NearPos + 2));
        glFogf(GL_FOG_END, static_cast<float>(options.FarPos + 2));
    } else {
        glDisable(GL_FOG);
    }
    InitViewColours(colours, options, initColor);
    materialKnown_ = false;
}

void TGLRenderer::SetMaterial(const TMaterial& material) {
    material_ = material;
    if (!deferring_)
        Apply();
}

void TGLRenderer::Apply() {
    if (materialKnown_ && material_ == applied_)
        return;
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, material_.diffuse.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, material_.ambient.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, material_.specular.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, material_.emission.data());
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, material_.shininess);
    applied_ = material_;
    materialKnown_ = true;
}

// Scaled unit tessellations need their normals renormalised; lines keep the normal
// (0, 0, 0.5) unnormalised, so the state follows what is drawn.
void TGLRenderer::SetNormalize(bool on) {
    const int wanted = on ? 1 : 0;
    if (normalizeState_ == wanted)
        return;
    if (on)
        glEnable(GL_NORMALIZE);
    else
        glDisable(GL_NORMALIZE);
    normalizeState_ = wanted;
}

const TUnitMesh& TGLRenderer::SphereMesh(int slices) {
    auto found = sphereMeshes_.find(slices);
    if (found == sphereMeshes_.end())
        found = sphereMeshes_.emplace(slices, UnitSphere(slices, slices)).first;
    return found->second;
}

const TUnitMesh& TGLRenderer::CylinderMesh(int slices) {
    auto found = cylinderMeshes_.find(slices);
    if (found == cylinderMeshes_.end())
        found = cylinderMeshes_.emplace(slices, UnitCylinder(slices)).first;
    return found->second;
}

void TGLRenderer::SetCurrentColour(TColor colour) {
    const TColorFloats f = ColorToFloats(colour);
    glColor4f(f.r, f.g, f.b, f.a);
}

// The current material with another emission.
void TGLRenderer::SetEmission(const std::array<float, 4>& emission) {
    SetMaterial(
        {material_.diffuse, material_.ambient, material_.specular, emission, material_.shininess});
}

// An atom's material: its colour, the atom ambient, white specular, the current emission.
TGLRenderer::TMaterial TGLRenderer::SphereMaterial(TColor colour) const {
    return {Floats(colour), kAtomAmbient, kWhite, material_.emission, kShininess};
}

void TGLRenderer::drawSphere(TColor colour, double nSeg, double mas, double radius,
                             const DVector& position) {
    SetMaterial(SphereMaterial(colour));
    SetCurrentColour(colour);
    glPushMatrix();
    glTranslated(position[0] / mas, position[1] / mas, position[2] / mas);
    SetNormalize(false);
    gluQuadricDrawStyle(quadObj_, GLU_FILL);
    const int segments = SphereSegments(nSeg);
    gluSphere(quadObj_, radius / mas, segments, segments);
    glPopMatrix();
}

void TGLRenderer::GlVertex(const DVector& p, double mas) {
    glVertex3f(static_cast<float>(p[0] / mas), static_cast<float>(p[1] / mas),
               static_cast<float>(p[2] / mas));
}

void TGLRenderer::drawOneLine(double mas, const DVector& p, const DVector& q) {
    Apply();
    SetNormalize(false);
    glBegin(GL_LINES);
    glNormal3f(0.0f, 0.0f, 0.5f);
    GlVertex(p, mas);
    GlVertex(q, mas);
    glEnd();
}

namespace {

// Where gluCylinderMy puts a cylinder from p to q (GL units, screen axis order): the
// nearer end, the rotations about y and then x in degrees, and the length.
struct TCylinderFrame {
    DVector origin;
    double aroundY, aroundX, length;
};

TCylinderFrame CylinderFrame(const DVector& p, const DVector& q, double mas) {
    DVector a{p[0] / mas, p[1] / mas, p[2] / mas};
    DVector b{q[0] / mas, q[1] / mas, q[2] / mas};
    // The cylinder grows from its first end along +z of its own frame, so the ends are
    // ordered to give a non-negative z difference.
    const double dzRaw = b[2] - a[2];
    if (dzRaw < 0 && std::fabs(dzRaw) >= 1e-14)
        std::swap(a, b);
    else if (std::fabs(dzRaw) < 1e-14 && a[0] > b[0])
        std::swap(a, b);
    const double dx = b[0] - a[0], dy = b[1] - a[1], dz = b[2] - a[2];
    TCylinderFrame frame{a, 0.0, 0.0, std::sqrt(dx * dx + dy * dy + dz * dz)};
    constexpr double toDegrees = 180.0 / std::numbers::pi;
    if (std::fabs(dz) <= 1e-14)
        frame.aroundY = dx >= 0 ? 90.0 : -90.0;
    else
        frame.aroundY = std::atan(dx / dz) * toDegrees;
    double h = std::sqrt(dx * dx + dz * dz);
    if (dz > 1e-14 || (std::fabs(dz) <= 1e-14 && dx > 0))
        h = -h;
    if (std::fabs(h) <= 1e-14)
        frame.aroundX = dy > 0 ? -90.0 : 90.0;
    else
        frame.aroundX = std::atan(dy / h) * toDegrees;
    return frame;
}

} // namespace

void TGLRenderer::gluCylinderMy(const DVector& p, const DVector& q, double radius, double mas,
                                int slices) {
    const TCylinderFrame frame = CylinderFrame(p, q, mas);
    glPushMatrix();
    glTranslated(frame.origin[0], frame.origin[1], frame.origin[2]);
    glRotated(frame.aroundY, 0.0, 1.0, 0.0);
    glRotated(frame.aroundX, 1.0, 0.0, 0.0);
    SetNormalize(false);
    gluQuadricDrawStyle(quadObj_, GLU_FILL);
    gluCylinder(quadObj_, radius, radius, frame.length, slices, 1);
    glPopMatrix();
}

void TGLRenderer::GLSetColor(TColor colour) {
    const TFloat4 f = Floats(colour);
    SetMaterial({f, f, material_.specular, f, material_.shininess});
    SetCurrentColour(colour);
}

void TGLRenderer::SetColFont(TColor penColour) {
    GLSetColor(penColour);
}

void TGLRenderer::TextOut3D(double x, double y, double z, const std::string& text) {
    if (fontListBase_ == 0 || text.empty())
        return;
    if (deferring_) {
        labels_.push_back({x, y, z, text});
        return;
    }
    Apply();
    glPushMatrix();
    glPushAttrib(0xFFFFF);
    glRasterPos3f(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
    glListBase(fontListBase_);
    glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
    glPopAttrib();
    glPopMatrix();
}

void TGLRenderer::TextOut2D(double x, double y, const std::string& text) {
    if (fontListBase_ == 0 || text.empty())
        return;
    Apply();
    glPushMatrix();
    glPushAttrib(0xFFFFF);
    glRasterPos2f(static_cast<float>(x), static_cast<float>(y));
    glListBase(fontListBase_);
    glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
    glPopAttrib();
    glPopMatrix();
}

DVector TGLRenderer::ScreenPosition(const TLVScene& scene, const tTopAt& node) const {
    const DVector v = RotorCoordAt(scene, node.k);
    const TLatvistaOpt& o = scene.WLVO;
    DVector p{};
    const std::array<std::size_t, 3> order{AxisIndex(o.L1), AxisIndex(o.L2), AxisIndex(o.L3)};
    for (std::size_t axis = 0; axis < 3; ++axis)
        p[axis] = scene.gl_[order[axis]] + v[order[axis]];
    return p;
}

void TGLRenderer::LatvistaFull(TLVScene& scene, const TViewColours& colours,
                               const TProjection& projection, int width, int height) {
    const TLatvistaOpt& o = scene.WLVO;
    width_ = width;
    height_ = height;
    materialKnown_ = false;
    material_ = {kBlack, kBlack, kBlack, kBlack, kShininess};
    normalizeState_ = -1;

    // Frame constants.
    const double partRad = PartRadOf(o);
    rbModel_ = o.dBond / partRad;
    cylinderSlices_ = CylinderSlices(rbModel_, scene.CoeffDX);

    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (projection.perspective)
        glFrustum(projection.left, projection.right, projection.bottom, projection.top,
                  projection.nearZ, projection.farZ);
    else
        glOrtho(projection.left, projection.right, projection.bottom, projection.top,
                projection.nearZ, projection.farZ);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // The light is given in eye coordinates: it moves with the viewer.
    const TFloat4 light{o.Light_Position[0], o.Light_Position[1], o.Light_Position[2], 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light.data());
    glTranslated(0.0, 0.0, projection.translateZ);

    const TColorFloats background = ColorToFloats(o.WGBCol);
    glClearColor(background.r, background.g, background.b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // Visibility pass.
    std::bitset<128> legendSet;
    std::size_t nodeCount = 0, visibleAtoms = 0;
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li) {
        ++nodeCount;
        if ((node->c & kNodeVisible) != 0) {
            visibleAtoms += node->PolyVert ? 0 : 1;
            node->c &= static_cast<std::uint8_t>(~kNodePainted);
            if (!(node->PolyVert && !o.ShowVertex) && node->LegInd >= 0 && node->LegInd <= 127)
                legendSet.set(static_cast<std::size_t>(node->LegInd));
        } else {
            node->c |= kNodePainted;
        }
    }
    if (legendSet.none())
        return;

    glEnable(GL_CULL_FACE);
    glEnable(GL_LINE_SMOOTH);
    // Large scenes: impostors instead of meshes (the walk there is always in list order).
    lastFrameFast_ = nodeCount == scene.ArrAt.size() &&
                     TImpostorRenderer::Wanted(o, visibleAtoms) &&
                     impostors_.DrawFrame(*this, scene, colours, projection, width, height);
    if (!lastFrameFast_)
        DrawMeshes(scene, colours, nodeCount);
    if (o.ABC_Cell)
        SeeABCCell(scene);
    if (o.Legend)
        SeeLegend(scene);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LINE_SMOOTH);
    SetNormalize(false);
    glFlush();
}

void TGLRenderer::DrawMeshes(TLVScene& scene, const TViewColours& colours, std::size_t nodeCount) {
    std::sort(scene.ArrAt.begin(), scene.ArrAt.end(),
              [](const tTopAt* a, const tTopAt* b) { return DepthBefore(*a, *b); });
    deferring_ = Tessellation == TTessellation::Cached;
    materials_.clear();
    materialHashes_.clear();
    lastMaterial_ = 0;
    spheres_.clear();
    cylinders_.clear();
    labels_.clear();
    frameContent_ = {};
    // With the depth array holding exactly the list's nodes (as every scene build leaves
    // it), the walk goes in list order, which keeps neighbouring atoms near in memory;
    // which end of a bond draws it is still decided by the depth order.
    stableWalk_ = deferring_ && nodeCount == scene.ArrAt.size();
    if (stableWalk_) {
        for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
            if ((node->c & kNodePainted) == 0)
                PaintNode(scene, *node, colours);
    } else {
        for (tTopAt* node : scene.ArrAt)
            if ((node->c & kNodePainted) == 0)
                PaintNode(scene, *node, colours);
    }
    stableWalk_ = false;
    const bool gathered = deferring_;
    deferring_ = false;
    if (gathered)
        FlushDeferred(scene, colours.PenColor);
}

std::uint32_t TGLRenderer::MaterialIndex(const TMaterial& material) {
    if (lastMaterial_ < materials_.size() && materials_[lastMaterial_] == material)
        return lastMaterial_;
    const auto found = std::find(materials_.begin(), materials_.end(), material);
    lastMaterial_ = static_cast<std::uint32_t>(found - materials_.begin());
    if (found == materials_.end()) {
        materials_.push_back(material);
        materialHashes_.push_back(HashWords(&material, sizeof material, 0x6d617465ULL));
    }
    return lastMaterial_;
}

// A frame's content is compared with the content the geometry was built from as a
// multiset: the sum of the objects' 64-bit hashes and their numbers. The order in which
// the depth-sorted walk meets the objects changes with the rotation; the set does not.
// Spheres are placed in eye space every frame, facing the viewer as gluSphere does (the
// tessellation's pole towards the eye decides where the highlight falls).
void TGLRenderer::AddSphereItem(const DVector& glPosition, int segments, double glRadius) {
    spheres_.push_back({MaterialIndex(material_),
                        segments,
                        {static_cast<float>(glPosition[0]), static_cast<float>(glPosition[1]),
                         static_cast<float>(glPosition[2])},
                        static_cast<float>(glRadius)});
}

TGLRenderer::TSphereShape& TGLRenderer::SphereShape(int segments) {
    auto found = sphereShapes_.find(segments);
    if (found != sphereShapes_.end())
        return found->second;
    // The unit sphere's distinct vertices (GLU repeats those its stacks share); on a unit
    // sphere a vertex is its own normal.
    const TUnitMesh& mesh = SphereMesh(segments);
    TSphereShape shape;
    std::map<std::array<float, 3>, std::uint32_t> seen;
    std::vector<std::uint32_t> remap(mesh.VertexCount());
    for (std::size_t v = 0; v < mesh.VertexCount(); ++v) {
        const std::array<float, 3> at{mesh.vertices[6 * v], mesh.vertices[6 * v + 1],
                                      mesh.vertices[6 * v + 2]};
        const auto [where, added] =
            seen.emplace(at, static_cast<std::uint32_t>(shape.unit.size() / 3));
        if (added)
            shape.unit.insert(shape.unit.end(), at.begin(), at.end());
        remap[v] = where->second;
    }
    for (std::uint32_t index : mesh.triangles)
        shape.triangles.push_back(remap[index]);
    return sphereShapes_.emplace(segments, std::move(shape)).first->second;
}

// Normals and triangles for `copies` spheres of one shape, kept (in buffer objects when
// the context has them) and grown by doubling.
void TGLRenderer::ReserveSphereCopies(TSphereShape& shape, std::size_t copies) {
    if (shape.copies >= copies)
        return;
    const std::size_t wanted = std::max<std::size_t>(copies, 2 * shape.copies);
    const std::size_t vertices = shape.unit.size() / 3;
    std::vector<float> normals;
    normals.reserve(wanted * shape.unit.size());
    std::vector<std::uint32_t> triangles;
    triangles.reserve(wanted * shape.triangles.size());
    for (std::size_t copy = 0; copy < wanted; ++copy) {
        normals.insert(normals.end(), shape.unit.begin(), shape.unit.end());
        const auto base = static_cast<std::uint32_t>(copy * vertices);
        for (std::uint32_t index : shape.triangles)
            triangles.push_back(base + index);
    }
    shape.normals.clear();
    shape.copyTriangles.clear();
    if (!buffersAvailable_ || !UploadArrays(normals, triangles, shape.buffers)) {
        shape.normals = std::move(normals);
        shape.copyTriangles = std::move(triangles);
    }
    shape.copies = wanted;
}

// Spheres face the viewer, as gluSphere's do (where the highlight falls depends on it),
// so their vertices are placed in eye space every frame: one draw for each material and
// slice count, of which only the positions change from frame to frame.
void TGLRenderer::DrawSpheres() {
    if (spheres_.empty())
        return;
    std::vector<std::uint32_t>& order = sphereOrder_;
    order.resize(spheres_.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](std::uint32_t x, std::uint32_t y) {
        const TSphereItem &a = spheres_[x], &b = spheres_[y];
        return a.material != b.material ? a.material < b.material : a.segments < b.segments;
    });
    QOpenGLFunctions* functions = buffersAvailable_ ? CurrentFunctions() : nullptr;
    SetNormalize(false);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    std::size_t draw = 0;
    for (std::size_t first = 0; first < order.size();) {
        const TSphereItem& head = spheres_[order[first]];
        // A draw holds a bounded number of spheres, so that the positions streamed for
        // it stay a few megabytes whatever the structure's size.
        constexpr std::size_t kSpheresPerDraw = 8192;
        std::size_t last = first;
        while (last < order.size() && last - first < kSpheresPerDraw &&
               spheres_[order[last]].material == head.material &&
               spheres_[order[last]].segments == head.segments)
            ++last;
        const std::size_t count = last - first;
        TSphereShape& shape = SphereShape(head.segments);
        ReserveSphereCopies(shape, count);
        const std::size_t unitFloats = shape.unit.size();
        spherePositions_.resize(count * unitFloats);
        float* out = spherePositions_.data();
        for (std::size_t i = first; i < last; ++i) {
            const TSphereItem& item = spheres_[order[i]];
            for (std::size_t f = 0; f < unitFloats; f += 3, out += 3) {
                out[0] = item.position[0] + item.radius * shape.unit[f];
                out[1] = item.position[1] + item.radius * shape.unit[f + 1];
                out[2] = item.position[2] + item.radius * shape.unit[f + 2];
            }
        }
        material_ = materials_[head.material];
        Apply();
        const bool buffered = shape.buffers.vertexBuffer != 0 && functions != nullptr;
        if (buffered) {
            // Every draw of a frame has its own position buffer, which keeps its storage
            // from frame to frame and only grows: new storage for every draw would cost
            // the driver fresh memory each time, and one buffer rewritten for several
            // draws of one frame would have to wait for the earlier ones.
            if (draw == positionBuffers_.size())
                positionBuffers_.push_back({});
            TBufferPair& stream = positionBuffers_[draw];
            FillBuffer(*functions, GL_ARRAY_BUFFER, stream.vertexBuffer, stream.vertexBytes,
                       spherePositions_.data(), spherePositions_.size() * sizeof(float));
            functions->glBindBuffer(GL_ARRAY_BUFFER, stream.vertexBuffer);
            glVertexPointer(3, GL_FLOAT, 0, nullptr);
            functions->glBindBuffer(GL_ARRAY_BUFFER, shape.buffers.vertexBuffer);
            glNormalPointer(GL_FLOAT, 0, nullptr);
            functions->glBindBuffer(GL_ARRAY_BUFFER, 0);
            functions->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, shape.buffers.indexBuffer);
            glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(count * shape.triangles.size()),
                           GL_UNSIGNED_INT, nullptr);
            functions->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        } else {
            if (functions != nullptr)
                functions->glBindBuffer(GL_ARRAY_BUFFER, 0);
            glVertexPointer(3, GL_FLOAT, 0, spherePositions_.data());
            glNormalPointer(GL_FLOAT, 0, shape.normals.data());
            glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(count * shape.triangles.size()),
                           GL_UNSIGNED_INT, shape.copyTriangles.data());
        }
        first = last;
        ++draw;
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void TGLRenderer::AddCylinderItem(const SVector& from, const SVector& to, double radius) {
    const std::uint32_t material = MaterialIndex(material_);
    // A cylinder is the same from either end; which end comes first depends on which
    // atom of the bond the walk met first, so the ends are put in one order.
    std::array<float, 3> p{from[0], from[1], from[2]}, q{to[0], to[1], to[2]};
    if (q < p)
        std::swap(p, q);
    cylinders_.push_back({material, cylinderSlices_, p, q, static_cast<float>(radius)});
    TCylinderItem keyed = cylinders_.back();
    keyed.material = 0;
    frameContent_.cylinderSum += HashWords(&keyed, sizeof keyed, materialHashes_[material]);
    ++frameContent_.cylinderCount;
}

void TGLRenderer::FlushDeferred(const TLVScene& scene, TColor penColour) {
    if (!(geometryValid_ && frameContent_ == builtContent_))
        BuildGeometry();
    DrawGeometry(scene);
    DrawSpheres();
    if (!labels_.empty()) {
        SetColFont(penColour);
        for (const TLabelItem& label : labels_)
            TextOut3D(label.x, label.y, label.z, label.text);
        SetEmission(kBlack);
    }
}

void TGLRenderer::BuildGeometry() {
    for (TGeometryChunk& chunk : chunks_)
        if (chunk.buffers.vertexBuffer != 0)
            spareBuffers_.push_back(chunk.buffers);
    chunks_.clear();
    builtContent_ = frameContent_;
    builtMaterials_ = materials_;
    // A chunk holds one material and stays small enough to be uploaded in one piece.
    constexpr std::size_t kChunkVertices = 1 << 18;
    TGeometryChunk chunk;
    const auto place = [&](std::uint32_t material, const TUnitMesh& mesh,
                           const double(&rotation)[3][3], const double(&scale)[3],
                           const DVector& origin) {
        if (chunk.material != material || chunk.vertices.size() / 6 > kChunkVertices) {
            CloseChunk(chunk);
            chunk.material = material;
        }
        AppendMesh(chunk.vertices, chunk.triangles, mesh, rotation, scale, origin);
    };
    const auto byMaterial = [](const auto& items) {
        std::vector<std::uint32_t> order(items.size());
        std::iota(order.begin(), order.end(), 0u);
        std::stable_sort(order.begin(), order.end(), [&](std::uint32_t x, std::uint32_t y) {
            return items[x].material < items[y].material;
        });
        return order;
    };
    constexpr double toRadians = std::numbers::pi / 180.0;
    for (std::uint32_t i : byMaterial(cylinders_)) {
        const TCylinderItem& item = cylinders_[i];
        const TCylinderFrame frame = CylinderFrame({item.from[0], item.from[1], item.from[2]},
                                                   {item.to[0], item.to[1], item.to[2]}, 1.0);
        const double cy = std::cos(frame.aroundY * toRadians),
                     sy = std::sin(frame.aroundY * toRadians);
        const double cx = std::cos(frame.aroundX * toRadians),
                     sx = std::sin(frame.aroundX * toRadians);
        // Rotation about y, then about x (as glRotated applies them to the cylinder).
        const double rotation[3][3] = {
            {cy, sy * sx, sy * cx}, {0, cx, -sx}, {-sy, cy * sx, cy * cx}};
        const double scale[3] = {item.radius, item.radius, frame.length};
        place(item.material, CylinderMesh(item.slices), rotation, scale, frame.origin);
    }
    CloseChunk(chunk);
    ReleaseAll(spareBuffers_);
    geometryValid_ = true;
    ++geometryBuilds_;
}

void TGLRenderer::CloseChunk(TGeometryChunk& chunk) {
    if (chunk.triangles.empty()) {
        chunk.vertices.clear();
        return;
    }
    chunk.indexCount = chunk.triangles.size();
    // Without buffer memory the chunk is drawn from client memory instead. Uploaded, its
    // arrays are emptied but keep their storage for the next chunk.
    // The previous build's buffers are filled again before new ones are made.
    if (buffersAvailable_) {
        TBufferPair pair;
        if (!spareBuffers_.empty()) {
            pair = spareBuffers_.back();
            spareBuffers_.pop_back();
        }
        if (UploadArrays(chunk.vertices, chunk.triangles, pair)) {
            TGeometryChunk uploaded;
            uploaded.material = chunk.material;
            uploaded.buffers = pair;
            uploaded.indexCount = chunk.indexCount;
            chunks_.push_back(std::move(uploaded));
            chunk.vertices.clear();
            chunk.triangles.clear();
            chunk.indexCount = 0;
            return;
        }
    }
    chunks_.push_back(std::move(chunk));
    chunk = TGeometryChunk{};
}

void TGLRenderer::DrawGeometry(const TLVScene& scene) {
    if (chunks_.empty())
        return;
    // Model space to GL units: the view rotation and shift, the offset gl_, the screen
    // axis order L1, L2, L3 and the division by mas, as ScreenPosition and the
    // primitives apply them (column-major).
    const TLatvistaOpt& o = scene.WLVO;
    const std::array<std::size_t, 3> order{AxisIndex(o.L1), AxisIndex(o.L2), AxisIndex(o.L3)};
    double view[16] = {};
    double linear[3][3];
    for (std::size_t row = 0; row < 3; ++row) {
        const std::size_t from = order[row];
        for (std::size_t column = 0; column < 3; ++column) {
            linear[row][column] = scene.WMatrRotor[from][column] / scene.mas;
            view[column * 4 + row] = linear[row][column];
        }
        view[12 + row] =
            (static_cast<double>(scene.gl_[from]) + scene.WDeltaCoord[from]) / scene.mas;
    }
    view[15] = 1.0;
    const double det = linear[0][0] * (linear[1][1] * linear[2][2] - linear[1][2] * linear[2][1]) -
                       linear[0][1] * (linear[1][0] * linear[2][2] - linear[1][2] * linear[2][0]) +
                       linear[0][2] * (linear[1][0] * linear[2][1] - linear[1][1] * linear[2][0]);
    glPushMatrix();
    glMultMatrixd(view);
    // A mirroring axis order turns the facets' winding; culling must follow it.
    if (det < 0)
        glFrontFace(GL_CW);
    SetNormalize(true);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    QOpenGLFunctions* functions = CurrentFunctions();
    for (const TGeometryChunk& chunk : chunks_) {
        material_ = builtMaterials_[chunk.material];
        Apply();
        const auto count = static_cast<GLsizei>(chunk.indexCount);
        if (chunk.buffers.vertexBuffer != 0 && functions != nullptr) {
            functions->glBindBuffer(GL_ARRAY_BUFFER, chunk.buffers.vertexBuffer);
            functions->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, chunk.buffers.indexBuffer);
            glVertexPointer(3, GL_FLOAT, 6 * sizeof(float), nullptr);
            glNormalPointer(GL_FLOAT, 6 * sizeof(float),
                            reinterpret_cast<const void*>(3 * sizeof(float)));
            glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_INT, nullptr);
        } else if (chunk.buffers.vertexBuffer == 0) {
            glVertexPointer(3, GL_FLOAT, 6 * sizeof(float), chunk.vertices.data());
            glNormalPointer(GL_FLOAT, 6 * sizeof(float), chunk.vertices.data() + 3);
            glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_INT, chunk.triangles.data());
        }
    }
    if (functions != nullptr && buffersAvailable_) {
        functions->glBindBuffer(GL_ARRAY_BUFFER, 0);
        functions->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    SetNormalize(false);
    glFrontFace(GL_CCW);
    glPopMatrix();
}

void TGLRenderer::ReleaseGeometry() {
    for (TGeometryChunk& chunk : chunks_)
        ReleaseBuffers(chunk.buffers);
    chunks_.clear();
    geometryValid_ = false;
}

void TGLRenderer::ForgetGeometry() {
    ReleaseGeometry();
    builtMaterials_.clear();
    builtContent_ = {};
}

bool TGLRenderer::PartnerPaintedFirst(const tTopAt& a, const tTopAt& b) const {
    if (!stableWalk_)
        return (b.c & kNodePainted) != 0;
    // In depth order b would have been painted before a: it is a itself, it was marked
    // as painted by the visibility pass, or it comes first in depth.
    return &b == &a || (b.c & kNodeVisible) == 0 || DepthBefore(b, a);
}

void TGLRenderer::PaintNode(TLVScene& scene, tTopAt& a, const TViewColours& colours) {
    const TLatvistaOpt& o = scene.WLVO;
    const double mas = scene.mas;
    const double partRad = PartRadOf(o);
    a.c |= kNodePainted;
    const DVector pa = ScreenPosition(scene, a);
    const TColor colourA = NodeColour(a, o, colours);
    const bool cellShown = (o.NumSeeBond & cbCellEdge) != 0;
    double largestRadius = 0.0;
    bool anyBond = false;
    bool bondStarted = false;

    if (!(IsCellCorner(a) && !cellShown)) {
        for (tBoundAt* bond = a.p; bond != nullptr; bond = bond->li) {
            const double modelRadius = bond->diam >= 0 ? bond->diam / partRad : rbModel_;
            largestRadius = anyBond ? std::max(largestRadius, modelRadius) : modelRadius;
            anyBond = true;
            tTopAt* b = bond->p;
            const auto kind = static_cast<std::uint8_t>(bond->cb & 0x3F);
            if (b == nullptr || (kind & o.NumSeeBond) == 0 || PartnerPaintedFirst(a, *b))
                continue;
            glLineWidth(LineWidthOfKind(o, kind));
            if ((b->c & kNodeVisible) == 0 || (bond->c & kBondOpen) != 0 ||
                (bond->c & kBondShown) == 0)
                continue;
            bondStarted = true;
            const DVector pb = ScreenPosition(scene, *b);
            const DVector mid{(pa[0] + pb[0]) / 2, (pa[1] + pb[1]) / 2, (pa[2] + pb[2]) / 2};
            const std::uint16_t pattern = LinePatternOfKind(kind);
            const bool cylinder = HalfIsCylinder(a, *b, pattern);
            const TColor colourB = NodeColour(*b, o, colours);
            const double glRadius = modelRadius / mas;
            const SVector midK{(a.k[0] + b->k[0]) / 2, (a.k[1] + b->k[1]) / 2,
                               (a.k[2] + b->k[2]) / 2};
            struct THalf {
                const tTopAt& atom;
                TColor colour;
                DVector from, to;   // GL model units, screen axis order
                SVector fromK, toK; // before the view
            };
            const THalf halves[2] = {{a, colourA, pa, mid, a.k, midK},
                                     {*b, colourB, mid, pb, midK, b->k}};
            for (const THalf& half : halves) {
                const bool selectedBond = bond->sel && half.atom.PIAt != nullptr;
                if (cylinder) {
                    TMaterial material{
                        Floats(CylinderHalfDiffuse(*bond, half.atom, half.colour, o)), kAtomAmbient,
                        kWhite, kBlack, kShininess};
                    if (selectedBond)
                        material.diffuse = material.ambient = material.specular =
                            Floats(half.colour);
                    SetMaterial(material);
                    if (deferring_) {
                        AddCylinderItem(half.fromK, half.toK, modelRadius);
                    } else {
                        SetCurrentColour(bond->lBColor != clNone ? bond->lBColor : half.colour);
                        gluCylinderMy(half.from, half.to, glRadius, mas, cylinderSlices_);
                    }
                } else {
                    glLineStipple(1, pattern);
                    const TLineMaterial line =
                        LineHalfMaterial(*bond, half.atom, half.colour, o, colours);
                    TMaterial material{Floats(line.colour), Floats(line.colour), kBlack, kBlack,
                                       material_.shininess};
                    if (selectedBond)
                        material.diffuse = material.ambient = material.specular =
                            Floats(half.colour);
                    SetMaterial(material);
                    SetCurrentColour(half.colour);
                    drawOneLine(mas, half.from, half.to);
                }
            }
            const std::string label = BondLabelText(*bond, o);
            if (!label.empty()) {
                SetColFont(colours.PenColor);
                TextOut3D(mid[0] / mas, mid[1] / mas, mid[2] / mas + 2.0 * o.dBond / partRad / mas,
                          label);
                SetEmission(kBlack);
            }
        }
    }
    if (!anyBond)
        largestRadius = rbModel_;

    double drawnRadius = a.rad / partRad;
    if ((a.c & kNodeAuxiliary) == 0 && !(a.PolyVert && !o.ShowVertex)) {
        if (a.nm == 0) {
            if (!bondStarted) {
                SetMaterial(
                    {Floats(colourA), Floats(colourA), kBlack, kBlack, material_.shininess});
                SetCurrentColour(colourA);
                const float size = static_cast<float>(o.ArrTickBonds[0]);
                glPointSize(size < 1e-7f ? 1.0f : size);
                Apply();
                SetNormalize(false);
                glBegin(GL_POINTS);
                glNormal3f(0.0f, 0.0f, 0.5f);
                GlVertex(pa, mas);
                glEnd();
            }
        } else {
            if (a.nm == 1 || (a.nm == 3 && a.rad < o.dBond))
                drawnRadius = largestRadius;
            TFloat4 emission = kBlack;
            if (a.PIAt != nullptr) {
                const TFloat4 c = Floats(colourA);
                emission = {(0.3f + c[0]) / 3.0f, (0.3f + c[1]) / 3.0f, (0.3f + c[2]) / 3.0f, 1.0f};
            }
            SetEmission(emission);
            const double nSeg = static_cast<double>(RoundHalfEven(a.rk * scene.CoeffDX));
            if (deferring_) {
                SetMaterial(SphereMaterial(colourA));
                AddSphereItem({pa[0] / mas, pa[1] / mas, pa[2] / mas}, SphereSegments(nSeg),
                              drawnRadius / mas);
            } else {
                drawSphere(colourA, nSeg, mas, drawnRadius, pa);
            }
            if (a.PIAt != nullptr)
                SetEmission(kBlack);
        }
    }
    if (a.LabelExist) {
        const std::string text = AtomLabelText(a, o);
        if (!text.empty() && width_ > 0 && height_ > 0) {
            const double dx = PosNameDx(a.PosName), dy = PosNameDy(a.PosName);
            const double x = 2.0 * dx / width_ * scene.gl_MaxI + pa[0] / mas;
            const double y = pa[1] / mas - 2.0 * dy / height_ * scene.gl_MaxJ;
            const double z = (pa[2] + 1.5 * drawnRadius + 0.03) / mas + 0.001;
            SetColFont(colours.PenColor);
            TextOut3D(x, y, z, text);
            SetEmission(kBlack);
        }
    }
}

} // namespace ormaline
