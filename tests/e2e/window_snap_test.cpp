// window-snap, the tool that saves the window's picture on a machine with no
// screen, used on the real program.

#include <gtest/gtest.h>

#include <string>

#include "window_fixture.h"

namespace e2e {
namespace {

using WindowSnapTest = WindowTest;

TEST_F(WindowSnapTest, SavesTheDrawnPictureAndClosesTheWindow) {
    WindowRun run(*x, work.path());
    run.process().write("30\n45\n2\n");
    const RgbImage seen = run.awaitPicture();

    const std::string png = work.file("snap.png");
    ProgramProcess snap;
    ASSERT_TRUE(snap.start(PD_WINDOW_SNAP, work.path(),
                           {"--title", windowTitle, "--png", png, "--timeout", "30", "--close"}));
    int snapStatus = -1;
    ASSERT_TRUE(snap.wait(60, snapStatus));
    EXPECT_EQ(snapStatus, 0) << snap.err();

    // The PNG holds what the window showed.
    const RgbImage saved = loadPng(png);
    EXPECT_EQ(saved.width, 1024);
    EXPECT_EQ(saved.height, 700);
    EXPECT_TRUE(saved == seen) << "the saved picture differs from the window's";

    int status = -1;
    ASSERT_TRUE(run.process().wait(15, status)) << "the program still runs after --close";
    EXPECT_EQ(status, 0);
}

TEST_F(WindowSnapTest, FailsWithAMessageWhenNoSuchWindowComes) {
    const std::string png = work.file("none.png");
    ProgramProcess snap;
    ASSERT_TRUE(snap.start(PD_WINDOW_SNAP, work.path(),
                           {"--title", "no window has this title", "--png", png, "--timeout", "1"}));
    int status = -1;
    ASSERT_TRUE(snap.wait(30, status));
    EXPECT_NE(status, 0);
    EXPECT_NE(snap.err().find("no window has this title"), std::string::npos) << snap.err();
    EXPECT_THROW(loadPng(png), XWinError) << "a PNG was written all the same";
}

TEST_F(WindowSnapTest, RejectsAnIncompleteCommandLine) {
    ProgramProcess snap;
    ASSERT_TRUE(snap.start(PD_WINDOW_SNAP, work.path(), {"--title", windowTitle}));
    int status = -1;
    ASSERT_TRUE(snap.wait(30, status));
    EXPECT_EQ(status, 2);
    EXPECT_NE(snap.err().find("--png"), std::string::npos) << snap.err();
}

}  // namespace
}  // namespace e2e
