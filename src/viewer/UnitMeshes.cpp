#include "viewer/UnitMeshes.h"

#include <cmath>
#include <numbers>

namespace ormaline {
namespace {

void Vertex(TUnitMesh& mesh, double x, double y, double z, double nx, double ny, double nz) {
    for (double value : {x, y, z, nx, ny, nz})
        mesh.vertices.push_back(static_cast<float>(value));
}

// The quads of a strip whose vertices were added in pairs (first, second) from `base`.
void StripTriangles(TUnitMesh& mesh, std::uint32_t base, int pairs) {
    for (int i = 0; i + 1 < pairs; ++i) {
        const std::uint32_t a = base + static_cast<std::uint32_t>(2 * i);
        const std::uint32_t b = a + 1, c = a + 3, d = a + 2;
        for (std::uint32_t index : {a, b, c, a, c, d})
            mesh.triangles.push_back(index);
    }
}

} // namespace

TUnitMesh UnitSphere(int slices, int stacks) {
    TUnitMesh mesh;
    if (slices < 2 || stacks < 1)
        return mesh;
    std::vector<double> sinTheta(static_cast<std::size_t>(slices + 1));
    std::vector<double> cosTheta(sinTheta.size());
    for (int i = 0; i < slices; ++i) {
        const double angle = 2 * std::numbers::pi * i / slices;
        sinTheta[static_cast<std::size_t>(i)] = std::sin(angle);
        cosTheta[static_cast<std::size_t>(i)] = std::cos(angle);
    }
    sinTheta[static_cast<std::size_t>(slices)] = sinTheta[0];
    cosTheta[static_cast<std::size_t>(slices)] = cosTheta[0];
    std::vector<double> sinRho(static_cast<std::size_t>(stacks + 1));
    std::vector<double> cosRho(sinRho.size());
    for (int j = 0; j <= stacks; ++j) {
        const double angle = std::numbers::pi * j / stacks;
        sinRho[static_cast<std::size_t>(j)] = std::sin(angle);
        cosRho[static_cast<std::size_t>(j)] = std::cos(angle);
    }
    sinRho[0] = 0.0;
    cosRho[0] = 1.0;
    sinRho[static_cast<std::size_t>(stacks)] = 0.0;
    cosRho[static_cast<std::size_t>(stacks)] = -1.0;
    for (int j = 0; j < stacks; ++j) {
        const auto low = static_cast<std::size_t>(j), high = static_cast<std::size_t>(j + 1);
        const auto base = static_cast<std::uint32_t>(mesh.VertexCount());
        for (int i = 0; i <= slices; ++i) {
            const auto k = static_cast<std::size_t>(i);
            Vertex(mesh, sinRho[high] * sinTheta[k], sinRho[high] * cosTheta[k], cosRho[high],
                   sinTheta[k] * sinRho[high], cosTheta[k] * sinRho[high], cosRho[high]);
            Vertex(mesh, sinRho[low] * sinTheta[k], sinRho[low] * cosTheta[k], cosRho[low],
                   sinTheta[k] * sinRho[low], cosTheta[k] * sinRho[low], cosRho[low]);
        }
        StripTriangles(mesh, base, slices + 1);
    }
    return mesh;
}

TUnitMesh UnitCylinder(int slices) {
    TUnitMesh mesh;
    if (slices < 2)
        return mesh;
    for (int i = 0; i <= slices; ++i) {
        const double angle = 2 * std::numbers::pi * (i % slices) / slices;
        const double s = std::sin(angle), c = std::cos(angle);
        Vertex(mesh, s, c, 0.0, s, c, 0.0);
        Vertex(mesh, s, c, 1.0, s, c, 0.0);
    }
    StripTriangles(mesh, 0, slices + 1);
    return mesh;
}

} // namespace ormaline
