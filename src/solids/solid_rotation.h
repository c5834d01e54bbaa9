#pragma once

#include "solids/solid_table.h"

namespace pd {

// Turns the used positions of all ten arrays in place, each vertex first
// about x and then about y, solids by vertexCount, duals by faceCount.
void rotateSolids(float xDegrees, float yDegrees, VertexArrays& arrays);

}  // namespace pd
