#pragma once

#include <cstdint>
#include <list>

#include "geometry/framing.h"

namespace pd {

// A colour code: 0 to 9 select a colour of the colour table, anything else
// selects none. Records default to 9, black.
using ColourCode = std::int32_t;

struct Point {
    float x = 0.0f;
    float y = 0.0f;
    ColourCode colour = 9;
};

struct Segment {
    Point start;
    Point end;
    ColourCode colour;

    // Copies both ends whole; the segment itself starts black (9).
    Segment(Point first, Point second) : start(first), end(second), colour(9) {}
};

struct Circle {
    Point centre;
    float radius = 0.0f;
    ColourCode colour = 9;
};

struct Line {
    Point point;
    Point direction;
    ColourCode colour = 9;
};

// What the window shows: four lists drawn in insertion order, and a running
// bounding box that starts at (1024, 700) .. (0, 0) and only ever widens.
struct Scene {
    Point boxMin{1024.0f, 700.0f, 9};
    Point boxMax{0.0f, 0.0f, 9};
    std::list<Point> points;
    std::list<Segment> segments;
    std::list<Line> lines;
    std::list<Circle> circles;
};

// Where a scene point lies, for framing.
inline PlanePoint planePoint(const Point& p) { return {p.x, p.y}; }

// The one scene of the run, filled before the window opens.
extern Scene globalScene;

// Appends `segment` recoloured to `colour` and widens the box with its start
// and then its end, each coordinate of each corner on its own strict test.
// Any float is accepted; infinities widen the box like other values.
void addSegment(Scene& scene, Segment segment, ColourCode colour);

}  // namespace pd
