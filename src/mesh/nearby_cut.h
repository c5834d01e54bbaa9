#pragma once

#include <vector>

#include "base/result.h"
#include "mesh/halfspace_intersection.h"

// For each half-space, the others that may bound its face:
// to[start[i]] .. to[start[i + 1] - 1].
struct Nearby {
    std::vector<int> start{0};
    std::vector<int> to;
};

// The same intersection as intersectHalfSpaces (same arguments, same order
// of faces and vertices, merged the same way), worked out face by face: each
// half-space's plane is cut by its `nearby` ones alone, so the work is
// linear in the half-spaces and their neighbourhoods. The result is then
// checked as a whole, in linear time: a closed surface, convex at every
// vertex (each face plane around a vertex keeps the vertex's neighbours
// inside), and inside every half-space that gave no face (found by
// climbing the surface's edges to its highest point above that plane). A
// closed, locally convex surface bounds a convex body; with its faces on
// the planes and every plane keeping it inside, it is the intersection.
// Fails with a reason when the neighbourhoods were too small to vouch for
// that (a plane that cuts the result, a face left open), or the check
// cannot be done cheaply (a vertex in more than 64 faces); the caller then
// works from all the planes at once.
Result<Intersection> intersectNearby(const std::vector<HalfSpace>& spaces, const Nearby& nearby,
                                     Vec3d centre, double size, double tolerance);
