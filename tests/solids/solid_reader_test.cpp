#include "solids/solid_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace pd;

namespace {

// A real file stream holding `text`, so the end of file behaves as on disk.
std::FILE* streamOf(const std::string& text) {
    std::FILE* f = std::tmpfile();
    std::fputs(text.c_str(), f);
    std::rewind(f);
    return f;
}

// The positions of `verts` up to the first one no read reached (-7 marks
// them), as "x y z|x y z|...", and what the stream still holds.
std::string listed(const VertexArray& verts, std::FILE* in) {
    std::string text;
    char buf[80];
    for (const Vec3& v : verts) {
        if (v.x == -7 && v.y == -7 && v.z == -7) break;
        std::snprintf(buf, sizeof buf, "%g %g %g|", v.x, v.y, v.z);
        text += buf;
    }
    for (int c; (c = std::fgetc(in)) != EOF;) text += char(c);
    return text;
}

TEST(VertexReaders, ReadAsTheProgramReadsThem) {
    std::string sixty, fortyNine;
    for (int i = 1; i <= 60; ++i) sixty += std::to_string(i) + " 0 0\n";
    for (int i = 1; i <= 49; ++i) fortyNine += std::to_string(i) + " 0 0|";
    const struct {
        bool fixed;
        std::string text;
        int reads;  // readVerticesToEnd's count
        std::string result;
    } cases[] = {
        // The final line end costs one more read that stores nothing.
        {false, "1 2 3\n4 5 6\n", 3, "1 2 3|4 5 6|"},
        {false, "1 2 3\n4 5 6", 2, "1 2 3|4 5 6|"},
        {false, " \n\t", 1, ""},
        {false, "1\n2\n\n3 4 5\n6 7\n8 9e1\n-1 -2\n", 4, "1 2 3|4 5 6|7 8 90|-1 -2 -7|"},
        {false, "1 2 3\n4 5 x 6\n", 2, "1 2 3|4 5 -7|x 6\n"},
        {false, sixty, 49, fortyNine + sixty.substr(sixty.find("\n50 "))},
        {true, "1 2 3 4 5 6\n7\n8 9 10 11 12 13 14", 0, "1 2 3|4 5 6|7 8 9|10 11 12| 13 14"},
    };
    for (const auto& c : cases) {
        std::FILE* in = streamOf(c.text);
        VertexArray verts;
        verts.fill(Vec3{-7, -7, -7});
        if (c.fixed) {
            readFixedVertices(in, verts);
        } else {
            EXPECT_EQ(readVerticesToEnd(in, verts), c.reads) << c.text;
        }
        EXPECT_EQ(listed(verts, in), c.result) << c.text;
        std::fclose(in);
    }
}

TEST(ReadFaceColumns, RowsLandInTheirPlacesAndTheFirstFaultIsNamed) {
    const struct {
        SolidKind kind;
        const char* text;
        const char* problem;
    } cases[] = {
        {Tetrahedron, "1 2 3 1 3 4 1 4 -1 2 4 3", "row 3: vertex number -1 is outside 1 to 4"},
        {Tetrahedron, "1 2 3 1 3 4 1 4 4294967298 2 4 3",
         "row 3: vertex number 4294967298 is outside 1 to 4"},
        {Tetrahedron, "", "the file ends after row 0 of 4"},
        {Tetrahedron, "1 2 3 1 x 4", "row 2: text that is not a number"},
        {Tetrahedron, "1 2 9 1 x 4", "row 1: vertex number 9 is outside 1 to 4"},
        {Octahedron, "1 2 3 1 3 4 1 4 5 1 5 2 6 2 3 6 3 4 6 4 5 6 5 7",
         "row 8: vertex number 7 is outside 1 to 6"},
    };
    for (const auto& c : cases) {
        FaceColumns columns{};
        std::FILE* in = streamOf(c.text);
        EXPECT_EQ(readFaceColumns(in, c.kind, columns), c.problem) << c.text;
        std::fclose(in);
    }
    // Six cube rows spread over lines at will; the seventh stays unread.
    FaceColumns columns{};
    std::FILE* in = streamOf("1 2 3 4 5 6\n7 8\n1 2 3 4 5 6 7 8 1 2\n3 4 5 6 7 8\n9 9 9 9\n");
    EXPECT_EQ(readFaceColumns(in, Hexahedron, columns), "");
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(columns[c][r], r % 2 * 4 + c + 1) << r << "," << c;
    EXPECT_EQ(columns[4][0] + columns[0][6], 0);
    VertexArray none;
    none.fill(Vec3{-7, -7, -7});
    EXPECT_EQ(listed(none, in), "\n9 9 9 9\n");
    std::fclose(in);
}

}  // namespace
