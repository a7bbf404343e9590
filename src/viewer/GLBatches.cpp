// The OpenGL renderer's batches: a frame's spheres and cylinders gathered by material,
// cylinders placed once in model space and kept in buffer objects, spheres placed in eye
// space per frame.
#include "viewer/GLRendererDetail.h"

#include <QOpenGLFunctions>

#include <map>
#include <numbers>
#include <numeric>

namespace ormaline {

using namespace gldetail;

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

} // namespace ormaline
