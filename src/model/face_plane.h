#pragma once

#include "model/polyhedron.h"
#include "solids/vec3d.h"

// The mean of a model's vertices (the origin for none): the centre that
// outward and the reciprocal are judged against.
D3 vertexMean(const Polyhedron& p);

// A face's plane, measured relative to `centre`: Newell's normal (not of
// unit length; zero for corners on a line) and the sum of the corners.
// Relative coordinates keep a face far from the origin exact enough, and
// any polygon, not only a triangle, gets its best plane.
struct FacePlane {
    D3 normal;
    D3 cornerSum;
};
FacePlane facePlane(const Polyhedron& p, int face, D3 centre);
