#include "hidden/mark_thinning.h"

#include <gtest/gtest.h>

#include "view/frame_builder.h"
#include "gl/offscreen.h"
#include "gl/renderer.h"
#include "construct/geodesic_sphere.h"

using namespace pd;

namespace {

std::vector<std::uint8_t> drawn(const Frame& frame) {
    EXPECT_TRUE(renderFrame(frame).ok());
    std::vector<std::uint8_t> rgb(std::size_t(frame.width) * std::size_t(frame.height) * 3);
    EXPECT_TRUE(readPixelRows(frame.width, frame.height, 0, frame.height, 3, rgb.data()).ok());
    return rgb;
}

}  // namespace

// A sphere of 8 000 vertices and its dual of 16 000 on a small aliased
// picture, marks of even and odd width, turned so no position is special:
// with a third of the marks left out the pixels are the very same.
TEST(MarkThinning, LeavesOutMarksThatPaintNoPixelOfTheirOwn) {
    Result<std::unique_ptr<OffscreenContext>> context = OffscreenContext::create(160, 110);
    ASSERT_TRUE(context.ok()) << context.error().text();
    const Model sphere = buildModel("sphere", geodesicSphere(28), 0, 0);
    for (const double lineWidth : {1.0, 1.25}) {  // marks 4 and 5 pixels wide
        ViewState state = initialViewState(true);
        state.width = 160, state.height = 110, state.aliased = true, state.lineWidth = lineWidth;
        state.angleX = 17.3f, state.angleY = -41.9f;
        const Frame whole = buildFrame(sphere, state);
        Frame thinned = whole;
        thinMarks(thinned);
        std::size_t before = 0, after = 0;
        for (std::size_t s = 0; s < whole.shells.size(); ++s)
            before += whole.shells[s].marks.size(), after += thinned.shells[s].marks.size();
        EXPECT_LT(after, 2 * before / 3) << lineWidth;
        const std::vector<std::uint8_t> a = drawn(thinned), b = drawn(whole);
        int differ = 0;
        for (std::size_t i = 0; i < a.size(); i += 3) differ += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
        EXPECT_EQ(differ, 0) << "marks " << whole.markSize << " wide";
        // A smooth frame keeps them all.
        Frame smooth = whole;
        smooth.smooth = true;
        thinMarks(smooth);
        EXPECT_EQ(smooth.shells[0].marks, whole.shells[0].marks);
    }
}
