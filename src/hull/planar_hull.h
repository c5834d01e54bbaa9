#pragma once

#include <vector>

#include "geometry/vec2.h"

namespace pd {

// The convex hull of `pts` in the plane, turning left, without the points
// on its edges (Andrew's monotone chain, n log n). Fewer than three points,
// or points on one line, give what is left of them.
std::vector<P2> planarHull(std::vector<P2> pts);

}  // namespace pd
