#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geometry/vec3.h"

// Faces in an order to paint them, farthest first, for pictures that cannot
// keep a depth per pixel (SVG). Points are turned as the frames turn them
// and seen along -z from +z.
//
// How: a binary space partitioning tree over the faces' planes. Each face
// in turn (picked in a fixed pseudo-random order, so the same faces give
// the same bytes) splits the faces not yet placed into those in front of
// its plane and those behind, cutting any that cross it in two; walking the
// tree from the side away from the viewer gives an order in which nothing
// is painted before a part it hides. Faces that pass through each other
// (the solid and its dual) come out cut where they meet. Built and walked
// without recursion. The cost depends on the shape: a convex shell puts
// every face on one side of every other, a chain n long, so n faces cost
// about n^2 / 2 plane tests (10 000 faces: about a quarter of a second),
// with no cuts; so the work has a bound (PaintOrder::unfinished).

struct PaintOrder {
    std::vector<Vec3> corners;               // polygon p: corners[start[p]] .. corners[start[p + 1] - 1]
    std::vector<std::uint32_t> start{0};
    std::vector<std::int32_t> face;          // the face each polygon is (part of)
    // Why the order stopped short, or empty: past 5 * 10^7 tests against a
    // plane (of a polygon's ball, or of a corner where the plane passes
    // through the ball; some 10 000 faces of one convex shell) it gives up
    // and holds nothing.
    std::string unfinished;
};

// The faces over `points` (stored flat as in Polyhedron, corners within
// points) as convex polygons, farthest first. Faces are taken as planar;
// a face of no area is left out, as a face of fewer than three corners.
PaintOrder paintOrder(const std::vector<Vec3>& points, const std::vector<std::int32_t>& corners,
                      const std::vector<std::int32_t>& faceStart);
