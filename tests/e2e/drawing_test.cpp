// The picture of each solid with its dual, turned: every vertex's mark where
// the turned coordinates and the window's framing put it, every edge drawn,
// nothing else drawn, nothing touching the border.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "picture_prediction.h"
#include "solid_model.h"
#include "window_fixture.h"

namespace e2e {
namespace {

struct DrawingCase {
    int choice;
    float xDegrees;
    float yDegrees;
};

std::string caseName(const DrawingCase& c) {
    const auto angle = [](float a) {
        std::ostringstream s;
        s << (a < 0 ? "m" : "") << std::fabs(a);
        return s.str();
    };
    return solidName(c.choice) + "_" + angle(c.xDegrees) + "_" + angle(c.yDegrees);
}

void PrintTo(const DrawingCase& c, std::ostream* os) { *os << caseName(c); }

class DrawingTest : public WindowTest, public ::testing::WithParamInterface<DrawingCase> {};

TEST_P(DrawingTest, EveryVertexAndEdgeShowsWherePredicted) {
    const DrawingCase c = GetParam();
    VertexArrays turned;
    std::string error;
    ASSERT_TRUE(loadTurnedSolids(work.path(), c.xDegrees, c.yDegrees, turned, error)) << error;
    const ExpectedPicture expected = predictPicture(turned, c.choice);
    const SolidInfo& info = solidInfo(static_cast<SolidKind>(c.choice));
    ASSERT_EQ(expected.marks.size(), std::size_t(info.vertexCount + info.faceCount));

    WindowRun run(*x, work.path());
    std::ostringstream answers;
    answers << c.xDegrees << "\n" << c.yDegrees << "\n" << c.choice << "\n";
    const RgbImage picture = pictureOf(run, answers.str());
    expectPicture(picture, expected, caseName(c));
}

INSTANTIATE_TEST_SUITE_P(
    SolidsAndAngles, DrawingTest,
    ::testing::Values(DrawingCase{1, 30, 45}, DrawingCase{2, 30, 45}, DrawingCase{3, 30, 45},
                      DrawingCase{4, 30, 45}, DrawingCase{5, 30, 45}, DrawingCase{1, -20, 70},
                      DrawingCase{2, -20, 70}, DrawingCase{3, -20, 70}, DrawingCase{4, -20, 70},
                      DrawingCase{5, -20, 70}),
    [](const ::testing::TestParamInfo<DrawingCase>& info) { return caseName(info.param); });

}  // namespace
}  // namespace e2e
