#pragma once

#include <cstdio>

#include "solids/solid_table.h"

// The readers behind loadSolids and readFaceRows, on any stream, so they can
// be fed from memory. Line breaks carry no meaning to any of them.

// Reads the tetrahedron's twelve numbers with twelve "%f" reads into
// positions 0 to 3; numbers after the twelfth stay unread. A read that
// converts nothing leaves its target as it was.
void readFixedVertices(std::FILE* in, VertexArray& verts);

// Reads "%f %f %f" triples into positions 0, 1, ... until the end of the
// stream, the first read that converts fewer than three numbers (what it did
// convert stays), or position 48 is filled. Returns the number of reads made.
int readVerticesToEnd(std::FILE* in, VertexArray& verts);

// Reads `kind`'s faceCount rows of cornerCount "%d" numbers into `columns`,
// leaving positions that the stream does not reach as they were.
void readFaceColumns(std::FILE* in, SolidKind kind, FaceColumns& columns);

// The first row (counting from 1) of `kind` whose numbers are not all within
// 1 to vertexCount, or 0 when every row is sound.
int firstBadFaceRow(SolidKind kind, const FaceColumns& columns);
