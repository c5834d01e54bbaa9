#pragma once

#include <vector>

#include "base/result.h"
#include "hull/halfspace_intersection.h"
#include "geometry/polyhedron.h"
#include "geometry/vec3.h"

namespace pd {

// The half-space of each face of `p`: the face plane of face_plane.h (the
// normal of unit length), turned so that `centre` is inside. Fails naming
// the first face, counted from `numberBase`, that has no plane (corners on
// a line) or whose plane passes through the centre.
Result<std::vector<HalfSpace>> faceHalfSpaces(const Polyhedron& p, Vec3d centre, int numberBase);

// Whether the polyhedron `p` is convex: no vertex lies outside the plane of
// any face (`planes`, from faceHalfSpaces) by more than tolerance * size. Faces in one plane count as one.
// The highest vertex above each plane is found by climbing the edges of
// the convex hull of the vertices from a corner of the face, so a
// convex model costs O(n log n) for the hull and a few steps per face.
// Fails with the first offending vertex and face, counted from
// `numberBase`, "vertex 5 lies outside the plane of face 2", or with why
// there is no hull (the vertices lie in one plane).
Status checkConvex(const Polyhedron& p, const std::vector<HalfSpace>& planes, Vec3d centre,
                   double size, double tolerance, int numberBase);

}  // namespace pd
