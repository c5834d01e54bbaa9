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

// A real file stream holding `text`, so the end of file behaves as on disk.
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

std::string str(const Vec3& v) {
    return std::to_string(v.x) + " " + std::to_string(v.y) + " " + std::to_string(v.z);
}
std::string str(float x, float y, float z) { return str(Vec3{x, y, z}); }

// The next number left in the stream, so tests can tell how far a reader went.
float nextNumber(std::FILE* in) {
    float value = mark;
    std::fscanf(in, "%f", &value);
    return value;
}

}  // namespace

TEST(ReadVerticesToEnd, FinalLineEndCostsOneMoreReadThatStoresNothing) {
    std::string text;
    for (int i = 0; i < 8; ++i) text += std::to_string(i) + " 0.5 -" + std::to_string(i + 1) + "\n";
    for (const std::string& file : {text, text.substr(0, text.size() - 1)}) {
        Stream in = streamOf(file);
        VertexArray verts = markedArray();
        EXPECT_EQ(readVerticesToEnd(in.get(), verts), file == text ? 9 : 8);
        for (int i = 0; i < 8; ++i) EXPECT_EQ(str(verts[i]), str(i, 0.5f, -(i + 1)));
        EXPECT_EQ(str(verts[8]), str(mark, mark, mark));
    }
    for (const char* empty : {"", " \n\n\t \n"}) {
        Stream in = streamOf(empty);
        VertexArray verts = markedArray();
        EXPECT_EQ(readVerticesToEnd(in.get(), verts), 1);
        EXPECT_EQ(str(verts[0]), str(mark, mark, mark));
    }
}

TEST(ReadVerticesToEnd, LineBreaksCarryNoMeaningAndShortLastGroupsFillWhatTheyHave) {
    Stream in = streamOf("1\n2\n\n3 4 5\n6 7\n8 9e1\n-1 -2\n");
    VertexArray verts = markedArray();
    EXPECT_EQ(readVerticesToEnd(in.get(), verts), 4);
    EXPECT_EQ(str(verts[0]), str(1, 2, 3));
    EXPECT_EQ(str(verts[2]), str(7, 8, 90));
    EXPECT_EQ(str(verts[3]), str(-1, -2, mark));
}

TEST(ReadVerticesToEnd, StopsAtTextThatIsNotANumber) {
    Stream in = streamOf("1 2 3\n4 5 x 6\n7 8 9\n");
    VertexArray verts = markedArray();
    EXPECT_EQ(readVerticesToEnd(in.get(), verts), 2);
    EXPECT_EQ(str(verts[1]), str(4, 5, mark));
    EXPECT_EQ(str(verts[2]), str(mark, mark, mark));
}

TEST(ReadVerticesToEnd, ReadsAtMostFortyNineTriples) {
    std::string text;
    for (int i = 1; i <= 60; ++i) text += std::to_string(i) + " 0 0\n";
    Stream in = streamOf(text);
    VertexArray verts = markedArray();
    EXPECT_EQ(readVerticesToEnd(in.get(), verts), maxVertices);
    EXPECT_EQ(verts[48].x, 49.0f);
    EXPECT_EQ(nextNumber(in.get()), 50.0f);  // nothing past the 49th consumed
}

TEST(ReadFixedVertices, TakesTheFirstTwelveNumbersWhateverTheLayout) {
    std::string oneLine, onePerLine;
    for (int i = 1; i <= 20; ++i) {
        oneLine += std::to_string(i) + " ";
        onePerLine += std::to_string(i) + "\n";
    }
    for (const std::string& text : {oneLine, onePerLine}) {
        Stream in = streamOf(text);
        VertexArray verts = markedArray();
        readFixedVertices(in.get(), verts);
        for (int p = 0; p < 4; ++p) EXPECT_EQ(str(verts[p]), str(3 * p + 1, 3 * p + 2, 3 * p + 3));
        EXPECT_EQ(str(verts[4]), str(mark, mark, mark));
        EXPECT_EQ(nextNumber(in.get()), 13.0f);
    }
}

TEST(ReadFaceColumns, ReadsExactlyFaceCountRowsIntoTheirPlaces) {
    FaceColumns columns{};
    for (auto& column : columns) column.fill(-5);
    // Six cube rows spread over lines at random, then a seventh row.
    Stream in = streamOf("1 2 3 4 5 6\n7 8\n1 2 3 4 5 6 7 8 1 2\n3 4 5 6 7 8\n9 9 9 9\n");
    readFaceColumns(in.get(), Hexahedron, columns);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(columns[c][r], r % 2 * 4 + c + 1) << r << "," << c;
    EXPECT_EQ(columns[4][0], -5);  // the fifth place is not the cube's
    EXPECT_EQ(columns[0][6], -5);
    EXPECT_EQ(nextNumber(in.get()), 9.0f);
}

TEST(ReadFaceColumns, SaysWhatIsWrongWithTheFirstRowAtFault) {
    const struct {
        SolidKind kind;
        const char* text;
        const char* problem;
    } cases[] = {
        {Tetrahedron, "1 2 3 1 3 4 1 4 2 2 4 3", ""},
        {Tetrahedron, "1 2 3 1 3 5 1 4 2 0 4 3", "row 2: vertex number 5 is outside 1 to 4"},
        {Tetrahedron, "1 2 3 1 3 4 1 4 -1 2 4 3", "row 3: vertex number -1 is outside 1 to 4"},
        {Tetrahedron, "1 2 3 1 3 4 1 4 4294967298 2 4 3",
         "row 3: vertex number 4294967298 is outside 1 to 4"},
        {Tetrahedron, "1 2 3 1 3 4 1 4", "the file ends after row 2 of 4"},
        {Tetrahedron, "", "the file ends after row 0 of 4"},
        {Tetrahedron, "1 2 3 1 x 4", "row 2: text that is not a number"},
        {Tetrahedron, "1 2 9 1 x 4", "row 1: vertex number 9 is outside 1 to 4"},
        {Octahedron, "1 2 3 1 3 4 1 4 5 1 5 2 6 2 3 6 3 4 6 4 5 6 5 7",
         "row 8: vertex number 7 is outside 1 to 6"},
    };
    for (const auto& c : cases) {
        FaceColumns columns{};
        Stream in = streamOf(c.text);
        EXPECT_EQ(readFaceColumns(in.get(), c.kind, columns), c.problem) << c.text;
    }
}
