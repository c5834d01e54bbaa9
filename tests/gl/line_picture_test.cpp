#include "gl/line_picture.h"

#include <gtest/gtest.h>

#include "view/frame_builder.h"
#include "gl/offscreen.h"
#include "gl/renderer.h"
#include "gl/smooth_target.h"
#include "construct/conway.h"
#include "construct/geodesic_sphere.h"
#include "picture/png_file.h"
#include "scratch_dir.h"

using namespace pd;

namespace {

// `solid` moved off the origin (so the camera is too) with its dual,
// turned by `angle` about both axes, enlarged by `zoom`.
Frame frameOf(Polyhedron solid, float angle, double zoom, bool aliased, double lineWidth) {
    for (Vec3& v : solid.vertices) v.x += 2.5f, v.y -= 1.5f, v.z += 0.7f;
    const Model model = buildModel("model", std::move(solid), 0, 0);
    ViewState state = initialViewState(true);
    state.width = 320, state.height = 220, state.aliased = aliased, state.lineWidth = lineWidth;
    state.angleX = angle, state.angleY = -angle, state.zoom = zoom;
    return buildFrame(model, state);
}

// What the context draws for `frame` (through a multisampled framebuffer
// when smooth), as RGB rows from the bottom: drawLinePicture's order.
std::vector<std::uint8_t> drawnByGl(const Frame& frame) {
    SmoothTarget target;
    EXPECT_TRUE(target.draw(frame).ok());
    const int w = frame.width, h = frame.height;
    std::vector<std::uint8_t> rgb(std::size_t(w) * std::size_t(h) * 3);
    EXPECT_TRUE(readPixelRows(w, h, 0, h, 3, rgb.data()).ok());
    std::vector<std::uint8_t> bottomUp(rgb.size());
    const std::size_t row = std::size_t(w) * 3;
    for (int y = 0; y < h; ++y) std::copy_n(&rgb[row * std::size_t(h - 1 - y)], row, &bottomUp[row * std::size_t(y)]);
    return bottomUp;
}

}  // namespace

// A sphere with its dual turned so no position is special, enlarged past
// the picture's borders, and a cube with its octahedron seen square on
// (edges along the axes), drawn by the software GL and on the CPU,
// aliased and smooth, at two line widths: the pictures agree but for
// pixels where a line or mark edge falls on a sample (GL's own rounding),
// and a frame big enough to be drawn on the CPU by renderFrame comes out
// of GL exactly as drawn.
TEST(LinePicture, DrawsWhatGlDraws) {
    Result<std::unique_ptr<OffscreenContext>> context = OffscreenContext::create(320, 220);
    ASSERT_TRUE(context.ok()) << context.error().text();
    for (const bool aliased : {true, false})
        for (const double lineWidth : {1.0, 2.0})
            for (const bool sphere : {true, false}) {
                // The sphere runs past the borders; no vertex of the cube
                // lies on a pixel border (where GL's float rounding decides).
                const Frame frame = sphere ? frameOf(geodesicSphere(9), 17.3f, 1.6, aliased, lineWidth)
                                           : frameOf(conwaySeed('C'), 0.0f, 0.937, aliased, lineWidth);
                ASSERT_TRUE(isFlatLineDrawing(frame));
                ASSERT_FALSE(drawsLinesOnCpu(frame));
                const std::vector<std::uint8_t> gl = drawnByGl(frame), cpu = drawLinePicture(frame, !aliased);
                ASSERT_EQ(cpu.size() / 4, gl.size() / 3);
                std::size_t painted = 0, differ = 0;
                for (std::size_t p = 0; p < gl.size() / 3; ++p) {
                    bool same = true;
                    for (std::size_t c = 0; c < 3; ++c) same = same && gl[3 * p + c] == cpu[4 * p + c];
                    differ += !same;
                    painted += gl[3 * p] != gl[0] || gl[3 * p + 1] != gl[1] || gl[3 * p + 2] != gl[2];
                }
                // Measured: at most 0.4 % aliased, 1 % smooth.
                EXPECT_GT(painted, sphere ? gl.size() / 3 / 4 : 300);
                EXPECT_LT(differ * 50, painted) << "aliased " << aliased << ", width " << lineWidth << ", sphere " << sphere;
            }
    const Frame big = frameOf(geodesicSphere(60), 17.3f, 1.0, false, 1.0);
    ASSERT_TRUE(drawsLinesOnCpu(big));
    const std::vector<std::uint8_t> gl = drawnByGl(big), cpu = drawLinePicture(big, true);
    std::size_t differ = 0;
    for (std::size_t p = 0; p < gl.size() / 3; ++p)
        for (std::size_t c = 0; c < 3; ++c) differ += gl[3 * p + c] != cpu[4 * p + c];
    EXPECT_EQ(differ, 0u);
}

// Serbian letters of both scripts, small ones as capitals, the accents over
// them within the line's height, a letter the font lacks and a byte of no
// character as boxes; at the font's size (glBitmap) and doubled (squares).
TEST(LinePicture, SerbianLettersAsStored) {
    Result<std::unique_ptr<OffscreenContext>> context = OffscreenContext::create(200, 70);
    ASSERT_TRUE(context.ok()) << context.error().text();
    Frame frame;
    frame.width = 200, frame.height = 70;
    frame.camera = cameraFor({-1.0f, -1.0f}, {1.0f, 1.0f});
    frame.projection = projectionFor(frame.camera, {-1.0f, -1.0f}, {1.0f, 1.0f}, 200, 70);
    const Rgb ink{0.0f, 0.0f, 0.0f};
    frame.texts = {{"ČĆĐŠŽ čćđšž „Ž“–’… ü\xFF", 8, 14, ink, 1, {}},
                   {"АБВГДЂЕЖЗИЈКЛЉМН", 8, 25, ink, 1, {}},
                   {"ЊОПРСТЋУФХЦЧЏШ", 8, 36, ink, 1, {}},
                   {"Čačak ђак", 8, 62, ink, 2, {}}};
    SmoothTarget target;
    ASSERT_TRUE(target.draw(frame).ok());
    std::vector<std::uint8_t> rgb(200 * 70 * 3);
    ASSERT_TRUE(readPixelRows(200, 70, 0, 70, 3, rgb.data()).ok());
    scratch::ScratchDir dir;
    ASSERT_TRUE(writePngFile(dir.file("letters.png"), 200, 70, rgb).ok());
    EXPECT_TRUE(dir.read("letters.png") == scratch::readFile(scratch::sourcePath("tests/data/pictures/serbian-letters.png")))
        << "differs from tests/data/pictures/serbian-letters.png: see " << dir.file("letters.png");
    if (HasFailure()) dir.keep();
}
