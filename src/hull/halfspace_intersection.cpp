#include "hull/halfspace_intersection.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/translate.h"
#include "hull/convex_hull.h"
#include "hull/point_clusters.h"
#include "geometry/edges.h"
#include "geometry/vertex_rings.h"

namespace pd {

namespace {

// A plane as one point: its normal over its offset, in units of `size`.
// Two planes are the same where these points are.
Vec3d planePoint(const HalfSpace& h, double size) {
    const double k = size / h.offset;
    return h.normal * k;
}

// The cluster numbers in `ids` put in order counter-clockwise about
// `normal`, seen from where it points, around their mean. The corners of a
// convex polygon in the angle order around an inner point go round it.
void orderAround(std::vector<int>& ids, const std::vector<Vec3d>& at, Vec3d normal) {
    Vec3d mean{0, 0, 0};
    for (int id : ids) mean += at[id];
    const double n = double(ids.size());
    mean = mean / n;
    // Any direction in the plane, then the one a quarter turn on.
    const Vec3d helper = std::fabs(normal.x) < 0.6 ? Vec3d{1, 0, 0} : Vec3d{0, 1, 0};
    const Vec3d e1 = cross(normal, helper);
    const Vec3d e2 = cross(normal, e1);
    std::vector<std::pair<double, int>> angles;
    angles.reserve(ids.size());
    for (int id : ids) {
        const Vec3d d = at[id] - mean;
        angles.push_back({std::atan2(dot(d, e2), dot(d, e1)), id});
    }
    std::sort(angles.begin(), angles.end());
    for (std::size_t i = 0; i < ids.size(); ++i) ids[i] = angles[i].second;
}

}  // namespace

std::vector<int> samePlanes(const std::vector<HalfSpace>& spaces, double size, double tolerance) {
    std::vector<Vec3d> points;
    points.reserve(spaces.size());
    for (const HalfSpace& h : spaces) points.push_back(planePoint(h, size));
    const PointClusters clusters = clusterPoints(points, tolerance);
    std::vector<int> first(clusters.centres.size(), -1);
    std::vector<int> same(spaces.size());
    for (std::size_t i = 0; i < spaces.size(); ++i) {
        int& f = first[std::size_t(clusters.clusterOf[i])];
        if (f < 0) f = int(i);
        same[i] = f;
    }
    return same;
}

Result<Intersection> intersectHalfSpaces(const std::vector<HalfSpace>& spaces, Vec3d centre,
                                         double size, double tolerance) {
    for (std::size_t i = 0; i < spaces.size(); ++i) {
        const HalfSpace& h = spaces[i];
        if (!(h.offset > 0.0) || !std::isfinite(h.offset / size) || !std::isfinite(h.normal.x) ||
            !std::isfinite(h.normal.y) || !std::isfinite(h.normal.z))
            return failure(fill(tr("half-space {1} does not hold the centre"), {std::to_string(i)}));
    }
    // One point per plane: its polar. The hull's corners are the planes
    // that bound the intersection, its facets the intersection's vertices.
    const std::vector<int> same = samePlanes(spaces, size, tolerance);
    std::vector<int> source;
    std::vector<Vec3d> polar;
    for (std::size_t i = 0; i < spaces.size(); ++i)
        if (same[i] == int(i)) {
            source.push_back(int(i));
            const HalfSpace& h = spaces[i];
            polar.push_back(h.normal / h.offset);
        }
    Result<ConvexHull> hull = convexHull(polar, false);
    if (!hull) return failure(fill(tr("the half-spaces bound no solid: {1}"), {hull.error().what}));

    // A facet n . p = h (h > 0) of the hull is the vertex n / h.
    std::vector<Vec3d> corners(std::size_t(hull->facetCount()));
    for (int k = 0; k < hull->facetCount(); ++k) {
        const double h = -hull->offsets[std::size_t(k)];
        if (!(h > 0.0)) return failure(tr("the half-spaces leave the solid open"));
        const Vec3d n = hull->normals[std::size_t(k)];
        corners[std::size_t(k)] = n / h;
    }
    const PointClusters merged = clusterPoints(corners, tolerance * size);
    if (!clustersStandApart(corners, merged.centres.size(), tolerance * size))
        return failure(tr("some of its vertices lie too close together to be told apart"));

    Intersection out;
    std::vector<int> number(merged.centres.size(), -1);
    std::vector<int> ids;
    std::vector<std::int32_t> face;
    for (std::size_t j = 0; j < polar.size(); ++j) {
        ids.clear();
        for (int s = hull->pointStart[j]; s < hull->pointStart[j + 1]; ++s)
            ids.push_back(merged.clusterOf[std::size_t(hull->pointFacets[std::size_t(s)])]);
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        if (ids.size() < 3) continue;  // a plane that only touches at a point or along an edge
        orderAround(ids, merged.centres, spaces[std::size_t(source[j])].normal);
        face.clear();
        for (int id : ids) {
            int& v = number[std::size_t(id)];
            if (v < 0) {
                v = out.shape.vertexCount();
                const Vec3d p = merged.centres[std::size_t(id)];
                out.shape.vertices.push_back({float(centre.x + p.x), float(centre.y + p.y),
                                              float(centre.z + p.z)});
            }
            face.push_back(v);
        }
        out.shape.addFace(face.data(), int(face.size()));
        out.faceSource.push_back(source[j]);
    }

    // Merging can, in a corner case, leave something that is not a surface;
    // that is refused rather than shown.
    if (out.shape.faceCount() < 4) return failure(tr("the half-spaces leave no solid"));
    const EdgeTopology topology = edgeTopology(out.shape);
    const Closedness closed = closednessOf(topology, 0);
    if (!closed.closed) return failure(fill(tr("the intersection came out not closed: {1}"), {closed.message}));
    VertexRings rings;
    const Status ringed = buildVertexRings(out.shape, topology, rings, 0);
    if (!ringed) return failure(fill(tr("the intersection came out not closed: {1}"), {ringed.error().what}));
    return out;
}

}  // namespace pd
