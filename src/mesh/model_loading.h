#pragma once

#include <string>
#include <vector>

#include "mesh/model.h"

// Models from the program's ten input files or from OFF files. Nothing here
// writes a file.

// Reads the ten input files of `dir` the way the program reads them, with
// its readers and its checks, into five models in menu order (tetrahedron
// first), numbered from 1, named by the menu words, each face row becoming
// a face (vertex numbers - 1) over the solid's first vertexCount vertices.
// Returns false on the first problem, with `error` one line naming the file:
// "DIR/kocka.dat: cannot be read: No such file or directory" (or "Is a
// FIFO": only regular files are read), or the
// program's own text for a bad face file, "DIR/kockap.dat: row 3: vertex
// number 9 is outside 1 to 8".
bool loadDirectoryModels(const std::string& dir, std::vector<Model>& out, std::string& error);

// Reads the OFF file at `path` (see off_reader.h) into a model numbered from
// 0 and named by the file's stem ("cube" for "shapes/cube.off"). Returns
// false with the reader's one-line error.
bool loadOffModel(const std::string& path, Model& out, std::string& error);
