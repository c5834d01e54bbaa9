#pragma once

#include <vector>

#include "base/result.h"
#include "hull/halfspace_intersection.h"
#include "hull/local_halfspace_intersection.h"
#include "polyhedra/model.h"
#include "geometry/vec3.h"

namespace pd {

// The family from a convex solid P to its dual: with c the mean of P's
// vertices and r the mean distance from c to its edges' midpoints (the
// midsphere the reciprocal dual is taken about), P* is the intersection of
// the half-spaces (x - c) . (v - c) <= r^2, one per vertex v of P, and
//
//     M(s) = P intersected with s P*   (s P* scaled about c).
//
// s runs from sMax, the smallest s with P inside s P* (M is P), down to
// sMin, the largest with s P* inside P (M is sMin P*). The user's t in
// [0, 1] moves s linearly on two halves: t = 0 is sMax, t = 1/2 is s = 1
// (the rectified solid for the regular ones), t = 1 is sMin.
//
// Both ends have closed forms. By Cauchy-Schwarz the largest
// (w - c) . (v - c) over pairs of vertices is the largest |v - c|^2, so
// sMax = R^2 / r^2 with R the farthest vertex; P*'s vertices are the faces'
// reciprocals c + n r^2 / d (n the unit normal, d the face plane's distance
// from c), and the same argument over pairs of faces gives
// sMin = dMin^2 / r^2.

// Relative to the stage's size (stageSize below): planes that agree this
// closely are one, vertices this close are one, and a vertex may stand
// this far outside a face plane of a model that still counts as convex
// (that one relative to the solid's size). The shipped files give their
// coordinates to 9 decimals and are held as floats (about 6e-8 of the
// size). Measured on them (and on them scaled by 1e-3 and 1e3) at t = 1/4,
// 1/2, 3/4 and 1: where several planes meet in one point the worked-out
// vertices differ by up to 2e-7 of the size, while distinct vertices lie
// at least a fifth of the size apart; any tolerance between those gives
// the exact counts.
constexpr double morphTolerance = 1e-5;

// What every M(t) of one model needs, worked out once.
struct MorphFamily {
    Vec3d centre{0, 0, 0};
    double radius = 0.0;  // r
    double size = 0.0;    // the largest distance from the centre to a vertex
    double sMax = 1.0;
    double sMin = 1.0;
    std::vector<HalfSpace> faces;  // P's face planes, centre inside
    std::vector<Vec3d> corners;       // P's vertices less the centre
    Nearby nearby;                 // per half-space of a stage, the ones that may bound its face
    Polyhedron solid;              // P, which is M(0)
};

// The family of `model`: only for a closed model with a reciprocal dual that
// is convex (see checkConvex in convexity.h). Otherwise fails with one line
// saying why, "it is not convex: vertex 5 lies outside the plane of face
// 2", vertices and faces counted as the model counts them.
Result<MorphFamily> morphFamily(const Model& model);

// The scale s of stage t, from sMax at 0 through 1 at 1/2 to sMin at 1.
double morphScale(const MorphFamily& family, double t);

// The half-spaces of stage t (0 < t <= 1): P's faces, then for each vertex
// v away from the centre (x - c) . (v - c) <= s r^2, normalised.
std::vector<HalfSpace> morphHalfSpaces(const MorphFamily& family, double t);

// No point of stage t lies farther from the centre than this: P's size;
// the farthest vertex of s P*, s r^2 / dMin; and r sqrt(s), as a point x
// of P is a mean of P's vertices v, each with (x - c) . (v - c) <= s r^2,
// so that |x - c|^2 <= s r^2. Near t = 1 a flat solid's stage is a
// needle far smaller than the solid.
double stageSize(const MorphFamily& family, double t);

// M(t) for t in [0, 1]: a copy of P at t = 0, else the intersection of P's
// face half-spaces with the half-spaces (x - c) . (v - c) <= s r^2, faces
// in that order (P's faces, then the dual's), at morphTolerance of
// stageSize, so it opens with buildModel like any other model. Built by intersectNearby,
// each face from the planes near it (linear), and where that cannot vouch
// for the result (a model far from round) by intersectHalfSpaces from all
// planes (n log n). Fails for a t outside [0, 1] (or not a number) and when
// the intersection does: among others where some vertices lie between one
// and ten times that tolerance apart, so that neither merging nor keeping
// them can be trusted (flat prisms and antiprisms of some hundreds of
// sides at t = 1/2, where four nearly parallel planes meet at each vertex
// and the float coordinates part them).
Result<Polyhedron> morphAt(const MorphFamily& family, double t);

}  // namespace pd
