// The explorer seen from outside under Xvfb and driven by synthetic input
// (xdotool, through XTest): its pictures against the program's window for
// the same angles, a drag, keys, the saved picture, quitting, and inputs
// it refuses.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "solid_model.h"
#include "window_fixture.h"

namespace {

using namespace e2e;

// Runs xdotool with `args`; XTest sends keys and buttons to the window
// under the pointer.
void xdotool(const std::vector<std::string>& args) {
    const RunResult run = runProgram("/usr/bin/xdotool", "/", "", 10.0, args);
    ASSERT_TRUE(run.finished && run.status == 0) << "xdotool failed: " << run.err;
}

class ExplorerWindow : public WindowTest {
protected:
    void TearDown() override {
        explorer.kill();
        if (window != 0) x->waitUntilGone(window, 10.0);
        WindowTest::TearDown();
    }

    // Starts the explorer with no argument in the working directory, a copy
    // of data/, and returns its first picture.
    RgbImage start() {
        EXPECT_TRUE(explorer.start(PD_EXPLORER, work.path().string())) << "cannot start it";
        return picture("tetraedar  x 30  y 45");
    }

    // The settled picture of the explorer's window once it has `title`.
    RgbImage picture(const std::string& title) {
        window = x->waitForWindow(title, 30.0);
        return x->waitUntilDrawn(window, 30.0);
    }

    // Types `keys` (xdotool's names) with the pointer over the window.
    void type(std::vector<std::string> keys) {
        keys.insert(keys.begin(), {"mousemove", "--window", std::to_string(window), "5", "5", "key"});
        xdotool(keys);
    }

    // The program's picture for `answers`, its window closed again.
    RgbImage programPicture(const std::string& answers) {
        WindowRun run(*x, work.path().string());
        const RgbImage image = pictureOf(run, answers);
        int status = -1;
        EXPECT_TRUE(run.closeWindow(status));
        return image;
    }

    ProgramProcess explorer;
    XSession::WindowId window = 0;
};

TEST_F(ExplorerWindow, DragTurnsAsTheProgramWouldForTheTitlesAngles) {
    const RgbImage first = start();
    // 40 pixels right and 20 up: b 45 + 20, a 30 - 10.
    const std::string id = std::to_string(window);
    xdotool({"mousemove", "--window", id, "500", "350", "mousedown", "1", "mousemove", "--window",
             id, "540", "330", "mouseup", "1"});
    const RgbImage turned = picture("tetraedar  x 20  y 65");
    savePicture(turned, "dragged");
    EXPECT_FALSE(turned == first) << "the drag changed nothing";
    type({"q"});
    int status = -1;
    ASSERT_TRUE(explorer.wait(15.0, status));
    EXPECT_EQ(status, 0);
    x->waitUntilGone(window, 10.0);
    window = 0;
    EXPECT_EQ(turned, programPicture("20 65 1\n")) << "turned frame differs from the program's";
}

TEST_F(ExplorerWindow, CubeThenSolidOnlyThenSaveThenQuit) {
    const RgbImage program = programPicture("30 45 2\n");
    start();
    type({"2"});
    EXPECT_EQ(picture("heksaedar  x 30  y 45"), program);

    type({"d", "s"});
    ASSERT_TRUE(explorer.waitForOutput("\n", 15.0)) << explorer.err();
    EXPECT_EQ(explorer.out(), "heksaedar-x30-y45.png\n");
    const RgbImage solidOnly = x->waitUntilDrawn(window, 30.0);
    EXPECT_EQ(loadPng(work.file("heksaedar-x30-y45.png")), solidOnly);

    // The cube alone: the program's cube with no red anywhere.
    VertexArrays turned;
    std::string error;
    ASSERT_TRUE(loadTurnedSolids(work.path().string(), 30.0f, 45.0f, turned, error)) << error;
    ExpectedPicture expected = predictPicture(turned, 2);
    const auto red = [](const auto& item) { return item.colour != 2; };
    auto& marks = expected.marks;
    marks.erase(std::remove_if(marks.begin(), marks.end(), red), marks.end());
    auto& segments = expected.segments;
    segments.erase(std::remove_if(segments.begin(), segments.end(), red), segments.end());
    expectPicture(solidOnly, expected, "cube-alone");

    type({"s"});  // a second save takes the next free name
    ASSERT_TRUE(explorer.waitForOutput("-2.png\n", 15.0)) << explorer.out();
    type({"q"});
    int status = -1;
    ASSERT_TRUE(explorer.wait(15.0, status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(explorer.err(), "");
    window = 0;
}

TEST(ExplorerInputs, RefusedWithOneLineAndStatus2BeforeAnyWindow) {
    scratch::ScratchDir dir;
    dir.copyShippedData();
    dir.remove("kocka.dat");
    dir.write("bad.off", "OFF\n4 1 0\n0 0 0\n1 0 0\n0 1 0\n0 0 1\n3 0 1 7\n");
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{}, "duals-explorer: ./kocka.dat: cannot be read: No such file or directory\n"},
        {{"missing"}, "duals-explorer: missing: cannot be read: No such file or directory\n"},
        {{"bad.off"}, "duals-explorer: bad.off:7: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0]);
        const RunResult run = runProgram(PD_EXPLORER, dir.path().string(), "", 10.0, c.args);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.substr(0, c.err.size()), c.err);
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

}  // namespace
