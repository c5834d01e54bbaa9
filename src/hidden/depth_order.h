#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geometry/vec3.h"

namespace pd {

// Faces in an order to paint them, farthest first, for pictures that cannot
// keep a depth per pixel (SVG). Points are turned as the frames turn them
// and seen along -z from +z.
//
// How: a binary space partitioning tree; walking it from the side away
// from the viewer at each node gives an order in which nothing is painted
// before a part it hides. Up to 2000 polygons its planes are the faces'
// own: each face in turn (picked in a fixed pseudo-random order, so the
// same faces give the same bytes) splits the faces not yet placed into
// those in front of its plane and those behind, cutting any that cross it
// in two. Faces that pass through each other (the solid and its dual) come
// out cut where they meet. A convex shell puts every face on one side of
// every other, a chain n long: n^2 / 2 plane tests. So above 2000 the top
// of the tree uses other planes while a node holds more than 256 polygons:
// across x, y or z through the median of the polygons' centres (the axis
// whose larger side is smallest), or, where no such plane parts them (the
// faces of a pyramid's apex), through the corner most of them share. Each
// about halves the polygons, cutting those it crosses: for faces small
// beside the model some n log n tests in all (a geodesic sphere of 20 480
// faces with its dual: 2.2 * 10^7, cuts counted as below). The faces'
// planes then order what is left in each node. Built and walked without
// recursion. Long thin faces cross many nodes and are cut into many
// parts, so the work still has a bound (PaintOrder::unfinished). No plane
// below a split crosses the other side, so the two sides of the first
// split are ordered on two threads, and each side's top splits leave
// pieces of some thousand polygons, each a tree of its own built in the
// pages of the last: the same order whatever the threads.

struct PaintOrder {
    // Polygon p: corners start[p] .. start[p + 1] - 1, corner k at
    // xyz[3k] .. xyz[3k + 2] (a frame's polygons hold them so).
    std::vector<float> xyz;
    std::vector<std::uint32_t> start{0};
    std::vector<std::int32_t> face;          // the face each polygon is (part of)
    // Why the order stopped short, or empty: past 5 * 10^7 tests against a
    // plane (of a polygon's ball, or of a corner where the plane passes
    // through the ball, a part made by a cut counting as 32) it gives up
    // and holds nothing (a 20 000-gon prism with its dual, whose faces are
    // cut into millions of parts).
    std::string unfinished;
};

// The faces over `points` (stored flat as in Polyhedron, corners within
// points) as convex polygons, farthest first. Faces are taken as planar;
// a face of no area is left out, as a face of fewer than three corners.
// `groups`, empty or one per face: faces of one group (>= 0) never hide
// one another, as the faces of one convex shell that face the viewer;
// above 2000 faces they are then left unordered among themselves and
// not cut by each other's planes (-1: a face of no group).
PaintOrder paintOrder(const std::vector<Vec3>& points, const std::vector<std::int32_t>& corners,
                      const std::vector<std::int32_t>& faceStart, const std::vector<std::int32_t>& groups = {});

}  // namespace pd
