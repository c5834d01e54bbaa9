#pragma once

#include <vector>

#include "geometry/polyhedron.h"
#include "geometry/vec3.h"

namespace pd {

// The canonical form of a convex polyhedron: the same faces, the vertices
// moved so that every edge line touches the unit sphere about the origin,
// the touching points (each edge line's closest point to the origin) have
// their centroid at the origin, and every face is flat. It is unique up to
// a rotation, so it stands for the model's combinatorics alone: its dual
// about the unit sphere is the canonical form of the dual.
struct CanonicalForm {
    std::vector<Vec3d> vertices;  // the moved vertices, same numbering
    int iterations = 0;           // outer steps taken (each linear in the model's size)
    bool converged = false;       // false: not flat and tangent enough, keep the original
    double worst = 0;             // the largest remaining error when it stopped (below)
};

// The canonical form of `p` (faces counter-clockwise from outside, every
// edge between two faces) with edges `edges` from deriveEdges, at any
// position and size. The start is `p` centred on its vertex mean and scaled
// to a mean edge distance of 1, or, if some face of that turns inwards or
// some edge's closest point lies off the edge, its vertices pushed out onto
// a sphere about the mean. From there damped Gauss-Newton steps
// (Levenberg-Marquardt) drive the edge distances to 1, the faces flat and
// the touching points' sum to 0, taking no step that turns more faces
// inwards. Each step solves its linear system by preconditioned conjugate
// gradients with at most a fixed number of passes over the edges and
// corners, so it is linear in the model's size.
// `worst` is the largest of: an edge distance's difference from 1, a face's
// farthest corner from its plane (Newell's normal through the corners'
// mean), the touching points' centroid's distance from the origin; all at
// unit midradius. Converged when that is within 1e-9, with every face
// facing outward and every touching point on its edge, within
// `maxIterations` steps: typically 5 to 15 for rough Platonic, Archimedean
// and Catalan solids, prisms and geodesic spheres. Prisms, antiprisms and
// pyramids of 50 sides or more far from their canonical proportions often
// do not converge. Input with a corner out of range or not finite, an edge
// of no length or a face of no area after the scaling, or no edges, is not
// tried: the vertices come back as they were, converged false, worst
// infinite.
CanonicalForm canonicalForm(const Polyhedron& p, const std::vector<Edge>& edges, int maxIterations = 100);

}  // namespace pd
