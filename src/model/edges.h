#pragma once

#include <string>
#include <vector>

#include "model/polyhedron.h"

// Whether every edge of a polyhedron lies between exactly two faces, and if
// not, the first edge (in edge order) where that fails, as a line for the
// user: "edge 3-7 has only one face" or "edge 3-7 is shared by 3 faces".
struct Closedness {
    bool closed = true;
    std::string message;
};

// The edges of `p`: every pair of consecutive corners of every face (the
// last corner with the first included), each undirected edge once, in the
// order of first appearance, with a < b, faces[0] the first face naming it
// and faces[1] the second (-1 if none). A corner followed by itself gives no
// edge. When `closedness` is given it is filled in, with vertex numbers
// counted from `numberBase` (1 for the program's files, 0 for OFF). Linear in
// the number of corners. Corners must be within 0..vertexCount()-1.
std::vector<Edge> deriveEdges(const Polyhedron& p, Closedness* closedness = nullptr,
                              int numberBase = 0);
