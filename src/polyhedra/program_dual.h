#pragma once

#include <vector>

#include "geometry/edges.h"
#include "geometry/polyhedron.h"
#include "geometry/vertex_rings.h"

namespace pd {

// The program's dual: one vertex per face, the face's corner sum times the
// program's factor.

// The factor the program applies to a face of `cornerCount` corners: 0.33,
// 0.25 and 0.2 for 3, 4 and 5 (taken from the program's own table), 1/n for
// any other n >= 1.
double programFactor(int cornerCount);

// One dual vertex per face of `p`, in face order. When `solidKind` is 1..5
// and `p` has that solid's face count and corner count with vertex numbers
// within its vertex count (as a model loaded from the ten files has), the
// program's computeDualVerts computes them, so they equal the program's
// output bit for bit. Otherwise each face's corners are summed in double in
// corner order, rounded to float, then times programFactor, rounded again.
std::vector<Vec3> programDualVertices(const Polyhedron& p, int solidKind);

// A dual polyhedron from its vertices (one per face of the original) and the
// original's rings: dual face v is the ring around original vertex v.
Polyhedron dualFromRings(std::vector<Vec3> dualVertices, const VertexRings& rings);

// The dual's edges, one per edge of the original and in the same order:
// dual edge i joins the dual vertices of original edge i's two faces, and
// its faces are the dual faces of original edge i's two vertices. Every
// original edge must have two faces.
std::vector<Edge> crossingDualEdges(const std::vector<Edge>& edges);

}  // namespace pd
