#include "geometry/edges.h"

#include <algorithm>

#include "base/huge_pages.h"
#include "base/translate.h"

namespace pd {

namespace {

// One corner pair (u, v) with u != v, filed under min(u, v).
struct PairEntry {
    std::int32_t upper;  // max(u, v)
    std::int32_t slot;   // the slot of u
};

// Sorts one vertex's pairs by their upper vertex, keeping slot order among
// equals (the entries arrive in slot order), so the first of each run of
// equals is the edge's first appearance.
void sortByUpper(PairEntry* first, PairEntry* last) {
    auto byUpper = [](const PairEntry& x, const PairEntry& y) { return x.upper < y.upper; };
    if (last - first > 16) {
        std::stable_sort(first, last, byUpper);
        return;
    }
    for (PairEntry* i = first + 1; i < last; ++i)
        for (PairEntry* j = i; j > first && byUpper(*j, *(j - 1)); --j) std::swap(*j, *(j - 1));
}

}  // namespace

EdgeTopology edgeTopology(const Polyhedron& p) {
    EdgeTopology t;
    const std::size_t slots = p.corners.size();
    const int vertexCount = p.vertexCount();
    auto nextCorner = [&](int f, std::int32_t s) { return p.corners[nextSlot(p, f, s)]; };

    // The pairs, grouped by lower vertex with a counting sort.
    std::vector<std::int32_t> groupStart(static_cast<std::size_t>(vertexCount) + 1, 0);
    reserveHuge(t.face, slots);
    for (int f = 0; f < p.faceCount(); ++f)
        for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s) {
            t.face.push_back(f);
            const std::int32_t u = p.corners[s], v = nextCorner(f, s);
            if (u != v) ++groupStart[std::min(u, v) + 1];
        }
    for (int v = 0; v < vertexCount; ++v) groupStart[v + 1] += groupStart[v];
    std::vector<PairEntry> pairs;
    reserveHuge(pairs, static_cast<std::size_t>(groupStart[vertexCount]));
    pairs.resize(static_cast<std::size_t>(groupStart[vertexCount]));
    std::vector<std::int32_t> fill(groupStart.begin(), groupStart.end() - 1);
    for (int f = 0; f < p.faceCount(); ++f)
        for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s) {
            const std::int32_t u = p.corners[s], v = nextCorner(f, s);
            if (u != v) pairs[fill[std::min(u, v)]++] = PairEntry{std::max(u, v), s};
        }

    // Each slot points at the first slot of its edge (itself if it is the
    // first); -1 for a corner followed by itself.
    reserveHuge(t.cornerEdge, slots);
    t.cornerEdge.assign(slots, -1);
    for (int v = 0; v < vertexCount; ++v) {
        PairEntry* first = pairs.data() + groupStart[v];
        PairEntry* last = pairs.data() + groupStart[v + 1];
        sortByUpper(first, last);
        for (PairEntry* run = first; run < last;) {
            PairEntry* end = run;
            while (end < last && end->upper == run->upper) ++end;
            for (PairEntry* e = run; e < end; ++e) t.cornerEdge[e->slot] = run->slot;
            run = end;
        }
    }
    std::vector<PairEntry>().swap(pairs);

    // Edges numbered in slot order: a first slot comes before every other
    // slot of its edge, so by the time those are reached it holds the number.
    reserveHuge(t.edges, slots / 2 + 1);
    reserveHuge(t.faceCounts, slots / 2 + 1);
    reserveHuge(t.sides, slots + 2);
    reserveHuge(t.twin, slots);
    t.twin.assign(slots, -1);
    for (int f = 0; f < p.faceCount(); ++f)
        for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s) {
            const std::int32_t first = t.cornerEdge[s];
            if (first < 0) continue;
            if (first == s) {
                const std::int32_t u = p.corners[s], v = nextCorner(f, s);
                t.cornerEdge[s] = static_cast<std::int32_t>(t.edges.size());
                t.edges.push_back(Edge{std::min(u, v), std::max(u, v), {f, -1}});
                t.faceCounts.push_back(1);
                t.sides.push_back(s);
                t.sides.push_back(-1);
                continue;
            }
            const std::int32_t e = t.cornerEdge[first];
            t.cornerEdge[s] = e;
            if (++t.faceCounts[e] == 2) {
                t.edges[e].faces[1] = f;
                t.sides[2 * e + 1] = s;
                t.twin[s] = t.sides[2 * e];
                t.twin[t.sides[2 * e]] = s;
            }
        }
    return t;
}

VertexNeighbours vertexNeighbours(const EdgeTopology& t, int vertexCount) {
    VertexNeighbours n;
    n.start.assign(static_cast<std::size_t>(vertexCount) + 1, 0);
    for (const Edge& e : t.edges) ++n.start[e.a + 1], ++n.start[e.b + 1];
    for (int v = 0; v < vertexCount; ++v) n.start[v + 1] += n.start[v];
    n.to.resize(static_cast<std::size_t>(n.start[vertexCount]));
    std::vector<std::int32_t> fill(n.start.begin(), n.start.end() - 1);
    for (const Edge& e : t.edges) {
        n.to[fill[e.a]++] = e.b;
        n.to[fill[e.b]++] = e.a;
    }
    return n;
}

Closedness closednessOf(const EdgeTopology& topology, int numberBase) {
    Closedness result;
    for (std::size_t e = 0; e < topology.edges.size(); ++e) {
        const int count = topology.faceCounts[e];
        if (count == 2) continue;
        const Edge& edge = topology.edges[e];
        const std::string a = std::to_string(edge.a + numberBase), b = std::to_string(edge.b + numberBase);
        result.closed = false;
        result.message = count == 1 ? fill(tr("edge {1}-{2} has only one face"), {a, b})
                                    : fill(trn("edge {1}-{2} is shared by {3} face", "edge {1}-{2} is shared by {3} faces",
                                               static_cast<unsigned long>(count)),
                                           {a, b, std::to_string(count)});
        break;
    }
    return result;
}

std::vector<Edge> deriveEdges(const Polyhedron& p) {
    return std::move(edgeTopology(p).edges);
}

}  // namespace pd
