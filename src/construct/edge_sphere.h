#pragma once

#include <vector>

#include "geometry/polyhedron.h"
#include "geometry/vec3.h"

namespace pd {

// A sphere given by its centre and radius.
struct EdgeSphere {
    Vec3d centre;
    double radius;
};

// The sphere the edges of `p` best touch, for models that are not
// canonical: the centre and radius minimising the sum over `edges` of
// (distance from the centre to the edge's line - radius)^2, by Gauss-Newton
// from the vertex mean, a few passes over the edges, each step halved until
// it lowers the sum. For a model symmetric about a point that point is
// where it starts and stays. Edges of no length are left out. Degenerate
// input (no usable edge, a singular system) keeps the vertex mean and the
// mean edge distance from it; a non-finite coordinate gives the origin and
// radius 0. Never NaN.
EdgeSphere bestEdgeSphere(const Polyhedron& p, const std::vector<Edge>& edges);

}  // namespace pd
