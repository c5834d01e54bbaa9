#include "solids/solid_rotation.h"

#include "geometry/rotation.h"

namespace pd {

namespace {

void turnArray(const Mat3& rx, const Mat3& ry, VertexArray& verts, int count) {
    for (int p = 0; p < count; ++p) {
        // The intermediate result is stored as float before the second turn.
        verts[p] = rotateVec3(rx, verts[p]);
        verts[p] = rotateVec3(ry, verts[p]);
    }
}

}  // namespace

void rotateSolids(float xDegrees, float yDegrees, VertexArrays& arrays) {
    const Mat3 rx = rotationAboutX(xDegrees);
    const Mat3 ry = rotationAboutY(yDegrees);
    for (const SolidInfo& solid : solidTable) {
        turnArray(rx, ry, solidVerts(arrays, solid.kind), solid.vertexCount);
        turnArray(rx, ry, dualVerts(arrays, solid.kind), solid.faceCount);
    }
}

}  // namespace pd
