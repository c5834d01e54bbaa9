#include "hidden/depth_order.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <future>
#include <numeric>
#include <string>

#include "base/background.h"
#include "base/huge_pages.h"
#include "geometry/tolerances.h"

namespace pd {

namespace {

constexpr double planeShare = 1e-6;  // of the scale: this near a plane counts as on it
// A cross product shorter than this share of its factor's length: the
// mean direction lies along that axis, which gives it no plane.
constexpr double parallelShare = 1e-6;
constexpr std::uint64_t mostCornerTests = 50'000'000;
// Above this many polygons the top of the tree splits across an axis
// (see depth_order.h); at or below it the order is the faces' planes alone,
// the same bytes as ever.
constexpr std::size_t axisSplitsAbove = 2000;
constexpr std::size_t leafPolygons = 256;
constexpr std::size_t topPiece = 1024;  // see paintOrder
constexpr int deepestAxisSplit = 40;
constexpr std::uint64_t partCost = 32;  // tests, for a part made by a cut

struct Plane {
    Vec3d normal{0, 0, 1};  // unit
    double offset = 0.0;
    double distance(Vec3d p) const { return dot(normal, p) - offset; }
};

// A face or a part of one. A part keeps its face's plane (a thin part
// cut off could not give it well itself). Its corners are a run of the
// pool's one corner list: tens of thousands of small lists of their own
// cost more in the allocator than the cutting. Kept small: every byte of
// a new array is a page the kernel must clear, and for a large model those
// pages cost more than the tests.
struct Polygon {
    std::uint32_t first = 0;  // corners: Pool::corners[first] .. [first + count - 1]
    std::uint32_t count = 0;  // 0: cut up, no list holds it any more
    std::int32_t face;        // its plane: Pool::planes[face]
    Vec3d centre{0, 0, 0};    // a ball round the corners: a plane that misses it
    double radius = 0.0;      // has them all on one side, found without them
};

struct Box {
    Vec3d lo, hi;
};

// Every polygon, the faces' and the parts cut off later, with their
// corners; the lists below hold polygons' numbers, so a long chain moves
// no corners.
struct Pool {
    std::vector<Vec3d> corners;
    std::vector<Polygon> polygons;
    const std::vector<Plane>* planes = nullptr;    // each face's
    // Each face's group, or -1: faces of one group never hide one another
    // (the faces of one convex shell that face the viewer). None: no groups.
    const std::vector<std::int32_t>* groups = nullptr;
    std::vector<Vec3d> frontCorners, backCorners;  // a cut's parts, before they join `corners`
    std::vector<double> distances;
    std::vector<Box> boxes;                        // a split across an axis: its polygons' boxes

    const Vec3d* begin(const Polygon& p) const { return corners.data() + p.first; }
    const Vec3d* end(const Polygon& p) const { return corners.data() + p.first + p.count; }
    const Plane& plane(const Polygon& p) const { return (*planes)[std::size_t(p.face)]; }
    int group(std::uint32_t id) const { return groups ? (*groups)[std::size_t(polygons[id].face)] : -1; }
    // The numbers of all its polygons, in order.
    std::vector<std::uint32_t> allIds() const {
        std::vector<std::uint32_t> ids(polygons.size());
        std::iota(ids.begin(), ids.end(), 0u);
        return ids;
    }
};

double along(Vec3d v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

void enclose(const Pool& pool, Polygon& p) {
    Vec3d sum{0, 0, 0};
    for (const Vec3d* c = pool.begin(p); c != pool.end(p); ++c) sum += *c;
    const double n = double(std::max<std::size_t>(p.count, 1));
    p.centre = sum / n;
    double farthest = 0.0;  // squared: one root for the polygon (the same as the roots' largest)
    for (const Vec3d* c = pool.begin(p); c != pool.end(p); ++c) farthest = std::max(farthest, dot(*c - p.centre, *c - p.centre));
    p.radius = std::sqrt(farthest);
}

Box boxOf(const Pool& pool, const Polygon& p) {
    Box b{p.centre, p.centre};
    for (const Vec3d* cp = pool.begin(p); cp != pool.end(p); ++cp) {
        const Vec3d& c = *cp;
        b.lo = {std::min(b.lo.x, c.x), std::min(b.lo.y, c.y), std::min(b.lo.z, c.z)};
        b.hi = {std::max(b.hi.x, c.x), std::max(b.hi.y, c.y), std::max(b.hi.z, c.z)};
    }
    return b;
}

// The polygons in a node's plane are a run of one list for all nodes: one
// small list each would be tens of thousands of allocations.
struct Node {
    Plane plane;
    std::uint32_t onFirst = 0;  // polygons in the plane: Tree::on[onFirst] .. [onFirst + onCount - 1]
    std::uint32_t onCount = 0;
    int front = -1;
    int back = -1;
};

struct Tree {
    std::vector<Node> nodes;
    std::vector<std::uint32_t> on;
    int root = -1;
};


// Newell's normal of a polygon and the plane through its corners' mean.
bool planeOf(const std::vector<Vec3d>& c, Plane& plane) {
    Vec3d n{0, 0, 0}, sum{0, 0, 0};
    for (std::size_t i = 0; i < c.size(); ++i) {
        const Vec3d& a = c[i];
        const Vec3d& b = c[(i + 1) % c.size()];
        n += {(a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y)};
        sum += a;
    }
    const double len = length(n);
    if (!(len > 0.0) || !std::isfinite(len)) return false;
    plane.normal = n * (1.0 / len);
    plane.offset = dot(plane.normal, sum * (1.0 / double(c.size())));
    return true;
}

// Adds the corners gathered in `part` to the pool as a polygon of `from`'s
// face, and gives its number; none when they are only a point or a line.
bool addPart(Pool& pool, const Polygon& from, std::vector<Vec3d>& part, std::uint32_t& id) {
    if (part.size() < 3) return false;
    Polygon p;
    p.face = from.face;
    p.first = std::uint32_t(pool.corners.size());
    p.count = std::uint32_t(part.size());
    pool.corners.insert(pool.corners.end(), part.begin(), part.end());
    enclose(pool, p);
    id = std::uint32_t(pool.polygons.size());
    pool.polygons.push_back(p);
    return true;
}

// Where `p` lies from `plane`: 1 in front, -1 behind, 0 in it, 2 across.
int sideOf(const Pool& pool, const Polygon& p, const Plane& plane, double tolerance, std::uint64_t& tests) {
    // Past the ball by more than the tolerance (and a hair for rounding),
    // every corner is: the same answer as theirs.
    const double fromCentre = plane.distance(p.centre);
    const double clear = (p.radius + tolerance) * (1.0 + roundingShare);
    ++tests;
    if (fromCentre > clear) return 1;
    if (fromCentre < -clear) return -1;
    tests += p.count;
    bool anyFront = false, anyBack = false;
    for (const Vec3d* c = pool.begin(p); c != pool.end(p); ++c) {
        const double d = plane.distance(*c);
        anyFront = anyFront || d > tolerance;
        anyBack = anyBack || d < -tolerance;
    }
    return anyFront && anyBack ? 2 : anyFront ? 1 : anyBack ? -1 : 0;
}

// Polygon `id` cut by `plane`, its parts (a part that is only a point or
// a line dropped) added to the pool and to `front` and `back`. Each part
// counts as tests too: making one costs about as much as a few dozen.
void cut(Pool& pool, std::uint32_t id, const Plane& plane, double tolerance, std::uint64_t& tests,
         std::vector<std::uint32_t>& front, std::vector<std::uint32_t>& back) {
    const Polygon p = pool.polygons[id];
    pool.polygons[id].count = 0;  // no list holds it any more
    std::vector<Vec3d>& f = pool.frontCorners;
    std::vector<Vec3d>& b = pool.backCorners;
    std::vector<double>& d = pool.distances;
    f.clear(), b.clear(), d.clear();
    const std::size_t n = p.count;
    const Vec3d* c = pool.begin(p);
    for (std::size_t i = 0; i < n; ++i) d.push_back(plane.distance(c[i]));
    for (std::size_t i = 0; i < n; ++i) {
        const Vec3d a = c[i];
        const Vec3d e = c[(i + 1) % n];
        const double da = d[i], de = d[(i + 1) % n];
        if (da >= -tolerance) f.push_back(a);
        if (da <= tolerance) b.push_back(a);
        if ((da > tolerance && de < -tolerance) || (da < -tolerance && de > tolerance)) {
            const Vec3d at = a + (e - a) * (da / (da - de));
            f.push_back(at);
            b.push_back(at);
        }
    }
    tests += 2 * partCost;
    std::uint32_t part = 0;
    if (addPart(pool, p, f, part)) front.push_back(part);
    if (addPart(pool, p, b, part)) back.push_back(part);
}

// Splits `ids` by a plane across x, y or z through the median of their
// centres, on the axis whose larger side (with the polygons it cuts) is
// smallest; polygons it cuts are cut in two. Along an axis a corner's side
// is its coordinate, so the boxes say which polygons it cuts. False, and
// nothing cut, when no axis leaves both sides smaller.
bool splitAcrossAxis(Pool& pool, const std::vector<std::uint32_t>& ids, double tolerance,
                     std::uint64_t& tests, Plane& plane, std::vector<std::uint32_t>& front,
                     std::vector<std::uint32_t>& back) {
    const std::size_t n = ids.size();
    std::vector<Box>& boxes = pool.boxes;
    boxes.clear();
    readyRoom(boxes, n);
    for (const std::uint32_t id : ids) boxes.push_back(boxOf(pool, pool.polygons[id]));
    std::vector<double> values;
    int best = -1;
    double bestAt = 0.0;
    std::size_t bestLarger = n;
    const auto tryAt = [&](int axis, double at) {
        std::size_t below = 0, above = 0;
        for (const Box& b : boxes) {
            if (along(b.hi, axis) <= at + tolerance) ++below;
            else if (along(b.lo, axis) >= at - tolerance) ++above;
        }
        tests += 2 * n;
        const std::size_t larger = n - std::min(below, above);
        if (larger < bestLarger) best = axis, bestAt = at, bestLarger = larger;
    };
    for (int axis = 0; axis < 3; ++axis) {
        values.clear();
        for (const std::uint32_t id : ids) values.push_back(along(pool.polygons[id].centre, axis));
        std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(n / 2), values.end());
        tryAt(axis, values[n / 2]);
    }
    if (best < 0) return false;
    plane.normal = {best == 0 ? 1.0 : 0.0, best == 1 ? 1.0 : 0.0, best == 2 ? 1.0 : 0.0};
    plane.offset = bestAt;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t id = ids[i];
        if (along(boxes[i].hi, best) <= bestAt + tolerance) {
            back.push_back(id);  // in the plane too: either side holds it
        } else if (along(boxes[i].lo, best) >= bestAt - tolerance) {
            front.push_back(id);
        } else {
            tests += pool.polygons[id].count;
            cut(pool, id, plane, tolerance, tests, front, back);
        }
    }
    return true;
}

// Splits `ids` by a plane through the corner most of them share (the apex
// of a pyramid of thousands of faces, where no plane across an axis parts
// them) and along the mean direction from it to their centres, so that it
// parts the fan of faces around it. False, and nothing cut, when there is
// no such corner or no plane of the three tried leaves both sides smaller.
bool splitThroughHub(Pool& pool, const std::vector<std::uint32_t>& ids, double tolerance,
                     std::uint64_t& tests, Plane& plane, std::vector<std::uint32_t>& front,
                     std::vector<std::uint32_t>& back) {
    const std::size_t n = ids.size();
    std::vector<Vec3d> corners;
    for (const std::uint32_t id : ids) corners.insert(corners.end(), pool.begin(pool.polygons[id]), pool.end(pool.polygons[id]));
    tests += corners.size();
    const auto before = [](Vec3d a, Vec3d b) {
        return a.x != b.x ? a.x < b.x : a.y != b.y ? a.y < b.y : a.z < b.z;
    };
    std::sort(corners.begin(), corners.end(), before);
    Vec3d hub{0, 0, 0};
    std::size_t most = 0;
    for (std::size_t i = 0, j = 0; i < corners.size(); i = j) {
        while (j < corners.size() && !before(corners[i], corners[j])) ++j;
        if (j - i > most) most = j - i, hub = corners[i];
    }
    if (2 * most < n) return false;
    Vec3d mean{0, 0, 0};
    for (const std::uint32_t id : ids) {
        const Vec3d d = pool.polygons[id].centre - hub;
        const double len = length(d);
        if (len > 0.0) mean += d * (1.0 / len);
    }
    std::size_t bestLarger = n;
    for (int axis = 0; axis < 3; ++axis) {
        const Vec3d normal = cross(mean, {axis == 0 ? 1.0 : 0.0, axis == 1 ? 1.0 : 0.0, axis == 2 ? 1.0 : 0.0});
        const double len = length(normal);
        if (!(len > parallelShare * length(mean)) || !std::isfinite(len)) continue;
        Plane tried;
        tried.normal = normal * (1.0 / len);
        tried.offset = dot(tried.normal, hub);
        std::size_t below = 0, above = 0;
        for (const std::uint32_t id : ids) {
            const int side = sideOf(pool, pool.polygons[id], tried, tolerance, tests);
            below += side <= 0;
            above += side == 1;
        }
        const std::size_t larger = n - std::min(below, above);
        if (larger < bestLarger) plane = tried, bestLarger = larger;
    }
    if (bestLarger >= n) return false;
    for (const std::uint32_t id : ids) {
        const int side = sideOf(pool, pool.polygons[id], plane, tolerance, tests);
        if (side <= 0) back.push_back(id);  // in the plane too: either side holds it
        else if (side == 1) front.push_back(id);
        else cut(pool, id, plane, tolerance, tests, front, back);
    }
    return true;
}

// How near a plane counts as on it: a share of the points' largest extent.
double toleranceFor(const std::vector<Vec3>& points) {
    double scale = 0.0;
    if (!points.empty()) {
        Vec3d lo = widen(points[0]), hi = lo;
        for (const Vec3& p : points) {
            lo = {std::min(lo.x, double(p.x)), std::min(lo.y, double(p.y)), std::min(lo.z, double(p.z))};
            hi = {std::max(hi.x, double(p.x)), std::max(hi.y, double(p.y)), std::max(hi.z, double(p.z))};
        }
        scale = std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z});
    }
    return planeShare * (scale > 0.0 && std::isfinite(scale) ? scale : 1.0);
}

// The faces as polygons, those of fewer than three corners or with no
// plane left out; their planes in `planes`, which the pool refers to.
Pool facePolygons(const std::vector<Vec3>& points, const std::vector<std::int32_t>& corners,
                  const std::vector<std::int32_t>& faceStart, std::vector<Plane>& planes) {
    Pool pool;
    // Room for the parts cut off too when the whole tree is built in this
    // pool (a solid and its dual: three or four times the faces), so that
    // growing moves nothing; untouched room costs no memory (but no huge
    // pages for it either: a huge page is cleared whole at its first touch).
    const bool whole = faceStart.size() <= axisSplitsAbove + 1;
    pool.corners.reserve(whole ? 8 * corners.size() : corners.size() + corners.size() / 4);
    pool.polygons.reserve(whole ? 8 * faceStart.size() : faceStart.size() + faceStart.size() / 4);
    readyRoom(pool.corners, corners.size());
    readyRoom(pool.polygons, faceStart.size());
    planes.resize(faceStart.empty() ? 0 : faceStart.size() - 1);
    pool.planes = &planes;
    std::vector<Vec3d> face;
    for (int f = 0; f + 1 < int(faceStart.size()); ++f) {
        if (faceStart[f + 1] - faceStart[f] < 3) continue;
        Polygon p;
        p.face = f;
        face.clear();
        for (std::int32_t k = faceStart[f]; k < faceStart[f + 1]; ++k)
            face.push_back(widen(points[std::size_t(corners[k])]));
        if (!planeOf(face, planes[std::size_t(f)])) continue;
        std::uint32_t id = 0;
        addPart(pool, p, face, id);
    }
    return pool;
}

// `pool` made to hold the polygons `ids` of `from` alone, with their
// corners, and room made ready for `grows` times as many. Its lists keep
// the room they had: refilled for one piece of a large model after
// another, they stay on pages already in use.
void refill(Pool& pool, const Pool& from, const std::vector<std::uint32_t>& ids, std::size_t grows) {
    pool.planes = from.planes;
    pool.groups = from.groups;
    pool.corners.clear();
    pool.polygons.clear();
    std::size_t corners = 0;
    for (const std::uint32_t id : ids) corners += from.polygons[id].count;
    readyRoom(pool.corners, grows * corners);
    readyRoom(pool.polygons, grows * ids.size());
    for (const std::uint32_t id : ids) {
        Polygon p = from.polygons[id];
        p.first = std::uint32_t(pool.corners.size());
        pool.corners.insert(pool.corners.end(), from.begin(from.polygons[id]), from.end(from.polygons[id]));
        pool.polygons.push_back(p);
    }
}

// The tree of planes over every polygon of the pool, parts cut off added
// to it, `axisSplits` splits across an axis above it (-1: the faces'
// planes only). Its tests are added to `spent`, which other trees built
// at once add to as well; it stops short once that is past
// mostCornerTests. The splitter of each list is picked by a fixed linear
// congruential sequence: the same faces always give the same tree.
void buildTree(Pool& pool, double tolerance, int axisSplits, std::atomic<std::uint64_t>& spent, Tree& tree) {
    std::vector<Node>& nodes = tree.nodes;
    int& root = tree.root;
    std::uint64_t random = 0x9E3779B97F4A7C15ull;
    struct Work {
        std::vector<std::uint32_t> polygons;
        int parent;
        bool front;
        int axisSplits;  // how many above it; -1: the faces' planes only
    };
    std::vector<Work> work;
    // Lists done with, kept for the next ones: a list each side of every
    // node would otherwise be tens of thousands of allocations, which two
    // trees built at once would queue for.
    std::vector<std::vector<std::uint32_t>> spare;
    const auto newList = [&spare] {
        std::vector<std::uint32_t> list;
        if (!spare.empty()) list = std::move(spare.back()), spare.pop_back();
        return list;
    };
    const auto keep = [&spare](std::vector<std::uint32_t>& list) {
        list.clear();
        spare.push_back(std::move(list));
    };
    // Room for as many nodes as the parts made are likely to be.
    nodes.clear();
    tree.on.clear();
    readyRoom(nodes, 4 * pool.polygons.size());  // some three times the polygons
    readyRoom(tree.on, 4 * pool.polygons.size());
    root = -1;
    if (!pool.polygons.empty()) {
        work.push_back({pool.allIds(), -1, false, axisSplits});
    }
    std::uint64_t tests = 0, told = 0;
    // Adds the tests since the last call to `spent`; true when past the bound.
    const auto pastBound = [&] {
        const std::uint64_t total = spent.fetch_add(tests - told) + (tests - told);
        told = tests;
        return total > mostCornerTests;
    };
    const auto attach = [&](Node&& node, const Work& w) {
        const int index = int(nodes.size());
        nodes.push_back(std::move(node));
        if (w.parent < 0)
            root = index;
        else
            (w.front ? nodes[std::size_t(w.parent)].front : nodes[std::size_t(w.parent)].back) = index;
        return index;
    };
    while (!work.empty()) {
        Work w = std::move(work.back());
        work.pop_back();
        // Many polygons: a plane across an axis halves them whatever their
        // shape, where a convex shell's own planes would make a chain.
        if (w.axisSplits >= 0 && w.polygons.size() > leafPolygons && w.axisSplits < deepestAxisSplit) {
            Node node;
            std::vector<std::uint32_t> front = newList(), back = newList();
            if (splitAcrossAxis(pool, w.polygons, tolerance, tests, node.plane, front, back) ||
                splitThroughHub(pool, w.polygons, tolerance, tests, node.plane, front, back)) {
                const int index = attach(std::move(node), w);
                if (pastBound()) break;
                if (!front.empty()) work.push_back({std::move(front), index, true, w.axisSplits + 1});
                if (!back.empty()) work.push_back({std::move(back), index, false, w.axisSplits + 1});
                keep(w.polygons);
                continue;
            }
            keep(front);
            keep(back);
        }
        // Polygons of one group need no order among themselves: a list of
        // one group is a leaf, and the splitters come from outside the
        // list's largest group, which is then left to itself at the end of
        // the chain (and never cut by its own planes).
        std::size_t choices = w.polygons.size();
        int largest = -1;
        if (pool.groups) {
            std::pair<int, std::size_t> counts[4] = {{-1, 0}, {-1, 0}, {-1, 0}, {-1, 0}};
            for (const std::uint32_t id : w.polygons) {
                const int g = pool.group(id);
                for (auto& [group, count] : counts)
                    if (group == g || count == 0) {
                        group = g, ++count;
                        break;
                    }
            }
            std::size_t most = 0;
            for (const auto& [group, count] : counts)
                if (group >= 0 && count > most) most = count, largest = group;
            if (largest >= 0 && most == w.polygons.size()) {
                Node node;
                node.onFirst = std::uint32_t(tree.on.size());
                tree.on.insert(tree.on.end(), w.polygons.begin(), w.polygons.end());
                node.onCount = std::uint32_t(w.polygons.size());
                attach(std::move(node), w);
                keep(w.polygons);
                continue;
            }
            if (largest >= 0) choices -= most;
        }
        random = random * 6364136223846793005ull + 1442695040888963407ull;
        std::size_t pick = std::size_t((random >> 33) % choices);
        if (largest >= 0)  // the pick-th polygon outside the largest group
            for (std::size_t i = 0;; ++i)
                if (pool.group(w.polygons[i]) != largest && pick-- == 0) {
                    pick = i;
                    break;
                }
        std::swap(w.polygons[0], w.polygons[pick]);
        Node node;
        node.plane = pool.plane(pool.polygons[w.polygons[0]]);
        node.onFirst = std::uint32_t(tree.on.size());
        tree.on.push_back(w.polygons[0]);
        std::vector<std::uint32_t> front = newList(), back = newList();
        for (std::size_t i = 1; i < w.polygons.size(); ++i) {
            const std::uint32_t id = w.polygons[i];
            const int side = sideOf(pool, pool.polygons[id], node.plane, tolerance, tests);
            if (side == 0) tree.on.push_back(id);
            else if (side == 1) front.push_back(id);
            else if (side == -1) back.push_back(id);
            else cut(pool, id, node.plane, tolerance, tests, front, back);
        }
        node.onCount = std::uint32_t(tree.on.size()) - node.onFirst;
        const int index = attach(std::move(node), w);
        if (pastBound()) break;
        if (!front.empty()) work.push_back({std::move(front), index, true, -1});
        else keep(front);
        if (!back.empty()) work.push_back({std::move(back), index, false, -1});
        else keep(back);
        keep(w.polygons);
    }
    pastBound();
}

// Farthest first: at each node the side away from the viewer (at +z),
// then the node's own polygons, then the side toward it; added to `order`.
void walkTree(const Pool& pool, const Tree& tree, PaintOrder& order) {
    std::size_t corners = 0;
    for (const std::uint32_t id : tree.on) corners += pool.polygons[id].count;
    readyRoom(order.xyz, 3 * corners);
    readyRoom(order.start, tree.on.size());
    readyRoom(order.face, tree.on.size());
    struct Step {
        int node;
        bool expanded;
    };
    std::vector<Step> steps;
    if (tree.root >= 0) steps.push_back({tree.root, false});
    while (!steps.empty()) {
        const Step s = steps.back();
        steps.pop_back();
        const Node& node = tree.nodes[std::size_t(s.node)];
        if (s.expanded) {
            for (std::uint32_t k = node.onFirst; k < node.onFirst + node.onCount; ++k) {
                const Polygon& p = pool.polygons[tree.on[k]];
                for (const Vec3d* c = pool.begin(p); c != pool.end(p); ++c)
                    order.xyz.insert(order.xyz.end(), {float(c->x), float(c->y), float(c->z)});
                order.start.push_back(std::uint32_t(order.xyz.size() / 3));
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
}

// A list of polygons to order on their own, under so many splits across
// an axis.
struct Piece {
    std::vector<std::uint32_t> ids;
    int axisSplits;
};

// Splits `ids` across axes (or through a shared corner), as the tree's top
// would, while a side holds more than topPiece polygons; the sides are
// added to `pieces` farthest first.
void splitTop(Pool& pool, std::vector<std::uint32_t> ids, double tolerance, int axisSplits, std::uint64_t& tests,
              std::vector<Piece>& pieces) {
    Plane plane;
    std::vector<std::uint32_t> front, back;
    if (ids.size() <= topPiece || axisSplits >= deepestAxisSplit || tests > mostCornerTests ||
        !(splitAcrossAxis(pool, ids, tolerance, tests, plane, front, back) ||
          splitThroughHub(pool, ids, tolerance, tests, plane, front, back))) {
        pieces.push_back({std::move(ids), axisSplits});
        return;
    }
    ids = {};
    const bool frontNearer = plane.normal.z >= 0.0;
    splitTop(pool, frontNearer ? std::move(back) : std::move(front), tolerance, axisSplits + 1, tests, pieces);
    splitTop(pool, frontNearer ? std::move(front) : std::move(back), tolerance, axisSplits + 1, tests, pieces);
}

PaintOrder unfinishedOrder() {
    PaintOrder none;
    none.unfinished = "too many faces to put in order for a vector picture (over " +
                      std::to_string(mostCornerTests) + " tests against a plane)";
    return none;
}

}  // namespace

PaintOrder paintOrder(const std::vector<Vec3>& points, const std::vector<std::int32_t>& corners,
                      const std::vector<std::int32_t>& faceStart, const std::vector<std::int32_t>& groups) {
    const double tolerance = toleranceFor(points);
    // Many faces are ordered in two halves (below), each in a pool and a
    // tree for one piece after another, into an order of its own. Their
    // room is made present on the second core while this one gathers the
    // faces and parts them: the first piece would otherwise spend more on
    // new pages than on its tests.
    const std::size_t faces = faceStart.empty() ? 0 : faceStart.size() - 1;
    struct Half {
        Pool all;  // the half's polygons
        Pool piece;
        Tree tree;
        PaintOrder order;
    } halves[2];
    std::future<void> halvesReady;
    if (faces > axisSplitsAbove) {
        halvesReady = std::async(aThreadIfAny, [&halves, &corners, faces] {
            // As a sphere and its dual grow: a half's pool holds its faces
            // and its top's cuts (room for twice its faces); a piece ends
            // with some six times its corners and polygons and three times
            // as many nodes; the order with some three times the corners
            // (room for three and a half) and four times the polygons.
            const std::size_t pieceCorners = topPiece * corners.size() / faces;
            for (int k = 0; k < 2; ++k) {
                Half& h = halves[k];
                readyRoom(h.all.corners, corners.size());
                readyRoom(h.all.polygons, faces);
                readyRoom(h.piece.corners, 6 * pieceCorners);
                readyRoom(h.piece.polygons, 6 * topPiece);
                readyRoom(h.tree.nodes, 4 * topPiece);
                readyRoom(h.tree.on, 4 * topPiece);
                // The farther half's order takes the nearer's after it.
                const std::size_t share = k == 0 ? 2 : 1;
                readyRoom(h.order.xyz, 3 * 7 * corners.size() * share / 4);
                readyRoom(h.order.start, 4 * faces * share / 2);
                readyRoom(h.order.face, 4 * faces * share / 2);
            }
        });
    }
    std::vector<Plane> planes;
    Pool pool = facePolygons(points, corners, faceStart, planes);
    std::atomic<std::uint64_t> spent{0};
    const std::vector<std::uint32_t> all = pool.allIds();
    // The whole tree in the one pool, under `axisSplits` splits across an
    // axis (-1: the faces' planes only).
    const auto wholeTree = [&](int axisSplits) {
        Tree tree;
        buildTree(pool, tolerance, axisSplits, spent, tree);
        if (spent > mostCornerTests) return unfinishedOrder();
        PaintOrder order;
        walkTree(pool, tree, order);
        return order;
    };
    if (all.size() <= axisSplitsAbove) return wholeTree(-1);
    // Many faces: a plane across an axis (or through a shared corner)
    // parts them in two halves, and no plane of one crosses the other, so
    // each is ordered on its own, the nearer on a second core. In each the
    // top of the tree, its splits across axes, is made first, down to
    // pieces of some thousand polygons, farthest first; each piece is then
    // a tree of its own, built and walked in turn in one pool and one tree,
    // whose pages serve the next piece (new pages cost more than the tests
    // on them). The same order as on one core.
    if (groups.size() + 1 == faceStart.size()) pool.groups = &groups;
    Plane plane;
    std::vector<std::uint32_t> front, back;
    std::uint64_t tests = 0;
    const bool halved = splitAcrossAxis(pool, all, tolerance, tests, plane, front, back) ||
                        splitThroughHub(pool, all, tolerance, tests, plane, front, back);
    spent += tests;
    if (!halved) return wholeTree(0);
    halvesReady.get();
    const auto orderHalf = [&](const std::vector<std::uint32_t>& ids, Half& into) {
        Pool& half = into.all;
        refill(half, pool, ids, 2);  // the top's cuts add a few
        std::vector<Piece> pieces;
        std::uint64_t topTests = 0;
        splitTop(half, half.allIds(), tolerance, 1, topTests, pieces);
        spent += topTests;
        for (std::size_t k = 0; k < pieces.size() && spent <= mostCornerTests; ++k) {
            refill(into.piece, half, pieces[k].ids, 6);
            buildTree(into.piece, tolerance, pieces[k].axisSplits, spent, into.tree);
            if (spent <= mostCornerTests) walkTree(into.piece, into.tree, into.order);
        }
    };
    const bool frontNearer = plane.normal.z >= 0.0;
    std::future<void> other = std::async(aThreadIfAny, [&] { orderHalf(frontNearer ? front : back, halves[1]); });
    orderHalf(frontNearer ? back : front, halves[0]);
    other.get();
    if (spent > mostCornerTests) return unfinishedOrder();
    PaintOrder order = std::move(halves[0].order);
    const PaintOrder& nearer = halves[1].order;
    const std::uint32_t base = order.start.back();
    readyRoom(order.xyz, nearer.xyz.size());
    readyRoom(order.start, nearer.start.size());
    readyRoom(order.face, nearer.face.size());
    order.xyz.insert(order.xyz.end(), nearer.xyz.begin(), nearer.xyz.end());
    for (std::size_t p = 1; p < nearer.start.size(); ++p) order.start.push_back(base + nearer.start[p]);
    order.face.insert(order.face.end(), nearer.face.begin(), nearer.face.end());
    return order;
}

}  // namespace pd
