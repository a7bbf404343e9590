// Internals shared by the OpenGL renderer's files: material constants, buffer objects of
// the current context, placing unit meshes, and where a cylinder between two points goes.
#pragma once

#include "viewer/GLRenderer.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

class QOpenGLFunctions;

namespace ormaline::gldetail {

using TFloat4 = std::array<float, 4>;

inline constexpr TFloat4 kBlack{0.0f, 0.0f, 0.0f, 0.0f};
inline constexpr TFloat4 kAtomAmbient{0.3f, 0.3f, 0.3f, 1.0f};
inline constexpr TFloat4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
inline constexpr float kShininess = 100.0f;
inline constexpr TFloat4 kLightAmbient{0.5f, 0.5f, 0.5f, 1.0f};
inline constexpr TFloat4 kLightDiffuse{1.0f, 1.0f, 1.0f, 1.0f};
inline constexpr TFloat4 kLightSpecular{1.0f, 1.0f, 1.0f, 1.0f};

inline std::size_t AxisIndex(int oneBased) {
    return static_cast<std::size_t>(std::clamp(oneBased, 1, 3) - 1);
}

// Places a copy of a unit mesh: scaled per axis, rotated, moved to `origin`.
void AppendMesh(std::vector<float>& vertices, std::vector<std::uint32_t>& triangles,
                const TUnitMesh& mesh, const double (&rotation)[3][3], const double (&scale)[3],
                const DVector& origin);

// 64-bit hash of a record of 32-bit words (no padding), seeded; well mixed, so that a sum
// of such hashes tells different multisets apart.
std::uint64_t HashWords(const void* record, std::size_t bytes, std::uint64_t seed);

QOpenGLFunctions* CurrentFunctions();
// Fills one buffer object (made when `name` is 0) with `bytes` from `data`: in its present
// storage when that is large enough, else in new storage of that size.
void FillBuffer(QOpenGLFunctions& functions, GLenum target, unsigned& name, std::size_t& capacity,
                const void* data, std::size_t bytes);
// Deletes the two buffer objects (0 stands for none) and forgets them.
void ReleaseBuffers(TBufferPair& pair);
void ReleaseAll(std::vector<TBufferPair>& pairs);
// Copies vertex data and triangles into the pair's buffer objects of the current context,
// made or grown as needed. False, with the buffers deleted, when that fails (no memory).
bool UploadArrays(const std::vector<float>& vertices, const std::vector<std::uint32_t>& triangles,
                  TBufferPair& pair);

// Where gluCylinderMy puts a cylinder from p to q (GL units, screen axis order): the
// nearer end, the rotations about y and then x in degrees, and the length.
struct TCylinderFrame {
    DVector origin;
    double aroundY, aroundX, length;
};
TCylinderFrame CylinderFrame(const DVector& p, const DVector& q, double mas);

} // namespace ormaline::gldetail
