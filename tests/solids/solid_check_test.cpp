#include "solids/solid_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>

#include "scratch_dir.h"
#include "solids/solid_reader.h"

using namespace pd;

namespace {

struct SolidData {
    VertexArray verts{};
    FaceColumns columns{};
};

// One solid's two shipped files, read as the program reads them.
SolidData shipped(SolidKind kind) {
    const SolidInfo& info = solidInfo(kind);
    SolidData data;
    const std::string dir = scratch::sourcePath("data/");
    std::FILE* in = std::fopen((dir + info.vertexFile).c_str(), "r");
    readSolidVertices(in, kind, data.verts);
    std::fclose(in);
    in = std::fopen((dir + info.faceFile).c_str(), "r");
    readFaceColumns(in, kind, data.columns);
    std::fclose(in);
    return data;
}

std::string problemsOf(SolidKind kind, const SolidData& data) {
    std::string text;
    for (const std::string& line : checkSolid(kind, data.verts, data.columns)) text += line + "\n";
    return text;
}

// The shipped files fit the tables, at their own size and shrunk a
// hundredfold (the face planes must not depend on the scale).
TEST(SolidCheck, ShippedFilesFitTheTablesAtAnyScale) {
    for (const SolidInfo& info : solidTable) {
        SolidData data = shipped(info.kind);
        EXPECT_EQ(problemsOf(info.kind, data), "") << info.vertexFile;
        for (Vec3& v : data.verts) v = {v.x * 0.01f, v.y * 0.01f, v.z * 0.01f};
        EXPECT_EQ(problemsOf(info.kind, data), "") << info.vertexFile << " shrunk";
    }
}

// Each damage, and the first line of what the check says about it.
TEST(SolidCheck, DamagedFilesAreNamedWithWhatIsWrong) {
    const float r3 = std::sqrt(3.0f);
    const auto row = [](int r, std::array<int, 5> numbers) {
        return [=](SolidData& d) { for (int c = 0; c < 5; ++c) d.columns[c][r - 1] = numbers[c]; };
    };
    const struct {
        SolidKind kind;
        std::function<void(SolidData&)> damage;
        const char* first;
    } cases[] = {
        {Hexahedron, [](SolidData& d) { std::swap(d.verts[0], d.verts[1]); },
         "kocka.dat: cubeEdges pair 2 joins vertices 2 and 3 at distance 2.82843, but the edge length is 2"},
        {Hexahedron, [](SolidData& d) { for (auto& c : d.columns) std::swap(c[0], c[1]); },
         "kockap.dat: cubeDualEdges pair 5 joins rows 2 and 5, which share no edge"},
        // One square shifted sideways: every tabled pair stays at length 2, and
        // two more pairs come to it.
        {Hexahedron, [&](SolidData& d) {
             const Vec3 shifted[] = {{r3 - 1, -1, 0}, {r3 - 1, -1, 2}, {r3 - 1, 1, 2}, {r3 - 1, 1, 0}};
             const int at[] = {6, 7, 4, 5};
             for (int k = 0; k < 4; ++k) d.verts[at[k]] = shifted[k];
         },
         "kocka.dat: 14 vertex pairs lie at the edge length, but cubeEdges has 12"},
        {Octahedron, row(2, {1, 4, 2}), "oktap.dat: row 2 is not a face: other vertices lie on both sides"},
        {Octahedron, row(8, {1, 7, 2}), "oktap.dat: row 8: vertex number 7 is outside 1 to 6"},
        {Octahedron, row(8, {1, 2, 1}), "oktap.dat: row 8 names vertex 1 twice"},
        {Octahedron, row(3, {1, 3, 5}), "oktap.dat: row 3 repeats the face of row 1"},
        {Hexahedron, row(4, {1, 3, 2, 4}), "kockap.dat: row 4: vertices 1 and 3 are not joined"},
        {Hexahedron, row(4, {1, 2, 3, 5}), "kockap.dat: row 4 is not a face: its corners are not in one plane"},
        {Dodecahedron, row(4, {1, 2, 3, 4, 6}), "dodekap.dat: row 4 is not a face"},
        {Tetrahedron, [](SolidData& d) { d.verts[2] = d.verts[1]; }, "tetra.DAT: vertices 2 and 3 coincide\n"},
        {Icosahedron, [](SolidData& d) { for (int p = 9; p < 12; ++p) d.verts[p] = {NAN, NAN, NAN}; },
         "ikosa.dat: 3 vertices are missing or not numbers, the first is vertex 10"},
    };
    for (const auto& c : cases) {
        SolidData data = shipped(c.kind);
        c.damage(data);
        const std::string problems = problemsOf(c.kind, data);
        // A first line that ends in a line end is all there is to say: rows
        // cannot be measured on coinciding vertices, and are not blamed.
        const std::string first = c.first;
        EXPECT_EQ(first.back() == '\n' ? problems : problems.substr(0, first.size()), first);
    }
}

}  // namespace
