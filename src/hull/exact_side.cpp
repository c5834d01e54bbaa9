#include "hull/exact_side.h"

#include <cmath>

namespace pd {

namespace {

// Expansion arithmetic (Shewchuk, "Adaptive precision floating-point
// arithmetic and fast robust geometric predicates", 1997): a number held
// exactly as a sum of doubles of increasing magnitude whose bits do not
// overlap, so its sign is its largest term's.

// Half an ulp of 1: the relative rounding error of one operation.
constexpr double epsilon = 0x1p-53;
// The determinant of the differences, worked in doubles, is off by at
// most this share of the same sum taken over absolute values.
constexpr double filterShare = (7.0 + 56.0 * epsilon) * epsilon;

// The exact sum or product of two doubles as x + y, y the rounding error.
void twoSum(double a, double b, double& x, double& y) {
    x = a + b;
    const double bPart = x - a, aPart = x - bPart;
    y = (a - aPart) + (b - bPart);
}
void twoDifference(double a, double b, double& x, double& y) {
    x = a - b;
    const double bPart = a - x, aPart = x + bPart;
    y = (a - aPart) + (bPart - b);
}
// A double as hi + lo, each with at most 26 significant bits.
void split(double a, double& hi, double& lo) {
    const double c = 134217729.0 * a;  // 2^27 + 1
    hi = c - (c - a);
    lo = a - hi;
}
void twoProduct(double a, double b, double& x, double& y) {
    x = a * b;
    double aHi, aLo, bHi, bLo;
    split(a, aHi, aLo);
    split(b, bHi, bLo);
    y = aLo * bLo - (((x - aHi * bHi) - aLo * bHi) - aHi * bLo);
}

// Large enough for the determinant of 3 x 3 entries of two terms each.
struct Expansion {
    double term[192];
    int size = 0;
    void push(double t) {
        if (t != 0.0) term[size++] = t;
    }
};

Expansion difference(double a, double b) {
    Expansion e;
    double x, y;
    twoDifference(a, b, x, y);
    e.push(y);
    e.push(x);
    return e;
}

Expansion negated(Expansion e) {
    for (int i = 0; i < e.size; ++i) e.term[i] = -e.term[i];
    return e;
}

// e + f: both merged by magnitude, then summed smallest first.
Expansion sum(const Expansion& e, const Expansion& f) {
    double merged[2 * 192];
    int i = 0, j = 0, n = 0;
    while (i < e.size && j < f.size)
        merged[n++] = std::fabs(e.term[i]) < std::fabs(f.term[j]) ? e.term[i++] : f.term[j++];
    while (i < e.size) merged[n++] = e.term[i++];
    while (j < f.size) merged[n++] = f.term[j++];
    Expansion h;
    if (n == 0) return h;
    double q = merged[0];
    for (int k = 1; k < n; ++k) {
        double next, error;
        twoSum(q, merged[k], next, error);
        h.push(error);
        q = next;
    }
    h.push(q);
    return h;
}

// e * b.
Expansion scaled(const Expansion& e, double b) {
    Expansion h;
    if (e.size == 0 || b == 0.0) return h;
    double q, error;
    twoProduct(e.term[0], b, q, error);
    h.push(error);
    for (int i = 1; i < e.size; ++i) {
        double high, low, s;
        twoProduct(e.term[i], b, high, low);
        twoSum(q, low, s, error);
        h.push(error);
        q = high + s;  // |high| >= |s|: the sum of the two is exact as q + error
        error = s - (q - high);
        h.push(error);
    }
    h.push(q);
    return h;
}

Expansion product(const Expansion& e, const Expansion& f) {
    Expansion h;
    for (int i = 0; i < f.size; ++i) h = sum(h, scaled(e, f.term[i]));
    return h;
}

int signOf(const Expansion& e) { return e.size == 0 ? 0 : e.term[e.size - 1] > 0.0 ? 1 : -1; }

}  // namespace

int sideOfPlane(Vec3d a, Vec3d b, Vec3d c, Vec3d d) {
    // The determinant of the rows b - a, c - a, d - a.
    const Vec3d u = b - a, v = c - a, w = d - a;
    const double m0 = v.y * w.z, m1 = v.z * w.y, m2 = v.z * w.x, m3 = v.x * w.z, m4 = v.x * w.y,
                 m5 = v.y * w.x;
    const double det = u.x * (m0 - m1) + u.y * (m2 - m3) + u.z * (m4 - m5);
    const double permanent = std::fabs(u.x) * (std::fabs(m0) + std::fabs(m1)) +
                             std::fabs(u.y) * (std::fabs(m2) + std::fabs(m3)) +
                             std::fabs(u.z) * (std::fabs(m4) + std::fabs(m5));
    if (det > filterShare * permanent) return 1;
    if (-det > filterShare * permanent) return -1;
    // Too near the plane to tell in doubles: the same determinant exactly,
    // the differences themselves held as two terms each.
    const Expansion ux = difference(b.x, a.x), uy = difference(b.y, a.y), uz = difference(b.z, a.z);
    const Expansion vx = difference(c.x, a.x), vy = difference(c.y, a.y), vz = difference(c.z, a.z);
    const Expansion wx = difference(d.x, a.x), wy = difference(d.y, a.y), wz = difference(d.z, a.z);
    const Expansion x = product(ux, sum(product(vy, wz), negated(product(vz, wy))));
    const Expansion y = product(uy, sum(product(vz, wx), negated(product(vx, wz))));
    const Expansion z = product(uz, sum(product(vx, wy), negated(product(vy, wx))));
    return signOf(sum(sum(x, y), z));
}

}  // namespace pd
