#pragma once

#include <vector>

#include "base/result.h"
#include "hull/halfspace_intersection.h"

namespace pd {

// A neighbour's normal in the frame of a half-space's plane.
struct NearbyLine {
    double ax, ay;  // along the plane's two unit vectors
    double slope;   // the length of (ax, ay)
    double cosine;  // with the plane's normal
};

// For each half-space, the others that may bound its face:
// to[start[i]] .. to[start[i + 1] - 1]. The rest, filled by frameNearby,
// depends only on the normals, so a family of half-spaces that move only
// along them (the morph's stages) works it out once.
struct Nearby {
    std::vector<int> start{0};
    std::vector<int> to;
    std::vector<Vec3d> normals;         // the normals the rest holds for
    std::vector<Vec3d> across, along;   // per half-space, two unit vectors in its plane
    std::vector<NearbyLine> lines;      // per entry of `to`
};

// Fills the frames of `nearby` for the normals of `spaces` (which must be
// as many as the half-spaces `nearby` lists; else it leaves them empty).
// intersectNearby uses them for half-spaces with exactly these normals and
// works them out afresh otherwise.
void frameNearby(Nearby& nearby, const std::vector<HalfSpace>& spaces);

// A local half-space intersection: the same as intersectHalfSpaces (same
// arguments, same order of faces and vertices, merged the same way),
// worked out face by face: each half-space's plane is cut by its `nearby`
// ones alone, so the work is linear in the half-spaces and their
// neighbourhoods. The result is then
// checked as a whole, in linear time: a closed surface, convex at every
// vertex (each face plane around a vertex keeps the vertex's neighbours
// inside), and inside every half-space that gave no face (found by
// climbing the surface's edges to its highest point above that plane). A
// closed, locally convex surface bounds a convex body; with its faces on
// the planes and every plane keeping it inside, it is the intersection.
// Fails with a reason when the neighbourhoods were too small to vouch for
// that (a plane that cuts the result, a face left open), the check
// cannot be done cheaply, or the corners where several planes meet cannot
// be told apart as intersectHalfSpaces tells them; the caller then works
// from all the planes at once.
Result<Intersection> intersectNearby(const std::vector<HalfSpace>& spaces, const Nearby& nearby,
                                     Vec3d centre, double size, double tolerance);

}  // namespace pd
