#include "io/stl_reader.h"

#include <gtest/gtest.h>

#include <cmath>

#include "io/off_writer.h"
#include "print/stl_file.h"

using namespace pd;

namespace {

// A cube of edge 2 as 12 triangles, two to a face, turning outward.
PrintPart cube() {
    PrintPart part{"cube", {}, {}, {}};
    for (int i = 0; i < 8; ++i) part.points.push_back({i & 1 ? 2.0 : 0.0, i & 2 ? 2.0 : 0.0, i & 4 ? 2.0 : 0.0});
    part.triangles = {{0, 2, 3}, {0, 3, 1}, {4, 5, 7}, {4, 7, 6}, {0, 1, 5}, {0, 5, 4},
                      {2, 6, 7}, {2, 7, 3}, {0, 4, 6}, {0, 6, 2}, {1, 3, 7}, {1, 7, 5}};
    return part;
}

std::string binary(const PrintPart& part) { return formatStl(PrintModel{{part}}).value(); }

// The same triangles as ASCII STL.
std::string ascii(const PrintPart& part) {
    std::string text = "solid cube\n";
    for (const auto& t : part.triangles) {
        text += " facet normal 0 0 0\n  outer loop\n";
        for (int k : t)
            text += "   vertex " + std::to_string(part.points[k].x) + " " + std::to_string(part.points[k].y) + " " +
                    std::to_string(part.points[k].z) + "\n";
        text += "  endloop\n endfacet\n";
    }
    return text + "endsolid cube\n";
}

std::string read(const std::string& bytes) {
    const Result<Polyhedron> p = readStl(bytes, "t.stl");
    return p ? formatOff({&*p}).value() : p.error().text();
}

const std::string facet = "solid x\nfacet normal 0 0 1\n outer loop\n  vertex 0 0 0\n  vertex 1 0 0\n";

}  // namespace

// Binary and ASCII, in capitals, with the header of the other form, with
// several solids or a corner at -0, give the cube's 8 corners and 6 squares.
TEST(ReadStl, EveryFormOfTheCubeGivesItsSquares) {
    const std::string expected = read(binary(cube()));
    EXPECT_EQ(expected.substr(0, expected.find("4 ")),
              "OFF\n# 1 shell: 8 vertices and 6 faces\n8 6 12\n0 0 0\n0 2 0\n2 2 0\n2 0 0\n0 0 2\n2 0 2\n2 2 2\n0 2 2\n");
    std::string solidHeader = binary(cube()), twoSolids = ascii(cube()), shouted = ascii(cube());
    std::string minusZero = ascii(cube());
    solidHeader.replace(0, 5, "solid");
    twoSolids.insert(twoSolids.find(" facet", 300), "endsolid\nsolid two\n");
    for (char& c : shouted) c = char(std::toupper(c));
    minusZero.replace(minusZero.find("vertex 0"), 8, "vertex -0");
    for (const std::string& input : {ascii(cube()), solidHeader, twoSolids, shouted, minusZero})
        EXPECT_EQ(read(input), expected) << input;
}

TEST(ReadStl, BadInputsNameWhereAndWhat) {
    PrintPart nan = cube(), pinched = cube();
    nan.points[3].y = NAN;
    pinched.points[3] = pinched.points[2];
    const std::string full = binary(cube());
    const std::pair<std::string, const char*> cases[] = {
        {"", "t.stl: not an STL file: 0 bytes are too few for binary STL, and it does not start with 'solid'"},
        {full.substr(0, full.size() - 1), "t.stl: not an STL file: binary STL of 12 triangles is 684 bytes long, not 683"},
        {std::string(84, '\0'), "t.stl: the file holds no triangles"},
        {binary(nan), "t.stl: triangle 1: a coordinate is not a finite number within -1e30..1e30"},
        {binary(pinched), "t.stl: triangle 1: two corners are one point"},
        {facet + "  vertex 0 1 zero\n", "t.stl:6: 'zero' is not a number"},
        {facet + "  vertex 0 1 1e39\n", "t.stl:6: a coordinate is not a finite number within -1e30..1e30"},
        {facet + "  vertex 0 1 0\n  vertex 1 1 0\n", "t.stl:7: expected 'endloop', found 'vertex'"},
        {facet, "t.stl:5: the file ends inside facet 1"},
        {"solid x\nendsolid x\n", "t.stl: the file holds no triangles"},
        {"solid a\nendsolid a\nfoo", "t.stl:3: expected 'solid' or the end of the file, found 'foo'"},
        {"solid a\nfacet\x1b[2J", "t.stl:2: expected 'facet' or 'endsolid', found 'facet\\x1b[2J'"},
    };
    for (const auto& [bytes, error] : cases) EXPECT_EQ(read(bytes), error) << bytes;
}
