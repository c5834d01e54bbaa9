#include "solids/dual.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace pd;

namespace {

// Face columns from rows of vertex numbers; rows past those given repeat the last.
template <std::size_t C>
FaceColumns columnsOf(std::initializer_list<std::array<int, C>> rows) {
    FaceColumns columns{};
    for (int r = 0; r < maxFaceRows; ++r) {
        const auto& row = *(rows.begin() + std::min<std::size_t>(r, rows.size() - 1));
        for (std::size_t c = 0; c < C; ++c) columns[c][r] = row[c];
    }
    return columns;
}

VertexArray verticesOf(std::initializer_list<Vec3> list) {
    VertexArray verts{};
    std::copy(list.begin(), list.end(), verts.begin());
    return verts;
}

std::string tetraPairs(std::initializer_list<std::array<int, 3>> rows) {
    const VertexArray verts = verticesOf({{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}});
    FaceRecords records{};
    fillFaceRecords(Tetrahedron, verts, columnsOf(rows), records);
    return formatPairs(Tetrahedron, records);
}

}  // namespace

TEST(FormatPairs, WorkedTetrahedronAndItsReorderedRows) {
    EXPECT_EQ(tetraPairs({{1, 2, 3}, {1, 2, 4}, {1, 3, 4}, {2, 3, 4}}),
              "\n\n 3-1 \n 4-1  4-2 \n");
    EXPECT_EQ(tetraPairs({{1, 2, 3}, {1, 4, 2}, {1, 3, 4}, {2, 4, 3}}),
              " 1-2 \n 2-3 \n 3-1  3-4 \n 4-1  4-2  4-3 \n");
}

TEST(ComputeDualVerts, SumsInDoubleInTheTablesOrder) {
    // Added in float, 1 + 2^-30 - 1 would be 0.
    const float tiny = std::ldexp(1.0f, -30);
    VertexArray dual{};
    computeDualVerts(Tetrahedron, verticesOf({{1, 0, 0}, {tiny, 0, 0}, {-1, 0, 0}}),
                     columnsOf<3>({{1, 2, 3}}), dual);
    EXPECT_EQ(dual[0].x, static_cast<float>(tiny * 0.33));

    // The cube adds its 4th corner first: ((1 + 1) + 1e20) - 1e20 is 0,
    // where the row's order, ((1 + 1e20) - 1e20) + 1, would give 1.
    computeDualVerts(Hexahedron, verticesOf({{1, 0, 0}, {1e20f, 0, 0}, {-1e20f, 0, 0}, {1, 0, 0}}),
                     columnsOf<4>({{1, 2, 3, 4}}), dual);
    EXPECT_EQ(dual[5].x, 0.0f);

    // The dodecahedron adds 5th, 4th, 1st, 2nd, 3rd: (1 + 1 + 1e20) - 1e20 + 1.
    computeDualVerts(Dodecahedron,
                     verticesOf({{1e20f, 0, 0}, {-1e20f, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}}),
                     columnsOf<5>({{1, 2, 3, 4, 5}}), dual);
    EXPECT_EQ(dual[11].x, 0.2f);
}
