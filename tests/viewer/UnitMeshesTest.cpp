// The unit meshes the renderer places: GLU's parametrisation, unit normals, facets that
// face outwards.
#include "viewer/UnitMeshes.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using namespace ormaline;

namespace {

std::array<double, 3> At(const TUnitMesh& mesh, std::uint32_t index, int offset = 0) {
    const float* v = &mesh.vertices[6 * index + static_cast<std::size_t>(offset)];
    return {v[0], v[1], v[2]};
}

// Signed area normal of each non-degenerate facet against the outward direction.
void ExpectOutwardFacets(const TUnitMesh& mesh, bool cylinder) {
    int facing = 0;
    for (std::size_t t = 0; t < mesh.triangles.size(); t += 3) {
        const auto a = At(mesh, mesh.triangles[t]), b = At(mesh, mesh.triangles[t + 1]),
                   c = At(mesh, mesh.triangles[t + 2]);
        const std::array<double, 3> u{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const std::array<double, 3> w{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        const std::array<double, 3> n{u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
                                      u[0] * w[1] - u[1] * w[0]};
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (length < 1e-9)
            continue; // collapsed at a pole
        std::array<double, 3> out{(a[0] + b[0] + c[0]) / 3, (a[1] + b[1] + c[1]) / 3,
                                  cylinder ? 0.0 : (a[2] + b[2] + c[2]) / 3};
        EXPECT_GT(n[0] * out[0] + n[1] * out[1] + n[2] * out[2], -1e-9) << "facet " << t / 3;
        ++facing;
    }
    EXPECT_GT(facing, 0);
}

TEST(UnitMeshes, SpheresLieOnTheUnitSphereWithTheirPositionsAsNormals) {
    for (int slices : {2, 6, 15}) {
        SCOPED_TRACE(slices);
        const TUnitMesh mesh = UnitSphere(slices, slices);
        EXPECT_EQ(mesh.VertexCount(), static_cast<std::size_t>(slices * 2 * (slices + 1)));
        EXPECT_EQ(mesh.triangles.size(), static_cast<std::size_t>(slices * slices * 6));
        for (std::uint32_t v = 0; v < mesh.VertexCount(); ++v) {
            const auto p = At(mesh, v), n = At(mesh, v, 3);
            EXPECT_NEAR(std::hypot(p[0], p[1], p[2]), 1.0, 1e-6);
            for (std::size_t i = 0; i < 3; ++i)
                EXPECT_NEAR(p[i], n[i], 1e-6);
        }
        ExpectOutwardFacets(mesh, false);
    }
    // GLU's first ring: theta = 0 lies on +y, the poles on +z and -z.
    const TUnitMesh six = UnitSphere(6, 6);
    EXPECT_NEAR(At(six, 1)[2], 1.0, 1e-9);
    const auto ring = At(six, 0);
    EXPECT_NEAR(ring[0], 0.0, 1e-9);
    EXPECT_NEAR(ring[1], std::sin(3.14159265358979 / 6), 1e-6);
}

TEST(UnitMeshes, CylindersRunFromZeroToOneWithRadialNormals) {
    for (int slices : {3, 9}) {
        SCOPED_TRACE(slices);
        const TUnitMesh mesh = UnitCylinder(slices);
        EXPECT_EQ(mesh.triangles.size(), static_cast<std::size_t>(slices * 6));
        for (std::uint32_t v = 0; v < mesh.VertexCount(); ++v) {
            const auto p = At(mesh, v), n = At(mesh, v, 3);
            EXPECT_NEAR(std::hypot(p[0], p[1]), 1.0, 1e-6);
            EXPECT_TRUE(p[2] == 0.0 || p[2] == 1.0);
            EXPECT_NEAR(n[0], p[0], 1e-6);
            EXPECT_NEAR(n[1], p[1], 1e-6);
            EXPECT_EQ(n[2], 0.0);
        }
        ExpectOutwardFacets(mesh, true);
    }
    EXPECT_TRUE(UnitCylinder(1).triangles.empty());
}

} // namespace
