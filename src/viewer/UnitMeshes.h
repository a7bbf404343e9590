// Unit spheres and cylinders as triangle meshes, with the vertices, normals and facet
// order of the GLU quadrics (quad strips split into two triangles each), one mesh per
// slice count. The renderer places copies of them with a translation, rotation and
// scale computed on the CPU and draws many objects of one material in one call.
#pragma once

#include <cstdint>
#include <vector>

namespace ormaline {

struct TUnitMesh {
    std::vector<float> vertices; // x, y, z, nx, ny, nz per vertex
    std::vector<std::uint32_t> triangles;
    std::size_t VertexCount() const { return vertices.size() / 6; }
};

// Radius 1 around the origin, `slices` around the z axis and `stacks` from +z to -z.
TUnitMesh UnitSphere(int slices, int stacks);
// Radius 1, from z = 0 to z = 1, `slices` around the z axis and one stack.
TUnitMesh UnitCylinder(int slices);

} // namespace ormaline
