// The console dialogue of a real run: the three texts, in order, each before
// the answer it asks for, and nothing else.

#include <gtest/gtest.h>

#include <string>

#include "picture_prediction.h"
#include "solid_model.h"
#include "window_fixture.h"

namespace e2e {
namespace {

using ConsoleTest = WindowTest;

const std::string allThree = std::string(xPrompt) + yPrompt + menuText;

TEST_F(ConsoleTest, EachTextComesBeforeItsAnswerAndNothingElseIsWritten) {
    WindowRun run(*x, work.path());
    ProgramProcess& p = run.process();

    ASSERT_TRUE(p.waitForOutput(xPrompt, 30)) << "no x prompt; output: \"" << p.out() << "\"";
    EXPECT_EQ(p.out(), xPrompt);
    p.write("30\n");
    ASSERT_TRUE(p.waitForOutput(yPrompt, 30)) << "no y prompt; output: \"" << p.out() << "\"";
    EXPECT_EQ(p.out(), std::string(xPrompt) + yPrompt);
    p.write("45\n");
    ASSERT_TRUE(p.waitForOutput(menuText, 30)) << "no menu; output: \"" << p.out() << "\"";
    EXPECT_EQ(p.out(), allThree);
    p.write("2\n");

    // Once the picture is up, the program has written all it will write.
    run.awaitPicture();
    EXPECT_EQ(p.out(), allThree);

    int status = -1;
    ASSERT_TRUE(run.closeWindow(status)) << "the program did not end when its window closed";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(p.out(), allThree) << "written after the window closed";
    EXPECT_EQ(p.err(), "") << "a sound run writes nothing to standard error";
}

TEST_F(ConsoleTest, OneLineAnswersBothAnglePrompts) {
    WindowRun run(*x, work.path());
    ProgramProcess& p = run.process();

    ASSERT_TRUE(p.waitForOutput(xPrompt, 30)) << "no x prompt; output: \"" << p.out() << "\"";
    p.write("30 45\n");
    // The y prompt is written and its answer taken from the same line: the
    // menu follows without another line typed.
    ASSERT_TRUE(p.waitForOutput(menuText, 30)) << "output: \"" << p.out() << "\"";
    EXPECT_EQ(p.out(), allThree);
    p.write("2\n");
    const RgbImage picture = run.awaitPicture();

    // The picture shows the cube turned by 30 about x and 45 about y.
    VertexArrays turned;
    std::string error;
    ASSERT_TRUE(loadTurnedSolids(work.path(), 30.0f, 45.0f, turned, error)) << error;
    expectPicture(picture, predictPicture(turned, 2), "one_line_30_45");
}

}  // namespace
}  // namespace e2e
