#pragma once

// One vertex of a solid or of a dual: three single-precision coordinates.
// Zero by default, so positions that no read reaches hold the origin.
struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};
