// The explorer's files made with no DISPLAY at all: the PNG against the
// window's own picture of the same state, the SVG against the PNG, the OFF
// model read back, and runs and inputs it refuses.

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

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

TEST_F(Headless, RefusesBadRunsWithOneErrorAndStatus2LeavingNothing) {
    std::filesystem::create_directory(work.file("folder"));
    work.write("bad.off", "OFF\n4 1 0\n0 0 0\n1 0 0\n0 1 0\n0 0 1\n3 0 1 7\n");
    work.write("flat.off", scratch::readFile(scratch::sourcePath("tests/data/model/flat.off")));
    work.write("turn-001.svg", "an earlier run's");
    const std::set<std::string> before = work.names();
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--size", "0x700", "--png", "x.png"}, "--size: 0x700: each side must be 1 to 16384 pixels\nusage: "},
        {{"--frames", "3", "--svg", "missing/t.svg"}, "missing/t-000.svg: the folder missing does not exist\n"},
        {{"--off", "folder"}, "folder: is a folder, not a file\n"},
        {{"--model", "kocka", "--png", "x.png"}, "--model kocka: no model of that name; the models are tetraedar, heksaedar,"},
        {{"missing", "--png", "x.png"}, "missing: cannot be read: No such file or directory\n"},
        {{"bad.off"}, "bad.off:7: face 0: vertex index 7 is outside 0..3\n"},
        // The first picture is written, the second's name is taken: the first goes again.
        {{"--frames", "3", "--svg", "turn.svg"},
         "turn-001.svg: already exists; --overwrite lets --frames replace existing pictures\n"},
        {{"flat.off", "--off", "flat-dual.off"}, "flat: no reciprocal dual, the program's is shown: face 0 lies in a "
         "plane through the centre, so it has no reciprocal\nduals-explorer: the program's dual of flat cannot be "
         "written as OFF: face 0 has 2 corners; a face needs at least 3\n"},
    };
    for (const auto& [args, err] : cases) {
        const RunResult r = run(args, false);
        EXPECT_TRUE(r.finished && r.status == 2) << args[0] << ": " << r.status;
        EXPECT_EQ(r.err.substr(0, 16 + err.size()), "duals-explorer: " + err);
        EXPECT_EQ(work.names(), before);
    }
}

}  // namespace
