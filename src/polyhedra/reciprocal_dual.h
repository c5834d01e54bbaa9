#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "geometry/polyhedron.h"

namespace pd {

// The reciprocal dual: every face plane reciprocated about the midsphere.

// The sphere the duals are taken about: centre at the mean of the vertices,
// radius the mean distance from the centre to the edges' midpoints. In double.
struct Midsphere {
    double centre[3];
    double radius;
};

// Where the sphere of reciprocation stands for a model that is not in
// canonical form: about the vertices' mean (the `midsphere` below), or the
// sphere its edges best touch (edge_sphere.h's bestEdgeSphere).
enum class DualCentre { Vertices, Midsphere };

// The sphere a model's reciprocal dual is taken about: `given` when set (a
// canonical model's unit midsphere about the origin), else found as
// `centre` says.
struct DualSphere {
    DualCentre centre = DualCentre::Vertices;
    bool hasGiven = false;
    Midsphere given{{0.0, 0.0, 0.0}, 1.0};
};

// The sphere `choice` names for `p` with edges `edges`.
Midsphere dualSphereOf(const Polyhedron& p, const std::vector<Edge>& edges, const DualSphere& choice);

// The midsphere of `p` with edges `edges` (from deriveEdges). A polyhedron
// without edges gets radius 0.
Midsphere midsphere(const Polyhedron& p, const std::vector<Edge>& edges);

// One dual vertex per face of `p`, in face order, about the sphere `choice`
// names (centre c, radius r): with the face's Newell
// normal n turned to point away from the centre c, and d the distance of the
// face's plane from c (measured at the mean of its corners), the vertex is
// c + n r^2 / d. An error naming the first face (counted from `numberBase`)
// that has no plane (zero normal) or whose plane passes through the centre
// (d within 1e-6 of the model's size), and which then has no reciprocal, or
// whose reciprocal is too far out for a float.
Result<std::vector<Vec3>> reciprocalDualVertices(const Polyhedron& p, const std::vector<Edge>& edges,
                                                 int numberBase = 0, const DualSphere& choice = {});

// reciprocalDualVertices about the unit sphere at the origin, in double,
// of `p`'s faces over `vertices` (in place of p's own): the pole of each
// face's plane. Not finite for a face with no plane or one through the
// origin, which a canonical form, the one use, does not have.
std::vector<Vec3d> unitSpherePoles(const Polyhedron& p, const std::vector<Vec3d>& vertices);

}  // namespace pd
