#pragma once

#include <cmath>

namespace pd {

// A point or direction in a net's plane, in double precision.
struct P2 {
    double x = 0.0;
    double y = 0.0;
};

inline P2 operator+(P2 a, P2 b) { return {a.x + b.x, a.y + b.y}; }
inline P2 operator-(P2 a, P2 b) { return {a.x - b.x, a.y - b.y}; }
inline P2 operator*(double k, P2 a) { return {k * a.x, k * a.y}; }
inline double dot(P2 a, P2 b) { return a.x * b.x + a.y * b.y; }
// The z of the cross product: positive when b turns left from a.
inline double cross(P2 a, P2 b) { return a.x * b.y - a.y * b.x; }
inline double length(P2 a) { return std::hypot(a.x, a.y); }
// a turned a quarter left.
inline P2 leftOf(P2 a) { return {-a.y, a.x}; }

}  // namespace pd
