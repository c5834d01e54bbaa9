#include "hidden/self_hidden_faces.h"

#include <algorithm>
#include <cmath>

#include "base/huge_pages.h"
#include "geometry/tolerances.h"

namespace pd {

namespace {

// How far a corner may stray from where a convex shell would have it, as a
// share of the shell's size: far below a pixel in any picture.
constexpr double convexTolerance = 1e-6;
constexpr double fullTurn = 6.283185307179586;

struct FacePlane {
    Vec3d normal;  // unit, outward
    Vec3d centre;  // the corners' mean
};

// The plane of face f (Newell's normal, turned as the outward normal is
// turned), or false when it has fewer than three corners, no area, or
// corners off the plane or turning both ways.
bool flatConvexFace(const Polyhedron& p, int f, Vec3 outward, double tolerance, FacePlane& plane) {
    const int n = p.faceSize(f);
    if (n < 3) return false;
    const std::int32_t* c = p.face(f);
    Vec3d normal{0, 0, 0}, sum{0, 0, 0};
    for (int k = 0; k < n; ++k) {
        const Vec3d a = widen(p.vertices[std::size_t(c[k])]), b = widen(p.vertices[std::size_t(c[(k + 1) % n])]);
        normal += cross(a, b);
        sum += a;
    }
    const double area = length(normal);
    if (!(area > 0.0) || !std::isfinite(area)) return false;
    plane.normal = normal / area;
    if (dot(plane.normal, widen(outward)) < 0.0) plane.normal = -plane.normal;
    plane.centre = sum / double(n);
    const double sign = dot(normal, plane.normal) > 0.0 ? 1.0 : -1.0;  // the corners' own turning
    for (int k = 0; k < n; ++k) {
        const Vec3d a = widen(p.vertices[std::size_t(c[k])]);
        const Vec3d b = widen(p.vertices[std::size_t(c[(k + 1) % n])]);
        const Vec3d d = widen(p.vertices[std::size_t(c[(k + 2) % n])]);
        if (std::fabs(dot(plane.normal, a - plane.centre)) > tolerance) return false;
        // Each turn the same way (a straight corner passes).
        if (sign * dot(cross(b - a, d - b), plane.normal) < -tolerance * length(b - a)) return false;
    }
    return true;
}

}  // namespace

bool hidesOwnBackFaces(const Polyhedron& p, const std::vector<Edge>& edges, const std::vector<Vec3>& normals) {
    const int faceCount = p.faceCount();
    if (faceCount < 4 || normals.size() != std::size_t(faceCount) || p.vertices.empty()) return false;
    Vec3d lo = widen(p.vertices[0]), hi = lo;
    for (const Vec3& v : p.vertices) {
        lo = {std::min(lo.x, double(v.x)), std::min(lo.y, double(v.y)), std::min(lo.z, double(v.z))};
        hi = {std::max(hi.x, double(v.x)), std::max(hi.y, double(v.y)), std::max(hi.z, double(v.z))};
    }
    const double size = length(hi - lo);
    if (!(size > 0.0) || !std::isfinite(size)) return false;
    const double tolerance = convexTolerance * size;

    std::vector<FacePlane> planes;
    reservePopulated(planes, std::size_t(faceCount));
    planes.resize(std::size_t(faceCount));
    for (int f = 0; f < faceCount; ++f)
        if (!flatConvexFace(p, f, normals[std::size_t(f)], tolerance, planes[std::size_t(f)])) return false;
    for (const Edge& e : edges) {
        if (e.faces[0] < 0 || e.faces[1] < 0) return false;
        const FacePlane& f = planes[std::size_t(e.faces[0])];
        const FacePlane& g = planes[std::size_t(e.faces[1])];
        if (dot(f.normal, g.centre - f.centre) > tolerance || dot(g.normal, f.centre - g.centre) > tolerance)
            return false;
    }
    std::vector<double> angles(p.vertices.size(), 0.0);
    std::vector<char> used(p.vertices.size(), 0);
    for (int f = 0; f < faceCount; ++f) {
        const int n = p.faceSize(f);
        const std::int32_t* c = p.face(f);
        for (int k = 0; k < n; ++k) {
            const Vec3d a = widen(p.vertices[std::size_t(c[(k + n - 1) % n])]);
            const Vec3d b = widen(p.vertices[std::size_t(c[k])]);
            const Vec3d d = widen(p.vertices[std::size_t(c[(k + 1) % n])]);
            angles[std::size_t(c[k])] += std::atan2(length(cross(a - b, d - b)), dot(a - b, d - b));
            used[std::size_t(c[k])] = 1;
        }
    }
    long long vertices = 0;
    for (std::size_t v = 0; v < angles.size(); ++v) {
        if (!used[v]) continue;
        ++vertices;
        if (angles[v] > fullTurn * (1.0 + roundingShare)) return false;
    }
    return vertices - (long long)(edges.size()) + faceCount == 2;
}

}  // namespace pd
