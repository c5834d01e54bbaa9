#include "explorer/depth_order.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr double planeShare = 1e-6;  // of the scale: this near a plane counts as on it
constexpr std::uint64_t mostCornerTests = 50'000'000;

struct Plane {
    Vec3d normal{0, 0, 1};  // unit
    double offset = 0.0;
    double distance(Vec3d p) const { return dot(normal, p) - offset; }
};

// A face or a part of one, with its face's plane (a thin part cut off
// keeps the plane it lies in, which it could not give well itself).
struct Polygon {
    std::vector<Vec3d> corners;
    std::int32_t face;
    Plane plane;
    Vec3d centre{0, 0, 0};  // a ball round the corners: a plane that misses it
    double radius = 0.0;    // has them all on one side, found without them
};

void enclose(Polygon& p) {
    Vec3d sum{0, 0, 0};
    for (const Vec3d& c : p.corners) sum = {sum.x + c.x, sum.y + c.y, sum.z + c.z};
    const double n = double(std::max<std::size_t>(p.corners.size(), 1));
    p.centre = {sum.x / n, sum.y / n, sum.z / n};
    p.radius = 0.0;
    for (const Vec3d& c : p.corners) p.radius = std::max(p.radius, length(c - p.centre));
}

struct Node {
    Plane plane;
    std::vector<std::uint32_t> on;  // polygons in the plane, in the pool
    int front = -1;
    int back = -1;
};

Vec3d plus(Vec3d a, Vec3d b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3d times(Vec3d a, double s) { return {a.x * s, a.y * s, a.z * s}; }

// Newell's normal of a polygon and the plane through its corners' mean.
bool planeOf(const std::vector<Vec3d>& c, Plane& plane) {
    Vec3d n{0, 0, 0}, sum{0, 0, 0};
    for (std::size_t i = 0; i < c.size(); ++i) {
        const Vec3d& a = c[i];
        const Vec3d& b = c[(i + 1) % c.size()];
        n = plus(n, {(a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y)});
        sum = plus(sum, a);
    }
    const double len = length(n);
    if (!(len > 0.0) || !std::isfinite(len)) return false;
    plane.normal = times(n, 1.0 / len);
    plane.offset = dot(plane.normal, times(sum, 1.0 / double(c.size())));
    return true;
}

// The parts of `p` on either side of `plane`; a part that is only a point
// or a line is dropped.
void split(const Polygon& p, const Plane& plane, double tolerance, Polygon& front, Polygon& back) {
    front.face = back.face = p.face;
    front.plane = back.plane = p.plane;
    const std::size_t n = p.corners.size();
    std::vector<double> d(n);
    for (std::size_t i = 0; i < n; ++i) d[i] = plane.distance(p.corners[i]);
    for (std::size_t i = 0; i < n; ++i) {
        const Vec3d& a = p.corners[i];
        const Vec3d& b = p.corners[(i + 1) % n];
        const double da = d[i], db = d[(i + 1) % n];
        if (da >= -tolerance) front.corners.push_back(a);
        if (da <= tolerance) back.corners.push_back(a);
        if ((da > tolerance && db < -tolerance) || (da < -tolerance && db > tolerance)) {
            const Vec3d cut = plus(a, times(b - a, da / (da - db)));
            front.corners.push_back(cut);
            back.corners.push_back(cut);
        }
    }
    if (front.corners.size() < 3) front.corners.clear();
    if (back.corners.size() < 3) back.corners.clear();
    enclose(front);
    enclose(back);
}

}  // namespace

PaintOrder paintOrder(const std::vector<Vec3>& points, const std::vector<std::int32_t>& corners,
                      const std::vector<std::int32_t>& faceStart) {
    double scale = 0.0;
    if (!points.empty()) {
        Vec3d lo = widen(points[0]), hi = lo;
        for (const Vec3& p : points) {
            lo = {std::min(lo.x, double(p.x)), std::min(lo.y, double(p.y)), std::min(lo.z, double(p.z))};
            hi = {std::max(hi.x, double(p.x)), std::max(hi.y, double(p.y)), std::max(hi.z, double(p.z))};
        }
        scale = std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z});
    }
    const double tolerance = planeShare * (scale > 0.0 && std::isfinite(scale) ? scale : 1.0);

    // Every polygon, the faces' and the parts cut off later; the lists
    // below hold their numbers, so a long chain moves no corners.
    std::vector<Polygon> pool;
    for (int f = 0; f + 1 < int(faceStart.size()); ++f) {
        if (faceStart[f + 1] - faceStart[f] < 3) continue;
        Polygon p;
        p.face = f;
        for (std::int32_t k = faceStart[f]; k < faceStart[f + 1]; ++k)
            p.corners.push_back(widen(points[std::size_t(corners[k])]));
        if (!planeOf(p.corners, p.plane)) continue;
        enclose(p);
        pool.push_back(std::move(p));
    }

    // The splitter of each list is picked by a fixed linear congruential
    // sequence: the same faces always give the same tree.
    std::uint64_t random = 0x9E3779B97F4A7C15ull;
    std::vector<Node> nodes;
    struct Work {
        std::vector<std::uint32_t> polygons;
        int parent;
        bool front;
    };
    std::vector<Work> work;
    int root = -1;
    if (!pool.empty()) {
        std::vector<std::uint32_t> all(pool.size());
        for (std::size_t i = 0; i < all.size(); ++i) all[i] = std::uint32_t(i);
        work.push_back({std::move(all), -1, false});
    }
    std::uint64_t tests = 0;
    while (!work.empty()) {
        Work w = std::move(work.back());
        work.pop_back();
        random = random * 6364136223846793005ull + 1442695040888963407ull;
        const std::size_t pick = std::size_t((random >> 33) % w.polygons.size());
        std::swap(w.polygons[0], w.polygons[pick]);
        Node node;
        node.plane = pool[w.polygons[0]].plane;
        node.on.push_back(w.polygons[0]);
        std::vector<std::uint32_t> front, back;
        for (std::size_t i = 1; i < w.polygons.size(); ++i) {
            const std::uint32_t id = w.polygons[i];
            const Polygon& p = pool[id];
            bool anyFront = false, anyBack = false;
            // Past the ball by more than the tolerance (and a hair for
            // rounding), every corner is: the same answer as theirs.
            const double fromCentre = node.plane.distance(p.centre);
            const double clear = (p.radius + tolerance) * (1.0 + 1e-9);
            ++tests;
            if (fromCentre > clear) {
                anyFront = true;
            } else if (fromCentre < -clear) {
                anyBack = true;
            } else {
                tests += p.corners.size();
                for (const Vec3d& c : p.corners) {
                    const double d = node.plane.distance(c);
                    anyFront = anyFront || d > tolerance;
                    anyBack = anyBack || d < -tolerance;
                }
            }
            if (!anyFront && !anyBack) {
                node.on.push_back(id);
            } else if (!anyBack) {
                front.push_back(id);
            } else if (!anyFront) {
                back.push_back(id);
            } else {
                Polygon f, b;
                split(p, node.plane, tolerance, f, b);
                if (!f.corners.empty()) front.push_back(std::uint32_t(pool.size())), pool.push_back(std::move(f));
                if (!b.corners.empty()) back.push_back(std::uint32_t(pool.size())), pool.push_back(std::move(b));
            }
        }
        const int index = int(nodes.size());
        nodes.push_back(std::move(node));
        if (w.parent < 0)
            root = index;
        else
            (w.front ? nodes[std::size_t(w.parent)].front : nodes[std::size_t(w.parent)].back) = index;
        if (tests > mostCornerTests) {
            PaintOrder none;
            none.unfinished = "too many faces to put in order for a vector picture (over " +
                              std::to_string(mostCornerTests) + " tests against a plane)";
            return none;
        }
        if (!front.empty()) work.push_back({std::move(front), index, true});
        if (!back.empty()) work.push_back({std::move(back), index, false});
    }

    // Farthest first: at each node the side away from the viewer (at +z),
    // then the node's own polygons, then the side toward it.
    PaintOrder order;
    struct Step {
        int node;
        bool expanded;
    };
    std::vector<Step> steps;
    if (root >= 0) steps.push_back({root, false});
    while (!steps.empty()) {
        const Step s = steps.back();
        steps.pop_back();
        const Node& node = nodes[std::size_t(s.node)];
        if (s.expanded) {
            for (const std::uint32_t id : node.on) {
                const Polygon& p = pool[id];
                for (const Vec3d& c : p.corners)
                    order.corners.push_back({float(c.x), float(c.y), float(c.z)});
                order.start.push_back(std::uint32_t(order.corners.size()));
                order.face.push_back(p.face);
            }
            continue;
        }
        const bool frontNearer = node.plane.normal.z >= 0.0;
        const int nearer = frontNearer ? node.front : node.back;
        const int farther = frontNearer ? node.back : node.front;
        if (nearer >= 0) steps.push_back({nearer, false});
        steps.push_back({s.node, true});
        if (farther >= 0) steps.push_back({farther, false});
    }
    return order;
}
