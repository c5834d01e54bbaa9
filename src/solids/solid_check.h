#pragma once

#include <string>
#include <vector>

#include "solids/solid_table.h"

namespace pd {

// Checks that a solid's data files fit the fixed edge tables the drawing
// uses: the program itself draws whatever stands at the tabled positions, so
// a mis-numbered file gives a wrong picture without any complaint. Every
// problem is one line for the user, starting with the name of the file at
// fault. Nothing here reads or writes files.

// Tolerance for "equal" lengths and "in the plane": relative to the edge
// length or to the solid's diameter.
constexpr double checkTolerance = 1e-5;

// The pairs of the solid's edge table that are not true edges of the solid
// in `verts` (positions 0 to vertexCount - 1): an edge is a pair at the
// shortest distance between any two vertices. Also reports coordinates that
// are not finite numbers (how the command marks vertices the file lacks) and
// vertices that coincide; those make the other tests meaningless, so they
// are reported alone.
std::vector<std::string> checkEdges(SolidKind kind, const VertexArray& verts);

// The face rows (1 to faceCount of `columns`) that are not faces of the
// solid: a vertex number outside 1 to vertexCount or named twice, corners
// that are not coplanar, other vertices on both sides of the corners' plane
// or in it, corners not listed in order around the face, or a face already
// given by an earlier row. Rows are only measured when all vertices are
// finite (checkEdges reports those that are not).
std::vector<std::string> checkFaces(SolidKind kind, const VertexArray& verts,
                                    const FaceColumns& columns);

// The pairs of the dual's edge table whose two face rows do not share an
// edge (two vertex numbers).
std::vector<std::string> checkDualPairs(SolidKind kind, const FaceColumns& columns);

// All three checks in the order above.
std::vector<std::string> checkSolid(SolidKind kind, const VertexArray& verts,
                                    const FaceColumns& columns);

}  // namespace pd
