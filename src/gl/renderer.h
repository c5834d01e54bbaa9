#pragma once

#include <cstdint>
#include <vector>

#include "explorer/frame.h"

// Draws `frame` into the GL context current on this thread, over the whole
// viewport the frame's projection names, and sets every GL state it relies
// on itself, so it works in a GLUT window and in a headless context alike.
// The view is set up as the program's window sets it, so the same frame
// gives the program's pixels. Makes no GLUT call and does not swap buffers.
void renderFrame(const Frame& frame);

// The current read buffer's width x height pixels from its lower left
// corner, as 8-bit RGB (or, with channels 4, RGBA) rows from the top (the
// order of picture files).
std::vector<std::uint8_t> readPixelsTopDown(int width, int height, int channels = 3);
