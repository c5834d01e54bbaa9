// The window as the window system sees it: its title, size and place, the
// empty picture of a choice that names no solid, and closing it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "window_fixture.h"

namespace e2e {
namespace {

using WindowPropertiesTest = WindowTest;

TEST_F(WindowPropertiesTest, HasItsTitleSizeAndPlace) {
    WindowRun run(*x, work.path());
    run.process().write("30\n45\n2\n");
    const XSession::WindowId window = run.awaitWindow();

    // Found by its exact title, and it is the only window so titled.
    EXPECT_EQ(x->windowsTitled(windowTitle).size(), 1u);
    const WindowGeometry g = x->geometry(window);
    EXPECT_EQ(g.width, 1024);
    EXPECT_EQ(g.height, 700);
    // There is no window manager on the test's server to move it.
    EXPECT_EQ(g.x, 100);
    EXPECT_EQ(g.y, 50);

    const RgbImage picture = run.awaitPicture();
    EXPECT_EQ(picture.width, 1024);
    EXPECT_EQ(picture.height, 700);
}

TEST_F(WindowPropertiesTest, ClosingTheWindowEndsTheProgramWithStatusZero) {
    WindowRun run(*x, work.path());
    run.process().write("-20\n70\n5\n");
    const XSession::WindowId window = run.awaitWindow();
    run.awaitPicture();

    int status = -1;
    ASSERT_TRUE(run.closeWindow(status)) << "the program still runs after WM_DELETE_WINDOW";
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(x->waitUntilGone(window, 10.0));
    EXPECT_TRUE(x->windowsTitled(windowTitle).empty());
}

// The command line goes to GLUT untouched: with no DISPLAY in its
// environment, the program still finds the server named by -display.
TEST_F(WindowPropertiesTest, GlutOptionsOnTheCommandLineTakeEffect) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr);
    const std::string display = std::getenv("DISPLAY");
    ::unsetenv("DISPLAY");  // the child is forked with this environment
    WindowRun run(*x, work.path(), {"-display", display});
    ::setenv("DISPLAY", display.c_str(), 1);
    run.process().write("0\n0\n1\n");
    const RgbImage picture = run.awaitPicture();
    EXPECT_NE(checkOnlyClear(picture), "") << "the tetrahedron should be drawn";
    int status = -1;
    ASSERT_TRUE(run.closeWindow(status));
    EXPECT_EQ(status, 0);
}

// Answers whose menu choice names no solid: the window opens all the same,
// on the clear colour alone, and the console shows only the three texts.
struct NoSolidCase {
    const char* name;
    const char* answers;
};

void PrintTo(const NoSolidCase& c, std::ostream* os) { *os << c.name; }

class NoSolidTest : public WindowTest, public ::testing::WithParamInterface<NoSolidCase> {};

TEST_P(NoSolidTest, WindowShowsOnlyTheClearColour) {
    WindowRun run(*x, work.path());
    run.process().write(GetParam().answers);
    const RgbImage picture = run.awaitPicture();
    ASSERT_EQ(picture.width, 1024);
    ASSERT_EQ(picture.height, 700);
    const std::string problem = checkOnlyClear(picture);
    EXPECT_EQ(problem, "") << "saved as " << savePicture(picture, GetParam().name);
    EXPECT_EQ(run.process().out(), std::string(xPrompt) + yPrompt + menuText);

    int status = -1;
    ASSERT_TRUE(run.closeWindow(status));
    EXPECT_EQ(status, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, NoSolidTest,
    ::testing::Values(NoSolidCase{"zero", "30\n45\n0\n"}, NoSolidCase{"six", "30\n45\n6\n"},
                      NoSolidCase{"minus_one", "30\n45\n-1\n"},
                      NoSolidCase{"letters", "30\n45\nabc\n"},
                      // Letters at the first prompt leave every later read
                      // nothing to convert either.
                      NoSolidCase{"letters_everywhere", "abc\n"}),
    [](const ::testing::TestParamInfo<NoSolidCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
