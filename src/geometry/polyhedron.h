#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geometry/vec3.h"

namespace pd {

// A polyhedron as faces over vertices. Faces are stored flat, one after the
// other, so a model of a million faces costs a few arrays rather than a
// million small allocations: face f has the corners
// corners[faceStart[f]] .. corners[faceStart[f + 1] - 1], in order around
// the face. faceStart always holds faceCount() + 1 entries.
struct Polyhedron {
    std::vector<Vec3> vertices;
    std::vector<std::int32_t> corners;
    std::vector<std::int32_t> faceStart{0};

    int vertexCount() const { return static_cast<int>(vertices.size()); }
    int faceCount() const { return static_cast<int>(faceStart.size()) - 1; }
    int faceSize(int f) const { return faceStart[f + 1] - faceStart[f]; }
    const std::int32_t* face(int f) const { return corners.data() + faceStart[f]; }

    // Appends a face with the given corners (vertex positions, 0-based).
    void addFace(const std::int32_t* first, int count) {
        corners.insert(corners.end(), first, first + count);
        faceStart.push_back(static_cast<std::int32_t>(corners.size()));
    }
};

// One edge, between vertex positions a < b, with the faces on either side
// (-1 where there is none).
struct Edge {
    std::int32_t a;
    std::int32_t b;
    std::int32_t faces[2];
};

}  // namespace pd
