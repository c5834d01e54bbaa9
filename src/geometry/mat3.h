#pragma once

#include <array>

namespace pd {

// A 3 x 3 single-precision matrix, row by row: element 3r + c is row r,
// column c.
struct Mat3 {
    std::array<float, 9> m{};

    constexpr float at(int row, int column) const { return m[3 * row + column]; }
    constexpr float& at(int row, int column) { return m[3 * row + column]; }
};

}  // namespace pd
