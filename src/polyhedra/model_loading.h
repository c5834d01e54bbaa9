#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "polyhedra/model.h"

namespace pd {

// Models from the program's ten input files or from OFF or STL files. Nothing here
// writes a file.

// Reads the ten input files of `dir` the way the program reads them, with
// its readers and its checks, into five models in menu order (tetrahedron
// first), numbered from 1, named by the menu words, each face row becoming
// a face (vertex numbers - 1) over the solid's first vertexCount vertices.
// An error on the first problem, naming the file (text() is one line):
// "DIR/kocka.dat: cannot be read: No such file or directory" (or "Is a
// FIFO": only regular files are read), or the
// program's own text for a bad face file, "DIR/kockap.dat: row 3: vertex
// number 9 is outside 1 to 8".
Result<std::vector<Model>> loadDirectoryModels(const std::string& dir);

// Reads the OFF file at `path` (see io/off_reader.h), or the STL file when
// its name ends in .stl (io/stl_reader.h), into a model numbered from 0 and
// named by the file's stem ("cube" for "shapes/cube.off"), or the reader's
// error.
// The reciprocal dual is taken about the sphere `sphere` names; the
// program's dual is made now, or left for later (see buildModel).
Result<Model> loadOffModel(const std::string& path, const DualSphere& sphere = {}, bool programDual = true);

}  // namespace pd
