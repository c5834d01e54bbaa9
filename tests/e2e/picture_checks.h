#pragma once

#include <string>
#include <vector>

#include "geometry/framing.h"
#include "console/scene.h"
#include "solids/solid_table.h"
#include "xwindow.h"

namespace pd {

namespace e2e {

// Where one run's picture should put things, in window pixels.
struct ExpectedMark {
    PixelPosition at;
    ColourCode colour;
    std::string name;  // "solid 2 vertex 3", "solid 2 dual vertex 0"
};
struct ExpectedSegment {
    PixelPosition from, to;
    ColourCode colour;
};
struct ExpectedPicture {
    int width = 0;
    int height = 0;
    std::vector<ExpectedMark> marks;        // the solid's vertices, then the dual's
    std::vector<ExpectedSegment> segments;  // in drawing order
};

// The picture of menu choice `choice` in a window of width x height pixels,
// from the turned arrays: the segments as the program's drawing puts them
// into a scene, placed through the window's framing, and a mark at every used
// position of the solid's and the dual's arrays.
ExpectedPicture predictPicture(const VertexArrays& turned, int choice, int width = 1024,
                               int height = 700);

// The 8-bit colour of a colour code, and whether a pixel shows it (2 per
// channel allowed for conversion).
Pixel rgbOf(ColourCode code);
bool shows(Pixel pixel, Pixel colour);

// The problems of a picture against its prediction, none when it is right:
// every mark a 4 x 4 block of its colour within a pixel of its place (red
// marks, drawn last, may cover blue ones), every segment's midpoint drawn,
// the border clear, and no pixel drawn where no segment of its colour runs.
std::vector<std::string> comparePicture(const RgbImage& image, const ExpectedPicture& expected);

// The smallest box holding every pixel that is not the clear colour, and how
// many such pixels there are (count 0 when there are none).
struct DrawnBounds {
    int left = 0, top = 0, right = -1, bottom = -1;
    long count = 0;
};
DrawnBounds drawnBounds(const RgbImage& image);

}  // namespace e2e

}  // namespace pd
