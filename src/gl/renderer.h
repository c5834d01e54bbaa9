#pragma once

#include <cstdint>
#include <vector>

#include "base/result.h"
#include "draw/frame.h"

namespace pd {

// Draws `frame` into the GL context current on this thread, over the whole
// viewport the frame's projection names, and sets every GL state it relies
// on itself, so it works in a GLUT window and in a headless context alike.
// The view is set up as the program's window sets it, so the same frame
// gives the program's pixels; a model too small for GL's floats is drawn
// from coordinates scaled up first, to the same picture (see the source).
// Makes no GLUT call and does not swap buffers. An error when GL reports
// one: "OpenGL could not draw the picture: out of memory (GL error 0x0505)".
Status renderFrame(const Frame& frame);

// Whether renderFrame draws `frame` on the CPU (gl/line_picture.h) and
// puts it in place as pixels: a flat line drawing of tens of thousands of
// lines, in a context served by a software renderer, which would take
// many times longer over them. Such a frame is drawn smooth or not as
// frame.smooth says, with no multisampled framebuffer. Asks the current
// context which renderer it has.
bool drawsLinesOnCpu(const Frame& frame);

// Rows top .. top + count - 1, counted from the top, of the current read
// buffer (width x height pixels), as 8-bit RGB (or, with channels 4, RGBA)
// rows from the top into `out` (count * width * channels bytes): the order
// of picture files. An error when GL reports one.
Status readPixelRows(int width, int height, int top, int count, int channels, std::uint8_t* out);

}  // namespace pd
