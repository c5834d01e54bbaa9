#pragma once

#include <string>
#include <string_view>

#include "base/result.h"
#include "geometry/polyhedron.h"
#include "io/off_reader.h"

namespace pd {

// Readers of STL, binary or ASCII, into a polyhedron:
//
//   binary   an 80-byte header, the triangle count N (4 bytes, little
//            endian), then N records of 50 bytes: a normal and three
//            corners as 32-bit floats, and 2 bytes of attributes. A file of
//            exactly 84 + 50 N bytes is binary, whatever its header says.
//   ASCII    "solid NAME", then facets "facet normal I J K", "outer loop",
//            three "vertex X Y Z", "endloop", "endfacet", and "endsolid
//            NAME"; several solids may follow one another.
//
// Corners at the same point (exactly; -0 is 0) are one vertex. Triangles
// meeting at an edge in one plane are joined into one face where the
// outline of all of them is one ring, so a cube written as 12 triangles is
// read back as its 6 squares. The normals are not read: the corners' order
// says which way a triangle turns.
//
// Every error names the file and where: "FILE:LINE: what" for ASCII,
// "FILE: triangle N: what" for binary. Counts above maxOffCount triangles
// are refused before anything is allocated.

// Parses `bytes` (named `fileName` in messages) into a polyhedron. An error
// for a file that is neither form (too short, a size that is not 84 + 50 N,
// a word or number out of place in ASCII), a coordinate that is not finite
// or is beyond maxCoordinate, a triangle with two corners at one point, no
// triangles at all, or a file that ends inside a facet.
Result<Polyhedron> readStl(std::string_view bytes, const std::string& fileName);

// Reads the whole regular file at `path` (at most maxOffFileBytes, refused
// before reading as loadOffFile refuses) and parses it with readStl.
Result<Polyhedron> loadStlFile(const std::string& path);

// Whether `path` names an STL file: it ends in ".stl", in any case.
bool isStlName(const std::string& path);

// loadStlFile for an STL name, else loadOffFile.
Result<Polyhedron> loadShapeFile(const std::string& path);

}  // namespace pd
