#pragma once

#include <vector>

#include "geometry/polyhedron.h"
#include "geometry/vec3.h"

namespace pd {

// The mean of a model's vertices that are in some face (the origin for
// none): the centre that outward and the reciprocal are judged against.
Vec3d vertexMean(const Polyhedron& p);

// A face's plane, measured relative to `centre`: Newell's normal (not of
// unit length; zero for corners on a line) and the sum of the corners.
// Relative coordinates keep a face far from the origin exact enough, and
// any polygon, not only a triangle, gets its best plane.
struct FacePlane {
    Vec3d normal;
    Vec3d cornerSum;
};
// The plane of face `face`, which must be one of `p`'s.
FacePlane facePlane(const Polyhedron& p, int face, Vec3d centre);

// Each face's unit Newell normal, turned to point away from the mean of the
// vertices, so any face orientation gives the same answer on a convex model.
// A face with no area gets (0, 0, 0), which never faces the viewer.
// Computed once per model.
std::vector<Vec3> outwardNormals(const Polyhedron& p);

}  // namespace pd
