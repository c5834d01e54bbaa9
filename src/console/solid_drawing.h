#pragma once

#include "console/scene.h"
#include "solids/solid_table.h"

namespace pd {

constexpr ColourCode solidColour = 2;  // blue
constexpr ColourCode dualColour = 0;   // red

// The point a vertex shows as, seen along z: x and y as they stand, z
// dropped, colour left at its default.
Point projectVertex(Vec3 v);

// Adds the edges of the solid numbered `choice` (blue) and then its dual's
// (red) to `scene`, each group in table order. Any choice outside 1 to 5
// adds nothing.
void addSolidEdges(int choice, const VertexArrays& arrays, Scene& scene);

}  // namespace pd
