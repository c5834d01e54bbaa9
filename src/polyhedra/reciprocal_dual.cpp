#include "polyhedra/reciprocal_dual.h"

#include <cmath>

#include "base/huge_pages.h"
#include "base/translate.h"
#include "construct/edge_sphere.h"
#include "geometry/face_plane.h"

namespace pd {

namespace {
// A face whose plane passes within this share of the model's size of the
// centre has no reciprocal: its pole would lie nearly at infinity.
constexpr double throughCentreShare = 1e-6;
}  // namespace

Midsphere midsphere(const Polyhedron& p, const std::vector<Edge>& edges) {
    const Vec3d c = vertexMean(p);
    Midsphere m{{c.x, c.y, c.z}, 0.0};
    double sum = 0.0;
    for (const Edge& e : edges) {
        const Vec3d a = widen(p.vertices[e.a]), b = widen(p.vertices[e.b]);
        const Vec3d mid = (a + b) / 2;
        sum += std::sqrt(dot(mid - c, mid - c));
    }
    m.radius = edges.empty() ? 0.0 : sum / static_cast<double>(edges.size());
    return m;
}

Midsphere dualSphereOf(const Polyhedron& p, const std::vector<Edge>& edges, const DualSphere& choice) {
    if (choice.hasGiven) return choice.given;
    if (choice.centre == DualCentre::Vertices) return midsphere(p, edges);
    const EdgeSphere best = bestEdgeSphere(p, edges);
    return {{best.centre.x, best.centre.y, best.centre.z}, best.radius};
}

Result<std::vector<Vec3>> reciprocalDualVertices(const Polyhedron& p, const std::vector<Edge>& edges,
                                                 int numberBase, const DualSphere& choice) {
    const Midsphere sphere = dualSphereOf(p, edges, choice);
    const Vec3d c{sphere.centre[0], sphere.centre[1], sphere.centre[2]};
    double size = 0.0;
    for (const Vec3& v : p.vertices) size = std::fmax(size, std::sqrt(dot(widen(v) - c, widen(v) - c)));
    const double r2 = sphere.radius * sphere.radius;

    auto faceName = [&](int f) { return std::to_string(f + numberBase); };
    std::vector<Vec3> out;
    reserveHuge(out, static_cast<std::size_t>(p.faceCount()));
    out.resize(static_cast<std::size_t>(p.faceCount()));
    for (int f = 0; f < p.faceCount(); ++f) {
        const FacePlane plane = facePlane(p, f, c);
        const Vec3d& normal = plane.normal;
        const double length = pd::length(normal);
        if (!(length > 0.0)) {
            return failure(fill(tr("face {1} has no plane (its corners lie on a line)"), {faceName(f)}));
        }
        const Vec3d n = normal / length;
        const double d = dot(n, plane.cornerSum) / p.faceSize(f);
        if (!(std::fabs(d) > throughCentreShare * size)) {
            return failure(fill(tr("face {1} lies in a plane through the centre, so it has no reciprocal"), {faceName(f)}));
        }
        // n r^2 / d points away from the centre whichever way n was turned.
        const double k = r2 / d;
        const Vec3d at = c + n * k;
        out[f] = Vec3{static_cast<float>(at.x), static_cast<float>(at.y), static_cast<float>(at.z)};
        if (!std::isfinite(out[f].x) || !std::isfinite(out[f].y) || !std::isfinite(out[f].z)) {
            return failure(fill(tr("face {1} has its reciprocal beyond the range of floats"), {faceName(f)}));
        }
    }
    return out;
}

std::vector<Vec3d> unitSpherePoles(const Polyhedron& p, const std::vector<Vec3d>& vertices) {
    std::vector<Vec3d> out(static_cast<std::size_t>(p.faceCount()));
    for (int f = 0; f < p.faceCount(); ++f) {
        const int n = p.faceSize(f);
        Vec3d normal{0, 0, 0}, sum{0, 0, 0};
        for (int k = 0; k < n; ++k) {
            const Vec3d a = vertices[std::size_t(p.face(f)[k])], b = vertices[std::size_t(p.face(f)[(k + 1) % n])];
            normal += cross(a, b);
            sum += a;
        }
        // n / d, whichever way the normal was turned.
        const Vec3d unit = normal / length(normal);
        out[std::size_t(f)] = unit / (dot(unit, sum) / n);
    }
    return out;
}

}  // namespace pd
