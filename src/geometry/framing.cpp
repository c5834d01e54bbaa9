#include "geometry/framing.h"

#include <algorithm>
#include <cmath>

namespace pd {

namespace {

constexpr double pi = 3.141592653589793;

struct HalfSize {
    double halfWidth;
    double halfHeight;
};

// Half the box's width and height. An empty scene's corners lie inside out
// (1024, 700 .. 0, 0), so the extent is taken without regard to the order.
HalfSize halfSizeOf(PlanePoint boxMin, PlanePoint boxMax) {
    return {std::fabs(double(boxMax.x) - double(boxMin.x)) * 0.5,
            std::fabs(double(boxMax.y) - double(boxMin.y)) * 0.5};
}

bool finite(HalfSize e) { return std::isfinite(e.halfWidth) && std::isfinite(e.halfHeight); }

// The size the camera distance follows; never zero, so a box shrunk to a
// point still gets a usable view.
double sizeOf(HalfSize e) {
    double size = std::max(e.halfWidth, e.halfHeight);
    return size > 0.0 ? size : 1.0;
}

}  // namespace

Camera cameraFor(PlanePoint boxMin, PlanePoint boxMax) {
    Camera camera;
    HalfSize e = halfSizeOf(boxMin, boxMax);
    float cx = static_cast<float>((double(boxMax.x) + double(boxMin.x)) * 0.5);
    float cy = static_cast<float>((double(boxMax.y) + double(boxMin.y)) * 0.5);
    if (!finite(e) || !std::isfinite(cx) || !std::isfinite(cy)) {
        // Infinite coordinates cannot be framed; look at the origin instead
        // of handing GL a camera made of infinities.
        return camera;
    }
    camera.cx = cx;
    camera.cy = cy;
    camera.distance = static_cast<float>(2.0 * sizeOf(e));
    return camera;
}

Projection projectionFor(const Camera& camera, PlanePoint boxMin, PlanePoint boxMax,
                         int width, int height) {
    Projection p;
    p.viewportWidth = std::max(width, 0);
    p.viewportHeight = height > 0 ? height : 1;
    const double w = std::max(width, 1);
    const double h = p.viewportHeight;

    HalfSize e = halfSizeOf(boxMin, boxMax);
    if (!finite(e)) e = {1.0, 1.0};

    // Room from the centre to the border, less the margin and half an end
    // mark; a tiny window gives up most of its margin rather than all room.
    const double border = std::min(framingMargin + endMarkSize / 2.0 + 1.0, std::min(w, h) / 4.0);
    const double roomX = w / 2.0 - border;
    const double roomY = h / 2.0 - border;
    double scale = HUGE_VAL;
    if (e.halfWidth > 0.0) scale = std::min(scale, roomX / e.halfWidth);
    if (e.halfHeight > 0.0) scale = std::min(scale, roomY / e.halfHeight);
    if (scale == HUGE_VAL) scale = std::min(roomX, roomY) / sizeOf(e);

    const double d = camera.distance;
    const double halfVisible = (h / 2.0) / scale;
    p.pixelsPerUnit = scale;
    p.fovY = 2.0 * std::atan(halfVisible / d) * 180.0 / pi;
    p.aspect = w / h;
    // Everything lies in the plane z = 0, at depth d: keep the clipping
    // planes around it, relative to d so that no scale falls outside them.
    p.zNear = d * 0.5;
    p.zFar = d * 1.5;
    return p;
}

PixelPosition pixelOf(const Camera& camera, const Projection& projection, float x, float y) {
    const double w = projection.viewportWidth;
    const double h = projection.viewportHeight;
    return {w / 2.0 + (double(x) - camera.cx) * projection.pixelsPerUnit,
            h / 2.0 - (double(y) - camera.cy) * projection.pixelsPerUnit};
}

}  // namespace pd
