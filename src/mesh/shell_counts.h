#pragma once

#include <string>
#include <utility>
#include <vector>

#include "geometry/polyhedron.h"

namespace pd {

// The numbers a learner reads off a shell: vertices, edges, faces, Euler's
// V - E + F, and how many faces have each number of corners.
struct ShellCounts {
    int vertices = 0;  // vertices named by some face
    int edges = 0;
    int faces = 0;
    std::vector<std::pair<int, int>> faceSizes;  // (corners, how many faces), fewest corners first

    int euler() const { return vertices - edges + faces; }
};

// The counts of `shape` with its `edges` (from deriveEdges or a Model).
// Linear in the corners.
ShellCounts countShell(const Polyhedron& shape, const std::vector<Edge>& edges);

// The faces by size, "8 triangles, 6 octagons": triangles, squares,
// pentagons, hexagons, octagons, decagons, other sizes "N-gons"; a kind
// with one face is named in the singular ("1 square"). "none" for no faces.
std::string facesBySize(const ShellCounts& counts);

// One line of --info and of the window's counts panel, without a line
// break: "solid: V 8  E 12  F 6  V-E+F 2  faces: 6 squares".
std::string countsLine(const std::string& label, const ShellCounts& counts);

}  // namespace pd
