#include "geometry/framing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace pd;

namespace {

PlanePoint at(float x, float y) { return PlanePoint{x, y}; }

// Where GL puts a point of the plane z = 0, worked out from gluPerspective
// and the camera translation the window loads, independently of pixelOf.
PixelPosition throughGl(const Camera& c, const Projection& p, float x, float y) {
    const double f = 1.0 / std::tan(p.fovY * 3.141592653589793 / 360.0);
    const double ndcX = (f / p.aspect) * (double(x) - c.cx) / c.distance;
    const double ndcY = f * (double(y) - c.cy) / c.distance;
    return {(ndcX + 1.0) * p.viewportWidth / 2.0, (1.0 - ndcY) * p.viewportHeight / 2.0};
}

// Every corner lands where GL puts it, inside the window with the margin and
// half an end mark to spare, and the box fills the room along one axis.
void expectFramed(PlanePoint lo, PlanePoint hi, int w, int h) {
    SCOPED_TRACE(testing::Message() << lo.x << "," << lo.y << ".." << hi.x << "," << hi.y
                                    << " in " << w << "x" << h);
    const Camera cam = cameraFor(lo, hi);
    const Projection p = projectionFor(cam, lo, hi, w, h);
    ASSERT_TRUE(p.zNear > 0 && p.zNear < cam.distance && p.zFar > cam.distance);
    const double border = framingMargin + endMarkSize / 2.0;
    const PixelPosition a = pixelOf(cam, p, lo.x, lo.y), b = pixelOf(cam, p, hi.x, hi.y);
    for (const PlanePoint& corner : {lo, hi}) {
        const PixelPosition q = pixelOf(cam, p, corner.x, corner.y), g = throughGl(cam, p, corner.x, corner.y);
        EXPECT_TRUE(std::fabs(q.x - g.x) < 0.01 && std::fabs(q.y - g.y) < 0.01) << q.x << "," << q.y;
        EXPECT_TRUE(q.x >= border && q.x <= w - border && q.y >= border && q.y <= h - border)
            << q.x << "," << q.y;
    }
    EXPECT_TRUE(std::fabs(b.x - a.x) > w - 2 * border - 4 || std::fabs(b.y - a.y) > h - 2 * border - 4);
}

TEST(Framing, BoxFitsWithMarginAtEveryScaleAndWindowSize) {
    const int sizes[][2] = {{1024, 700}, {700, 1024}, {2000, 150}, {160, 120}};
    for (const auto& s : sizes) {
        for (float k : {0.0005f, 1.0f, 1.7f, 50000.0f}) {
            expectFramed(at(-k, -3 * k), at(k, 3 * k), s[0], s[1]);
            expectFramed(at(-4 * k, -k), at(4 * k, k), s[0], s[1]);
        }
        expectFramed(at(1500, 800), at(1600, 900), s[0], s[1]);
        expectFramed(at(1024, 700), at(0, 0), s[0], s[1]);  // the empty scene's box
        expectFramed(at(-2, 1), at(2, 1), s[0], s[1]);       // flat
    }
}

TEST(Framing, DegenerateBoxesAndWindowsStillGiveAUsableView) {
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        PlanePoint lo, hi;
        int w, h;
    } cases[] = {
        {at(0.5f, 0.5f), at(0.5f, 0.5f), 1024, 700},  // a single point
        {at(-inf, 0), at(0, 1), 1024, 700},          // infinite along x only
        {at(0, -1), at(1, inf), 1024, 700},          // along y only
        {at(-1, -1), at(1, 1), 640, 0},              // no height
        {at(-1, -1), at(1, 1), 0, 0},
    };
    for (const auto& c : cases) {
        const Camera cam = cameraFor(c.lo, c.hi);
        const Projection p = projectionFor(cam, c.lo, c.hi, c.w, c.h);
        EXPECT_TRUE(std::isfinite(cam.cx) && std::isfinite(cam.cy) && cam.distance > 0);
        EXPECT_TRUE(p.fovY > 1.0 && p.fovY < 179.0) << p.fovY;
        EXPECT_TRUE(p.aspect > 0 && std::isfinite(p.aspect) && std::isfinite(p.zFar));
        EXPECT_EQ(p.viewportWidth, c.w);
        EXPECT_EQ(p.viewportHeight, c.h > 0 ? c.h : 1);
    }
}

}  // namespace
