#include "polyhedra/convexity.h"

#include <deque>
#include <string>
#include <vector>

#include "base/translate.h"
#include "hull/convex_hull.h"
#include "hull/halfspace_intersection.h"
#include "geometry/edges.h"
#include "geometry/face_plane.h"

namespace pd {

namespace {
// A climb toward a plane by less than this share of the allowed distance
// is noise: the walk to the farthest vertex stops there.
constexpr double noiseShare = 1e-3;

// The hull's vertex neighbours: its facets as faces over the points (the
// vertices of `p`), their edges found as the model's are. A triangulated
// hull's facets name every edge (and a few diagonals of flat facets, which
// change no climb).
VertexNeighbours hullNeighbours(const ConvexHull& hull, const Polyhedron& p) {
    Polyhedron facets;
    facets.vertices.resize(p.vertices.size());  // only their number is read
    facets.corners.assign(hull.facetPoints.begin(), hull.facetPoints.end());
    facets.faceStart.assign(hull.facetStart.begin(), hull.facetStart.end());
    return vertexNeighbours(edgeTopology(facets), p.vertexCount());
}

// For every vertex, a hull corner few edges away along the model's own
// edges (breadth first from all corners at once); -1 where none is reached.
std::vector<int> nearestCorners(const Polyhedron& p, const ConvexHull& hull) {
    const VertexNeighbours joined = vertexNeighbours(edgeTopology(p), p.vertexCount());
    std::vector<int> nearest(std::size_t(p.vertexCount()), -1);
    std::deque<int> queue;
    for (int v = 0; v < p.vertexCount(); ++v)
        if (hull.isCorner(v)) nearest[std::size_t(v)] = v, queue.push_back(v);
    while (!queue.empty()) {
        const int v = queue.front();
        queue.pop_front();
        for (int s = joined.start[std::size_t(v)]; s < joined.start[std::size_t(v) + 1]; ++s) {
            const int w = joined.to[std::size_t(s)];
            if (nearest[std::size_t(w)] < 0) nearest[std::size_t(w)] = nearest[std::size_t(v)], queue.push_back(w);
        }
    }
    return nearest;
}

}  // namespace

Result<std::vector<HalfSpace>> faceHalfSpaces(const Polyhedron& p, Vec3d centre, int numberBase) {
    std::vector<HalfSpace> planes(std::size_t(p.faceCount()));
    for (int f = 0; f < p.faceCount(); ++f) {
        const FacePlane plane = facePlane(p, f, centre);
        const double length = pd::length(plane.normal);
        if (!(length > 0.0))
            return failure(fill(tr("face {1} has no plane"), {std::to_string(f + numberBase)}));
        Vec3d n = plane.normal / length;
        double d = dot(n, plane.cornerSum) / p.faceSize(f);
        if (d < 0) n = -n, d = -d;
        if (!(d > 0.0))
            return failure(fill(tr("face {1} lies in a plane through the centre"), {std::to_string(f + numberBase)}));
        planes[std::size_t(f)] = {n, d};
    }
    return planes;
}

Status checkConvex(const Polyhedron& p, const std::vector<HalfSpace>& planes, Vec3d centre,
                   double size, double tolerance, int numberBase) {
    std::vector<Vec3d> points;
    points.reserve(p.vertices.size());
    for (const Vec3& v : p.vertices) points.push_back(widen(v) - centre);
    const Result<ConvexHull> hull = convexHull(points, true);
    if (!hull) return failure(fill(tr("it has no inside: {1}"), {hull.error().what}));
    const VertexNeighbours next = hullNeighbours(*hull, p);

    const std::vector<int> same = samePlanes(planes, size, tolerance);

    // For each plane, a corner of its faces on the hull to start from.
    std::vector<int> from(planes.size(), -1);
    for (int f = 0; f < p.faceCount(); ++f) {
        int& start = from[std::size_t(same[std::size_t(f)])];
        for (int k = 0; k < p.faceSize(f) && start < 0; ++k)
            if (hull->isCorner(p.face(f)[k])) start = p.face(f)[k];
    }
    const double allowed = tolerance * size;
    const double step = allowed * noiseShare;
    std::vector<int> nearest;
    for (int f = 0; f < p.faceCount(); ++f) {
        if (same[std::size_t(f)] != f) continue;  // its plane is checked with an earlier face
        int at = from[std::size_t(f)];
        if (at < 0) {
            // No corner on the hull (a face inside a flat region, or a dent):
            // start from a hull corner nearby.
            if (nearest.empty()) nearest = nearestCorners(p, *hull);
            at = nearest[std::size_t(p.face(f)[0])];
            if (at < 0) return failure(fill(tr("vertex {1} is not joined to the hull"), {std::to_string(p.face(f)[0] + numberBase)}));
        }
        const HalfSpace& plane = planes[std::size_t(f)];
        double height = dot(plane.normal, points[std::size_t(at)]);
        for (;;) {
            if (height > plane.offset + allowed)
                return failure(fill(tr("vertex {1} lies outside the plane of face {2}"),
                                    {std::to_string(at + numberBase), std::to_string(f + numberBase)}));
            int best = -1;
            double bestHeight = height + step;
            for (int s = next.start[std::size_t(at)]; s < next.start[std::size_t(at) + 1]; ++s) {
                const int w = next.to[std::size_t(s)];
                const double h = dot(plane.normal, points[std::size_t(w)]);
                if (h > bestHeight) best = w, bestHeight = h;
            }
            if (best < 0) break;
            at = best;
            height = bestHeight;
        }
    }
    return Done{};
}

}  // namespace pd
