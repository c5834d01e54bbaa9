#pragma once

#include "geometry/vec3.h"

namespace pd {

// Which side of the plane through a, b and c the point d lies on, decided
// exactly for the doubles given: 1 on the side (b - a) x (c - a) points
// to (above a, b, c seen counter-clockwise), -1 on the other, 0 in the
// plane (or a, b, c on one line). Rounding never flips the answer, so a
// hull built from it is convex whatever the input; the work is a few
// multiplications unless d lies within rounding of the plane. Exact while
// products of three differences neither overflow nor underflow: nonzero
// coordinates and differences between about 1e-90 and 1e90 in size.
int sideOfPlane(Vec3d a, Vec3d b, Vec3d c, Vec3d d);

}  // namespace pd
