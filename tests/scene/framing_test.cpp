#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scene/framing.h"

namespace {

constexpr double pi = 3.141592653589793;

Point at(float x, float y) {
    Point p;
    p.x = x;
    p.y = y;
    return p;
}

// Where GL puts a point of the plane z = 0, worked out from the perspective
// and the camera translation the window loads, independently of pixelOf.
PixelPosition throughGl(const Camera& c, const Projection& p, float x, float y) {
    const double f = 1.0 / std::tan(p.fovY * pi / 360.0);
    const double eyeX = double(x) - c.cx, eyeY = double(y) - c.cy, eyeZ = -double(c.distance);
    const double ndcX = (f / p.aspect) * eyeX / -eyeZ;
    const double ndcY = f * eyeY / -eyeZ;
    return {(ndcX + 1.0) * p.viewportWidth / 2.0, (1.0 - ndcY) * p.viewportHeight / 2.0};
}

struct Size {
    int w, h;
};

// Every corner of the box lands inside the window with the margin and half
// an end mark to spare, and the box is not needlessly small: it fills the
// room along at least one axis.
void expectFramed(Point lo, Point hi, Size size) {
    const Camera cam = cameraFor(lo, hi);
    const Projection p = projectionFor(cam, lo, hi, size.w, size.h);
    ASSERT_GT(p.zNear, 0.0);
    ASSERT_LT(p.zNear, cam.distance);
    ASSERT_GT(p.zFar, cam.distance);
    ASSERT_GT(p.fovY, 0.0);
    ASSERT_LT(p.fovY, 180.0);
    const double keep = framingMargin + endMarkSize / 2.0;
    double spanX = 0, spanY = 0;
    PixelPosition first{};
    for (int k = 0; k < 4; ++k) {
        const float x = (k & 1) ? hi.x : lo.x;
        const float y = (k & 2) ? hi.y : lo.y;
        const PixelPosition q = pixelOf(cam, p, x, y);
        const PixelPosition g = throughGl(cam, p, x, y);
        EXPECT_NEAR(q.x, g.x, 0.01) << size.w << "x" << size.h;
        EXPECT_NEAR(q.y, g.y, 0.01) << size.w << "x" << size.h;
        EXPECT_GE(q.x, keep) << lo.x << ".." << hi.x << " in " << size.w << "x" << size.h;
        EXPECT_LE(q.x, size.w - keep) << lo.x << ".." << hi.x << " in " << size.w << "x" << size.h;
        EXPECT_GE(q.y, keep) << lo.y << ".." << hi.y << " in " << size.w << "x" << size.h;
        EXPECT_LE(q.y, size.h - keep) << lo.y << ".." << hi.y << " in " << size.w << "x" << size.h;
        if (k == 0) first = q;
        spanX = std::max(spanX, std::fabs(q.x - first.x));
        spanY = std::max(spanY, std::fabs(q.y - first.y));
    }
    const bool fillsWidth = spanX > size.w - 2 * keep - 4;
    const bool fillsHeight = spanY > size.h - 2 * keep - 4;
    EXPECT_TRUE(fillsWidth || fillsHeight) << spanX << " x " << spanY << " in " << size.w << "x"
                                           << size.h;
    // Centred on the box's centre.
    const PixelPosition mid = pixelOf(cam, p, cam.cx, cam.cy);
    EXPECT_NEAR(mid.x, size.w / 2.0, 1e-6);
    EXPECT_NEAR(mid.y, size.h / 2.0, 1e-6);
}

TEST(Framing, BoxFitsWithMarginAtEveryScaleAndWindowSize) {
    const Size sizes[] = {{1024, 700}, {700, 1024}, {300, 300}, {2000, 150}, {1280, 1024}};
    const float scales[] = {0.0005f, 0.01f, 1.0f, 1.7f, 300.0f, 50000.0f};
    for (Size size : sizes) {
        for (float s : scales) {
            expectFramed(at(-s, -s), at(s, s), size);           // square, centred
            expectFramed(at(-s, -3 * s), at(s, 3 * s), size);   // tall
            expectFramed(at(-4 * s, -s), at(4 * s, s), size);   // wide
        }
        expectFramed(at(2, 2), at(4, 4), size);                 // off centre
        expectFramed(at(1500, 800), at(1600, 900), size);
    }
}

TEST(Framing, CubeSeenStraightOnShowsAllFourSides) {
    // Corners of +-1 once fell outside a 1024 x 700 window at top and bottom.
    const Camera cam = cameraFor(at(-1, -1), at(1, 1));
    const Projection p = projectionFor(cam, at(-1, -1), at(1, 1), 1024, 700);
    EXPECT_GT(pixelOf(cam, p, 0, 1).y, 0.0);
    EXPECT_LT(pixelOf(cam, p, 0, -1).y, 700.0);
    EXPECT_EQ(cam.cx, 0.0f);
    EXPECT_EQ(cam.cy, 0.0f);
}

TEST(Framing, EmptySceneUsesTheStartingCorners) {
    const Point lo = at(1024, 700), hi = at(0, 0);
    const Camera cam = cameraFor(lo, hi);
    EXPECT_EQ(cam.cx, 512.0f);
    EXPECT_EQ(cam.cy, 350.0f);
    expectFramed(lo, hi, {1024, 700});
}

TEST(Framing, DegenerateAndInfiniteBoxesStillGiveAUsableView) {
    // All segment ends at one point.
    const Camera dot = cameraFor(at(0.5f, 0.5f), at(0.5f, 0.5f));
    const Projection pd = projectionFor(dot, at(0.5f, 0.5f), at(0.5f, 0.5f), 1024, 700);
    EXPECT_GT(dot.distance, 0.0f);
    EXPECT_TRUE(std::isfinite(pd.fovY) && pd.fovY > 0.0 && pd.fovY < 180.0);
    // A flat box: zero height.
    expectFramed(at(-2, 1), at(2, 1), {1024, 700});

    const float inf = std::numeric_limits<float>::infinity();
    const Camera far = cameraFor(at(-inf, 0), at(0, inf));
    EXPECT_TRUE(std::isfinite(far.cx) && std::isfinite(far.cy) && std::isfinite(far.distance));
    const Projection pf = projectionFor(far, at(-inf, 0), at(0, inf), 1024, 700);
    EXPECT_TRUE(std::isfinite(pf.fovY) && std::isfinite(pf.zNear) && std::isfinite(pf.zFar));
}

TEST(Framing, ZeroHeightCountsAsOne) {
    const Camera cam = cameraFor(at(-1, -1), at(1, 1));
    const Projection p = projectionFor(cam, at(-1, -1), at(1, 1), 640, 0);
    EXPECT_EQ(p.viewportWidth, 640);
    EXPECT_EQ(p.viewportHeight, 1);
    EXPECT_DOUBLE_EQ(p.aspect, 640.0);
    EXPECT_TRUE(p.fovY > 0.0 && p.fovY < 180.0);
    const Projection z = projectionFor(cam, at(-1, -1), at(1, 1), 0, 0);
    EXPECT_EQ(z.viewportWidth, 0);
    EXPECT_TRUE(std::isfinite(z.aspect) && z.aspect > 0.0);
}

}  // namespace
