#pragma once

#include "geometry/vec3.h"
#include "print/print_model.h"

namespace pd {

// The pieces a frame is joined from, each a closed triangle surface turning
// counter-clockwise seen from outside, in whatever units the points are.

// A strut along the segment from `a` to `b`: a prism of `sides` sides
// (at least 3) whose corners lie on circles of diameter `diameter` about
// the segment's ends, its two caps across the ends. Nothing (no points)
// when a and b are one point.
PrintPart strutPiece(Vec3d a, Vec3d b, double diameter, int sides);

// A ball about `centre`: the geodesic sphere of frequency `frequency`
// (20 * frequency^2 triangles) with its corners on the sphere of diameter
// `diameter`.
PrintPart ballPiece(Vec3d centre, double diameter, int frequency);

}  // namespace pd
