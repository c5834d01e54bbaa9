#include "nets/unfolder.h"

#include <algorithm>
#include <cmath>

namespace pd {

Placement Unfolder::placeRoot(int f) const {
    Placement m;
    m.sigma = outward_[f] ? 1 : -1;  // the outside up
    return m;
}

// Where face c lies when laid beside its placed neighbour across the edge
// that starts at its slot `slot`: on the far side of that edge from the
// neighbour, the edge's two corners where the neighbour has them.
Placement Unfolder::placeChild(int c, std::int32_t slot) const {
    const std::int32_t ps = otherSide(slot);
    const int pf = topology_.face[ps];
    const bool consistent = p_.corners[ps] != p_.corners[slot];  // the faces run the edge oppositely
    const P2 a = consistent ? net_[nextSlot(p_, pf, ps)] : net_[ps];
    const P2 b = consistent ? net_[ps] : net_[nextSlot(p_, pf, ps)];
    const bool parentLeft = consistent == (placement_[pf].sigma < 0);
    Placement m;
    m.sigma = parentLeft ? -1 : 1;
    const P2 q1 = local_[slot], q2 = local_[nextSlot(p_, c, slot)];
    const P2 d{q2.x - q1.x, m.sigma * (q2.y - q1.y)}, to = b - a;
    const double scale = length(d) * length(to);
    m.c = dot(d, to) / scale;
    m.s = cross(d, to) / scale;
    m.shift = {0, 0};
    m.shift = a - m.apply(q1);
    return m;
}

void Unfolder::layFace(int f, const Placement& m, std::vector<P2>& out) const {
    out.clear();
    for (std::int32_t s = p_.faceStart[f]; s < p_.faceStart[f + 1]; ++s) out.push_back(m.apply(local_[s]));
}

bool Unfolder::overlapsPiece(int f, const std::vector<P2>& at, OverlapGrid& grid) const {
    P2 part[3];
    std::vector<P2> big;
    const std::int32_t first = p_.faceStart[f];
    for (std::int32_t q = partStart_[f]; q < partStart_[f + 1]; ++q) {
        const int n = partCorners_[q + 1] - partCorners_[q];
        P2* pts = part;
        if (n > 3) {
            big.resize(std::size_t(n));
            pts = big.data();
        }
        for (int i = 0; i < n; ++i) pts[i] = at[partSlots_[partCorners_[q] + i] - first];
        if (grid.overlaps(pts, n, f)) return true;
    }
    return false;
}

void Unfolder::addToPiece(int f, const std::vector<P2>& at, OverlapGrid& grid) const {
    std::vector<P2> pts;
    const std::int32_t first = p_.faceStart[f];
    for (std::int32_t q = partStart_[f]; q < partStart_[f + 1]; ++q) {
        pts.clear();
        for (std::int32_t i = partCorners_[q]; i < partCorners_[q + 1]; ++i)
            pts.push_back(at[partSlots_[i] - first]);
        grid.add(pts.data(), int(pts.size()), f);
    }
}

void Unfolder::commit(int f, int piece, int parent, std::int32_t slot, const Placement& m,
                      const std::vector<P2>& at) {
    const std::int32_t first = p_.faceStart[f];
    std::copy(at.begin(), at.end(), net_.begin() + first);
    if (slot >= 0) {
        // The fold's two corners exactly where the parent has them, so the
        // fold is one line.
        const std::int32_t ps = otherSide(slot);
        const std::int32_t pnext = nextSlot(p_, parent, ps);
        const bool consistent = p_.corners[ps] != p_.corners[slot];
        net_[slot] = consistent ? net_[pnext] : net_[ps];
        net_[nextSlot(p_, f, slot)] = consistent ? net_[ps] : net_[pnext];
    }
    placement_[f] = m;
    laid_[f] = stamp_;
    piece_[f] = piece;
    parent_[f] = parent;
    hingeSlot_[f] = slot;
    order_.push_back(f);
    ++work_;
}

// Lays out the piece of `root`: the faces `fold` joins to it, breadth
// first, numbered `piece`, passing over faces laid in this round or marked
// in `skip` (empty: none). A face that would overlap one laid before goes
// to onOverlap(slot on its fold): true passes it over and goes on, false
// stops the piece there and gives false.
template <typename OnOverlap>
bool Unfolder::growPiece(int root, int piece, const std::vector<std::uint8_t>& fold,
                         const std::vector<std::uint8_t>& skip, OverlapGrid& grid, OnOverlap onOverlap) {
    grid.clear();
    std::size_t head = order_.size();
    std::vector<P2> at;
    const Placement m = placeRoot(root);
    layFace(root, m, at);
    commit(root, piece, -1, -1, m, at);
    addToPiece(root, at, grid);
    while (head < order_.size()) {
        if (spent_ + grid.tests() > o_.overlapBudget || (o_.stop && o_.stop->load(std::memory_order_relaxed))) {
            halted_ = true;
            return false;
        }
        const int f = order_[head++];
        for (std::int32_t s = p_.faceStart[f]; s < p_.faceStart[f + 1]; ++s) {
            if (!fold[topology_.cornerEdge[s]]) continue;
            const std::int32_t cs = otherSide(s);
            const int c = topology_.face[cs];
            if (laid_[c] == stamp_ || (!skip.empty() && skip[c])) continue;
            const Placement mc = placeChild(c, cs);
            layFace(c, mc, at);
            if (overlapsPiece(c, at, grid)) {
                if (onOverlap(cs)) continue;
                return false;
            }
            commit(c, piece, f, cs, mc, at);
            addToPiece(c, at, grid);
        }
    }
    return true;
}

// The piece of `root` as growPiece lays it, given up at the first overlap.
bool Unfolder::layPiece(int root, int piece, const std::vector<std::uint8_t>& fold, OverlapGrid& grid) {
    ++stamp_;
    return growPiece(root, piece, fold, {}, grid, [](std::int32_t) { return false; });
}

// Lays out every piece of the forest `fold`, each from its lowest-numbered
// face; true when no two faces of a piece overlap.
bool Unfolder::layAll(const std::vector<std::uint8_t>& fold) {
    const int faces = p_.faceCount();
    std::vector<std::uint8_t> done(std::size_t(faces), 0);
    order_.clear();
    pieces_.clear();
    OverlapGrid grid(cellSize_, tolerance_, thin_);
    bool whole = true;
    for (int root = 0; root < faces && whole; ++root) {
        if (done[root]) continue;
        const std::size_t from = order_.size();
        pieces_.push_back({});
        whole = layPiece(root, int(pieces_.size()) - 1, fold, grid);
        for (std::size_t i = from; i < order_.size(); ++i) done[order_[i]] = 1;
    }
    spent_ += grid.tests();
    return whole;
}

bool Unfolder::tryTree(const std::vector<std::int32_t>& edgeOrder) {
    ++attempts_;
    return layAll(foldsPreferring(edgeOrder));
}

// Lays out the tree `fold` piece by piece; a face that would overlap its
// piece is cut off with everything hanging from it, to start a piece of
// its own. Gives the folds that are left.
std::vector<std::uint8_t> Unfolder::splitTree(std::vector<std::uint8_t> fold) {
    const int faces = p_.faceCount();
    ++stamp_;
    order_.clear();
    pieces_.clear();
    OverlapGrid grid(cellSize_, tolerance_, thin_);
    std::vector<std::int32_t> roots;  // faces cut off, as slots of their fold
    std::vector<std::uint8_t> cutOff(std::size_t(faces), 0);
    for (int next = 0; (next < faces || !roots.empty()) && !halted_;) {
        int root;
        if (!roots.empty()) {
            const std::int32_t slot = roots.back();
            roots.pop_back();
            root = topology_.face[slot];
            fold[topology_.cornerEdge[slot]] = 0;
        } else {
            root = next++;
            if (laid_[root] == stamp_) continue;
        }
        pieces_.push_back({});
        // A face that would overlap is cut off, to start a piece of its own.
        growPiece(root, int(pieces_.size()) - 1, fold, cutOff, grid, [&](std::int32_t slot) {
            roots.push_back(slot);
            cutOff[topology_.face[slot]] = 1;
            return true;
        });
    }
    spent_ += grid.tests();
    return fold;
}

// Joins pieces along cut edges wherever the joined piece has no overlap,
// smallest pieces first, while the work budget lasts.
void Unfolder::mergePieces(std::vector<std::uint8_t>& fold, long budget) {
    const int faces = p_.faceCount();
    DisjointSets sets(faces);
    std::vector<int> size(std::size_t(faces), 1);
    for (std::size_t e = 0; e < fold.size(); ++e)
        if (fold[e]) {
            const int a = sets.find(topology_.edges[e].faces[0]), b = sets.find(topology_.edges[e].faces[1]);
            sets.join(a, b);
            size[sets.find(a)] = size[a] + size[b];
        }
    std::vector<std::int32_t> candidates;
    for (std::size_t e = 0; e < fold.size(); ++e)
        if (!fold[e] && topology_.edges[e].faces[1] >= 0 &&
            sets.find(topology_.edges[e].faces[0]) != sets.find(topology_.edges[e].faces[1]))
            candidates.push_back(std::int32_t(e));
    auto smaller = [&](std::int32_t e) {
        return std::min(size[sets.find(topology_.edges[e].faces[0])], size[sets.find(topology_.edges[e].faces[1])]);
    };
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&](std::int32_t x, std::int32_t y) { return smaller(x) < smaller(y); });
    OverlapGrid grid(cellSize_, tolerance_, thin_);
    const long start = work_;
    for (std::int32_t e : candidates) {
        if (work_ - start > budget || halted_) break;
        const int a = sets.find(topology_.edges[e].faces[0]), b = sets.find(topology_.edges[e].faces[1]);
        if (a == b) continue;
        fold[e] = 1;
        order_.clear();
        if (!layPiece(topology_.edges[e].faces[0], 0, fold, grid)) {
            fold[e] = 0;
            continue;
        }
        sets.join(a, b);
        size[sets.find(a)] = size[a] + size[b];
    }
    spent_ += grid.tests();
}

}  // namespace pd
