#include "model/vertex_rings.h"

#include "model/edge_index.h"

namespace {

// The corner places ("slots", indices into corners) of a polyhedron with
// what the walk needs to know of each: its face and the edge from it to the
// next corner of that face, and for each edge the (at most two) slots it
// starts from.
struct SlotTables {
    std::vector<std::int32_t> faceOf;
    std::vector<std::int32_t> edgeFrom;
    std::vector<std::int32_t> sides;  // two per edge, -1 where missing
};

SlotTables slotTables(const Polyhedron& p, const std::vector<Edge>& edges) {
    SlotTables t;
    EdgeIndex index(edges.size());
    for (std::size_t e = 0; e < edges.size(); ++e)
        index.findOrAdd(edges[e].a, edges[e].b, static_cast<std::int32_t>(e));
    t.faceOf.resize(p.corners.size());
    t.edgeFrom.resize(p.corners.size());
    t.sides.assign(2 * edges.size(), -1);
    for (int f = 0; f < p.faceCount(); ++f) {
        const int begin = p.faceStart[f], end = p.faceStart[f + 1];
        for (int s = begin; s < end; ++s) {
            t.faceOf[s] = f;
            const std::int32_t u = p.corners[s], v = p.corners[s + 1 < end ? s + 1 : begin];
            const std::int32_t e = u == v ? -1 : index.find(u, v);
            t.edgeFrom[s] = e;
            if (e < 0) continue;
            // A third slot on one edge is left out; the walk then finds the
            // ring broken.
            if (t.sides[2 * e] < 0) t.sides[2 * e] = s;
            else if (t.sides[2 * e + 1] < 0) t.sides[2 * e + 1] = s;
        }
    }
    return t;
}

}  // namespace

bool buildVertexRings(const Polyhedron& p, const std::vector<Edge>& edges, VertexRings& rings,
                      std::string& error, int numberBase) {
    const SlotTables t = slotTables(p, edges);
    const int vertexCount = p.vertexCount();
    std::vector<std::int32_t> firstSlot(vertexCount, -1);
    std::vector<std::int32_t> degree(vertexCount, 0);
    for (std::size_t s = p.corners.size(); s-- > 0;) {
        firstSlot[p.corners[s]] = static_cast<std::int32_t>(s);
        ++degree[p.corners[s]];
    }
    auto nextSlot = [&](std::int32_t s) {
        return s + 1 < p.faceStart[t.faceOf[s] + 1] ? s + 1 : p.faceStart[t.faceOf[s]];
    };
    auto prevSlot = [&](std::int32_t s) {
        return s > p.faceStart[t.faceOf[s]] ? s - 1 : p.faceStart[t.faceOf[s] + 1] - 1;
    };
    auto broken = [&](int v) {
        error = "the faces around vertex " + std::to_string(v + numberBase) +
                " do not form one ring";
        return false;
    };

    rings.faces.clear();
    rings.faces.reserve(p.corners.size());
    rings.start.assign(1, 0);
    rings.start.reserve(static_cast<std::size_t>(vertexCount) + 1);
    for (int v = 0; v < vertexCount; ++v) {
        if (firstSlot[v] < 0) {
            error = "vertex " + std::to_string(v + numberBase) + " is in no face";
            return false;
        }
        // Leaving each face by the edge that arrives at v keeps the ring
        // turning the way the faces turn; `forward` flips where a neighbour
        // is listed the other way round.
        std::int32_t slot = firstSlot[v];
        bool forward = false;
        int steps = 0;
        do {
            if (++steps > degree[v]) return broken(v);
            rings.faces.push_back(t.faceOf[slot]);
            const std::int32_t leaving = forward ? slot : prevSlot(slot);
            const std::int32_t e = t.edgeFrom[leaving];
            if (e < 0) return broken(v);
            const std::int32_t other = t.sides[2 * e] == leaving ? t.sides[2 * e + 1] : t.sides[2 * e];
            if (other < 0) return broken(v);
            if (p.corners[other] == v) {
                slot = other;
                forward = false;
            } else {
                slot = nextSlot(other);
                forward = true;
            }
            if (p.corners[slot] != v) return broken(v);
        } while (slot != firstSlot[v]);
        if (steps != degree[v]) return broken(v);
        rings.start.push_back(static_cast<std::int32_t>(rings.faces.size()));
    }
    return true;
}
