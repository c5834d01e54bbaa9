#pragma once

#include <string>
#include <vector>

#include "scene/framing.h"
#include "scene/scene.h"
#include "solids/solid_table.h"

namespace e2e {

// A 4-pixel end mark the window should show.
struct ExpectedMark {
    PixelPosition at;
    ColourCode colour;
    std::string name;  // "cube vertex 3", "cube's dual vertex 0"
};

// A segment the window should show, in window pixels.
struct ExpectedSegment {
    PixelPosition from;
    PixelPosition to;
    ColourCode colour;
    std::string name;  // "cube edge 4 (2-3)"
};

// Where everything of one run should land in its window.
struct ExpectedPicture {
    int width = 0;
    int height = 0;
    Point boxMin;
    Point boxMax;
    std::vector<ExpectedMark> marks;        // the solid's vertices, then the dual's
    std::vector<ExpectedSegment> segments;  // in drawing order
};

// The picture of menu choice `choice` (1 to 5) in a window of width x
// height pixels, from the turned arrays: the segments as the program's
// drawing puts them into a scene of their own, placed through the window's
// framing; a mark for every used position of the solid's and the dual's
// array, taken from the arrays directly.
ExpectedPicture predictPicture(const VertexArrays& turned, int choice, int width = 1024,
                               int height = 700);

// "tetrahedron" .. "icosahedron" for the menu numbers 1 to 5.
std::string solidName(int choice);

}  // namespace e2e
