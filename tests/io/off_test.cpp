#include "io/off_reader.h"
#include "io/off_writer.h"

#include <gtest/gtest.h>

using namespace pd;

namespace {

// Every good input below is this tetrahedron, written back.
const char* const tetraOff =
    "OFF\n# 1 shell: 4 vertices and 4 faces\n4 4 6\n"
    "0 0 0\n1 0 0\n0 1 0\n0 0 1.5\n3 0 2 1\n3 0 1 3\n3 1 2 3\n3 0 3 2\n";

const char* const tetraVerts = "0 0 0\n1 0 0\n0 1 0\n0 0 1.5\n";
const char* const tetraFaces = "3 0 2 1\n3 0 1 3\n3 1 2 3\n3 0 3 2\n";

std::string read(const std::string& text) {
    const Result<Polyhedron> p = readOff(text, "t.off");
    if (!p) return p.error().text();
    const Result<std::string> written = formatOff({&*p});
    return written ? *written : written.error().what;
}

}  // namespace

TEST(ReadOff, GoodInputsGiveTheSameTetrahedron) {
    const std::string v = tetraVerts, f = tetraFaces;
    const std::string inputs[] = {
        "OFF\n4 4 6\n" + v + f,
        "4 4 6\n" + v + f,                                    // no header
        "4 4\n" + v + f,                                      // no edge count
        "OFF 4 4 6\n" + v + f,                                // counts on the header line
        "# made by hand\n\nOFF # the header\n  # indented\n4 4 6 # counts\n\n" + v +
            "# faces next\n" + f + "# end",
        "COFF\n4 4 0\n0 0 0 1 0 0 1\n1 0 0 0 1 0 1\n0 1 0 0 0 1 1\n0 0 1.5 1 1 1 1\n" + f,
        "OFF\n4 4 6\n" + v + "3 0 2 1 0.5 0.5 0.5\n3 0 1 3 9\n3 1 2 3\n3 0 3 2 x\n",
        "OFF\r\n4 4 6\r\n0 0 0\r\n1 0 0\r\n0 1 0\r\n0 0 15e-1\r\n" + f,
        "4\t4\t6\n+0 0e0 0\n1.0 0 0\n0 1 0\n0 0 1.5\n3 0 2 1\n3 0 1 3\n3 1 2 3\n3 0 3 2",
        "OFF 4 4 6 0 0 0 1 0 0 0 1 0 0 0 1.5 3 0 2 1 3 0 1 3 3 1 2 3 3 0 3 2",  // one line
        "4 4 0 0 0 0 1 0\n0 0 1 0 0 0 1.5 3 0 2\n1 3 0 1 3 3 1 2 3 3 0 3 2\n",    // no line structure
        "NOFF 4 4 6 0 0 0 0 0 1 1 0 0 0 0 1 0 1 0 0 0 1 0 0 1.5 0 0 1 " + f,  // normals skipped
    };
    for (const std::string& input : inputs) EXPECT_EQ(read(input), tetraOff) << input;
}

TEST(ReadOff, BadInputsNameLineAndFault) {
    using namespace std::string_literals;
    const std::pair<std::string, const char*> cases[] = {
        {"", "t.off:1: the file holds no OFF header or counts"},
        {"PLY\n3 1\n", "t.off:1: 'PLY' is not an OFF header (OFF, COFF, NOFF or CNOFF)"},
        {"OFF BINARY\n", "t.off:1: binary OFF files are not read"},
        {"OFF\n", "t.off:1: the file ends before the counts line"},
        {"OFF\n3\n", "t.off:2: the counts line needs the numbers of vertices and faces"},
        {"OFF\n3 -1\n", "t.off:2: bad counts: '-1' is not a count"},
        {"OFF\n3 1 x\n", "t.off:2: bad counts: 'x' is not a count"},
        {"OFF\n3 0\n", "t.off:2: the file declares no faces"},
        {"OFF\n20000000 1\n", "t.off:2: counts of 20000000 vertices and 1 faces are above the limit of 10000000"},
        {"OFF\n3 2\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n", "t.off:6: the file ends after face 0: 1 of 2 faces read"},
        {"OFF\n3000000 2\n0 0 0\n", "t.off:3: the file ends after vertex 0: 1 of 3000000 vertices read"},
        {"OFF\n3 1\n", "t.off:2: the file ends after the counts: 0 of 3 vertices read"},
        {"OFF 3 1 0 0 0 0 1 0 0 0 1", "t.off:1: the file ends after vertex 1: 2 of 3 vertices read"},
        {"OFF 3 1 0 0 0 0 1 0 0 0 1 0\n\n", "t.off:2: the file ends after vertex 2: 0 of 1 faces read"},
        {"3 1\n0 0 0\n1 0 0 \n0 1 zero\n3 0 1 2\n", "t.off:4: 'zero' is not a number"},
        {"3 1\n0 0 0\n1 0 0\n0 1 \x1b[2J\\\n3 0 1 2\n", "t.off:4: '\\x1b[2J\\\\' is not a number"},
        {"3 1\n0 0 0\n1 0 0\n0 1 0\n3 0 1 \0\x7f\n"s, "t.off:5: '\\0\\x7f' is not a whole number"},
        {"3 1\n0 0 0\n1 0\n0 1 0\n3 0 1 2 # pad\n", "t.off:3: vertex 1 needs x, y and z"},
        {"3 1\n0 0 0\n1 0 nan\n0 1 0\n3 0 1 2\n", "t.off:3: vertex 1: 'nan' is not a finite coordinate"},
        {"3 1\n0 0 0\n1 0 1e39\n0 1 0\n3 0 1 2\n", "t.off:3: vertex 1: '1e39' is not a finite coordinate"},
        {"3 1\n0 0 0\n1 0 -2e30\n0 1 0\n3 0 1 2\n", "t.off:3: vertex 1: '-2e30' is outside -1e30..1e30"},
        {"3 1\n0 0 0\n1 0 0\n0 1 0\n3 0 1 3\n", "t.off:5: face 0: vertex index 3 is outside 0..2"},
        {"3 1\n0 0 0\n1 0 0\n0 1 0\n3 0 -1 2\n", "t.off:5: face 0: vertex index -1 is outside 0..2"},
        {"3 1\n0 0 0\n1 0 0\n0 1 0\n2 0 1   \n", "t.off:5: face 0 has 2 corners; a face needs at least 3"},
        {"3 1\n0 0 0\n1 0 0\n0 1 0\n3 0 1 0\n", "t.off:5: face 0 names vertex 0 twice"},
        {"3 1\n0 0 0\n1 0 0\n0 1 0\n4 0 1 2 #3\n", "t.off:5: face 0 lists 3 of its 4 corners"},
        {"3 1\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2.0\n", "t.off:5: '2.0' is not a whole number"},
        {"3 1\n0 0 0\n1 0 0\n\n# gone\n           \n", "t.off:6: the file ends after vertex 1: 2 of 3 vertices read"},
        {"4 2\n0 0 0\n1 0 0\n0 1 0\n0 0 1\n3 0 1 2\n\n#  a comment, not a face\n",
         "t.off:8: the file ends after face 0: 1 of 2 faces read"},
    };
    for (const auto& [text, error] : cases) EXPECT_EQ(read(text), error) << text;
}

TEST(FormatOff, ShellsFollowOneAnotherRenumbered) {
    const Polyhedron a = readOff("3 1\n0 0 0\n0.1 0 0\n0 1 0\n3 0 1 2\n", "a").value();
    const Polyhedron b = readOff("4 2\n-1 2.5 1e-7\n3 4 5\n6 7 8\n1.0000001 0 1e30\n"
                                 "3 0 1 2\n4 3 2 1 0\n", "b").value();
    // Each number the shortest text that reads back as the very float held,
    // or double where one is given; the reader takes both back.
    const std::vector<Vec3d> exact{{0, 0, 0}, {0.1, 0, 0}, {0, 1, 0.100000000001}};
    const std::string text = formatOff({&a, &b}, {&exact}).value();
    EXPECT_EQ(text, "OFF\n# 2 shells: 3 vertices and 1 faces, 4 vertices and 2 faces\n7 3 8\n"
                    "0 0 0\n0.1 0 0\n0 1 0.100000000001\n-1 2.5 1e-07\n3 4 5\n6 7 8\n1.0000001 0 1e+30\n"
                    "3 0 1 2\n3 3 4 5\n4 6 5 4 3\n");
    const Polyhedron back = readOff(text, "t").value();
    EXPECT_TRUE(back.vertices[2].z == 0.1f && back.vertices[6].x == b.vertices[3].x);
}
