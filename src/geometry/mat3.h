#pragma once

#include <array>

#include "geometry/vec3.h"

namespace pd {

// A 3 x 3 matrix, row by row: element 3r + c is row r, column c; the
// identity until filled. Mat3 (float) is what the program turns its
// vertices by; Mat3d (double) is where turns compose, so a long drag or a
// chain of folds stays a rotation.
template <typename T>
struct Mat3Of {
    std::array<T, 9> m{1, 0, 0, 0, 1, 0, 0, 0, 1};

    constexpr T at(int row, int column) const { return m[3 * row + column]; }
    constexpr T& at(int row, int column) { return m[3 * row + column]; }
    bool isIdentity() const { return m == Mat3Of{}.m; }
};

using Mat3 = Mat3Of<float>;
using Mat3d = Mat3Of<double>;

// left * right, each element summed left to right over k of
// left(i, k) right(k, j).
inline Mat3d operator*(const Mat3d& left, const Mat3d& right) {
    Mat3d r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.at(i, j) = left.at(i, 0) * right.at(0, j) + left.at(i, 1) * right.at(1, j) +
                         left.at(i, 2) * right.at(2, j);
    return r;
}

// m * v, each row summed left to right: m(r,0) x + m(r,1) y + m(r,2) z.
// (The program's float turn sums the other way: see rotateVec3.)
inline Vec3d operator*(const Mat3d& m, Vec3d v) {
    return {m.m[0] * v.x + m.m[1] * v.y + m.m[2] * v.z, m.m[3] * v.x + m.m[4] * v.y + m.m[5] * v.z,
            m.m[6] * v.x + m.m[7] * v.y + m.m[8] * v.z};
}

}  // namespace pd
