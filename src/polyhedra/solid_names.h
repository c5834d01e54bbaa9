#pragma once

#include <string>
#include <vector>

#include "geometry/polyhedron.h"

namespace pd {

// Lengths and angles count as equal within this share of the face's (or the
// model's) mean edge: data files and OFF files carry a few digits.
constexpr double shapeTolerance = 1e-3;

// A face's shape as a learner names it: four corners are a square only
// with equal sides and right corners.
enum class FaceShape { Polygon, Square, Rectangle, Rhombus, Quadrilateral };

// The shape of face f of `shape` (Polygon for any face without four
// corners, which is named by its count alone).
FaceShape faceShape(const Polyhedron& shape, int f);

// The name of one such face in the reader's language: "triangle",
// "square", "rectangle", "rhombus", "quadrilateral", "pentagon", ...
// "hendecagon", "dodecagon", else "N-gon".
std::string faceShapeName(int corners, FaceShape shape);

// `count` such faces in words, by the language's plural rules: "1 square",
// "2 rhombi", "12 decagons", "3 13-gons".
std::string countedFaces(int count, int corners, FaceShape shape);

// The name of the closed `shape` (with its `edges`, from deriveEdges or a
// Model) when it is a Platonic, Archimedean or Catalan solid, a prism,
// antiprism, trapezohedron (an antiprism's dual), pyramid or bipyramid:
// "cube", "truncated cube", "rhombic dodecahedron", "pentagonal prism",
// "hendecagonal trapezohedron" (past 12 sides "13-gonal"). The first three need their faces
// regular and vertices on one sphere (Platonic, Archimedean) or their faces
// congruent and dihedral angles equal (Catalan); with only the right
// combinatorics the name ends in " (combinatorially)". The families are
// named by their combinatorics alone. In the reader's language; "" for
// anything else. Linear in the
// corners, but for sorting each vertex's few faces.
std::string solidName(const Polyhedron& shape, const std::vector<Edge>& edges);

}  // namespace pd
