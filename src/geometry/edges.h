#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geometry/polyhedron.h"

namespace pd {

// Whether every edge of a polyhedron lies between exactly two faces, and if
// not, the first edge (in edge order) where that fails, as a line for the
// user: "edge 3-7 has only one face" or "edge 3-7 is shared by 3 faces".
struct Closedness {
    bool closed = true;
    std::string message;
};

// A polyhedron's corners as half-edges: slot s (an index into
// Polyhedron::corners) runs from corners[s] to the next corner of its face.
// What walks from face to face, around a vertex or along the edges need.
struct EdgeTopology {
    std::vector<Edge> edges;               // as deriveEdges gives them
    std::vector<std::int32_t> faceCounts;  // per edge: how many faces name it
    std::vector<std::int32_t> cornerEdge;  // per slot: the edge to the face's next corner, or -1
    std::vector<std::int32_t> sides;       // per edge, two entries: the first two slots it starts from, or -1
    std::vector<std::int32_t> face;        // per slot: the face it is a corner of
    // Per slot: the slot along the same edge in the face across it (the
    // other way round where the two faces turn alike); -1 where there is
    // none (an edge of one face, a corner followed by itself) and from the
    // third slot on of an edge of more faces.
    std::vector<std::int32_t> twin;
};

// The edges of `p` and the tables above, built by grouping the corner pairs
// by their lower vertex (no hashing, so models numbered with some locality
// are read mostly in order). Linear in the corners, apart from sorting the
// pairs at one vertex, which matters only for vertices in very many faces.
// All the tables are always filled: every closed model's vertex rings walk
// the faces and twins as it loads. Corners must be within 0..vertexCount()-1.
EdgeTopology edgeTopology(const Polyhedron& p);

// The slot after `slot` around face `face` of `p`, the last one's being the first.
inline std::int32_t nextSlot(const Polyhedron& p, std::int32_t face, std::int32_t slot) {
    return slot + 1 < p.faceStart[face + 1] ? slot + 1 : p.faceStart[face];
}

// The slot before `slot` around face `face` of `p`, the first one's being the last.
inline std::int32_t prevSlot(const Polyhedron& p, std::int32_t face, std::int32_t slot) {
    return slot > p.faceStart[face] ? slot - 1 : p.faceStart[face + 1] - 1;
}

// The same, the face looked up in `t`, the topology of `p`.
inline std::int32_t nextSlot(const Polyhedron& p, const EdgeTopology& t, std::int32_t slot) {
    return nextSlot(p, t.face[slot], slot);
}
inline std::int32_t prevSlot(const Polyhedron& p, const EdgeTopology& t, std::int32_t slot) {
    return prevSlot(p, t.face[slot], slot);
}

// The vertices joined to each vertex by an edge, laid out flat: those of
// vertex v are to[start[v]] .. to[start[v + 1] - 1], each once, in edge order.
struct VertexNeighbours {
    std::vector<std::int32_t> start;
    std::vector<std::int32_t> to;
};

// The neighbours of the `vertexCount` vertices of the polyhedron whose
// topology is `t`. Linear in the edges.
VertexNeighbours vertexNeighbours(const EdgeTopology& t, int vertexCount);

// Closedness of a polyhedron from its topology, vertex numbers in messages
// counted from `numberBase`.
Closedness closednessOf(const EdgeTopology& topology, int numberBase);

// The edges of `p`: every pair of consecutive corners of every face (the
// last corner with the first included), each undirected edge once, in the
// order of first appearance, with a < b, faces[0] the first face naming it
// and faces[1] the second (-1 if none). A corner followed by itself gives no
// edge. Linear in the number of corners. Corners must be within
// 0..vertexCount()-1.
std::vector<Edge> deriveEdges(const Polyhedron& p);

}  // namespace pd
