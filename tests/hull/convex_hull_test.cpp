#include "hull/convex_hull.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "construct/geodesic_sphere.h"

using namespace pd;

namespace {

// The five solids' corners (golden-ratio coordinates) and a geodesic
// sphere, whose quads of four points in one plane qhull merges.
std::vector<std::vector<Vec3d>> pointSets() {
    const double g = (1.0 + std::sqrt(5.0)) / 2.0, h = 1.0 / g;
    std::vector<std::vector<Vec3d>> sets(6);
    sets[0] = {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}};
    for (int i = 0; i < 8; ++i) sets[1].push_back({i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0});
    sets[2] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    sets[3] = sets[1];
    for (double a : {-1.0, 1.0})
        for (double b : {-1.0, 1.0}) {
            sets[3].insert(sets[3].end(), {{0, a * g, b * h}, {a * h, 0, b * g}, {a * g, b * h, 0}});
            sets[4].insert(sets[4].end(), {{0, a, b * g}, {a, b * g, 0}, {b * g, 0, a}});
        }
    for (const Vec3& v : geodesicSphere(4).vertices) sets[5].push_back(widen(v));
    return sets;
}

std::vector<std::vector<int>> facets(const ConvexHull& hull) {
    std::vector<std::vector<int>> out;
    for (int k = 0; k < hull.facetCount(); ++k) {
        out.emplace_back(hull.facetPoints.begin() + hull.facetStart[std::size_t(k)],
                         hull.facetPoints.begin() + hull.facetStart[std::size_t(k) + 1]);
        std::sort(out.back().begin(), out.back().end());
    }
    std::sort(out.begin(), out.end());
    return out;
}

// Facet k's plane as qhull's hull has it, found by its corners.
int sameFacet(const ConvexHull& hull, const std::vector<int>& corners) {
    for (int k = 0; k < hull.facetCount(); ++k) {
        std::vector<int> c(hull.facetPoints.begin() + hull.facetStart[std::size_t(k)],
                           hull.facetPoints.begin() + hull.facetStart[std::size_t(k) + 1]);
        std::sort(c.begin(), c.end());
        if (c == corners) return k;
    }
    return -1;
}

}  // namespace

// Merged, the same facets with the same corners and planes as qhull's;
// triangulated, the same corners and every triangle in one of qhull's planes.
TEST(IncrementalHull, MatchesQhull) {
    for (const std::vector<Vec3d>& points : pointSets()) {
        SCOPED_TRACE(points.size());
        const Result<ConvexHull> qhull = convexHull(points, false), own = incrementalHull(points, false);
        ASSERT_TRUE(qhull.ok() && own.ok());
        EXPECT_EQ(facets(*own), facets(*qhull));
        for (const std::vector<int>& corners : facets(*own)) {
            const int q = sameFacet(*qhull, corners), o = sameFacet(*own, corners);
            ASSERT_GE(q, 0);
            EXPECT_NEAR(dot(own->normals[std::size_t(o)], qhull->normals[std::size_t(q)]), 1.0, 1e-12);
            EXPECT_NEAR(own->offsets[std::size_t(o)], qhull->offsets[std::size_t(q)], 1e-12);
        }
        const Result<ConvexHull> triangles = incrementalHull(points, true);
        ASSERT_TRUE(triangles.ok());
        for (int i = 0; i < int(points.size()); ++i) EXPECT_EQ(triangles->isCorner(i), qhull->isCorner(i));
        for (int k = 0; k < triangles->facetCount(); ++k) {
            EXPECT_EQ(triangles->facetStart[std::size_t(k) + 1] - triangles->facetStart[std::size_t(k)], 3);
            bool inPlane = false;
            for (int q = 0; q < qhull->facetCount(); ++q)
                inPlane = inPlane || dot(triangles->normals[std::size_t(k)], qhull->normals[std::size_t(q)]) > 1.0 - 1e-12;
            EXPECT_TRUE(inPlane);
        }
    }
    EXPECT_FALSE(incrementalHull({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, false).ok());
}
