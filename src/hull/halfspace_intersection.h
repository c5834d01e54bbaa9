#pragma once

#include <vector>

#include "base/result.h"
#include "geometry/polyhedron.h"
#include "geometry/vec3.h"

namespace pd {

// The points x with normal . (x - centre) <= offset: a half-space around a
// centre it holds (offset > 0; normal of unit length).
struct HalfSpace {
    Vec3d normal;
    double offset;
};

// A convex polyhedron cut out by half-spaces, with the half-space each of
// its faces lies on.
struct Intersection {
    Polyhedron shape;
    std::vector<int> faceSource;  // per face, the index of its half-space
};

// The intersection of `spaces`, all around `centre`, as a closed polyhedron:
// faces in the order of their half-spaces, corners counter-clockwise seen
// from outside, vertices numbered in order of first use. `size` is the
// length the tolerance is relative to; planes that agree within `tolerance`
// (normals, and offsets relative to `size`) count as one, and vertices
// closer than tolerance * size are merged, so that where several planes
// meet in one point there is one vertex, and a half-space that only touches
// the others gives no face; where vertices lie apart by between one and ten
// times that distance, so that merging them cannot be trusted either way,
// it fails rather than guess. Built as the polar of the convex hull of the
// points normal / offset, O(n log n) in the half-spaces. Fails with
// a one-line reason when an offset is not above zero, the half-spaces leave
// the body unbounded or flat, vertices cannot be told apart, or the merged
// result is not a closed surface.
Result<Intersection> intersectHalfSpaces(const std::vector<HalfSpace>& spaces, Vec3d centre,
                                         double size, double tolerance);

// For each half-space, the first of `spaces` whose plane is the same within
// `tolerance` (as intersectHalfSpaces counts planes the same); linear.
std::vector<int> samePlanes(const std::vector<HalfSpace>& spaces, double size, double tolerance);

}  // namespace pd
