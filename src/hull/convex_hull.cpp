#include "hull/convex_hull.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/translate.h"
#include "hull/exact_side.h"

namespace pd {

namespace {

// Triangles of the hull whose corners all lie this near one plane, as a
// share of the points' extent (their largest coordinate), are one facet,
// and a corner this near the line through its neighbours on the facet's
// rim is no corner. The hull itself is exact; this only joins what
// rounding split: planes worked out from float input, or as polars of
// planes, agree to about 1e-15 of the extent, and distinct facets of the
// models shown part by far more.
constexpr double samePlaneShare = 1e-11;

struct Triangle {
    int v[3];      // counter-clockwise seen from outside
    int next[3];   // the triangle across the edge v[i] v[i + 1]
    Vec3d normal;  // (v0 - v2) x (v1 - v2), of no set length; v2 came last
    int outside;   // the first of its outside points, -1 for none
    int farthest;  // of those, the one farthest above it
    double farthestHeight;
};

// Quickhull: a tetrahedron, every point outside it in the list of one
// triangle it lies above; then, while a triangle has such points, the one
// farthest above it joins the hull, the triangles it sees go and their rim
// is joined to it, and their points move to the new triangles (or drop out,
// now inside). Every side test is exact, so the triangles seen always form
// a disk, its rim one loop.
class Quickhull {
public:
    explicit Quickhull(const std::vector<Vec3d>& points)
        : p_(points), nextOutside_(points.size(), -1), startAt_(points.size(), -1),
          endAt_(points.size(), -1) {}

    int side(const Triangle& t, int point) const {
        return sideOfPlane(p_[std::size_t(t.v[0])], p_[std::size_t(t.v[1])], p_[std::size_t(t.v[2])],
                           p_[std::size_t(point)]);
    }

    // The first tetrahedron, of points far apart. False when all lie in
    // one plane.
    bool start() {
        const int n = int(p_.size());
        int a = 0;
        for (int i = 1; i < n; ++i)
            if (p_[std::size_t(i)].x < p_[std::size_t(a)].x) a = i;
        const Vec3d o = at(a);
        const int b = best([&](int i) { return dot(at(i) - o, at(i) - o); });
        if (b < 0) return false;
        const Vec3d axis = at(b) - o;
        int c = best([&](int i) { return length(cross(at(i) - o, axis)); });
        if (c < 0 || onOneLine(a, b, c)) {
            c = -1;
            for (int i = 0; i < n && c < 0; ++i)
                if (!onOneLine(a, b, i)) c = i;
            if (c < 0) return false;
        }
        const Vec3d up = cross(axis, at(c) - o);
        int d = best([&](int i) { return std::fabs(dot(at(i) - o, up)); });
        if (d < 0 || sideOfPlane(o, at(b), at(c), at(d)) == 0) {
            d = -1;
            for (int i = 0; i < n && d < 0; ++i)
                if (sideOfPlane(o, at(b), at(c), at(i)) != 0) d = i;
            if (d < 0) return false;
        }
        const int corners[4] = {a, b, c, d};
        for (int k = 0; k < 4; ++k) {
            // The face without corner k, turned to face away from it, its
            // newest corner last.
            int f[3], m = 0;
            for (int j = 0; j < 4; ++j)
                if (j != k) f[m++] = corners[j];
            if (sideOfPlane(at(f[0]), at(f[1]), at(f[2]), at(corners[k])) > 0) std::swap(f[0], f[1]);
            add(f[0], f[1], f[2]);
        }
        // Neighbours: the edge u v of one triangle is v u of another.
        for (int s = 0; s < 4; ++s)
            for (int i = 0; i < 3; ++i)
                for (int t = 0; t < 4; ++t)
                    for (int j = 0; j < 3; ++j)
                        if (tri_[s].v[i] == tri_[t].v[(j + 1) % 3] && tri_[s].v[(i + 1) % 3] == tri_[t].v[j])
                            tri_[s].next[i] = t;
        const int first[4] = {0, 1, 2, 3};
        for (int i = 0; i < n; ++i)
            if (i != a && i != b && i != c && i != d) assign(i, first, first + 4);
        return true;
    }

    // Adds points until none is outside. False if the rim of what a point
    // sees is not one loop, which exact tests rule out.
    bool run() {
        std::vector<int> work{0, 1, 2, 3};
        std::vector<int> visible, stack, horizonTri, horizonEdge, made, lost;
        while (!work.empty()) {
            const int t0 = work.back();
            work.pop_back();
            if (dead_[std::size_t(t0)] || tri_[std::size_t(t0)].outside < 0) continue;
            const int apex = tri_[std::size_t(t0)].farthest;
            ++round_;
            visible.assign(1, t0);
            stack.assign(1, t0);
            mark_[std::size_t(t0)] = round_;
            horizonTri.clear();
            horizonEdge.clear();
            while (!stack.empty()) {
                const int t = stack.back();
                stack.pop_back();
                for (int i = 0; i < 3; ++i) {
                    const int m = tri_[std::size_t(t)].next[i];
                    if (mark_[std::size_t(m)] == round_) continue;
                    if (hidden_[std::size_t(m)] != round_ && side(tri_[std::size_t(m)], apex) > 0) {
                        mark_[std::size_t(m)] = round_;
                        visible.push_back(m);
                        stack.push_back(m);
                    } else {
                        hidden_[std::size_t(m)] = round_;
                        horizonTri.push_back(t);
                        horizonEdge.push_back(i);
                    }
                }
            }
            // The cone from the apex over the rim.
            made.clear();
            for (std::size_t h = 0; h < horizonTri.size(); ++h) {
                const Triangle& gone = tri_[std::size_t(horizonTri[h])];
                const int e = horizonEdge[h];
                const int u = gone.v[e], w = gone.v[(e + 1) % 3], outer = gone.next[e];
                const int t = add(u, w, apex);
                made.push_back(t);
                Triangle& o = tri_[std::size_t(outer)];
                for (int j = 0; j < 3; ++j)
                    if (o.next[j] == horizonTri[h]) o.next[j] = t;
                tri_[std::size_t(t)].next[0] = outer;
                if (startAt_[std::size_t(u)] >= 0) return false;
                startAt_[std::size_t(u)] = t;
                endAt_[std::size_t(w)] = t;
            }
            for (int t : made) {
                Triangle& c = tri_[std::size_t(t)];
                c.next[1] = startAt_[std::size_t(c.v[1])];
                c.next[2] = endAt_[std::size_t(c.v[0])];
                if (c.next[1] < 0 || c.next[2] < 0) return false;
            }
            for (int t : made) {
                startAt_[std::size_t(tri_[std::size_t(t)].v[0])] = -1;
                endAt_[std::size_t(tri_[std::size_t(t)].v[1])] = -1;
            }
            // The points of what went, moved on.
            for (int t : visible) {
                dead_[std::size_t(t)] = 1;
                for (int q = tri_[std::size_t(t)].outside; q >= 0;) {
                    const int following = nextOutside_[std::size_t(q)];
                    if (q != apex) assign(q, made.data(), made.data() + made.size());
                    q = following;
                }
                free_.push_back(t);
            }
            for (int t : made)
                if (tri_[std::size_t(t)].outside >= 0) work.push_back(t);
        }
        return true;
    }

    // The hull's triangles, with the slots of those gone left empty.
    const std::vector<Triangle>& triangles() const { return tri_; }
    bool gone(int t) const { return dead_[std::size_t(t)] != 0; }

private:
    Vec3d at(int i) const { return p_[std::size_t(i)]; }

    // The point with the largest positive measure, -1 when none has one.
    template <class Measure>
    int best(Measure measure) const {
        int found = -1;
        double largest = 0.0;
        for (int i = 0; i < int(p_.size()); ++i)
            if (const double m = measure(i); m > largest) largest = m, found = i;
        return found;
    }

    // Whether a, b and c lie on one line: the plane through them has no
    // side, so points off a in each axis's direction lie in it too.
    bool onOneLine(int a, int b, int c) const {
        for (int k = 0; k < 3; ++k) {
            Vec3d off = at(a);
            double& x = k == 0 ? off.x : k == 1 ? off.y : off.z;
            x = x != 0.0 ? 2.0 * x : 1.0;
            if (sideOfPlane(at(a), at(b), at(c), off) != 0) return false;
        }
        return true;
    }

    int add(int a, int b, int c) {
        Triangle t{{a, b, c}, {-1, -1, -1}, cross(at(a) - at(c), at(b) - at(c)), -1, -1, 0.0};
        if (!free_.empty()) {
            const int slot = free_.back();
            free_.pop_back();
            tri_[std::size_t(slot)] = t;
            dead_[std::size_t(slot)] = 0;
            return slot;
        }
        tri_.push_back(t);
        dead_.push_back(0);
        mark_.push_back(0);
        hidden_.push_back(0);
        return int(tri_.size()) - 1;
    }

    // Puts the point in the list of the first of the triangles it lies
    // above; none takes it when it is inside them all.
    void assign(int point, const int* first, const int* end) {
        for (const int* t = first; t != end; ++t) {
            Triangle& c = tri_[std::size_t(*t)];
            if (side(c, point) <= 0) continue;
            nextOutside_[std::size_t(point)] = c.outside;
            c.outside = point;
            const double h = dot(c.normal, at(point) - at(c.v[0]));
            if (c.farthest < 0 || h > c.farthestHeight) c.farthest = point, c.farthestHeight = h;
            return;
        }
    }

    const std::vector<Vec3d>& p_;
    std::vector<Triangle> tri_;
    std::vector<char> dead_;
    std::vector<int> mark_, hidden_;  // the round a triangle was found seen, or unseen, in
    std::vector<int> free_;           // slots of triangles gone
    std::vector<int> nextOutside_;    // the next point in the same triangle's list
    std::vector<int> startAt_, endAt_;  // the cone triangle whose rim edge starts, ends at a point
    int round_ = 0;
};

// The hull's triangles joined into facets where they lie in one plane
// within `eps`, given out as ConvexHull's arrays: each facet's corners in
// order round it, or with `triangulated` the facet cut into a fan of
// triangles from its first corner.
class Facets {
public:
    Facets(const std::vector<Vec3d>& points, const Quickhull& hull, double eps)
        : p_(points), tri_(hull.triangles()), eps_(eps), region_(tri_.size(), -1),
          rimNext_(points.size(), -1), rimRound_(points.size(), -1) {
        for (int t = 0; t < int(tri_.size()); ++t)
            if (!hull.gone(t)) live_.push_back(t);
    }

    ConvexHull build(bool triangulated) {
        // The largest triangles first: a region's plane is its first
        // triangle's, best found from a large one, and every triangle of the
        // region has all its corners within eps of it. A triangle with no
        // neighbour in its plane, nor in a neighbour's (every one, on a
        // round model), is a facet alone, found without the sort.
        std::vector<std::pair<double, int>> order;
        for (int t : live_) {
            if (!alone(t)) {
                order.push_back({-dot(tri_[std::size_t(t)].normal, tri_[std::size_t(t)].normal), t});
                continue;
            }
            // Its plane through the corner that came last, worked out as
            // qhull works out a triangle's: where both hulls have the same
            // triangle, the same plane to the last bit.
            region_[std::size_t(t)] = regions_++;
            const Triangle& c = tri_[std::size_t(t)];
            addFacet(c.normal / length(c.normal), c.v, 3, c.v[2]);
        }
        std::sort(order.begin(), order.end());
        std::vector<int> members, stack;
        for (const auto& [key, seed] : order) {
            if (region_[std::size_t(seed)] >= 0) continue;
            const int r = regions_++;
            const Triangle& s = tri_[std::size_t(seed)];
            const Vec3d n = s.normal / length(s.normal);
            const double offset = -(dot(n, at(s.v[0])) + dot(n, at(s.v[1])) + dot(n, at(s.v[2]))) / 3.0;
            members.assign(1, seed);
            stack.assign(1, seed);
            region_[std::size_t(seed)] = r;
            while (!stack.empty()) {
                const int t = stack.back();
                stack.pop_back();
                for (int i = 0; i < 3; ++i) {
                    const int m = tri_[std::size_t(t)].next[i];
                    if (region_[std::size_t(m)] >= 0) continue;
                    const Triangle& c = tri_[std::size_t(m)];
                    int far = 0;
                    while (c.next[far] != t) ++far;
                    if (std::fabs(dot(n, at(c.v[(far + 2) % 3])) + offset) > eps_) continue;
                    region_[std::size_t(m)] = r;
                    members.push_back(m);
                    stack.push_back(m);
                }
            }
            std::sort(members.begin(), members.end());
            addRegion(r, members, triangulated);
        }
        out_.pointStart.assign(p_.size() + 1, 0);
        for (int v : out_.facetPoints) ++out_.pointStart[std::size_t(v) + 1];
        for (std::size_t i = 0; i < p_.size(); ++i) out_.pointStart[i + 1] += out_.pointStart[i];
        out_.pointFacets.resize(out_.facetPoints.size());
        std::vector<int> slot(out_.pointStart.begin(), out_.pointStart.end() - 1);
        for (int k = 0; k < out_.facetCount(); ++k)
            for (int s = out_.facetStart[std::size_t(k)]; s < out_.facetStart[std::size_t(k) + 1]; ++s)
                out_.pointFacets[std::size_t(slot[std::size_t(out_.facetPoints[std::size_t(s)])]++)] = k;
        return std::move(out_);
    }

private:
    Vec3d at(int i) const { return p_[std::size_t(i)]; }

    // Whether no neighbour's far corner lies within eps of t's plane, nor
    // t's within eps of a neighbour's.
    bool alone(int t) const {
        const Triangle& c = tri_[std::size_t(t)];
        const Vec3d n = c.normal / length(c.normal);
        for (int i = 0; i < 3; ++i) {
            const Triangle& o = tri_[std::size_t(c.next[i])];
            int far = 0;
            while (o.next[far] != t) ++far;
            const Vec3d m = o.normal / length(o.normal);
            if (std::fabs(dot(n, at(o.v[(far + 2) % 3]) - at(c.v[0]))) <= eps_ ||
                std::fabs(dot(m, at(c.v[(i + 2) % 3]) - at(o.v[0]))) <= eps_)
                return false;
        }
        return true;
    }

    // A facet with its plane through `origin`, or through the corners'
    // mean when that is -1.
    void addFacet(Vec3d normal, const int* corners, int count, int origin = -1) {
        double offset = 0.0;
        for (int k = 0; k < count; ++k) offset -= dot(normal, at(corners[k]));
        out_.normals.push_back(normal);
        out_.offsets.push_back(origin >= 0 ? -dot(normal, at(origin)) : offset / count);
        out_.facetPoints.insert(out_.facetPoints.end(), corners, corners + count);
        out_.facetStart.push_back(int(out_.facetPoints.size()));
    }

    // Region r as one facet: its rim's corners, those where the rim turns.
    // A region whose rim is not one loop (only rounding far beyond eps
    // makes one) stays as its triangles.
    void addRegion(int r, const std::vector<int>& members, bool triangulated) {
        Vec3d sum{0, 0, 0};
        int rimEdges = 0, first = -1;
        bool loop = true;
        for (int t : members) {
            const Triangle& c = tri_[std::size_t(t)];
            sum += c.normal;
            for (int i = 0; i < 3; ++i) {
                if (region_[std::size_t(c.next[i])] == r) continue;
                const int u = c.v[i];
                if (rimRound_[std::size_t(u)] == r) loop = false;  // the rim passes u twice
                rimRound_[std::size_t(u)] = r;
                rimNext_[std::size_t(u)] = c.v[(i + 1) % 3];
                ++rimEdges;
                first = u;
            }
        }
        const Vec3d normal = sum / length(sum);
        rim_.clear();
        for (int u = first; loop && int(rim_.size()) < rimEdges;) {
            rim_.push_back(u);
            u = rimNext_[std::size_t(u)];
            if (rimRound_[std::size_t(u)] != r || u == first) break;
        }
        corners_.clear();
        if (loop && int(rim_.size()) == rimEdges) {
            // From the rim's point farthest from its middle, a corner for
            // sure, each point that stands off the line from the last corner
            // kept to the point after it: of points on an edge, and of near
            // twins, one stays.
            const int m = int(rim_.size());
            Vec3d middle{0, 0, 0};
            for (int u : rim_) middle += at(u);
            middle = middle / double(m);
            int first = 0;
            for (int k = 1; k < m; ++k)
                if (dot(at(rim_[std::size_t(k)]) - middle, at(rim_[std::size_t(k)]) - middle) >
                    dot(at(rim_[std::size_t(first)]) - middle, at(rim_[std::size_t(first)]) - middle))
                    first = k;
            corners_.push_back(rim_[std::size_t(first)]);
            for (int k = 1; k < m; ++k) {
                const Vec3d u = at(corners_.back()), v = at(rim_[std::size_t((first + k) % m)]),
                            w = at(rim_[std::size_t((first + k + 1) % m)]);
                if (dot(cross(v - u, w - v), normal) > eps_ * length(w - u))
                    corners_.push_back(rim_[std::size_t((first + k) % m)]);
            }
        }
        if (corners_.size() < 3) {
            for (int t : members) {
                const Triangle& c = tri_[std::size_t(t)];
                addFacet(c.normal / length(c.normal), c.v, 3, c.v[2]);
            }
        } else if (!triangulated) {
            addFacet(normal, corners_.data(), int(corners_.size()));
        } else {
            for (std::size_t k = 1; k + 1 < corners_.size(); ++k) {
                const int fan[3] = {corners_[0], corners_[k], corners_[k + 1]};
                addFacet(normal, fan, 3);
            }
        }
    }

    const std::vector<Vec3d>& p_;
    const std::vector<Triangle>& tri_;
    double eps_;
    std::vector<int> live_, region_;
    std::vector<int> rimNext_, rimRound_;  // per point: where the rim goes on, in which region's
    std::vector<int> rim_, corners_;
    int regions_ = 0;
    ConvexHull out_;
};

}  // namespace

Result<ConvexHull> convexHull(const std::vector<Vec3d>& points, bool triangulated) {
    if (points.size() < 4) return failure(tr("a hull in space needs at least four points"));
    double size = 0.0;
    for (const Vec3d& q : points) {
        if (!std::isfinite(q.x) || !std::isfinite(q.y) || !std::isfinite(q.z))
            return failure(tr("a point has a coordinate that is not finite"));
        size = std::max({size, std::fabs(q.x), std::fabs(q.y), std::fabs(q.z)});
    }
    if (!(size > 0.0)) return failure(tr("the points lie in one plane"));
    Quickhull quickhull(points);
    if (!quickhull.start()) return failure(tr("the points lie in one plane"));
    if (!quickhull.run()) return failure(tr("the hull came apart in rounding"));
    return Facets(points, quickhull, samePlaneShare * size).build(triangulated);
}

}  // namespace pd
