#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <utility>

#include "hull/convex_hull.h"

namespace pd {

namespace {

// Points this near a triangle's plane, as a share of the points' extent,
// are in it: not outside (so not a new corner), and two triangles with
// planes this close are one facet. Float input rounds at about 6e-8 of the
// extent, so a flat facet is flat far within this.
constexpr double samePlaneShare = 1e-11;
// Unit normals whose dot product is within this of 1 point the same way.
constexpr double sameNormalCosine = 1e-12;

struct Triangle {
    int a, b, c;  // counter-clockwise seen from outside
    Vec3d normal;
    double offset;
    bool alive = true;
};

class Builder {
public:
    Builder(const std::vector<Vec3d>& points, double tolerance) : p_(points), eps_(tolerance) {}

    // Adds the triangle a b c, turned to face away from the inside point.
    void add(int a, int b, int c) {
        Vec3d n = cross(p_[std::size_t(b)] - p_[std::size_t(a)], p_[std::size_t(c)] - p_[std::size_t(a)]);
        if (dot(n, inside_ - p_[std::size_t(a)]) > 0.0) std::swap(b, c), n = -n;
        n = n / length(n);
        triangles_.push_back({a, b, c, n, -dot(n, p_[std::size_t(a)])});
    }

    double height(const Triangle& t, int point) const { return dot(t.normal, p_[std::size_t(point)]) + t.offset; }

    // The first tetrahedron: far-apart points. False when all lie in a plane.
    bool start() {
        const int n = int(p_.size());
        int i0 = 0;
        for (int i = 1; i < n; ++i)
            if (p_[std::size_t(i)].x < p_[std::size_t(i0)].x) i0 = i;
        auto farthest = [&](auto measure) {
            int best = -1;
            double far = eps_;
            for (int i = 0; i < n; ++i)
                if (const double m = measure(p_[std::size_t(i)]); m > far) far = m, best = i;
            return best;
        };
        const Vec3d o = p_[std::size_t(i0)];
        const int i1 = farthest([&](Vec3d q) { return length(q - o); });
        if (i1 < 0) return false;
        const Vec3d axis = (p_[std::size_t(i1)] - o) / length(p_[std::size_t(i1)] - o);
        const int i2 = farthest([&](Vec3d q) { return length(cross(q - o, axis)); });
        if (i2 < 0) return false;
        Vec3d up = cross(p_[std::size_t(i1)] - o, p_[std::size_t(i2)] - o);
        up = up / length(up);
        const int i3 = farthest([&](Vec3d q) { return std::fabs(dot(q - o, up)); });
        if (i3 < 0) return false;
        inside_ = (o + p_[std::size_t(i1)] + p_[std::size_t(i2)] + p_[std::size_t(i3)]) / 4.0;
        add(i0, i1, i2), add(i0, i1, i3), add(i0, i2, i3), add(i1, i2, i3);
        used_ = {i0, i1, i2, i3};
        return true;
    }

    // Puts the point on the hull when it lies outside: the triangles it
    // sees go, and their rim is joined to it.
    void insert(int point) {
        if (std::find(used_.begin(), used_.end(), point) != used_.end()) return;
        std::map<std::pair<int, int>, int> rim;  // edges of the seen triangles, by direction
        bool seen = false;
        for (Triangle& t : triangles_) {
            if (!t.alive || height(t, point) <= eps_) continue;
            t.alive = false;
            seen = true;
            for (auto [u, v] : {std::pair{t.a, t.b}, {t.b, t.c}, {t.c, t.a}}) {
                if (rim.erase({v, u}) == 0) rim[{u, v}] = 1;
            }
        }
        if (!seen) return;
        for (const auto& edge : rim) add(edge.first.first, edge.first.second, point);
    }

    std::vector<Triangle> live() const {
        std::vector<Triangle> out;
        for (const Triangle& t : triangles_)
            if (t.alive) out.push_back(t);
        return out;
    }

private:
    const std::vector<Vec3d>& p_;
    double eps_;
    Vec3d inside_{};
    std::vector<Triangle> triangles_;
    std::vector<int> used_;
};

int findRoot(std::vector<int>& parent, int i) {
    while (parent[std::size_t(i)] != i) i = parent[std::size_t(i)] = parent[std::size_t(parent[std::size_t(i)])];
    return i;
}

}  // namespace

Result<ConvexHull> incrementalHull(const std::vector<Vec3d>& points, bool triangulated) {
    if (points.size() < 4) return failure("a hull in space needs at least four points");
    double size = 0.0;
    for (const Vec3d& q : points) size = std::max({size, std::fabs(q.x), std::fabs(q.y), std::fabs(q.z)});
    if (!(size > 0.0) || !std::isfinite(size)) return failure("the points have no extent");
    const double eps = samePlaneShare * size;
    Builder build(points, eps);
    if (!build.start()) return failure("the points lie in one plane");
    for (int i = 0; i < int(points.size()); ++i) build.insert(i);
    const std::vector<Triangle> tris = build.live();

    // Without triangulation, neighbouring triangles in one plane are one
    // facet, its normal their area-weighted mean.
    std::vector<int> parent(tris.size());
    std::iota(parent.begin(), parent.end(), 0);
    if (!triangulated) {
        std::map<std::pair<int, int>, int> byEdge;
        for (int k = 0; k < int(tris.size()); ++k) {
            const Triangle& t = tris[std::size_t(k)];
            for (auto [u, v] : {std::pair{t.a, t.b}, {t.b, t.c}, {t.c, t.a}}) byEdge[{u, v}] = k;
        }
        for (const auto& [edge, k] : byEdge) {
            const auto twin = byEdge.find({edge.second, edge.first});
            if (twin == byEdge.end()) continue;
            const Triangle &s = tris[std::size_t(k)], &t = tris[std::size_t(twin->second)];
            if (dot(s.normal, t.normal) > 1.0 - sameNormalCosine && std::fabs(s.offset - t.offset) <= eps)
                parent[std::size_t(findRoot(parent, k))] = findRoot(parent, twin->second);
        }
    }
    ConvexHull hull;
    std::vector<int> facetOf(tris.size(), -1);
    std::vector<std::vector<int>> corners;
    std::vector<Vec3d> sums;
    for (int k = 0; k < int(tris.size()); ++k) {
        const int root = findRoot(parent, k);
        if (facetOf[std::size_t(root)] < 0) {
            facetOf[std::size_t(root)] = int(corners.size());
            corners.emplace_back();
            sums.push_back({0.0, 0.0, 0.0});
        }
        const int f = facetOf[std::size_t(root)];
        const Triangle& t = tris[std::size_t(k)];
        const Vec3d area = cross(points[std::size_t(t.b)] - points[std::size_t(t.a)],
                                 points[std::size_t(t.c)] - points[std::size_t(t.a)]);
        sums[std::size_t(f)] += area;
        for (int v : {t.a, t.b, t.c})
            if (std::find(corners[std::size_t(f)].begin(), corners[std::size_t(f)].end(), v) ==
                corners[std::size_t(f)].end())
                corners[std::size_t(f)].push_back(v);
    }
    hull.pointStart.assign(points.size() + 1, 0);
    for (std::size_t f = 0; f < corners.size(); ++f) {
        const Vec3d n = sums[f] / length(sums[f]);
        double offset = 0.0;
        for (int v : corners[f]) offset -= dot(n, points[std::size_t(v)]);
        hull.normals.push_back(n);
        hull.offsets.push_back(offset / double(corners[f].size()));
        hull.facetPoints.insert(hull.facetPoints.end(), corners[f].begin(), corners[f].end());
        hull.facetStart.push_back(int(hull.facetPoints.size()));
        for (int v : corners[f]) ++hull.pointStart[std::size_t(v) + 1];
    }
    for (std::size_t i = 0; i < points.size(); ++i) hull.pointStart[i + 1] += hull.pointStart[i];
    hull.pointFacets.resize(std::size_t(hull.pointStart.back()));
    std::vector<int> slot(hull.pointStart.begin(), hull.pointStart.end() - 1);
    for (std::size_t f = 0; f < corners.size(); ++f)
        for (int v : corners[f]) hull.pointFacets[std::size_t(slot[std::size_t(v)]++)] = int(f);
    return hull;
}

}  // namespace pd
