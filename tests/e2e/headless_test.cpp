// The explorer's files made without a window (no DISPLAY at all): the PNG
// against the window's own picture of the same state, the SVG against the
// PNG, the OFF model read back, and runs it refuses.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "window_fixture.h"

namespace {

using namespace e2e;

// What an SVG of the explorer draws, per stroke colour: sorted segments
// (each with its ends in sorted order) of solid and dashed lines, and the
// centres of the end marks, all as the file writes the numbers.
struct SvgDrawing {
    std::map<std::string, std::vector<std::string>> lines, dashed, marks;
};

std::vector<std::string> pieces(const std::string& d) {
    std::vector<std::string> out;
    std::istringstream in(d);
    for (std::string item; std::getline(in, item, 'M');)
        if (!item.empty()) out.push_back(item.back() == ' ' ? item.substr(0, item.size() - 1) : item);
    return out;
}

SvgDrawing readSvg(const std::string& svg) {
    SvgDrawing drawing;
    std::istringstream in(svg);
    std::string colour;
    for (std::string line; std::getline(in, line);) {
        const std::size_t d = line.find(" d=\"");
        if (line.rfind("<g stroke=\"", 0) == 0) colour = line.substr(11, 7);
        if (line.rfind("<path", 0) != 0 || d == std::string::npos) continue;
        const std::string path = line.substr(d + 4, line.rfind('"') - d - 4);
        auto& list = line.find("dasharray") != std::string::npos ? drawing.dashed[colour]
                     : line.find("fill=") != std::string::npos   ? drawing.marks[colour]
                                                                 : drawing.lines[colour];
        for (std::string item : pieces(path)) {
            const std::size_t l = item.find('L');
            if (l != std::string::npos)
                item = std::min(item.substr(0, l), item.substr(l + 1)) + "L" +
                       std::max(item.substr(0, l), item.substr(l + 1));
            list.push_back(item.substr(0, item.find('h')));
        }
        std::sort(list.begin(), list.end());
    }
    return drawing;
}

class Headless : public WindowTest {
protected:
    void TearDown() override {
        explorer.kill();
        if (window != 0) x->waitUntilGone(window, 10.0);
        WindowTest::TearDown();
    }

    // Runs the explorer in the working directory with DISPLAY removed from
    // its environment, so any attempt to reach an X server fails.
    RunResult headless(const std::vector<std::string>& args) {
        std::vector<std::string> all{"-u", "DISPLAY", PD_EXPLORER};
        all.insert(all.end(), args.begin(), args.end());
        return runProgram("/usr/bin/env", work.path().string(), "", 60.0, all);
    }

    void expectWritten(const std::vector<std::string>& args) {
        const RunResult run = headless(args);
        EXPECT_TRUE(run.finished && run.status == 0) << run.status << ": " << run.err;
        EXPECT_EQ(run.err, "");
    }

    ProgramProcess explorer;
    XSession::WindowId window = 0;
};

const std::vector<std::string> dodecahedron{".", "--solid", "4", "--angles", "20", "65",
                                            "--back", "dashed", "--numbers"};

// The window and the offscreen context are both Mesa's llvmpipe with the
// same GL state, so we allow no difference at all: any pixel that differs
// fails the test (measured: identical on every run here).
TEST_F(Headless, PngIsTheWindowsPictureOfTheSameState) {
    std::vector<std::string> args = dodecahedron;
    args.insert(args.end(), {"--png", "headless.png"});
    expectWritten(args);
    const RgbImage png = loadPng(work.file("headless.png"));

    ASSERT_TRUE(explorer.start(PD_EXPLORER, work.path().string(), dodecahedron));
    window = x->waitForWindow("dodekaedar  x 20  y 65", 30.0);
    const RgbImage shown = x->waitUntilDrawn(window, 30.0);
    savePicture(shown, "window");
    ASSERT_EQ(png.width, shown.width);
    ASSERT_EQ(png.height, shown.height);
    int differing = 0;
    for (std::size_t i = 0; i < png.pixels.size(); ++i) differing += png.pixels[i] != shown.pixels[i];
    EXPECT_EQ(differing, 0) << "pixels differ between headless.png and the window (saved as window.png)";
}

TEST_F(Headless, SvgIsByteStableAndPutsEachMarkWhereThePngHasIt) {
    std::vector<std::string> svgArgs = dodecahedron, pngArgs = dodecahedron;
    svgArgs.insert(svgArgs.end(), {"--svg", "a.svg"});
    pngArgs.insert(pngArgs.end(), {"--png", "a.png"});
    expectWritten(svgArgs);
    const std::string first = work.read("a.svg");
    expectWritten(svgArgs);
    EXPECT_EQ(work.read("a.svg"), first);

    expectWritten(pngArgs);
    const RgbImage png = loadPng(work.file("a.png"));
    const std::map<std::string, Pixel> colours{{"#0000ff", {0, 0, 255}}, {"#ff0000", {255, 0, 0}}};
    const SvgDrawing drawing = readSvg(first);
    ASSERT_EQ(drawing.marks.size(), 2u);
    int checked = 0;
    for (const auto& [colour, corners] : drawing.marks) {
        for (const std::string& corner : corners) {
            // Corner of the 4-pixel square; its middle pixels hold the mark
            // (a line of the other shell may cross some of them).
            double x = 0, y = 0;
            ASSERT_EQ(std::sscanf(corner.c_str(), "%lf %lf", &x, &y), 2) << corner;
            int hits = 0;
            for (int dy = 1; dy <= 2; ++dy)
                for (int dx = 1; dx <= 2; ++dx)
                    hits += png.at(int(x + dx), int(y + dy)) == colours.at(colour);
            EXPECT_GE(hits, 2) << colour << " mark at " << corner;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 20 + 12);

    // A turntable's first picture is the single picture; the next is turned.
    std::vector<std::string> turnArgs = dodecahedron;
    turnArgs.insert(turnArgs.end(), {"--frames", "4", "--svg", "turn.svg"});
    expectWritten(turnArgs);
    EXPECT_EQ(work.read("turn-000.svg"), first);
    EXPECT_NE(work.read("turn-001.svg"), first);
    EXPECT_NE(work.read("turn-003.svg"), "<missing>");
    EXPECT_EQ(work.read("turn-004.svg"), "<missing>");
}

TEST_F(Headless, OffOfTheDualReadBackDrawsTheDualsEdges) {
    const std::vector<std::string> view{"--angles", "20", "65", "--back", "dashed"};
    for (const char* dual : {"program", "reciprocal"}) {
        SCOPED_TRACE(dual);
        std::vector<std::string> off{".", "--solid", "2", "--dual", dual, "--show", "dual", "--off",
                                     "dual.off"};
        expectWritten(off);
        std::vector<std::string> asDual = off, readBack{"dual.off", "--show", "solid", "--svg", "b.svg"};
        asDual.erase(asDual.end() - 2, asDual.end());
        asDual.insert(asDual.end(), {"--svg", "a.svg"});
        asDual.insert(asDual.end(), view.begin(), view.end());
        readBack.insert(readBack.end(), view.begin(), view.end());
        expectWritten(asDual);
        expectWritten(readBack);
        const SvgDrawing original = readSvg(work.read("a.svg")), back = readSvg(work.read("b.svg"));
        EXPECT_EQ(original.lines.at("#ff0000"), back.lines.at("#0000ff"));
        EXPECT_EQ(original.dashed.at("#ff0000"), back.dashed.at("#0000ff"));
        EXPECT_EQ(original.marks.at("#ff0000"), back.marks.at("#0000ff"));
        EXPECT_EQ(original.lines.at("#ff0000").size() + original.dashed.at("#ff0000").size(), 12u);
    }
}

TEST_F(Headless, RefusesBadRunsWithOneErrorAndStatus2LeavingNothing) {
    std::filesystem::create_directory(work.file("folder"));
    const std::set<std::string> before = work.names();
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"--size", "0x700", "--png", "x.png"}, "duals-explorer: --size: 0x700: each side must be 1 to 16384 pixels\nusage: "},
        {{"--frames", "1000000", "--png", "x.png"}, "duals-explorer: --frames: Value 1000000 not in range"},
        {{"--png", "missing/x.png"}, "duals-explorer: missing/x.png: the folder missing does not exist\n"},
        {{"--frames", "3", "--svg", "missing/t.svg"}, "duals-explorer: missing/t.svg: the folder missing does not exist\n"},
        {{"--off", "folder"}, "duals-explorer: folder: is a folder, not a file\n"},
        {{"--model", "kocka", "--png", "x.png"}, "duals-explorer: --model kocka: no model of that name; the models are tetraedar, heksaedar,"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const RunResult run = headless(c.args);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.substr(0, c.err.size()), c.err);
        EXPECT_EQ(work.names(), before);
    }
}

}  // namespace
