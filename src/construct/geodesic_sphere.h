#pragma once

#include "geometry/polyhedron.h"

namespace pd {

// The geodesic sphere of frequency k (k >= 1): each of the icosahedron's 20
// faces divided into k * k triangles, the points pushed out onto the unit
// sphere, each point once: 10 k^2 + 2 vertices and 20 k^2 triangles, each
// counter-clockwise seen from outside. A convex model of any size for the
// morph's tests and benchmarks. Linear in the faces.
Polyhedron geodesicSphere(int k);

}  // namespace pd
