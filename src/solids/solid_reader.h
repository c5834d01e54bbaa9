#pragma once

#include <cstdio>
#include <string>

#include "solids/solid_table.h"

namespace pd {

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

// A vertex file of solid `kind` as the console program reads it: the
// tetrahedron's fixed twelve numbers, any other's triples to the end.
void readSolidVertices(std::FILE* in, SolidKind kind, VertexArray& verts);

// Reads `kind`'s faceCount rows of cornerCount whole numbers into `columns`,
// leaving positions that the stream does not reach as they were. Returns ""
// when every row was read and names vertices within 1 to vertexCount, or else
// what is wrong with the first row at fault, for a message after the file's
// name: "row 3: vertex number 7 is outside 1 to 6", "row 3: text that is not
// a number", "the file ends after row 2 of 4". A number too large for an int
// is outside the range (and stored as 0), never wrapped into it.
std::string readFaceColumns(std::FILE* in, SolidKind kind, FaceColumns& columns);

}  // namespace pd
