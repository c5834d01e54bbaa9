#include "view/solid_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "scratch_dir.h"
#include "solids/solid_reader.h"

namespace {

struct SolidData {
    VertexArray verts{};
    FaceColumns columns{};
};

// One solid's two files from `dir`, read as the program reads them.
SolidData load(const std::string& dir, SolidKind kind) {
    const SolidInfo& info = solidInfo(kind);
    SolidData data;
    if (std::FILE* in = std::fopen((dir + "/" + info.vertexFile).c_str(), "r")) {
        if (kind == Tetrahedron)
            readFixedVertices(in, data.verts);
        else
            readVerticesToEnd(in, data.verts);
        std::fclose(in);
    }
    if (std::FILE* in = std::fopen((dir + "/" + info.faceFile).c_str(), "r")) {
        readFaceColumns(in, kind, data.columns);
        std::fclose(in);
    }
    return data;
}

SolidData shipped(SolidKind kind) { return load(scratch::sourcePath("data"), kind); }

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

void swapRows(FaceColumns& columns, int rowA, int rowB) {
    for (auto& column : columns) std::swap(column[rowA - 1], column[rowB - 1]);
}

}  // namespace

// The shipped files fit the tables, and are centred with circumradius 1 to 2.
TEST(SolidCheck, ShippedFilesFitTheTables) {
    for (const SolidInfo& info : solidTable) {
        SCOPED_TRACE(info.vertexFile);
        const SolidData data = shipped(info.kind);
        EXPECT_EQ(joined(checkSolid(info.kind, data.verts, data.columns)), "");
        double sum[3] = {0, 0, 0};
        for (int p = 0; p < info.vertexCount; ++p) {
            const Vec3& v = data.verts[p];
            const double r = std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
            EXPECT_TRUE(r >= 1.0 && r <= 2.0) << "vertex " << p + 1 << ": " << r;
            sum[0] += v.x, sum[1] += v.y, sum[2] += v.z;
        }
        for (double s : sum) EXPECT_NEAR(s, 0.0, 1e-6);
    }
}

TEST(SolidCheck, SwappedVerticesBreakTheEdgeTable) {
    SolidData cube = shipped(Hexahedron);
    std::swap(cube.verts[0], cube.verts[1]);
    const std::vector<std::string> problems = checkEdges(Hexahedron, cube.verts);
    ASSERT_FALSE(problems.empty());
    EXPECT_EQ(problems[0].rfind("kocka.dat: cubeEdges pair ", 0), 0u) << problems[0];

}

TEST(SolidCheck, SwappedFaceRowsBreakTheDualTable) {
    // Opposite cube faces must sit in rows 1 and 5.
    SolidData cube = shipped(Hexahedron);
    swapRows(cube.columns, 1, 2);
    const std::string problems = joined(checkSolid(Hexahedron, cube.verts, cube.columns));
    EXPECT_NE(problems.find("kockap.dat: cubeDualEdges pair "), std::string::npos) << problems;
    EXPECT_EQ(joined(checkEdges(Hexahedron, cube.verts)), "");
    EXPECT_EQ(joined(checkFaces(Hexahedron, cube.verts, cube.columns)), "");

}

TEST(SolidCheck, RowsThatAreNotFaces) {
    struct Case {
        SolidKind kind;
        int row;
        std::array<int, 5> numbers;
        const char* expected;
    };
    const Case cases[] = {
        // Two opposite vertices and a third: a plane through the centre.
        {Octahedron, 2, {1, 4, 2}, "oktap.dat: row 2 is not a face: other vertices lie on both sides"},
        {Octahedron, 8, {1, 7, 2}, "oktap.dat: row 8: vertex number 7 is outside 1 to 6"},
        {Octahedron, 8, {1, 2, 1}, "oktap.dat: row 8 names vertex 1 twice"},
        {Octahedron, 3, {1, 3, 5}, "oktap.dat: row 3 repeats the face of row 1"},
        // A cube face with its corners across the diagonal.
        {Hexahedron, 4, {1, 3, 2, 4}, "kockap.dat: row 4: vertices 1 and 3 are not joined"},
        // Three corners of a face and one of the opposite face.
        {Hexahedron, 4, {1, 2, 3, 5}, "kockap.dat: row 4 is not a face: its corners are not in one plane"},
        {Dodecahedron, 4, {1, 2, 3, 4, 6}, "dodekap.dat: row 4 is not a face"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        SolidData data = shipped(c.kind);
        for (int p = 0; p < solidInfo(c.kind).cornerCount; ++p)
            data.columns[p][c.row - 1] = c.numbers[p];
        const std::vector<std::string> problems = checkFaces(c.kind, data.verts, data.columns);
        ASSERT_FALSE(problems.empty());
        EXPECT_EQ(problems[0].rfind(c.expected, 0), 0u) << problems[0];
    }
}

TEST(SolidCheck, VerticesThatAreMissingOrCoincide) {
    SolidData tetra = shipped(Tetrahedron);
    tetra.verts[2] = tetra.verts[1];
    EXPECT_EQ(joined(checkEdges(Tetrahedron, tetra.verts)), "tetra.DAT: vertices 2 and 3 coincide\n");
    // Rows cannot be measured either, but they are not blamed for it.
    EXPECT_EQ(joined(checkFaces(Tetrahedron, tetra.verts, tetra.columns)), "");

    SolidData icosa = shipped(Icosahedron);
    for (int p = 9; p < 12; ++p) icosa.verts[p] = {NAN, NAN, NAN};
    EXPECT_EQ(joined(checkEdges(Icosahedron, icosa.verts)),
              "ikosa.dat: 3 vertices are missing or not numbers, the first is vertex 10\n");
}

TEST(SolidCheck, EightPointsThatAreNotACubeAreCaught) {
    // Every tabled pair of the cube has length 2, but squashing it in z gives
    // more pairs of the shortest length than the table holds.
    SolidData cube = shipped(Hexahedron);
    for (int p = 0; p < 8; ++p) cube.verts[p].z *= 0.5f;
    const std::string problems = joined(checkEdges(Hexahedron, cube.verts));
    EXPECT_NE(problems.find("kocka.dat:"), std::string::npos);
}

// A mis-numbered copy of the shipped files, as a user might prepare it.
TEST(SolidCheck, MisnumberedFilesOnDisk) {
    scratch::ScratchDir dir;
    dir.copyShippedData();
    // The first two lines swapped: positions 0 and 3 no longer opposite.
    const std::string okta = dir.read("okta.dat");
    const std::size_t first = okta.find('\n') + 1, second = okta.find('\n', first) + 1;
    dir.write("okta.dat", okta.substr(first, second - first) + okta.substr(0, first) +
                              okta.substr(second));
    const SolidData data = load(dir.path().string(), Octahedron);
    const std::string problems = joined(checkSolid(Octahedron, data.verts, data.columns));
    EXPECT_NE(problems.find("okta.dat: octaEdges pair"), std::string::npos) << problems;
    // Each row still names three vertices, but no longer those of one face.
    EXPECT_NE(problems.find("oktap.dat: row"), std::string::npos) << problems;
}
