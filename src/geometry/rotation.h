#pragma once

#include "geometry/vec3.h"
#include "geometry/mat3.h"

namespace pd {

// Degrees to radians as degrees * pi * (1/180) in double, rounded to float.
float degreesToRadians(float degrees);

// The turns about x and about y by `degrees`; sine and cosine are taken in
// double from the float angle and rounded to float. Any angle is accepted.
Mat3 rotationAboutX(float degrees);
Mat3 rotationAboutY(float degrees);

// m * v, each row summed as (m(r,2) z + m(r,1) y) + m(r,0) x in double and
// rounded to float.
Vec3 rotateVec3(const Mat3& m, Vec3 v);

}  // namespace pd
