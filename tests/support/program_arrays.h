#pragma once

// The ten vertex arrays a run of the program holds, for tests and fuzz
// harnesses that need them without running the program.

#include <algorithm>
#include <string>
#include <vector>

#include "polyhedra/model_loading.h"
#include "solids/solid_rotation.h"

namespace pd {

// The explorer's directory models are read with the program's readers and
// carry its dual vertices: their vertices are the arrays a run holds for the
// ten files of `dir` before any turn. False with `error` as the explorer
// words it when a file is missing or damaged.
inline bool loadProgramArrays(const std::string& dir, VertexArrays& arrays, std::string& error) {
    const Result<std::vector<Model>> models = loadDirectoryModels(dir);
    if (!models) {
        error = models.error().text();
        return false;
    }
    arrays = VertexArrays{};
    for (const SolidInfo& info : solidTable) {
        const Model& m = (*models)[info.kind - 1];
        std::copy(m.solid.vertices.begin(), m.solid.vertices.end(), solidVerts(arrays, info.kind).begin());
        std::copy(m.programDual.vertices.begin(), m.programDual.vertices.end(),
                  dualVerts(arrays, info.kind).begin());
    }
    return true;
}

// The same arrays turned by the two angles, as the program holds them when
// it draws.
inline bool loadTurnedSolids(const std::string& dir, float xDegrees, float yDegrees,
                             VertexArrays& arrays, std::string& error) {
    if (!loadProgramArrays(dir, arrays, error)) return false;
    rotateSolids(xDegrees, yDegrees, arrays);
    return true;
}

}  // namespace pd
