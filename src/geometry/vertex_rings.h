#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/result.h"
#include "geometry/edges.h"
#include "geometry/polyhedron.h"

namespace pd {

// The faces around each vertex of a closed polyhedron, in cyclic order: the
// faces of the duals. Stored flat like Polyhedron's faces: vertex v's ring is
// faces[start[v]] .. faces[start[v + 1] - 1]; start holds vertexCount() + 1
// entries.
struct VertexRings {
    std::vector<std::int32_t> faces;
    std::vector<std::int32_t> start{0};
};

// Walks from face to face across the edges at each vertex of `p` (from each
// slot to its twin), whose `topology` comes from edgeTopology(p) and whose
// edges must all have two faces. The faces need not be oriented
// consistently; when they are, each ring turns the same way around its
// vertex as the faces turn around their own corners. An error naming the
// first vertex (counted from `numberBase`) whose faces do not form one
// single ring (two cones meeting at a point, a face naming it twice);
// `rings` then holds the vertices before it. A vertex in no face is no
// reason to fail: its ring is empty. Linear in the number of corners.
Status buildVertexRings(const Polyhedron& p, const EdgeTopology& topology, VertexRings& rings,
                        int numberBase = 0);

}  // namespace pd
