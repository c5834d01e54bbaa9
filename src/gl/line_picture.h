#pragma once

#include <cstdint>
#include <vector>

#include "draw/frame.h"

namespace pd {

// A flat line drawing (no faces, no depth, no dashes, no lit faces: the
// program's kind of picture) drawn on the CPU into pixels, the way GL
// draws it: each segment from vertex to vertex at the frame's line width,
// then the shell's end marks as squares, the shells in order, the later
// over the earlier. Aliased, a segment covers one pixel per column (or
// row) as GL's diamond rule does; smooth, it is the line width's
// rectangle sampled at four points a pixel, the standard 4x multisample
// pattern, and each pixel the average of its samples, as a 4x
// multisampled framebuffer resolves.
//
// A software GL spends far longer setting up each line it draws than a
// short line takes to write, and a million-face model with its dual has
// three million of them (bench/README.md, "Lines drawn on the CPU", has
// the measures). Boxes and texts are not drawn here.

// Whether `frame` is such a drawing.
bool isFlatLineDrawing(const Frame& frame);

// The frame's background and lines, as 8-bit RGBA rows from the bottom
// (glDrawPixels' order), viewportWidth x viewportHeight pixels: the
// background as GL clears it (alpha 0 when transparent), then the lines,
// smooth when `smooth`. Segments outside the viewport are clipped; points
// that are not finite leave their segments out. Empty for a frame that is
// not a flat line drawing or has no pixels.
std::vector<std::uint8_t> drawLinePicture(const Frame& frame, bool smooth);

}  // namespace pd
