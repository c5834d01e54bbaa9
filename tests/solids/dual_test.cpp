#include "solids/dual.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "scratch_dir.h"
#include "solids/solid_reader.h"

namespace {

// Face columns from rows of 1-based vertex numbers.
template <std::size_t R, std::size_t C>
FaceColumns columnsOf(const int (&rows)[R][C]) {
    FaceColumns columns{};
    for (std::size_t r = 0; r < R; ++r)
        for (std::size_t c = 0; c < C; ++c) columns[c][r] = rows[r][c];
    return columns;
}

VertexArray verticesOf(std::initializer_list<Vec3> list) {
    VertexArray verts{};
    int p = 0;
    for (const Vec3& v : list) verts[p++] = v;
    return verts;
}

const VertexArray fourPoints = verticesOf({{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}});

std::string tetraPairs(const int (&rows)[4][3]) {
    FaceRecords records{};
    fillFaceRecords(Tetrahedron, fourPoints, columnsOf(rows), records);
    return formatPairs(Tetrahedron, records);
}

Face faceOf(std::initializer_list<Vec3> corners) {
    Face f;
    int c = 0;
    for (const Vec3& v : corners) f.corners[c++] = v;
    return f;
}

}  // namespace

TEST(CentroidFactor, ThirdsAreNotExact) {
    EXPECT_EQ(centroidFactor(Tetrahedron), 0.33);
    EXPECT_EQ(centroidFactor(Hexahedron), 0.25);
    EXPECT_EQ(centroidFactor(Octahedron), 0.33);
    EXPECT_EQ(centroidFactor(Dodecahedron), 0.2);
    EXPECT_EQ(centroidFactor(Icosahedron), 0.33);
}

TEST(FormatPairs, WorkedTetrahedronAndItsReorderedRows) {
    const int rows[4][3] = {{1, 2, 3}, {1, 2, 4}, {1, 3, 4}, {2, 3, 4}};
    EXPECT_EQ(tetraPairs(rows), "\n\n 3-1 \n 4-1  4-2 \n");

    const int reordered[4][3] = {{1, 2, 3}, {1, 4, 2}, {1, 3, 4}, {2, 4, 3}};
    EXPECT_EQ(tetraPairs(reordered), " 1-2 \n 2-3 \n 3-1  3-4 \n 4-1  4-2  4-3 \n");
}

TEST(FormatPairs, EveryFaceGetsALineEvenWhenEmpty) {
    // Six faces that share no corner at all: six empty lines.
    FaceRecords records{};
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 4; ++c) records[r].corners[c] = {float(10 * r + c + 10), 0, 0};
    EXPECT_EQ(formatPairs(Hexahedron, records), "\n\n\n\n\n\n");
}

TEST(SharesCornerPair, OnlyEarlierPlacesOfTheFirstAgainstLaterOfTheSecond) {
    const Vec3 a{1, 0, 0}, b{0, 1, 0}, c{0, 0, 1}, d{2, 2, 2}, e{3, 3, 3};
    // Same corner at the same place: not a match.
    EXPECT_FALSE(sharesCornerPair(faceOf({a, b, c}), faceOf({a, d, e}), 3));
    // Place 0 of the first is place 2 of the second: a match, one way only.
    EXPECT_TRUE(sharesCornerPair(faceOf({a, b, c}), faceOf({d, e, a}), 3));
    EXPECT_FALSE(sharesCornerPair(faceOf({d, e, a}), faceOf({a, b, c}), 3));
    // A face against itself matches only when it repeats a corner.
    EXPECT_FALSE(sharesCornerPair(faceOf({a, b, c}), faceOf({a, b, c}), 3));
    EXPECT_TRUE(sharesCornerPair(faceOf({a, b, a}), faceOf({a, b, a}), 3));
    // Equal coordinates are the same corner, and -0 equals 0.
    EXPECT_TRUE(sharesCornerPair(faceOf({{-0.0f, 1, 0}, d, e}), faceOf({c, b, e}), 3));
}

TEST(SharesCornerPair, CornerCountBoundsThePlacesRead) {
    const Vec3 a{1, 0, 0}, b{0, 1, 0}, c{0, 0, 1}, d{2, 2, 2}, e{3, 3, 3}, x{9, 9, 9};
    // The match sits at place 3 of the second face.
    const Face first = faceOf({a, b, c, x, x});
    const Face second = faceOf({d, e, d, a, e});
    EXPECT_FALSE(sharesCornerPair(first, second, 3));
    EXPECT_TRUE(sharesCornerPair(first, second, 4));
    // The last place of the first face is never compared.
    EXPECT_FALSE(sharesCornerPair(faceOf({b, c, d, a}), faceOf({a, a, a, a}), 4));
    EXPECT_FALSE(sharesCornerPair(faceOf({b, c, d, e, a}), faceOf({a, a, a, a, a}), 5));
    // Place 3 of the first against place 4 of the second.
    EXPECT_TRUE(sharesCornerPair(faceOf({b, c, d, a, x}), faceOf({x, x, x, x, a}), 5));
}

TEST(DualVertexFile, TriangleGivesPointThreeThreeNotAThird) {
    const VertexArray verts = verticesOf({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
    const int rows[4][3] = {{1, 2, 3}, {3, 1, 2}, {2, 3, 1}, {1, 2, 3}};
    VertexArray dual{};
    computeDualVerts(Tetrahedron, verts, columnsOf(rows), dual);
    const std::string line = "0.330000 0.330000 0.330000\n";
    EXPECT_EQ(formatDualVerts(Tetrahedron, dual), line + line + line + line);
}

TEST(DualVertexFile, SquareGivesItsCentre) {
    const VertexArray verts = verticesOf({{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}});
    const int rows[6][4] = {{1, 2, 3, 4}, {2, 3, 4, 1}, {3, 4, 1, 2},
                            {4, 1, 2, 3}, {4, 3, 2, 1}, {1, 3, 2, 4}};
    VertexArray dual{};
    computeDualVerts(Hexahedron, verts, columnsOf(rows), dual);
    std::string expected;
    for (int r = 0; r < 6; ++r) expected += "0.000000 0.000000 1.000000\n";
    EXPECT_EQ(formatDualVerts(Hexahedron, dual), expected);
}

TEST(DualVertexFile, WritesOnlyFaceCountLinesAndNegativeZero) {
    VertexArray dual{};
    dual[0] = {-0.0f, 1e-7f, -1e-7f};
    dual[1] = {123456.5f, -2.5f, 0.0000005f};
    dual[4] = {5, 5, 5};  // past the tetrahedron's four faces
    EXPECT_EQ(formatDualVerts(Tetrahedron, dual),
              "-0.000000 0.000000 -0.000000\n123456.500000 -2.500000 0.000000\n"
              "0.000000 0.000000 0.000000\n0.000000 0.000000 0.000000\n");
}

TEST(ComputeDualVerts, SumsInDoubleInTheTablesOrder) {
    // Added in float, 1 + 2^-30 - 1 would be 0.
    const float tiny = std::ldexp(1.0f, -30);
    const VertexArray tetra = verticesOf({{1, 0, 0}, {tiny, 0, 0}, {-1, 0, 0}});
    const int tetraRows[4][3] = {{1, 2, 3}, {1, 2, 3}, {1, 2, 3}, {1, 2, 3}};
    VertexArray dual{};
    computeDualVerts(Tetrahedron, tetra, columnsOf(tetraRows), dual);
    EXPECT_EQ(dual[0].x, static_cast<float>(static_cast<double>(tiny) * 0.33));

    // The cube adds its 4th corner first: (1 + 1) + 1e20 - 1e20 is 0, where
    // corners in row order, ((1 + 1e20) - 1e20) + 1, would give 1.
    const VertexArray cube = verticesOf({{1, 0, 0}, {1e20f, 0, 0}, {-1e20f, 0, 0}, {1, 0, 0}});
    const int cubeRows[6][4] = {{1, 2, 3, 4}, {1, 2, 3, 4}, {1, 2, 3, 4},
                                {1, 2, 3, 4}, {1, 2, 3, 4}, {1, 2, 3, 4}};
    computeDualVerts(Hexahedron, cube, columnsOf(cubeRows), dual);
    EXPECT_EQ(dual[0].x, 0.0f);

    // The dodecahedron adds 5th, 4th, 1st, 2nd, 3rd: ((((1 + 1) + 1e20) - 1e20) + 1) is 1.
    const VertexArray dodeca =
        verticesOf({{1e20f, 0, 0}, {-1e20f, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}});
    FaceColumns columns{};
    for (int r = 0; r < 12; ++r)
        for (int c = 0; c < 5; ++c) columns[c][r] = c + 1;
    computeDualVerts(Dodecahedron, dodeca, columns, dual);
    EXPECT_EQ(dual[11].x, 0.2f);
}

// The shipped solids' dual and pair files, byte for byte against files
// computed independently of this program.
TEST(DualFiles, ShippedSolidsGiveTheExpectedFiles) {
    FaceColumns columns{};
    for (const SolidInfo& info : solidTable) {
        SCOPED_TRACE(info.vertexFile);
        VertexArray verts{};
        std::FILE* in = std::fopen(scratch::sourcePath(std::string("data/") + info.vertexFile).c_str(), "r");
        ASSERT_NE(in, nullptr);
        if (info.kind == Tetrahedron)
            readFixedVertices(in, verts);
        else
            readVerticesToEnd(in, verts);
        std::fclose(in);
        in = std::fopen(scratch::sourcePath(std::string("data/") + info.faceFile).c_str(), "r");
        ASSERT_NE(in, nullptr);
        readFaceColumns(in, info.kind, columns);
        std::fclose(in);
        ASSERT_EQ(firstBadFaceRow(info.kind, columns), 0);

        VertexArray dual{};
        computeDualVerts(info.kind, verts, columns, dual);
        EXPECT_EQ(formatDualVerts(info.kind, dual), scratch::expectedOutput(info.dualFile));
        FaceRecords records{};
        fillFaceRecords(info.kind, verts, columns, records);
        EXPECT_EQ(formatPairs(info.kind, records), scratch::expectedOutput(info.pairFile));
    }
}
