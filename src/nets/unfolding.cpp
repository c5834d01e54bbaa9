#include "nets/unfolding.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "base/translate.h"
#include "nets/unfolder.h"
#include "geometry/face_plane.h"

namespace pd {

namespace {

constexpr double pi = 3.14159265358979323846;
// A face's own checks, each a share of its reach (its farthest corner from
// its centre): an edge shorter than shortEdgeShare of it has no length, an
// area (or a corner's turn, a cross product) below noAreaShare of its
// square is none, and corners off the face's plane by more than flatShare
// of it make the face not flat (1/500 of the reach, 1/1000 of its width).
constexpr double shortEdgeShare = 1e-9;
constexpr double noAreaShare = 1e-12;
constexpr double flatShare = 2e-3;
// Corners' turns summing to a full turn within this (radians) go once round.
constexpr double onceRoundTolerance = 1e-6;
// Convex faces up to twice this many corners are one part; bigger ones
// are cut into parts of this many corners and one more.
constexpr int partCorners = 16;
// Ear clipping takes time of the cube of a face's corners: a model of
// many such faces still costs at most 10 000 steps a corner.
constexpr int largestCutFace = 100;

Vec3d unit(Vec3d a) { return (1.0 / length(a)) * a; }
// The part of `a` square to the unit direction `e`, made unit.
Vec3d squareTo(Vec3d a, Vec3d e) { return unit(a - dot(a, e) * e); }

std::string faceName(int f, int base) { return fill(tr("face {1}"), {std::to_string(f + base)}); }

// Whether segments ab and cd share a point; `eps` is a tolerance on twice
// the area of the triangles the test forms.
bool segmentsMeet(P2 a, P2 b, P2 c, P2 d, double eps) {
    const double d1 = cross(b - a, c - a), d2 = cross(b - a, d - a);
    const double d3 = cross(d - c, a - c), d4 = cross(d - c, b - c);
    if (((d1 > eps && d2 < -eps) || (d1 < -eps && d2 > eps)) &&
        ((d3 > eps && d4 < -eps) || (d3 < -eps && d4 > eps)))
        return true;
    auto on = [eps](P2 p, P2 s, P2 t) {
        return std::fabs(cross(t - s, p - s)) <= eps && dot(p - s, t - s) >= 0 &&
               dot(p - t, s - t) >= 0;
    };
    return on(c, a, b) || on(d, a, b) || on(a, c, d) || on(b, c, d);
}

// Cuts a simple polygon whose corners turn left into triangles (indices
// into `pts`), by clipping ears. False when no ear is left to clip.
bool cutIntoTriangles(const std::vector<P2>& pts, double eps, std::vector<int>& triangles) {
    std::vector<int> left(pts.size());
    std::iota(left.begin(), left.end(), 0);
    while (left.size() > 3) {
        const std::size_t n = left.size();
        bool clipped = false;
        for (std::size_t i = 0; i < n && !clipped; ++i) {
            const int a = left[(i + n - 1) % n], b = left[i], c = left[(i + 1) % n];
            if (cross(pts[b] - pts[a], pts[c] - pts[b]) <= eps) continue;
            bool empty = true;
            for (int v : left) {
                if (v == a || v == b || v == c) continue;
                if (cross(pts[b] - pts[a], pts[v] - pts[a]) >= -eps &&
                    cross(pts[c] - pts[b], pts[v] - pts[b]) >= -eps &&
                    cross(pts[a] - pts[c], pts[v] - pts[c]) >= -eps) {
                    empty = false;
                    break;
                }
            }
            if (!empty) continue;
            triangles.insert(triangles.end(), {a, b, c});
            left.erase(left.begin() + std::ptrdiff_t(i));
            clipped = true;
        }
        if (clipped) continue;
        // Only straight corners and reflex ones left: a straight corner
        // changes nothing when dropped.
        for (std::size_t i = 0; i < n && !clipped; ++i) {
            const int a = left[(i + n - 1) % n], b = left[i], c = left[(i + 1) % n];
            if (std::fabs(cross(pts[b] - pts[a], pts[c] - pts[b])) <= eps &&
                dot(pts[b] - pts[a], pts[c] - pts[b]) > 0) {
                left.erase(left.begin() + std::ptrdiff_t(i));
                clipped = true;
            }
        }
        if (!clipped) return false;
    }
    triangles.insert(triangles.end(), left.begin(), left.end());
    return true;
}

}  // namespace

Status Unfolder::prepareFace(int f, Vec3d mean) {
    const int k = p_.faceSize(f);
    const std::int32_t first = p_.faceStart[f];
    const std::string name = faceName(f, o_.numberBase);
    if (k < 3) return failure(fill(tr("{1} has fewer than three corners"), {name}));
    Vec3d centroid{0, 0, 0};
    for (int i = 0; i < k; ++i) centroid += widen(p_.vertices[p_.corners[first + i]]);
    centroid = (1.0 / k) * centroid;
    const FacePlane plane = facePlane(p_, f, centroid);
    double reach = 0, shortest = HUGE_VAL;
    for (int i = 0; i < k; ++i) {
        const Vec3d a = widen(p_.vertices[p_.corners[first + i]]);
        const Vec3d b = widen(p_.vertices[p_.corners[first + (i + 1) % k]]);
        reach = std::max(reach, length(a - centroid));
        shortest = std::min(shortest, length(b - a));
    }
    const double area = length(plane.normal) / 2;
    if (!(reach > 0) || !std::isfinite(reach) || !(shortest > shortEdgeShare * reach))
        return failure(fill(tr("{1} has an edge of no length"), {name}));
    if (!(area > noAreaShare * reach * reach)) return failure(fill(tr("{1} has no area"), {name}));
    const Vec3d n = unit(plane.normal);
    for (int i = 0; i < k; ++i)
        if (std::fabs(dot(widen(p_.vertices[p_.corners[first + i]]) - centroid, n)) > flatShare * reach)
            return failure(fill(tr("{1} is not flat: its corners are off its plane by more than 1/1000 of its size"), {name}));
    normal_[f] = n;
    outward_[f] = dot(n, centroid - mean) >= 0;
    origin_[f] = widen(p_.vertices[p_.corners[first]]);
    e0_[f] = squareTo(widen(p_.vertices[p_.corners[first + 1]]) - origin_[f], n);
    u0_[f] = cross(n, e0_[f]);
    std::vector<P2> pts(static_cast<std::size_t>(k));
    for (int i = 0; i < k; ++i) {
        const Vec3d d = widen(p_.vertices[p_.corners[first + i]]) - origin_[f];
        pts[i] = local_[first + i] = {dot(d, e0_[f]), dot(d, u0_[f])};
    }

    // Convex (every corner turning left, once round): one part. Otherwise
    // it must not cross itself, and is cut into triangles.
    const double eps = noAreaShare * reach * reach;
    bool convex = true;
    double turning = 0;
    for (int i = 0; i < k; ++i) {
        const P2 a = pts[(i + k - 1) % k], b = pts[i], c = pts[(i + 1) % k];
        const double turn = cross(b - a, c - b);
        if (turn < -eps) convex = false;
        turning += std::atan2(turn, dot(b - a, c - b));
    }
    partStart_[f] = std::int32_t(partCorners_.size()) - 1;
    if (convex && std::fabs(turning - 2 * pi) < onceRoundTolerance) {
        cutIntoSmallParts(first, k);
        return Done{};
    }
    if (k > largestCutFace)
        return failure(fill(tr("{1} is not convex and has {2} corners: more than {3} are too many to cut into triangles"),
                            {name, std::to_string(k), std::to_string(largestCutFace)}));
    for (int i = 0; i < k; ++i)
        for (int j = i + 1; j < k; ++j) {
            const bool adjacent = j == i + 1 || (i == 0 && j == k - 1);
            const P2 a = pts[i], b = pts[(i + 1) % k], c = pts[j], d = pts[(j + 1) % k];
            // Neighbouring edges meet at their shared corner; they cross
            // only by doubling back on each other.
            if (adjacent ? std::fabs(cross(b - a, d - c)) <= eps && dot(b - a, d - c) < 0
                         : segmentsMeet(a, b, c, d, eps))
                return failure(fill(tr("{1} crosses itself"), {name}));
        }
    std::vector<int> triangles;
    if (!cutIntoTriangles(pts, eps, triangles)) return failure(fill(tr("{1} crosses itself"), {name}));
    for (std::size_t t = 0; t < triangles.size(); t += 3) {
        for (int i = 0; i < 3; ++i) partSlots_.push_back(first + triangles[t + i]);
        partCorners_.push_back(std::int32_t(partSlots_.size()));
    }
    return Done{};
}

// A convex face of `k` corners from slot `first` as parts of at most
// partCorners + 1 corners: runs of corners closed by their chord, then
// the polygon of those chords, cut the same way until small. Overlap
// tests then cost the same for every face, and each part stays near its
// own stretch of the outline.
void Unfolder::cutIntoSmallParts(std::int32_t first, int k) {
    std::vector<std::int32_t> ring(static_cast<std::size_t>(k));
    std::iota(ring.begin(), ring.end(), first);
    while (k > 2 * partCorners && ring.size() > std::size_t(partCorners) + 1) {
        std::vector<std::int32_t> inner;
        for (std::size_t i = 0; i < ring.size(); i += partCorners) {
            inner.push_back(ring[i]);
            const std::size_t end = std::min(i + partCorners, ring.size());
            if (end - i < 2) continue;  // a lone edge: no area
            partSlots_.insert(partSlots_.end(), ring.begin() + std::ptrdiff_t(i), ring.begin() + std::ptrdiff_t(end));
            partSlots_.push_back(end < ring.size() ? ring[end] : ring[0]);
            partCorners_.push_back(std::int32_t(partSlots_.size()));
        }
        ring = std::move(inner);
    }
    partSlots_.insert(partSlots_.end(), ring.begin(), ring.end());
    partCorners_.push_back(std::int32_t(partSlots_.size()));
}

Status Unfolder::prepare() {
    const int faces = p_.faceCount();
    if (faces == 0) return failure(tr("the model has no faces"));
    for (int f = 0; f < faces; ++f)
        if (p_.faceSize(f) < 3) return failure(fill(tr("{1} has fewer than three corners"), {faceName(f, o_.numberBase)}));
    topology_ = edgeTopology(p_);
    for (int f = 0; f < faces; ++f)
        for (std::int32_t s = p_.faceStart[f]; s < p_.faceStart[f + 1]; ++s)
            if (topology_.cornerEdge[s] < 0)
                return failure(fill(tr("{1} has an edge of no length (corner {2} follows itself)"),
                                    {faceName(f, o_.numberBase), std::to_string(p_.corners[s] + o_.numberBase)}));
    // An open surface unfolds too, its border cut with no partner; an edge
    // of three faces or more cannot be paper.
    for (std::size_t e = 0; e < topology_.edges.size(); ++e)
        if (topology_.faceCounts[e] > 2)
            return failure(fill(trn("edge {1}-{2} is shared by {3} face", "edge {1}-{2} is shared by {3} faces",
                                    static_cast<unsigned long>(topology_.faceCounts[e])),
                                {std::to_string(topology_.edges[e].a + o_.numberBase), std::to_string(topology_.edges[e].b + o_.numberBase),
                                 std::to_string(topology_.faceCounts[e])}));

    normal_.resize(faces);
    outward_.resize(faces);
    origin_.resize(faces);
    e0_.resize(faces);
    u0_.resize(faces);
    local_.resize(p_.corners.size());
    partStart_.resize(std::size_t(faces) + 1);
    const Vec3d mean = vertexMean(p_);
    double reachSum = 0;
    for (int f = 0; f < faces; ++f) {
        Status s = prepareFace(f, mean);
        if (!s) return s;
        const std::int32_t first = p_.faceStart[f];
        for (std::int32_t i = first; i < p_.faceStart[f + 1]; ++i)
            reachSum += length(local_[i]) / p_.faceSize(f);
    }
    partStart_[faces] = std::int32_t(partCorners_.size()) - 1;
    meanEdge_ = meanEdgeLength(p_, topology_);
    cellSize_ = std::max(2 * reachSum / faces, meanEdge_);
    tolerance_ = o_.tolerance * meanEdge_;

    const int vertices = p_.vertexCount();
    vertexEdgeStart_.assign(std::size_t(vertices) + 1, 0);
    for (const Edge& e : topology_.edges) ++vertexEdgeStart_[e.a + 1], ++vertexEdgeStart_[e.b + 1];
    for (int v = 0; v < vertices; ++v) vertexEdgeStart_[v + 1] += vertexEdgeStart_[v];
    vertexEdges_.resize(std::size_t(vertexEdgeStart_[vertices]));
    std::vector<std::int32_t> fill(vertexEdgeStart_.begin(), vertexEdgeStart_.end() - 1);
    for (std::size_t e = 0; e < topology_.edges.size(); ++e) {
        vertexEdges_[fill[topology_.edges[e].a]++] = std::int32_t(e);
        vertexEdges_[fill[topology_.edges[e].b]++] = std::int32_t(e);
    }
    // A face of many corners has long thin neighbours round it, a corner
    // of many faces long thin faces fanned round it.
    int most = 0;
    for (int f = 0; f < faces; ++f) most = std::max(most, p_.faceSize(f));
    for (int v = 0; v < vertices; ++v) most = std::max(most, vertexEdgeStart_[v + 1] - vertexEdgeStart_[v]);
    thin_ = most > 2 * partCorners;
    return Done{};
}

// The steepest-edge cut: from each vertex, the edge climbing most steeply
// towards `c` (none from a vertex that is highest among its neighbours).
std::vector<std::uint8_t> Unfolder::steepestCuts(Vec3d c) const {
    std::vector<std::uint8_t> cut(topology_.edges.size(), 0);
    for (int v = 0; v < p_.vertexCount(); ++v) {
        const Vec3d at = widen(p_.vertices[v]);
        double best = 0;
        std::int32_t bestEdge = -1;
        for (std::int32_t i = vertexEdgeStart_[v]; i < vertexEdgeStart_[v + 1]; ++i) {
            const Edge& e = topology_.edges[vertexEdges_[i]];
            const Vec3d d = widen(p_.vertices[e.a == v ? e.b : e.a]) - at;
            const double climb = dot(d, c) / length(d);
            if (climb > best) best = climb, bestEdge = vertexEdges_[i];
        }
        if (bestEdge >= 0) cut[bestEdge] = 1;
    }
    return cut;
}

// A spanning forest of the faces: the edges of `edgeOrder` taken in turn
// as folds wherever they join two faces not yet joined. Per edge, 1 for a
// fold.
std::vector<std::uint8_t> Unfolder::foldsPreferring(const std::vector<std::int32_t>& edgeOrder) const {
    DisjointSets sets(p_.faceCount());
    std::vector<std::uint8_t> fold(topology_.edges.size(), 0);
    for (std::int32_t e : edgeOrder)
        if (topology_.edges[e].faces[1] >= 0 && sets.join(topology_.edges[e].faces[0], topology_.edges[e].faces[1]))
            fold[e] = 1;
    return fold;
}

Net Unfolder::finish(std::string method) {
    Net net;
    const int faces = p_.faceCount();
    net.corners = net_;
    net.piece = piece_;
    net.parent = parent_;
    net.hingeSlot = hingeSlot_;
    net.order = order_;
    net.turn.assign(std::size_t(faces), 0.0);
    std::vector<std::uint8_t> fold(topology_.edges.size(), 0);
    for (int f = 0; f < faces; ++f) {
        const std::int32_t slot = hingeSlot_[f];
        if (slot < 0) continue;
        fold[topology_.cornerEdge[slot]] = 1;
        // The turn that takes the face from the far side of the fold, where
        // the net has it, to where it meets its parent on the model.
        const std::int32_t ps = otherSide(slot);
        const int pf = topology_.face[ps];
        const Vec3d a = widen(p_.vertices[p_.corners[slot]]);
        const Vec3d e = unit(widen(p_.vertices[p_.corners[nextSlot(p_, f, slot)]]) - a);
        const Vec3d intoChild = squareTo(cross(normal_[f], e), e);
        const Vec3d parentRun = unit(widen(p_.vertices[p_.corners[nextSlot(p_, pf, ps)]]) -
                                  widen(p_.vertices[p_.corners[ps]]));
        const Vec3d intoParent = squareTo(cross(normal_[pf], parentRun), e);
        const Vec3d from = -intoParent;
        net.turn[f] = std::atan2(dot(e, cross(from, intoChild)), dot(from, intoChild));
    }
    net.pieces = pieces_;
    for (int f = 0; f < faces; ++f) {
        if (parent_[f] >= 0) continue;
        NetPiece& piece = net.pieces[std::size_t(piece_[f])];
        piece.root = f;
        piece.origin = origin_[f];
        piece.ex = e0_[f];
        piece.ey = placement_[f].sigma * u0_[f];
    }
    net.cut.assign(topology_.edges.size(), 0);
    for (int f : order_)
        for (std::int32_t s = p_.faceStart[f]; s < p_.faceStart[f + 1]; ++s) {
            const std::int32_t e = topology_.cornerEdge[s];
            if (!fold[e] && net.cut[e] == 0) net.cut[e] = topology_.edges[e].faces[1] < 0 ? -1 : ++net.cutCount;
        }
    net.partStart = partStart_;
    net.partCorners = partCorners_;
    net.partSlots = partSlots_;
    net.thinFaces = thin_;
    net.topology = std::move(topology_);
    net.method = std::move(method);
    net.attempts = attempts_;
    return net;
}

Error Unfolder::haltedFailure() const {
    if (o_.stop && o_.stop->load()) return failure(tr("stopped before its net was made"));
    return failure(fill(tr("its faces crowd each other too closely to check a net for overlaps within {1} tests"),
                        {std::to_string(o_.overlapBudget)}));
}

Result<Net> Unfolder::run() {
    Status ready = prepare();
    if (!ready) return ready.error();
    const int faces = p_.faceCount();
    net_.resize(p_.corners.size());
    placement_.resize(std::size_t(faces));
    parent_.assign(std::size_t(faces), -1);
    hingeSlot_.assign(std::size_t(faces), -1);
    piece_.assign(std::size_t(faces), -1);
    laid_.assign(std::size_t(faces), 0);

    std::mt19937_64 random(20240917);
    std::normal_distribution<double> gauss;
    const std::size_t edgeCount = topology_.edges.size();
    auto steepestOrder = [&](Vec3d c) {
        const std::vector<std::uint8_t> cut = steepestCuts(c);
        std::vector<std::int32_t> order;
        order.reserve(edgeCount);
        for (std::size_t e = 0; e < edgeCount; ++e)
            if (!cut[e]) order.push_back(std::int32_t(e));
        for (std::size_t e = 0; e < edgeCount; ++e)
            if (cut[e]) order.push_back(std::int32_t(e));
        return order;
    };
    for (int i = 0; i < o_.steepestTries && work_ < o_.workLimit; ++i) {
        const Vec3d c = i == 0 ? unit(Vec3d{0.31, 0.88, 0.37}) : unit(Vec3d{gauss(random), gauss(random), gauss(random)});
        std::vector<std::int32_t> order = steepestOrder(c);
        if (tryTree(order)) return finish("steepest edge");
        if (halted_) return haltedFailure();
    }
    std::vector<std::int32_t> order(edgeCount);
    std::iota(order.begin(), order.end(), 0);
    for (int i = 0; i < o_.randomTries && work_ < o_.workLimit; ++i) {
        std::shuffle(order.begin(), order.end(), random);
        if (tryTree(order)) return finish("random spanning tree");
        if (halted_) return haltedFailure();
    }
    // No net in one piece within the budget: cut trees where they overlap
    // and join the pieces again where they can be, keeping the fewest.
    std::mt19937_64 again(20240918);
    std::vector<std::uint8_t> best;
    long bestPieces = -1;
    for (int i = 0; i < o_.splitTries && (i == 0 || work_ < 2 * o_.workLimit) && !halted_; ++i) {
        const Vec3d c = i == 0 ? unit(Vec3d{0.31, 0.88, 0.37}) : unit(Vec3d{gauss(again), gauss(again), gauss(again)});
        std::vector<std::uint8_t> fold = splitTree(foldsPreferring(steepestOrder(c)));
        mergePieces(fold, 2 * o_.workLimit - work_);
        const long pieces = faces - long(std::count(fold.begin(), fold.end(), 1));
        if (bestPieces < 0 || pieces < bestPieces) bestPieces = pieces, best = std::move(fold);
    }
    // Laid out again from other roots, a join that passed could fail by
    // rounding; the split cuts it again then.
    if (!halted_) splitTree(best);
    if (halted_) return haltedFailure();
    return finish("greedy split");
}

double meanEdgeLength(const Polyhedron& p, const EdgeTopology& topology) {
    if (topology.edges.empty()) return 0.0;
    double sum = 0;
    for (const Edge& e : topology.edges) sum += length(widen(p.vertices[e.b]) - widen(p.vertices[e.a]));
    return sum / double(topology.edges.size());
}

Result<Net> unfold(const Polyhedron& p, const UnfoldOptions& options) {
    return Unfolder(p, options).run();
}

}  // namespace pd
