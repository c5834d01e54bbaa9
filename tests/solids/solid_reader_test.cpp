#include "solids/solid_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using Stream = std::unique_ptr<std::FILE, FileCloser>;

// A real file stream holding `text`, so end-of-file behaves as on disk.
Stream streamOf(const std::string& text) {
    std::FILE* f = std::tmpfile();
    std::fputs(text.c_str(), f);
    std::rewind(f);
    return Stream(f);
}

constexpr float mark = -777.0f;  // a value no read in these tests produces

VertexArray markedArray() {
    VertexArray a;
    a.fill(Vec3{mark, mark, mark});
    return a;
}

void expectVertex(const Vec3& v, float x, float y, float z) {
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

std::string cubeText(bool finalLineEnd) {
    std::string text;
    for (int i = 0; i < 8; ++i)
        text += std::to_string(i) + " " + std::to_string(i + 0.5) + " -" + std::to_string(i) +
                (i < 7 || finalLineEnd ? "\n" : "");
    return text;
}

// What is left in the stream, so tests can tell how far a reader went.
float nextNumber(std::FILE* in) {
    float value = mark;
    std::fscanf(in, "%f", &value);
    return value;
}

}  // namespace

TEST(ReadVerticesToEnd, FinalLineEndCostsOneMoreReadThatStoresNothing) {
    for (bool finalLineEnd : {true, false}) {
        SCOPED_TRACE(finalLineEnd ? "with final line end" : "without final line end");
        Stream in = streamOf(cubeText(finalLineEnd));
        VertexArray verts = markedArray();
        EXPECT_EQ(readVerticesToEnd(in.get(), verts), finalLineEnd ? 9 : 8);
        for (int i = 0; i < 8; ++i) expectVertex(verts[i], float(i), float(i + 0.5), float(-i));
        expectVertex(verts[8], mark, mark, mark);
    }
}

TEST(ReadVerticesToEnd, EmptyOrBlankFileCostsOneRead) {
    for (const char* text : {"", " \n\n\t \n"}) {
        Stream in = streamOf(text);
        VertexArray verts = markedArray();
        EXPECT_EQ(readVerticesToEnd(in.get(), verts), 1);
        expectVertex(verts[0], mark, mark, mark);
    }
}

TEST(ReadVerticesToEnd, LineBreaksCarryNoMeaning) {
    Stream in = streamOf("1\n2\n\n3 4 5\n6 7\n8 9e1\n");
    VertexArray verts = markedArray();
    EXPECT_EQ(readVerticesToEnd(in.get(), verts), 4);
    expectVertex(verts[0], 1, 2, 3);
    expectVertex(verts[1], 4, 5, 6);
    expectVertex(verts[2], 7, 8, 90);
}

TEST(ReadVerticesToEnd, ShortLastGroupFillsWhatItHas) {
    Stream in = streamOf("1 2 3\n4 5\n");
    VertexArray verts = markedArray();
    EXPECT_EQ(readVerticesToEnd(in.get(), verts), 2);
    expectVertex(verts[0], 1, 2, 3);
    expectVertex(verts[1], 4, 5, mark);
}

TEST(ReadVerticesToEnd, StopsAtTextThatIsNotANumber) {
    {
        Stream in = streamOf("1 2 3\nabc 4 5 6\n7 8 9\n");
        VertexArray verts = markedArray();
        EXPECT_EQ(readVerticesToEnd(in.get(), verts), 2);
        expectVertex(verts[0], 1, 2, 3);
        expectVertex(verts[1], mark, mark, mark);
    }
    {
        Stream in = streamOf("1 2 3\n4 5 x 6\n");
        VertexArray verts = markedArray();
        EXPECT_EQ(readVerticesToEnd(in.get(), verts), 2);
        expectVertex(verts[1], 4, 5, mark);
        expectVertex(verts[2], mark, mark, mark);
    }
}

TEST(ReadVerticesToEnd, ReadsAtMostFortyNineTriples) {
    std::string text;
    for (int i = 1; i <= 60; ++i) text += std::to_string(i) + " 0 0\n";
    Stream in = streamOf(text);
    VertexArray verts = markedArray();
    EXPECT_EQ(readVerticesToEnd(in.get(), verts), maxVertices);
    EXPECT_EQ(verts[0].x, 1.0f);
    EXPECT_EQ(verts[48].x, 49.0f);
    // Nothing past the 49th triple was consumed.
    EXPECT_EQ(nextNumber(in.get()), 50.0f);
}

TEST(ReadFixedVertices, TakesTheFirstTwelveNumbersWhateverTheLayout) {
    std::string oneLine, onePerLine;
    for (int i = 1; i <= 20; ++i) {
        oneLine += std::to_string(i) + " ";
        onePerLine += std::to_string(i) + "\n";
    }
    for (const std::string& text : {oneLine, onePerLine, cubeText(true)}) {
        Stream in = streamOf(text);
        VertexArray verts = markedArray();
        readFixedVertices(in.get(), verts);
        if (text != cubeText(true)) {
            for (int p = 0; p < 4; ++p)
                expectVertex(verts[p], float(3 * p + 1), float(3 * p + 2), float(3 * p + 3));
            EXPECT_EQ(nextNumber(in.get()), 13.0f);
        } else {
            // Four triples of a longer file; the fifth line stays unread.
            expectVertex(verts[3], 3, 3.5f, -3);
            EXPECT_EQ(nextNumber(in.get()), 4.0f);
        }
        expectVertex(verts[4], mark, mark, mark);
    }
}

TEST(ReadFixedVertices, ShortFileLeavesTheRestAsItWas) {
    Stream in = streamOf("1 2 3\n4 5 6\n7\n");
    VertexArray verts = markedArray();
    readFixedVertices(in.get(), verts);
    expectVertex(verts[1], 4, 5, 6);
    expectVertex(verts[2], 7, mark, mark);
    expectVertex(verts[3], mark, mark, mark);
}

TEST(ReadFaceColumns, ReadsExactlyFaceCountRowsIntoTheirColumns) {
    FaceColumns columns{};
    for (auto& column : columns) column.fill(-5);
    // Six rows of a cube spread over lines at random, then a seventh row.
    Stream in = streamOf("1 2 3 4 5 6\n7 8\n1 2 3 4 5 6 7 8 1 2\n3 4 5 6 7 8\n5 6 7 8\n");
    readFaceColumns(in.get(), Hexahedron, columns);
    const int expected[6][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {1, 2, 3, 4},
                                {5, 6, 7, 8}, {1, 2, 3, 4}, {5, 6, 7, 8}};
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(columns[c][r], expected[r][c]) << r << "," << c;
    EXPECT_EQ(columns[4][0], -5);  // the fifth place is not the cube's
    EXPECT_EQ(columns[0][6], -5);  // nor is a seventh row
    EXPECT_EQ(nextNumber(in.get()), 5.0f);
}

TEST(ReadFaceColumns, ShortFileLeavesEarlierRowsInPlace) {
    FaceColumns columns{};
    for (auto& column : columns) column.fill(9);
    Stream in = streamOf("1 2 3\n4 5\n");
    readFaceColumns(in.get(), Tetrahedron, columns);
    EXPECT_EQ(columns[2][0], 3);
    EXPECT_EQ(columns[1][1], 5);
    EXPECT_EQ(columns[2][1], 9);
    EXPECT_EQ(columns[0][2], 9);
}

TEST(FirstBadFaceRow, FlagsNumbersOutsideTheSolidsVertices) {
    FaceColumns columns{};
    for (int r = 0; r < 8; ++r) {
        columns[0][r] = 1;
        columns[1][r] = 6;
        columns[2][r] = 3;
    }
    columns[3][0] = 99;   // a place an octahedron's rows do not have
    columns[0][8] = -1;   // a row past its eight
    EXPECT_EQ(firstBadFaceRow(Octahedron, columns), 0);

    for (int bad : {0, -2, 7}) {
        FaceColumns c = columns;
        c[2][4] = bad;
        c[1][6] = bad;
        EXPECT_EQ(firstBadFaceRow(Octahedron, c), 5) << bad;
    }
    // Six is within the cube's eight vertices but not the tetrahedron's four.
    EXPECT_EQ(firstBadFaceRow(Tetrahedron, columns), 1);
}
