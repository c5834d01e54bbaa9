#pragma once

#include <string>

#include "solids/solid_table.h"

namespace e2e {

// The ten vertex arrays as the program holds them when it draws: the data
// files of `dir` read with the program's own readers, the duals built from
// the face rows, everything turned by the two angles. Returns false with a
// reason in `error` when a file is missing or a face row names no vertex.
bool loadTurnedSolids(const std::string& dir, float xDegrees, float yDegrees,
                      VertexArrays& arrays, std::string& error);

// Multiplies every number of the five vertex files in `dir` by `factor`,
// rewriting each file three numbers to a line. Returns false with a reason
// in `error` when a file cannot be read or written.
bool scaleVertexFiles(const std::string& dir, double factor, std::string& error);

}  // namespace e2e
