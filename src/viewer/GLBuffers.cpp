// Buffer objects of the current context, unit-mesh placing, hashing and the cylinder
// frame of the OpenGL renderer.
#include "viewer/GLRendererDetail.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <cmath>
#include <cstring>
#include <numbers>

namespace ormaline::gldetail {

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

// Reused storage costs the driver no new memory.
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

} // namespace ormaline::gldetail
