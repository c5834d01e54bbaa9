#pragma once

#include <cmath>

#include "solids/vec3.h"

// A point or direction in double precision: float vertices are measured
// (differences, products, lengths) without rounding on the way.
struct D3 {
    double x, y, z;
};

inline D3 widen(const Vec3& v) { return {v.x, v.y, v.z}; }
inline D3 operator-(D3 a, D3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline double dot(D3 a, D3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline D3 cross(D3 a, D3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(D3 a) { return std::sqrt(dot(a, a)); }
