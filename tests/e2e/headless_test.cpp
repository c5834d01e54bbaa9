// The explorer's files made with no DISPLAY at all: the PNG against the
// window's own picture of the same state, the SVG against the PNG, the OFF
// model read back, and runs and inputs it refuses.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>

#include "model/model_loading.h"
#include "view/rotation.h"
#include "view/solid_drawing.h"
#include "window_fixture.h"

namespace {

using namespace e2e;

// Every line and mark an SVG draws, whatever its colour, sorted: "x y" of a
// mark's corner, "x1 yLx2 y2" with the ends in sorted order for a line.
std::vector<std::string> drawnItems(const std::string& svg) {
    static const std::regex item("M(-?[0-9.]+ -?[0-9.]+)(L(-?[0-9.]+ -?[0-9.]+)|h)");
    std::vector<std::string> items;
    for (std::sregex_iterator i(svg.begin(), svg.end(), item), end; i != end; ++i) {
        const std::string a = (*i)[1], b = (*i)[3];
        items.push_back(b.empty() ? a : std::min(a, b) + "L" + std::max(a, b));
    }
    std::sort(items.begin(), items.end());
    return items;
}

class Headless : public WindowTest {
protected:
    // Runs the explorer in the working directory, DISPLAY removed from its
    // environment, on the shipped data's dodecahedron unless told otherwise.
    RunResult run(std::vector<std::string> args, bool dodecahedron = true) {
        if (dodecahedron) args.insert(args.begin(), shown.begin(), shown.end());
        args.insert(args.begin(), {"-u", "DISPLAY", PD_EXPLORER});
        return runProgram("/usr/bin/env", work.path().string(), "", 60.0, args);
    }
    void write(const std::vector<std::string>& args, bool dodecahedron = true) {
        const RunResult r = run(args, dodecahedron);
        EXPECT_TRUE(r.finished && r.status == 0 && r.err.empty()) << r.status << ": " << r.err;
    }

    const std::vector<std::string> shown{".", "--solid", "4", "--angles", "20", "65", "--back", "dashed", "--numbers"};
};

// The window and the offscreen context are both Mesa's llvmpipe with the
// same GL state, so no difference is allowed at all: one differing pixel
// fails (measured: identical here, anti-aliasing is off in both).
TEST_F(Headless, PngIsTheWindowsPictureOfTheSameState) {
    write({"--png", "headless.png"});
    ProgramProcess explorer;
    ASSERT_TRUE(explorer.start(PD_EXPLORER, work.path().string(), shown));
    const XSession::WindowId window = x->waitForWindow("dodekaedar  x 20  y 65", 30.0);
    const RgbImage picture = x->waitUntilDrawn(window, 30.0);
    explorer.kill();
    x->waitUntilGone(window, 10.0);
    savePicture(picture, "window");
    EXPECT_TRUE(loadPng(work.file("headless.png")) == picture) << "headless.png is not window.png";
}

TEST_F(Headless, SvgIsByteStableAndPutsEachMarkWhereThePngHasIt) {
    write({"--svg", "a.svg", "--show", "solid"});
    const std::string svg = work.read("a.svg");
    write({"--svg", "a.svg", "--show", "solid"});
    EXPECT_EQ(work.read("a.svg"), svg);
    write({"--png", "a.png", "--show", "solid"});
    const RgbImage png = loadPng(work.file("a.png"));
    int marks = 0;
    for (const std::string& item : drawnItems(svg)) {
        double x = 0, y = 0;
        if (item.find('L') != std::string::npos || std::sscanf(item.c_str(), "%lf %lf", &x, &y) != 2)
            continue;
        ++marks;  // the 2 x 2 middle pixels of the 4-pixel square are the mark's
        for (int d = 0; d < 4; ++d)
            EXPECT_EQ(describe(png.at(int(x) + 1 + d % 2, int(y) + 1 + d / 2)), describe({0, 0, 255}))
                << "mark at " << item;
    }
    EXPECT_EQ(marks, 20);

    // A turntable's first picture is the single picture; the next is turned.
    write({"--svg", "turn.svg", "--frames", "4", "--show", "solid"});
    EXPECT_EQ(work.read("turn-000.svg"), svg);
    EXPECT_NE(work.read("turn-001.svg"), svg);
    EXPECT_EQ(work.names().size(), 2u + 10u + 4u);  // a.svg, a.png, the ten files, four pictures
}

TEST_F(Headless, OffOfTheDualReadBackDrawsTheDualsEdges) {
    for (const char* dual : {"program", "reciprocal"}) {
        SCOPED_TRACE(dual);
        write({".", "--solid", "2", "--dual", dual, "--show", "dual", "--off", "dual.off"}, false);
        write({".", "--solid", "2", "--dual", dual, "--show", "dual", "--angles", "20", "65", "--svg", "a.svg"}, false);
        write({"dual.off", "--show", "solid", "--angles", "20", "65", "--svg", "b.svg"}, false);
        const std::vector<std::string> drawn = drawnItems(work.read("a.svg"));
        EXPECT_EQ(drawn.size(), 12u + 6u);  // the octahedron's edges and vertices
        EXPECT_EQ(drawnItems(work.read("b.svg")), drawn);
    }
}

// The cube half way to its dual: a mark in the morph's purple at each of the
// cube's edge midpoints, turned and framed as the cube itself (the faint
// shells lie within it); an animation's pictures are the stages k / (N - 1).
TEST_F(Headless, MorphPictureMarksTheCubesEdgeMidpoints) {
    write({".", "--solid", "2", "--morph", "0.5", "--show", "solid", "--png", "m.png"}, false);
    const RgbImage png = loadPng(work.file("m.png"));
    std::vector<Model> models;
    std::string error;
    ASSERT_TRUE(loadDirectoryModels(work.path().string(), models, error)) << error;
    const Polyhedron& cube = models.at(1).solid;
    const Mat3 rx = rotationAboutX(30.0f), ry = rotationAboutY(45.0f);
    const auto turned = [&](Vec3 v) { return projectVertex(rotateVec3(ry, rotateVec3(rx, v))); };
    Point low = turned(cube.vertices[0]), high = low;
    for (const Vec3& v : cube.vertices) {
        const Point p = turned(v);
        low = {std::min(low.x, p.x), std::min(low.y, p.y), 9};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), 9};
    }
    const Camera camera = cameraFor(low, high);
    const Projection projection = projectionFor(camera, low, high, 1024, 700);
    for (const Edge& e : models.at(1).edges) {
        const Vec3 a = cube.vertices[std::size_t(e.a)], b = cube.vertices[std::size_t(e.b)];
        const Point mid = turned({(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2});
        const PixelPosition at = pixelOf(camera, projection, mid.x, mid.y);
        for (int d = 0; d < 4; ++d)  // the middle 2 x 2 pixels of the 4-pixel mark
            EXPECT_TRUE(shows(png.at(int(std::lround(at.x)) - 1 + d % 2, int(std::lround(at.y)) - 1 + d / 2),
                              {128, 0, 128}))
                << "edge " << e.a << "-" << e.b << " at " << at.x << " " << at.y;
    }
    write({".", "--solid", "2", "--svg", "plain.svg"}, false);
    write({".", "--solid", "2", "--morph", "0.5", "--svg", "half.svg"}, false);
    write({".", "--solid", "2", "--frames", "3", "--animate", "morph", "--svg", "m.svg"}, false);
    EXPECT_EQ(work.read("m-000.svg"), work.read("plain.svg"));
    EXPECT_EQ(work.read("m-001.svg"), work.read("half.svg"));
}

TEST_F(Headless, InfoPrintsTheCountsOfTheSolidItsDualAndTheMorph) {
    const RunResult r = run({".", "--solid", "4", "--morph", "0.25", "--info"}, false);
    EXPECT_TRUE(r.finished && r.status == 0 && r.err.empty()) << r.status << ": " << r.err;
    EXPECT_EQ(r.out,
              "solid: V 20  E 30  F 12  V-E+F 2  faces: 12 pentagons\n"
              "dual: V 12  E 30  F 20  V-E+F 2  faces: 20 triangles\n"
              "morph: V 60  E 90  F 32  V-E+F 2  faces: 20 triangles, 12 decagons\n");
}

TEST_F(Headless, RefusesBadRunsWithOneErrorAndStatus2LeavingNothing) {
    std::filesystem::create_directory(work.file("folder"));
    work.write("bad.off", "OFF\n4 1 0\n0 0 0\n1 0 0\n0 1 0\n0 0 1\n3 0 1 7\n");
    // A cube with its top pushed in to a point below it.
    work.write("dent.off", "9 9\n-1 -1 -1\n1 -1 -1\n1 1 -1\n-1 1 -1\n-1 -1 1\n1 -1 1\n1 1 1\n-1 1 1\n0 0 0.5\n"
                           "4 0 3 2 1\n4 0 1 5 4\n4 1 2 6 5\n4 2 3 7 6\n4 3 0 4 7\n"
                           "3 4 5 8\n3 5 6 8\n3 6 7 8\n3 7 4 8\n");
    const std::set<std::string> before = work.names();
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--size", "0x700", "--png", "x.png"}, "--size: 0x700: each side must be 1 to 16384 pixels\nusage: "},
        {{"--frames", "3", "--svg", "missing/t.svg"}, "missing/t.svg: the folder missing does not exist\n"},
        {{"--off", "folder"}, "folder: is a folder, not a file\n"},
        {{"--model", "kocka", "--png", "x.png"}, "--model kocka: no model of that name; the models are tetraedar, heksaedar,"},
        {{"missing", "--png", "x.png"}, "missing: cannot be read: No such file or directory\n"},
        {{"bad.off"}, "bad.off:7: face 0: vertex index 7 is outside 0..3\n"},
        {{"--morph", "1.5", "--svg", "x.svg"}, "--morph: the stage must be a number from 0 to 1\nusage: "},
        {{"dent.off", "--morph", "0.5", "--png", "x.png"},
         "dent has no morph: it is not convex: vertex 7 lies outside the plane of face 5\n"},
    };
    for (const auto& [args, err] : cases) {
        const RunResult r = run(args, false);
        EXPECT_TRUE(r.finished && r.status == 2) << args[0] << ": " << r.status;
        EXPECT_EQ(r.err.substr(0, 16 + err.size()), "duals-explorer: " + err);
        EXPECT_EQ(work.names(), before);
    }
}

}  // namespace
