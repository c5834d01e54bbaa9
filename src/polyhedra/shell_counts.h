#pragma once

#include <string>
#include <utility>
#include <vector>

#include "geometry/polyhedron.h"
#include "polyhedra/solid_names.h"

namespace pd {

// The numbers a learner reads off a shell: vertices, edges, faces, Euler's
// V - E + F, and how many faces have each number of corners.
struct ShellCounts {
    int vertices = 0;  // vertices named by some face
    int edges = 0;
    int faces = 0;
    std::vector<std::pair<int, int>> faceSizes;  // (corners, how many faces), fewest corners first
    struct Kind {
        int corners;
        FaceShape shape;
        int faces;
    };
    std::vector<Kind> faceKinds;  // the faces by their shape, fewest corners first
    std::string name;             // the solid's (see solidName), or ""

    int euler() const { return vertices - edges + faces; }
};

// The counts of `shape` with its `edges` (from deriveEdges or a Model), its
// faces' shapes and its name. Linear in the corners.
ShellCounts countShell(const Polyhedron& shape, const std::vector<Edge>& edges);

// The faces by their shape, "2 triangles, 3 rectangles": triangles;
// squares, rectangles, rhombi or quadrilaterals; pentagons, hexagons,
// octagons, decagons; other sizes "N-gons". A kind with one face is named
// in the singular ("1 square"). "none" for no faces.
std::string facesBySize(const ShellCounts& counts);

// The marks between a counts line's numbers, in the reader's language:
// "V", "E", "F", "V-E+F" and "faces:" (with no spaces, which a line
// keeps between its parts).
enum class CountsMark { Vertices, Edges, Faces, Euler, FaceList };
const char* countsMark(CountsMark mark);

// One line of --info and of the window's counts panel, without a line
// break: "solid: cube  V 8  E 12  F 6  V-E+F 2  faces: 6 squares" (no name
// where the shell has none). `label` as given, the rest in the reader's
// language.
std::string countsLine(const std::string& label, const ShellCounts& counts);

}  // namespace pd
