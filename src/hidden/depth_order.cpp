#include "hidden/depth_order.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <future>
#include <numeric>
#include <string>

#include "base/background.h"
#include "base/huge_pages.h"
#include "base/translate.h"
#include "hidden/polygon_pool.h"

namespace pd {

namespace {

using namespace bsp;

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
    reservePopulated(boxes, n);
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
    reservePopulated(pool.corners, corners.size());
    reservePopulated(pool.polygons, faceStart.size());
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

// Lists done with, kept for the next ones: a list each side of every node
// would otherwise be tens of thousands of allocations, which two trees
// built at once would queue for.
class SpareLists {
public:
    // An empty list, with the room of one done with when there is one.
    std::vector<std::uint32_t> take() {
        std::vector<std::uint32_t> list;
        if (!spare_.empty()) list = std::move(spare_.back()), spare_.pop_back();
        return list;
    }
    // `list` is done with: emptied and kept for a take().
    void recycle(std::vector<std::uint32_t>& list) {
        list.clear();
        spare_.push_back(std::move(list));
    }

private:
    std::vector<std::vector<std::uint32_t>> spare_;
};

// The group (>= 0) with the most polygons of `ids`, and that many in
// `most`; -1 when none of them has a group. Only the first four groups
// met are counted.
int largestGroup(const Pool& pool, const std::vector<std::uint32_t>& ids, std::size_t& most) {
    std::pair<int, std::size_t> counts[4] = {{-1, 0}, {-1, 0}, {-1, 0}, {-1, 0}};
    for (const std::uint32_t id : ids) {
        const int g = pool.group(id);
        for (auto& [group, count] : counts)
            if (group == g || count == 0) {
                group = g, ++count;
                break;
            }
    }
    int largest = -1;
    most = 0;
    for (const auto& [group, count] : counts)
        if (group >= 0 && count > most) most = count, largest = group;
    return largest;
}

// Where in `ids` the `pick`-th polygon is, counting only those outside
// group `largest` when it is >= 0.
std::size_t splitterAt(const Pool& pool, const std::vector<std::uint32_t>& ids, int largest, std::uint64_t pick) {
    if (largest < 0) return std::size_t(pick);
    for (std::size_t i = 0;; ++i)
        if (pool.group(ids[i]) != largest && pick-- == 0) return i;
}

// The node on the plane of polygon ids[0]: the polygons of `ids` on that
// plane go with it to the tree's `on` list, those in front to `front`,
// those behind to `back`, and those across it are cut, a part each side.
Node splitByFace(Pool& pool, const std::vector<std::uint32_t>& ids, double tolerance, std::uint64_t& tests,
                 Tree& tree, std::vector<std::uint32_t>& front, std::vector<std::uint32_t>& back) {
    Node node;
    node.plane = pool.plane(pool.polygons[ids[0]]);
    node.onFirst = std::uint32_t(tree.on.size());
    tree.on.push_back(ids[0]);
    for (std::size_t i = 1; i < ids.size(); ++i) {
        const std::uint32_t id = ids[i];
        const int side = sideOf(pool, pool.polygons[id], node.plane, tolerance, tests);
        if (side == 0) tree.on.push_back(id);
        else if (side == 1) front.push_back(id);
        else if (side == -1) back.push_back(id);
        else cut(pool, id, node.plane, tolerance, tests, front, back);
    }
    node.onCount = std::uint32_t(tree.on.size()) - node.onFirst;
    return node;
}

// `tree` emptied, with room for as many nodes as the parts made from
// `polygons` polygons are likely to be (some three times as many).
void clearTree(Tree& tree, std::size_t polygons) {
    tree.nodes.clear();
    tree.on.clear();
    reservePopulated(tree.nodes, 4 * polygons);
    reservePopulated(tree.on, 4 * polygons);
    tree.root = -1;
}

// A leaf holding all of `ids` in the tree's `on` list, in no order among
// themselves.
Node leafOf(const std::vector<std::uint32_t>& ids, Tree& tree) {
    Node node;
    node.onFirst = std::uint32_t(tree.on.size());
    tree.on.insert(tree.on.end(), ids.begin(), ids.end());
    node.onCount = std::uint32_t(ids.size());
    return node;
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
    SpareLists spare;
    clearTree(tree, pool.polygons.size());
    if (!pool.polygons.empty()) work.push_back({pool.allIds(), -1, false, axisSplits});
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
            std::vector<std::uint32_t> front = spare.take(), back = spare.take();
            if (splitAcrossAxis(pool, w.polygons, tolerance, tests, node.plane, front, back) ||
                splitThroughHub(pool, w.polygons, tolerance, tests, node.plane, front, back)) {
                const int index = attach(std::move(node), w);
                if (pastBound()) break;
                if (!front.empty()) work.push_back({std::move(front), index, true, w.axisSplits + 1});
                if (!back.empty()) work.push_back({std::move(back), index, false, w.axisSplits + 1});
                spare.recycle(w.polygons);
                continue;
            }
            spare.recycle(front);
            spare.recycle(back);
        }
        // Polygons of one group need no order among themselves: a list of
        // one group is a leaf, and the splitters come from outside the
        // list's largest group, which is then left to itself at the end of
        // the chain (and never cut by its own planes).
        std::size_t choices = w.polygons.size();
        int largest = -1;
        if (pool.groups) {
            std::size_t most = 0;
            largest = largestGroup(pool, w.polygons, most);
            if (largest >= 0 && most == w.polygons.size()) {
                attach(leafOf(w.polygons, tree), w);
                spare.recycle(w.polygons);
                continue;
            }
            if (largest >= 0) choices -= most;
        }
        random = random * 6364136223846793005ull + 1442695040888963407ull;
        std::swap(w.polygons[0], w.polygons[splitterAt(pool, w.polygons, largest, (random >> 33) % choices)]);
        std::vector<std::uint32_t> front = spare.take(), back = spare.take();
        const int index = attach(splitByFace(pool, w.polygons, tolerance, tests, tree, front, back), w);
        if (pastBound()) break;
        if (!front.empty()) work.push_back({std::move(front), index, true, -1});
        else spare.recycle(front);
        if (!back.empty()) work.push_back({std::move(back), index, false, -1});
        else spare.recycle(back);
        spare.recycle(w.polygons);
    }
    pastBound();
}

// Farthest first: at each node the side away from the viewer (at +z),
// then the node's own polygons, then the side toward it; added to `order`.
void walkTree(const Pool& pool, const Tree& tree, PaintOrder& order) {
    std::size_t corners = 0;
    for (const std::uint32_t id : tree.on) corners += pool.polygons[id].count;
    reservePopulated(order.xyz, 3 * corners);
    reservePopulated(order.start, tree.on.size());
    reservePopulated(order.face, tree.on.size());
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

// One of the two halves many faces are ordered in: its polygons, the pool
// and the tree of the piece being ordered, and its order.
struct Half {
    Pool all;
    Pool piece;
    Tree tree;
    PaintOrder order;
};

// Room made present in both halves for faces of `cornerCount` corners in
// all, as a sphere and its dual grow: a half's pool holds its faces and
// its top's cuts (room for twice its faces); a piece ends with some six
// times its corners and polygons and three times as many nodes; the order
// with some three times the corners (room for three and a half) and four
// times the polygons.
void makeRoom(Half (&halves)[2], std::size_t cornerCount, std::size_t faces) {
    const std::size_t pieceCorners = topPiece * cornerCount / faces;
    for (int k = 0; k < 2; ++k) {
        Half& h = halves[k];
        reservePopulated(h.all.corners, cornerCount);
        reservePopulated(h.all.polygons, faces);
        reservePopulated(h.piece.corners, 6 * pieceCorners);
        reservePopulated(h.piece.polygons, 6 * topPiece);
        reservePopulated(h.tree.nodes, 4 * topPiece);
        reservePopulated(h.tree.on, 4 * topPiece);
        // The farther half's order takes the nearer's after it.
        const std::size_t share = k == 0 ? 2 : 1;
        reservePopulated(h.order.xyz, 3 * 7 * cornerCount * share / 4);
        reservePopulated(h.order.start, 4 * faces * share / 2);
        reservePopulated(h.order.face, 4 * faces * share / 2);
    }
}

// `nearer` painted after `order`.
void append(PaintOrder& order, const PaintOrder& nearer) {
    const std::uint32_t base = order.start.back();
    reservePopulated(order.xyz, nearer.xyz.size());
    reservePopulated(order.start, nearer.start.size());
    reservePopulated(order.face, nearer.face.size());
    order.xyz.insert(order.xyz.end(), nearer.xyz.begin(), nearer.xyz.end());
    for (std::size_t p = 1; p < nearer.start.size(); ++p) order.start.push_back(base + nearer.start[p]);
    order.face.insert(order.face.end(), nearer.face.begin(), nearer.face.end());
}

PaintOrder unfinishedOrder() {
    PaintOrder none;
    none.unfinished = fill(tr("too many faces to put in order for a vector picture (over {1} tests against a plane)"),
                           {std::to_string(mostCornerTests)});
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
    Half halves[2];
    std::future<void> halvesReady;
    if (faces > axisSplitsAbove)
        halvesReady = std::async(aThreadIfAny, [&halves, &corners, faces] { makeRoom(halves, corners.size(), faces); });
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
    append(order, halves[1].order);
    return order;
}

}  // namespace pd
