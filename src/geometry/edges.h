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

// The edges of a polyhedron with what a walk from face to face needs.
// Corner slots are indices into Polyhedron::corners.
struct EdgeTopology {
    std::vector<Edge> edges;               // as deriveEdges gives them
    std::vector<std::int32_t> faceCounts;  // per edge: how many faces name it
    std::vector<std::int32_t> cornerEdge;  // per slot: the edge to the face's next corner, or -1
    std::vector<std::int32_t> sides;       // per edge, two entries: the first two slots it starts from, or -1
};

// The edges of `p` and the tables above, built by grouping the corner pairs
// by their lower vertex (no hashing, so models numbered with some locality
// are read mostly in order). Linear in the corners, apart from sorting the
// pairs at one vertex, which matters only for vertices in very many faces.
// Corners must be within 0..vertexCount()-1.
EdgeTopology edgeTopology(const Polyhedron& p);

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
