#pragma once

namespace pd {

// How the window sees the scene. The camera stands at (cx, cy, distance)
// and looks along -z at the plane z = 0 with y up; the field of view is
// chosen per window size so that the bounding box, with every end mark,
// fits inside the window with a margin.
// A point of the plane the scene is drawn in.
struct PlanePoint {
    float x = 0.0f;
    float y = 0.0f;
};

struct Camera {
    float cx = 0.0f;
    float cy = 0.0f;
    float distance = 1.0f;
};

struct Projection {
    int viewportWidth = 1;
    int viewportHeight = 1;
    double fovY = 45.0;  // degrees
    double aspect = 1.0;
    double zNear = 0.5;
    double zFar = 2.0;
    double pixelsPerUnit = 1.0;  // scale at the plane z = 0
};

// Pixels kept free between the box and the window's border, besides the
// half of an end mark.
constexpr double framingMargin = 12.0;
constexpr double endMarkSize = 4.0;

// The camera for a box given by its corners (which may lie inside out, as in
// an empty scene). Centred on the box; the distance follows its size, so any
// scale from thousandths to hundreds of thousands of units is seen whole.
Camera cameraFor(PlanePoint boxMin, PlanePoint boxMax);

// The projection for a window of width x height pixels (0 taken as 1): the
// viewport, and a field of view that shows the box at the largest scale that
// keeps it and its end marks `framingMargin` pixels inside every border.
Projection projectionFor(const Camera& camera, PlanePoint boxMin, PlanePoint boxMax,
                         int width, int height);

// Where a scene point lands in the window: x from the left border, y from
// the top border, in pixels (pixel centres at .5).
struct PixelPosition {
    double x;
    double y;
};
PixelPosition pixelOf(const Camera& camera, const Projection& projection, float x, float y);

}  // namespace pd
