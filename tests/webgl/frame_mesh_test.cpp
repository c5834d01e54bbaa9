#include "webgl/frame_mesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using namespace pd;

namespace {

// A frame of one shell: a slanted edge from (-1, -0.5) to (1, 0.5) and
// marks on both ends, in a 400 x 300 window.
Frame slantedEdge(double lineWidth, bool dashed) {
    Frame f;
    f.camera = cameraFor({-1.0f, -0.5f}, {1.0f, 0.5f});
    f.projection = projectionFor(f.camera, {-1.0f, -0.5f}, {1.0f, 0.5f}, 400, 300);
    f.lineWidth = lineWidth;
    f.markSize = 6.0;
    FrameShell s;
    s.xy = {-1.0f, -0.5f, 1.0f, 0.5f};
    s.z = {0.0f, 0.0f};
    (dashed ? s.dashed : s.lines) = {0, 1};
    s.marks = {0, 1};
    f.shells.push_back(s);
    return f;
}

// How far `v` lies from the line through a and b, along y (the edge runs
// mostly along x).
double acrossLine(const MeshVertex& v, PixelPosition a, PixelPosition b) {
    return std::fabs(v.y - (a.y + (v.x - a.x) * (b.y - a.y) / (b.x - a.x)));
}

}  // namespace

// As GL widens a line: half its width to either side along the shorter axis.
TEST(FrameMesh, LineIsTwoTrianglesHalfItsWidthAway) {
    const Frame f = slantedEdge(3.0, false);
    const FrameMesh mesh = buildFrameMesh(f);
    const PixelPosition a = pixelOf(f.camera, f.projection, -1.0f, -0.5f);
    const PixelPosition b = pixelOf(f.camera, f.projection, 1.0f, 0.5f);
    ASSERT_EQ(mesh.shells.size(), 1u);
    ASSERT_EQ(mesh.shells[0].lines.size(), 6u);
    for (const MeshVertex& v : mesh.shells[0].lines) {
        EXPECT_NEAR(acrossLine(v, a, b), 1.5, 1e-3);
        EXPECT_EQ(v.dash, -1.0f);
    }
}

TEST(FrameMesh, MarkIsASquareOnItsVertexPixel) {
    const Frame f = slantedEdge(1.0, false);
    const FrameMesh mesh = buildFrameMesh(f);
    const std::vector<MeshVertex>& marks = mesh.shells[0].marks;
    ASSERT_EQ(marks.size(), 12u);
    const PixelPosition a = pixelOf(f.camera, f.projection, -1.0f, -0.5f);
    double lowX = 1e9, highX = -1e9, lowY = 1e9, highY = -1e9;
    for (int k = 0; k < 6; ++k) {
        lowX = std::fmin(lowX, marks[k].x), highX = std::fmax(highX, marks[k].x);
        lowY = std::fmin(lowY, marks[k].y), highY = std::fmax(highY, marks[k].y);
    }
    EXPECT_NEAR(lowX, a.x - 3.0, 1e-3);
    EXPECT_NEAR(highX, a.x + 3.0, 1e-3);
    EXPECT_NEAR(lowY, a.y - 3.0, 1e-3);
    EXPECT_NEAR(highY, a.y + 3.0, 1e-3);
}

// The count starts at 0 at the segment's start and runs one per pixel along
// its longer axis over the stretch (2 for a line 2 wide): on for four, off
// for four.
TEST(FrameMesh, DashesStartOnAndKeepThePatternsPhase) {
    const Frame f = slantedEdge(2.0, true);
    const FrameMesh mesh = buildFrameMesh(f);
    const std::vector<MeshVertex>& dashed = mesh.shells[0].dashed;
    ASSERT_EQ(dashed.size(), 6u);
    const PixelPosition a = pixelOf(f.camera, f.projection, -1.0f, -0.5f);
    const PixelPosition b = pixelOf(f.camera, f.projection, 1.0f, 0.5f);
    EXPECT_EQ(dashed[0].dash, 0.0f);
    EXPECT_NEAR(dashed[1].dash, std::fabs(b.x - a.x) / 2.0, 1e-3);
    EXPECT_TRUE(dashOn(0.0) && dashOn(3.9) && !dashOn(4.0) && !dashOn(7.9) && dashOn(8.0) && dashOn(-1.0));
}

// A lit pixel of the font is a square of the text's scale, its row's top
// at y - (7 - row) * scale: the '1''s top row has one pixel, column 2; a
// caron's (of 'ž', drawn as a capital) two rows higher still, over a blank.
TEST(FrameMesh, TextPixelsAreSquaresAboveTheBaseline) {
    for (const auto& [text, column, rise] : {std::tuple{"1", 2, 7}, {"ž", 1, 10}}) {
        Frame f = slantedEdge(1.0, false);
        f.texts.push_back({text, 10.0, 20.0, Rgb{0.0f, 0.0f, 0.0f}, 2, std::nullopt});
        const FrameMesh mesh = buildFrameMesh(f);
        const std::vector<MeshVertex>& overlay = mesh.overlay;
        ASSERT_FALSE(overlay.empty());
        EXPECT_EQ(overlay[0].x, 10.0f + 2 * column) << text;
        EXPECT_EQ(overlay[0].y, 20.0f - rise * 2) << text;
        EXPECT_EQ(overlay[2].x - overlay[0].x, 2.0f);
    }
}

// As GL's own lines and points: a dashed segment is its two end pixels
// with the same counts a quad's corners carry, a mark its vertex's pixel.
TEST(FrameMesh, ThinLinesAreTheirEndsAndMarksTheirPixels) {
    const Frame f = slantedEdge(1.0, true);
    const FrameMesh quads = buildFrameMesh(f);
    const FrameMesh thin = buildFrameMesh(f, MeshShape::LinesAndPoints);
    EXPECT_EQ(thin.shape, MeshShape::LinesAndPoints);
    const PixelPosition a = pixelOf(f.camera, f.projection, -1.0f, -0.5f);
    const PixelPosition b = pixelOf(f.camera, f.projection, 1.0f, 0.5f);
    const std::vector<MeshVertex>& dashed = thin.shells[0].dashed;
    ASSERT_EQ(dashed.size(), 2u);
    EXPECT_NEAR(dashed[0].x, a.x, 1e-3);
    EXPECT_NEAR(dashed[0].y, a.y, 1e-3);
    EXPECT_NEAR(dashed[1].x, b.x, 1e-3);
    EXPECT_NEAR(dashed[1].y, b.y, 1e-3);
    EXPECT_EQ(dashed[0].dash, quads.shells[0].dashed[0].dash);
    EXPECT_EQ(dashed[1].dash, quads.shells[0].dashed[1].dash);
    const std::vector<MeshVertex>& marks = thin.shells[0].marks;
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_NEAR(marks[1].x, b.x, 1e-3);
    EXPECT_NEAR(marks[1].y, b.y, 1e-3);
}
