#include "model/face_plane.h"

D3 vertexMean(const Polyhedron& p) {
    D3 sum{0, 0, 0};
    for (const Vec3& v : p.vertices) {
        sum.x += v.x;
        sum.y += v.y;
        sum.z += v.z;
    }
    const double n = p.vertices.empty() ? 1.0 : static_cast<double>(p.vertices.size());
    return {sum.x / n, sum.y / n, sum.z / n};
}

FacePlane facePlane(const Polyhedron& p, int face, D3 centre) {
    const std::int32_t* corners = p.face(face);
    const int m = p.faceSize(face);
    FacePlane plane{{0, 0, 0}, {0, 0, 0}};
    for (int k = 0; k < m; ++k) {
        const D3 a = widen(p.vertices[corners[k]]) - centre;
        const D3 b = widen(p.vertices[corners[k + 1 < m ? k + 1 : 0]]) - centre;
        plane.normal.x += (a.y - b.y) * (a.z + b.z);
        plane.normal.y += (a.z - b.z) * (a.x + b.x);
        plane.normal.z += (a.x - b.x) * (a.y + b.y);
        plane.cornerSum.x += a.x;
        plane.cornerSum.y += a.y;
        plane.cornerSum.z += a.z;
    }
    return plane;
}
