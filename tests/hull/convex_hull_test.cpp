#include "hull/convex_hull.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <random>

#include "construct/geodesic_sphere.h"

extern "C" {
#include <libqhull_r/qhull_ra.h>
}

using namespace pd;

namespace {

using Key = std::array<double, 3>;

// A facet as its corners' places, sorted, so that duplicates of one point
// count as the same corner; with its plane.
struct Facet {
    std::vector<Key> corners;
    Vec3d normal;
    double offset;
    bool operator<(const Facet& o) const { return corners < o.corners; }
};

Facet facetOf(const std::vector<Vec3d>& points, const std::vector<int>& ids, Vec3d normal, double offset) {
    Facet f{{}, normal, offset};
    for (int i : ids) f.corners.push_back({points[std::size_t(i)].x, points[std::size_t(i)].y, points[std::size_t(i)].z});
    std::sort(f.corners.begin(), f.corners.end());
    return f;
}

std::vector<Facet> facets(const std::vector<Vec3d>& points, const ConvexHull& hull) {
    std::vector<Facet> out;
    for (int k = 0; k < hull.facetCount(); ++k)
        out.push_back(facetOf(points, {hull.facetPoints.begin() + hull.facetStart[std::size_t(k)],
                                       hull.facetPoints.begin() + hull.facetStart[std::size_t(k) + 1]},
                              hull.normals[std::size_t(k)], hull.offsets[std::size_t(k)]));
    std::sort(out.begin(), out.end());
    return out;
}

// qhull's hull of the same points, merged or (Qt) triangulated: the oracle.
std::vector<Facet> qhullFacets(const std::vector<Vec3d>& points, bool triangulated) {
    std::vector<coordT> xyz;
    for (const Vec3d& p : points) xyz.insert(xyz.end(), {p.x, p.y, p.z});
    qhT state;
    qhT* qh = &state;
    std::FILE* sink = std::fopen("/dev/null", "w");
    qh_zero(qh, sink);
    char options[] = "qhull Qt";
    if (!triangulated) options[5] = '\0';
    std::vector<Facet> out;
    if (qh_new_qhull(qh, 3, int(points.size()), xyz.data(), False, options, nullptr, sink) == 0) {
        facetT* facet;
        vertexT *vertex, **vertexp;
        FORALLfacets {
            std::vector<int> ids;
            FOREACHvertex_(facet->vertices) ids.push_back(qh_pointid(qh, vertex->point));
            out.push_back(facetOf(points, ids, {facet->normal[0], facet->normal[1], facet->normal[2]}, facet->offset));
        }
    }
    qh_freeqhull(qh, !qh_ALL);
    int stillLong, totalLong;
    qh_memfreeshort(qh, &stillLong, &totalLong);
    std::fclose(sink);
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<Key> corners(const std::vector<Facet>& facets) {
    std::vector<Key> out;
    for (const Facet& f : facets) out.insert(out.end(), f.corners.begin(), f.corners.end());
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

double area(const std::vector<Facet>& triangles) {
    double sum = 0.0;
    for (const Facet& t : triangles) {
        const Vec3d a{t.corners[0][0], t.corners[0][1], t.corners[0][2]}, b{t.corners[1][0], t.corners[1][1], t.corners[1][2]},
                    c{t.corners[2][0], t.corners[2][1], t.corners[2][2]};
        sum += length(cross(b - a, c - a)) / 2.0;
    }
    return sum;
}

// Point sets with what rounding and degenerate input bring: points in
// facets and on edges, duplicates, planes known only within rounding.
std::vector<std::vector<Vec3d>> pointSets() {
    const double g = (1.0 + std::sqrt(5.0)) / 2.0, h = 1.0 / g;
    std::vector<std::vector<Vec3d>> sets(8);
    sets[0] = {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}};
    for (int i = 0; i < 8; ++i) sets[1].push_back({i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0});
    sets[1].insert(sets[1].end(), {{0, 0, 0}, {1, 1, 1}, {1, 0, 0}, {0, 1, 1}, {-1, -1, -1}});  // inside, twice, in a face, on an edge
    sets[2] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (std::size_t i = 0; i < 6; ++i)
        for (std::size_t j = i + 1; j < 6; ++j)
            if (dot(sets[2][i], sets[2][j]) == 0.0) sets[2].push_back((sets[2][i] + sets[2][j]) / 2.0);
    sets[3] = sets[1];  // the dodecahedron: its pentagons are planes only within rounding
    for (double a : {-1.0, 1.0})
        for (double b : {-1.0, 1.0}) sets[3].insert(sets[3].end(), {{0, a * g, b * h}, {a * h, 0, b * g}, {a * g, b * h, 0}});
    for (const Vec3& v : geodesicSphere(4).vertices) sets[4].push_back(widen(v));
    for (int i = 0; i < 7 * 7 * 7; ++i) sets[5].push_back({0.1 * (i % 7) + 0.3, 0.1 * (i / 7 % 7), 0.1 * (i / 49) - 7.0});
    std::mt19937 random(7);
    std::normal_distribution<double> normal;
    for (int i = 0; i < 3000; ++i) {
        const Vec3d p{normal(random), normal(random), normal(random)};
        sets[6].push_back(p / length(p));
    }
    for (int i = 0; i < 1000; ++i)  // a prism of 500 sides, each a plane within rounding
        sets[7].push_back({std::cos(i / 2 * M_PI / 250), std::sin(i / 2 * M_PI / 250), i % 2 ? 1.0 : -1.0});
    return sets;
}

}  // namespace

// Merged, the same facets with the same corners and planes as qhull's;
// triangulated, the same corners, every triangle in one of qhull's planes
// and the same surface area.
TEST(ConvexHull, MatchesQhull) {
    for (const std::vector<Vec3d>& points : pointSets()) {
        SCOPED_TRACE(points.size());
        const Result<ConvexHull> own = convexHull(points, false), triangles = convexHull(points, true);
        ASSERT_TRUE(own.ok() && triangles.ok());
        const std::vector<Facet> merged = facets(points, *own), oracle = qhullFacets(points, false);
        ASSERT_EQ(merged.size(), oracle.size());
        for (std::size_t k = 0; k < merged.size(); ++k) {
            ASSERT_EQ(merged[k].corners, oracle[k].corners);
            EXPECT_NEAR(dot(merged[k].normal, oracle[k].normal), 1.0, 1e-12);
            EXPECT_NEAR(merged[k].offset, oracle[k].offset, 1e-12);
        }
        const std::vector<Facet> cut = facets(points, *triangles), oracleCut = qhullFacets(points, true);
        EXPECT_EQ(corners(cut), corners(merged));
        EXPECT_NEAR(area(cut), area(oracleCut), 1e-9);
        for (const Facet& t : cut) {
            ASSERT_EQ(t.corners.size(), 3u);
            EXPECT_TRUE(std::any_of(oracle.begin(), oracle.end(), [&](const Facet& q) {
                return dot(t.normal, q.normal) > 1.0 - 1e-12 && std::fabs(t.offset - q.offset) < 1e-12;
            }));
        }
    }
}

// Each point with a twin one unit in the last place farther out: which of
// them is outside a plane through others only exact side tests tell, and
// the hull still holds every point.
TEST(ConvexHull, HoldsTwinsOneRoundingApart) {
    std::mt19937 random(4);
    std::normal_distribution<double> normal;
    std::vector<Vec3d> points;
    for (int i = 0; i < 100; ++i) {
        const Vec3d p{normal(random), normal(random), normal(random)};
        points.push_back(p / length(p));
        points.push_back(points.back() * (1.0 + 0x1p-52));
    }
    const Result<ConvexHull> hull = convexHull(points, false);
    ASSERT_TRUE(hull.ok());
    double farthestOut = 0.0;
    for (int k = 0; k < hull->facetCount(); ++k)
        for (const Vec3d& p : points)
            farthestOut = std::max(farthestOut, dot(hull->normals[std::size_t(k)], p) + hull->offsets[std::size_t(k)]);
    EXPECT_LT(farthestOut, 1e-12);
}

TEST(ConvexHull, RefusesWhatHasNoInside) {
    for (const std::vector<Vec3d>& points : std::vector<std::vector<Vec3d>>{
             {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
             {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {0.5, 0.5, 0}},
             {{0, 0, 1}, {1, 1, 1}, {2, 2, 1}, {3, 3, 1}},
             {{1, 2, 3}, {1, 2, 3}, {1, 2, 3}, {1, 2, 3}},
             {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, NAN}}})
        EXPECT_FALSE(convexHull(points, false).ok());
}
