#pragma once

#include "geometry/rgb.h"
#include "geometry/vec3.h"

namespace pd {

// Flat shading of a face: one colour per face from its turned normal, lit
// from the viewer's upper left (a light in the direction (-1, 1, 1) from
// the picture), with enough ambient light that a face turned away from the
// lamp keeps its hue. Both sides of a face are lit alike, so a face seen
// through a translucent one, or from inside a model that is not closed,
// is not black.

// `base` lit on a face of normal `normal` (turned as the vertices are; any
// length, zero taken as facing the viewer). Each channel stays within 0..1.
Rgb shadedColour(Rgb base, Vec3 normal);

// How opaque translucent faces are painted.
constexpr float translucentAlpha = 0.35f;

}  // namespace pd
