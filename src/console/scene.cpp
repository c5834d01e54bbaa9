#include "console/scene.h"

namespace pd {

Scene globalScene;

namespace {

void widenBox(Scene& scene, const Point& p) {
    // Four independent tests: with the starting corners lying inside out, a
    // first end can move both corners at once.
    if (p.x < scene.boxMin.x) scene.boxMin.x = p.x;
    if (p.y < scene.boxMin.y) scene.boxMin.y = p.y;
    if (p.x > scene.boxMax.x) scene.boxMax.x = p.x;
    if (p.y > scene.boxMax.y) scene.boxMax.y = p.y;
}

}  // namespace

void addSegment(Scene& scene, Segment segment, ColourCode colour) {
    segment.colour = colour;
    scene.segments.push_back(segment);
    widenBox(scene, segment.start);
    widenBox(scene, segment.end);
}

}  // namespace pd
