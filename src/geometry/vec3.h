#pragma once

#include <cmath>

namespace pd {

// One vertex of a solid or of a dual: three single-precision coordinates.
// Zero by default, so positions that no read reaches hold the origin.
struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// A point or direction in double precision: float vertices are measured
// (differences, products, lengths) without rounding on the way.
struct Vec3d {
    double x, y, z;
};

inline Vec3d widen(const Vec3& v) { return {v.x, v.y, v.z}; }
// Component by component, each in one rounding: a + b + c groups as
// (a + b) + c, as the coordinates written out would.
inline Vec3d operator+(Vec3d a, Vec3d b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3d operator-(Vec3d a, Vec3d b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3d operator-(Vec3d a) { return {-a.x, -a.y, -a.z}; }
inline Vec3d operator*(Vec3d a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3d operator*(double s, Vec3d a) { return {s * a.x, s * a.y, s * a.z}; }
// Divides each coordinate, which is not quite a * (1 / s).
inline Vec3d operator/(Vec3d a, double s) { return {a.x / s, a.y / s, a.z / s}; }
inline Vec3d& operator+=(Vec3d& a, Vec3d b) { return a = a + b; }
inline Vec3d& operator-=(Vec3d& a, Vec3d b) { return a = a - b; }
inline double dot(Vec3d a, Vec3d b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3d cross(Vec3d a, Vec3d b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(Vec3d a) { return std::sqrt(dot(a, a)); }

}  // namespace pd
