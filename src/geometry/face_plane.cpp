#include "geometry/face_plane.h"

#include <cmath>

#include "base/huge_pages.h"

namespace pd {

Vec3d vertexMean(const Polyhedron& p) {
    std::vector<std::uint8_t> used(p.vertices.size(), 0);
    for (std::int32_t c : p.corners) used[static_cast<std::size_t>(c)] = 1;
    Vec3d sum{0, 0, 0};
    std::size_t count = 0;
    for (std::size_t i = 0; i < p.vertices.size(); ++i) {
        if (!used[i]) continue;
        const Vec3& v = p.vertices[i];
        sum += widen(v);
        ++count;
    }
    const double n = count == 0 ? 1.0 : static_cast<double>(count);
    return sum / n;
}

FacePlane facePlane(const Polyhedron& p, int face, Vec3d centre) {
    const std::int32_t* corners = p.face(face);
    const int m = p.faceSize(face);
    FacePlane plane{{0, 0, 0}, {0, 0, 0}};
    for (int k = 0; k < m; ++k) {
        const Vec3d a = widen(p.vertices[corners[k]]) - centre;
        const Vec3d b = widen(p.vertices[corners[k + 1 < m ? k + 1 : 0]]) - centre;
        plane.normal += {(a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y)};
        plane.cornerSum += a;
    }
    return plane;
}

std::vector<Vec3> outwardNormals(const Polyhedron& p) {
    const Vec3d centre = vertexMean(p);
    std::vector<Vec3> normals;
    reserveHuge(normals, static_cast<std::size_t>(p.faceCount()));
    normals.resize(static_cast<std::size_t>(p.faceCount()));
    for (int f = 0; f < p.faceCount(); ++f) {
        const FacePlane plane = facePlane(p, f, centre);
        const double length = pd::length(plane.normal);
        if (!(length > 0.0)) continue;
        const double scale = (dot(plane.normal, plane.cornerSum) < 0.0 ? -1.0 : 1.0) / length;
        normals[f] = Vec3{static_cast<float>(plane.normal.x * scale),
                          static_cast<float>(plane.normal.y * scale),
                          static_cast<float>(plane.normal.z * scale)};
    }
    return normals;
}

}  // namespace pd
