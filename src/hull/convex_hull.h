#pragma once

#include <vector>

#include "base/result.h"
#include "geometry/vec3.h"

namespace pd {

// The convex hull of points in space, by qhull (Debian libqhull-dev, its
// reentrant library): what the morph needs of it, as plain arrays, with no
// qhull type outside convex_hull.cpp.
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

// The hull of `points`. With `triangulated` every facet is a triangle
// (coplanar ones share their plane; above 4096 points they are found from
// the points joggled, and their planes differ within rounding); without
// it, facets that qhull finds coplanar within its rounding are merged into
// one. O(n log n) for n
// points. Fails with qhull's first line of complaint for fewer than four
// points, or points all in one plane; qhull itself never prints or exits.
// A build without qhull (the web page) gives incrementalHull's.
Result<ConvexHull> convexHull(const std::vector<Vec3d>& points, bool triangulated);

// The same hull without qhull, for builds that have none: points added one
// by one, O(n^2) for n points (fit for models of a few thousand planes).
// Facets within about 1e-11 of the points' extent of one plane are one
// facet unless `triangulated`; a point in a facet or an edge (not a corner)
// that was a corner when it was added stays among that facet's points. The
// same failures as convexHull's, in its own words.
Result<ConvexHull> incrementalHull(const std::vector<Vec3d>& points, bool triangulated);

}  // namespace pd
