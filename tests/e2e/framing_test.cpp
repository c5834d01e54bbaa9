// The window frames the whole scene: a cube of corners +-1 seen straight on
// shows all four sides, and scenes a thousandth of a unit or a hundred
// thousand units across are drawn whole, at a size that fills the window.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <tuple>

#include "picture_prediction.h"
#include "solid_model.h"
#include "window_fixture.h"

namespace e2e {
namespace {

using FramingTest = WindowTest;

// The largest |coordinate| among the used vertices of the solid `choice`.
float largestCoordinate(const VertexArrays& arrays, int choice) {
    const SolidKind kind = static_cast<SolidKind>(choice);
    const VertexArray& v = solidVerts(arrays, kind);
    float m = 0.0f;
    for (int i = 0; i < solidInfo(kind).vertexCount; ++i)
        m = std::max({m, std::fabs(v[i].x), std::fabs(v[i].y), std::fabs(v[i].z)});
    return m;
}

// The drawn part of the picture is as big as the window allows: along one
// axis it comes within a small margin of both borders, so the scene is not
// shown as a speck in the middle.
void expectFillsTheWindow(const RgbImage& picture) {
    constexpr int most = 25;  // pixels left free at an end: the margin and half a mark
    const DrawnBounds b = drawnBounds(picture);
    ASSERT_GT(b.count, 0) << "nothing is drawn";
    const int left = b.left, right = picture.width - 1 - b.right;
    const int top = b.top, bottom = picture.height - 1 - b.bottom;
    EXPECT_TRUE((left <= most && right <= most) || (top <= most && bottom <= most))
        << "the drawing leaves " << left << ", " << right << " pixels free left and right and "
        << top << ", " << bottom << " above and below";
}

TEST_F(FramingTest, CubeOfCornersPlusMinusOneShowsAllFourSidesStraightOn) {
    VertexArrays arrays;
    std::string error;
    ASSERT_TRUE(loadTurnedSolids(work.path(), 0.0f, 0.0f, arrays, error)) << error;
    const float size = largestCoordinate(arrays, Hexahedron);
    ASSERT_GT(size, 0.0f);
    ASSERT_TRUE(scaleVertexFiles(work.path(), 1.0 / size, error)) << error;
    ASSERT_TRUE(loadTurnedSolids(work.path(), 0.0f, 0.0f, arrays, error)) << error;
    for (int i = 0; i < 8; ++i) {
        const Vec3 v = arrays.cubeVerts[i];
        ASSERT_TRUE(std::fabs(std::fabs(v.x) - 1) < 1e-6 && std::fabs(std::fabs(v.y) - 1) < 1e-6 &&
                    std::fabs(std::fabs(v.z) - 1) < 1e-6)
            << "the data's cube, scaled, should have its corners at +-1; vertex " << i << " is ("
            << v.x << ", " << v.y << ", " << v.z << ")";
    }
    const ExpectedPicture expected = predictPicture(arrays, Hexahedron);

    WindowRun run(*x, work.path());
    const RgbImage picture = pictureOf(run, "0\n0\n2\n");
    expectPicture(picture, expected, "cube_straight_on");

    // Straight on, the cube is a square: its top and bottom sides are drawn
    // (along their whole length, not only near the corners) as well as its
    // left and right ones.
    const Camera camera = cameraFor(expected.boxMin, expected.boxMax);
    const Projection projection =
        projectionFor(camera, expected.boxMin, expected.boxMax, picture.width, picture.height);
    const Pixel blue = rgbOf(2), red = rgbOf(0);
    for (float t : {-0.75f, -0.5f, -0.25f, 0.25f, 0.5f, 0.75f}) {
        for (const auto& [sx, sy, side] :
             {std::tuple{t, 1.0f, "top"}, std::tuple{t, -1.0f, "bottom"},
              std::tuple{-1.0f, t, "left"}, std::tuple{1.0f, t, "right"}}) {
            const PixelPosition at = pixelOf(camera, projection, sx, sy);
            EXPECT_TRUE(picture.contains(int(at.x), int(at.y))) << side << " side outside the window";
            EXPECT_EQ(checkDrawnNear(picture, at, {blue, red}), "") << side << " side at " << t;
        }
    }

    // Seen independently of the predicted places: the drawing is square,
    // centred in the window and big.
    const DrawnBounds b = drawnBounds(picture);
    const double spanX = b.right - b.left + 1, spanY = b.bottom - b.top + 1;
    EXPECT_NEAR(spanX, spanY, 2.0) << "the square is drawn " << spanX << " x " << spanY;
    EXPECT_NEAR((b.left + b.right + 1) / 2.0, picture.width / 2.0, 2.0);
    EXPECT_NEAR((b.top + b.bottom + 1) / 2.0, picture.height / 2.0, 2.0);
    expectFillsTheWindow(picture);
}

// A scene scaled to `across` units (the larger side of its bounding box).
struct ScaleCase {
    const char* name;
    double across;
    int choice;
};

void PrintTo(const ScaleCase& c, std::ostream* os) { *os << c.name; }

class ScaleTest : public WindowTest, public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(ScaleTest, SceneIsDrawnWholeInsideTheWindow) {
    const ScaleCase c = GetParam();
    VertexArrays arrays;
    std::string error;
    ASSERT_TRUE(loadTurnedSolids(work.path(), 30.0f, 45.0f, arrays, error)) << error;
    const ExpectedPicture unscaled = predictPicture(arrays, c.choice);
    const double across = std::max(double(unscaled.boxMax.x) - unscaled.boxMin.x,
                                   double(unscaled.boxMax.y) - unscaled.boxMin.y);
    ASSERT_GT(across, 0.0);
    ASSERT_TRUE(scaleVertexFiles(work.path(), c.across / across, error)) << error;
    ASSERT_TRUE(loadTurnedSolids(work.path(), 30.0f, 45.0f, arrays, error)) << error;
    const ExpectedPicture expected = predictPicture(arrays, c.choice);
    const double scaledAcross = std::max(double(expected.boxMax.x) - expected.boxMin.x,
                                         double(expected.boxMax.y) - expected.boxMin.y);
    ASSERT_NEAR(scaledAcross / c.across, 1.0, 0.01) << "the scene did not scale as meant";

    WindowRun run(*x, work.path());
    const RgbImage picture = pictureOf(run, "30\n45\n" + std::to_string(c.choice) + "\n");
    expectPicture(picture, expected, c.name);
    expectFillsTheWindow(picture);
}

INSTANTIATE_TEST_SUITE_P(
    Scales, ScaleTest,
    ::testing::Values(ScaleCase{"thousandth_cube", 0.001, 2},
                      ScaleCase{"thousandth_icosahedron", 0.001, 5},
                      ScaleCase{"hundred_thousand_cube", 100000.0, 2},
                      ScaleCase{"hundred_thousand_icosahedron", 100000.0, 5}),
    [](const ::testing::TestParamInfo<ScaleCase>& info) { return std::string(info.param.name); });

// After the user resizes the window the picture is framed anew for the new
// size: everything where the framing for that size puts it, still whole.
struct ResizeCase {
    const char* name;
    int width;
    int height;
};

void PrintTo(const ResizeCase& c, std::ostream* os) { *os << c.width << "x" << c.height; }

class ResizeTest : public WindowTest, public ::testing::WithParamInterface<ResizeCase> {};

TEST_P(ResizeTest, PictureIsFramedForTheNewSize) {
    const ResizeCase c = GetParam();
    VertexArrays arrays;
    std::string error;
    ASSERT_TRUE(loadTurnedSolids(work.path(), 30.0f, 45.0f, arrays, error)) << error;
    const ExpectedPicture expected = predictPicture(arrays, Dodecahedron, c.width, c.height);

    WindowRun run(*x, work.path());
    pictureOf(run, "30\n45\n4\n");
    const XSession::WindowId window = run.awaitWindow();
    x->resize(window, c.width, c.height);

    // The program redraws in its own time: look until the picture is the
    // expected one or a generous bound passes, then judge the last look.
    RgbImage picture;
    const auto t0 = std::chrono::steady_clock::now();
    do {
        const WindowGeometry g = x->geometry(window);
        if (g.width == c.width && g.height == c.height) {
            picture = x->waitUntilDrawn(window, 30.0);
            if (comparePicture(picture, expected).empty()) break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (std::chrono::steady_clock::now() - t0 < std::chrono::seconds(15));
    ASSERT_EQ(picture.width, c.width) << "the window was not resized";
    ASSERT_EQ(picture.height, c.height) << "the window was not resized";
    expectPicture(picture, expected, c.name);
    expectFillsTheWindow(picture);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ResizeTest,
    ::testing::Values(ResizeCase{"tall", 640, 900}, ResizeCase{"wide", 1100, 300},
                      ResizeCase{"small", 160, 120}),
    [](const ::testing::TestParamInfo<ResizeCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
