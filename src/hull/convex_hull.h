#pragma once

#include <vector>

#include "base/result.h"
#include "geometry/vec3.h"

namespace pd {

// The convex hull of points in space: what the morph and the convexity
// check need of it, as plain arrays.
struct ConvexHull {
    // Facet k lies in the plane normals[k] . p + offsets[k] = 0, normals[k]
    // of unit length and pointing out of the hull.
    std::vector<Vec3d> normals;
    std::vector<double> offsets;
    // Facet k's corners, as indices of the input points (in no particular
    // order): facetPoints[facetStart[k]] .. facetPoints[facetStart[k + 1] - 1].
    std::vector<int> facetStart{0};
    std::vector<int> facetPoints;
    // Point i's facets: pointFacets[pointStart[i]] .. [pointStart[i + 1] - 1];
    // none when point i is not a corner of the hull (inside it, or in a
    // facet or an edge).
    std::vector<int> pointStart;
    std::vector<int> pointFacets;

    int facetCount() const { return static_cast<int>(normals.size()); }
    bool isCorner(int point) const { return pointStart[point + 1] > pointStart[point]; }
};

// The hull of `points`, built with exact side tests (quickhull, expected
// O(n log n) for n points). Triangles in one plane within rounding (about
// 1e-11 of the points' largest coordinate) are one facet, and a point in a
// facet or an edge is no corner; with `triangulated` each facet is then cut
// into triangles that share its plane. Fails for fewer than four points,
// points all in one plane, or coordinates that are not finite.
Result<ConvexHull> convexHull(const std::vector<Vec3d>& points, bool triangulated);

}  // namespace pd
