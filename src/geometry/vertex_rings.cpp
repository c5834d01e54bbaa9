#include "geometry/vertex_rings.h"

#include "base/huge_pages.h"
#include "base/translate.h"

namespace pd {

Status buildVertexRings(const Polyhedron& p, const EdgeTopology& topology, VertexRings& rings,
                        int numberBase) {
    const EdgeTopology& t = topology;
    const int vertexCount = p.vertexCount();
    std::vector<std::int32_t> firstSlot(vertexCount, -1);
    std::vector<std::int32_t> degree(vertexCount, 0);
    for (std::size_t s = p.corners.size(); s-- > 0;) {
        firstSlot[p.corners[s]] = static_cast<std::int32_t>(s);
        ++degree[p.corners[s]];
    }
    auto broken = [&](int v) -> Status {
        return failure(fill(tr("the faces around vertex {1} do not form one ring"), {std::to_string(v + numberBase)}));
    };

    rings.faces.clear();
    reserveHuge(rings.faces, p.corners.size());
    rings.start.assign(1, 0);
    rings.start.reserve(static_cast<std::size_t>(vertexCount) + 1);
    for (int v = 0; v < vertexCount; ++v) {
        if (firstSlot[v] < 0) {
            rings.start.push_back(static_cast<std::int32_t>(rings.faces.size()));
            continue;
        }
        // Leaving each face by the edge that arrives at v keeps the ring
        // turning the way the faces turn; `forward` flips where a neighbour
        // is listed the other way round.
        std::int32_t slot = firstSlot[v];
        bool forward = false;
        int steps = 0;
        do {
            if (++steps > degree[v]) return broken(v);
            rings.faces.push_back(t.face[slot]);
            const std::int32_t other = t.twin[forward ? slot : prevSlot(p, t, slot)];
            if (other < 0) return broken(v);
            if (p.corners[other] == v) {
                slot = other;
                forward = false;
            } else {
                slot = nextSlot(p, t, other);
                forward = true;
            }
            if (p.corners[slot] != v) return broken(v);
        } while (slot != firstSlot[v]);
        if (steps != degree[v]) return broken(v);
        rings.start.push_back(static_cast<std::int32_t>(rings.faces.size()));
    }
    return Done{};
}

}  // namespace pd
