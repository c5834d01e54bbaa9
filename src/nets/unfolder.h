#pragma once

#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "nets/overlap_grid.h"
#include "nets/unfolding.h"

namespace pd {

// The search behind unfold(), shared by its two source files: the faces
// made ready and the search run (nets/unfolding.cpp), and the pieces laid
// out, split and joined (nets/piece_laying.cpp). Not for use elsewhere.

class DisjointSets {
public:
    explicit DisjointSets(int n) : up_(std::size_t(n)) { std::iota(up_.begin(), up_.end(), 0); }
    int find(int a) {
        while (up_[a] != a) a = up_[a] = up_[up_[a]];
        return a;
    }
    bool join(int a, int b) {
        a = find(a);
        b = find(b);
        if (a == b) return false;
        up_[std::max(a, b)] = std::min(a, b);
        return true;
    }

private:
    std::vector<int> up_;
};

// One face laid in the net: a turn (possibly mirrored: sigma -1) of its
// own flat coordinates, then a shift.
struct Placement {
    double c = 1, s = 0;  // the turn
    int sigma = 1;        // -1: the face's own y is mirrored first
    P2 shift;
    P2 apply(P2 l) const {
        const double y = sigma * l.y;
        return {c * l.x - s * y + shift.x, s * l.x + c * y + shift.y};
    }
};

class Unfolder {
public:
    Unfolder(const Polyhedron& p, const UnfoldOptions& o) : p_(p), o_(o) {}

    // The net, or why there is none, as unfold() gives them.
    Result<Net> run();

private:
    Status prepare();
    Status prepareFace(int f, Vec3d mean);
    void cutIntoSmallParts(std::int32_t first, int k);
    std::vector<std::uint8_t> steepestCuts(Vec3d c) const;
    std::vector<std::uint8_t> foldsPreferring(const std::vector<std::int32_t>& edgeOrder) const;
    template <typename OnOverlap>
    bool growPiece(int root, int piece, const std::vector<std::uint8_t>& fold, const std::vector<std::uint8_t>& skip,
                   OverlapGrid& grid, OnOverlap onOverlap);
    bool layPiece(int root, int piece, const std::vector<std::uint8_t>& fold, OverlapGrid& grid);
    bool layAll(const std::vector<std::uint8_t>& fold);
    bool tryTree(const std::vector<std::int32_t>& edgeOrder);
    std::vector<std::uint8_t> splitTree(std::vector<std::uint8_t> fold);
    void mergePieces(std::vector<std::uint8_t>& fold, long budget);
    Placement placeRoot(int f) const;
    Placement placeChild(int c, std::int32_t slot) const;
    void layFace(int f, const Placement& m, std::vector<P2>& out) const;
    bool overlapsPiece(int f, const std::vector<P2>& at, OverlapGrid& grid) const;
    void addToPiece(int f, const std::vector<P2>& at, OverlapGrid& grid) const;
    void commit(int f, int piece, int parent, std::int32_t slot, const Placement& m,
                const std::vector<P2>& at);
    Net finish(std::string method);
    Error haltedFailure() const;
    std::int32_t otherSide(std::int32_t slot) const { return topology_.twin[slot]; }

    const Polyhedron& p_;
    const UnfoldOptions& o_;
    EdgeTopology topology_;
    std::vector<Vec3d> normal_;               // per face: unit, turning with its corners
    std::vector<std::uint8_t> outward_;    // per face: normal_ points away from the middle
    std::vector<Vec3d> origin_, e0_, u0_;     // per face: its own flat frame
    std::vector<P2> local_;                // per slot: in its face's own frame, turning left
    std::vector<std::int32_t> partStart_;  // per face: its convex parts partStart_[f] ..
    std::vector<std::int32_t> partCorners_{0};
    std::vector<std::int32_t> partSlots_;
    std::vector<std::int32_t> vertexEdgeStart_, vertexEdges_;
    double meanEdge_ = 0, cellSize_ = 0, tolerance_ = 0;
    bool thin_ = false;  // faces or corners with many corners or faces round them

    // The net being built.
    std::vector<P2> net_;
    std::vector<Placement> placement_;
    std::vector<std::int32_t> piece_, parent_, hingeSlot_, order_;
    std::vector<int> laid_;  // per face: stamp_ when laid in the current layout
    int stamp_ = 0;
    std::vector<NetPiece> pieces_;
    int attempts_ = 0;
    long work_ = 0;
    std::int64_t spent_ = 0;  // overlap tests of grids no longer in use
    bool halted_ = false;     // out of budget or asked to stop
};

}  // namespace pd
