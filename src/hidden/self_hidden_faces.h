#pragma once

#include <vector>

#include "geometry/polyhedron.h"

namespace pd {

// Whether the shell `p`, with its `edges` (polyhedron.h) and each face's
// outward `normals`, bounds a convex body: then every face turned away from
// the viewer lies wholly behind the shell's own faces turned toward it,
// and an opaque picture leaves it out (a vector picture then orders half
// the faces and cuts fewer).
//
// Checked in linear time, within a millionth of the shell's size: every
// edge has two faces; every face is a flat convex polygon; at every edge
// each face's centre lies on or below the other face's plane; at every
// vertex the angles of its faces add up to at most a full turn; and
// V - E + F = 2. Edges that bend outward everywhere make a surface locally
// convex but for its vertices; the angles keep each vertex a single cone
// (not one wound round twice), and a closed surface that is locally convex
// everywhere bounds a convex body. False for anything else (an open shell,
// a dent, two bodies in one shell, faces of no area).
bool hidesOwnBackFaces(const Polyhedron& p, const std::vector<Edge>& edges, const std::vector<Vec3>& normals);

}  // namespace pd
