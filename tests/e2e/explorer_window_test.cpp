// The explorer seen from outside under Xvfb and driven by synthetic input
// (xdotool, through XTest): its picture against the program's window for
// the same angles, a drag, keys, the saved picture and quitting.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "io/stl_reader.h"
#include "program_arrays.h"
#include "window_fixture.h"

using namespace pd;

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

    ProgramProcess explorer;
    XSession::WindowId window = 0;
};

// One run: a drag, then the cube (the program's own picture for the title's
// angles), the cube alone saved twice, and quitting.
TEST_F(ExplorerWindow, DragCubeSolidOnlySaveQuit) {
    int status = -1;
    RgbImage programFirst, program;
    for (auto [answers, picture] : {std::pair{"30 45 2\n", &programFirst}, {"30 65 2\n", &program}}) {
        WindowRun run(*x, work.path().string());
        *picture = pictureOf(run, answers);
        ASSERT_TRUE(run.closeWindow(status));
    }
    // The ten files of the working directory (a copy of data/), aliased as
    // the program draws.
    ASSERT_TRUE(explorer.start(PD_EXPLORER, work.path().string(), {"--aliased"})) << "cannot start it";
    const RgbImage first = picture("heksaedar  x 30  y 45");
    EXPECT_EQ(first, programFirst) << "the first frame is not the program's for 30 45 2";
    // 40 pixels right: a turn about the screen's vertical, which keeps the
    // program's view, b 45 + 20.
    const std::string id = std::to_string(window);
    xdotool({"mousemove", "--window", id, "500", "350", "mousedown", "1", "mousemove", "--window",
             id, "540", "350", "mouseup", "1"});
    EXPECT_FALSE(picture("heksaedar  x 30  y 65") == first) << "the drag changed nothing";
    type({"1"});
    picture("tetraedar  x 30  y 65");
    type({"2"});
    EXPECT_EQ(picture("heksaedar  x 30  y 65"), program) << "not the program's picture";

    // Saved with the key list shown: the picture without it.
    type({"d"});
    const RgbImage solidOnly = x->waitUntilDrawn(window, 30.0);
    type({"question", "s"});
    ASSERT_TRUE(explorer.waitForOutput("\n", 15.0)) << explorer.err();
    EXPECT_EQ(explorer.out(), "heksaedar-x30-y65.png\n");
    EXPECT_EQ(loadPng(work.file("heksaedar-x30-y65.png")), solidOnly);

    // The cube alone: the program's cube with no red anywhere.
    VertexArrays turned;
    std::string error;
    ASSERT_TRUE(loadTurnedSolids(work.path().string(), 30.0f, 65.0f, turned, error)) << error;
    ExpectedPicture expected = predictPicture(turned, 2);
    const auto keepBlue = [](auto& items) {
        items.erase(std::remove_if(items.begin(), items.end(), [](const auto& i) { return i.colour != 2; }),
                    items.end());
    };
    keepBlue(expected.marks);
    keepBlue(expected.segments);
    expectPicture(solidOnly, expected, "cube-alone");

    type({"s"});  // a second save takes the next free name
    ASSERT_TRUE(explorer.waitForOutput("-2.png\n", 15.0)) << explorer.out();
    type({"S"});  // the cube alone to print
    ASSERT_TRUE(explorer.waitForOutput(".stl\n", 15.0)) << explorer.out();
    EXPECT_EQ(readStl(work.read("heksaedar-x30-y65.stl"), "s").value().faceCount(), 6);
    type({"q"});
    ASSERT_TRUE(explorer.wait(15.0, status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(explorer.err(), "");
    window = 0;
}

// OFF models: the title names one in Cyrillic, in UTF-8 for the window
// manager too; keys 1 to 5 say what they are for; Esc with the menu open
// closes the menu and leaves the explorer running; a click lights what
// --pick names at that pixel, and Esc puts it out; q then quits (a menu
// still open would take it).
TEST_F(ExplorerWindow, SolidKeysWithOffModelsAndEscInTheMenu) {
    work.write("коцка.off", scratch::readFile(scratch::sourcePath("tests/data/model/cube.off")));
    ASSERT_TRUE(explorer.start(PD_EXPLORER, work.path().string(), {"коцка.off"})) << "cannot start it";
    picture("коцка  x 30  y 45");
    const RunResult names =
        runProgram("/usr/bin/xprop", "/", "", 10.0, {"-id", std::to_string(window), "_NET_WM_NAME", "WM_NAME"});
    EXPECT_EQ(names.out.rfind("_NET_WM_NAME(UTF8_STRING) = ", 0), 0u) << names.out;
    EXPECT_NE(names.out.find("\nWM_NAME(COMPOUND_TEXT) = "), std::string::npos) << names.out;
    type({"3"});
    picture("коцка  x 30  y 45 - keys 1 to 5 pick the ten files' solids; these models are OFF files (Tab goes through them)");
    const std::string id = std::to_string(window);
    // The pointer back over the picture, where the key reaches the window.
    xdotool({"mousemove", "--window", id, "300", "300", "click", "3", "sleep", "0.5", "mousemove", "--window", id,
             "50", "50", "sleep", "0.3", "key", "Escape", "sleep", "0.5"});
    EXPECT_TRUE(explorer.running()) << "Esc in the menu ended the explorer";
    const RunResult picked = runProgram(PD_EXPLORER, work.path().string(), "", 30.0,
                                        {"коцка.off", "--info", "--pick", "400,300"});
    const std::string part = picked.out.substr(picked.out.rfind('\n', picked.out.size() - 2) + 1);
    ASSERT_NE(part, "nothing\n");
    xdotool({"mousemove", "--window", id, "400", "300", "click", "1"});
    picture("коцка  x 30  y 45  " + part.substr(0, part.size() - 1));
    type({"Escape"});
    picture("коцка  x 30  y 45");
    EXPECT_TRUE(explorer.running()) << "Esc with something lit ended the explorer";
    type({"q"});
    int status = -1;
    ASSERT_TRUE(explorer.wait(15.0, status));
    EXPECT_EQ(status, 0);
    window = 0;
}

}  // namespace
