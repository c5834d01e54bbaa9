#pragma once

#include <string>
#include <vector>

#include "draw/frame.h"

namespace pd {

// The picture of a frame as SVG text: the same framing, colours and
// pixel coordinates as the rendered picture (every position comes from
// pixelOf), faces as filled polygons in the frame's order, lines as strokes
// of the frame's width, parts behind as dashed strokes (one path each), end
// marks as squares, numbers and the key list as text; no background
// rectangle for a transparent frame. A frame for SVG comes from
// buildFrame with FrameTarget::Vector: its hidden parts are already cut. The
// bytes depend on the frame alone (fixed number format, fixed order), so
// the same state always gives the same file. Coordinates are written with
// two decimals; an element with a coordinate that is not finite is left out.
std::string formatSvg(const Frame& frame);

// The same text in two parts, to be written one after the other: the
// head with the faces, and the rest (the faces of a large frame are
// written on a second thread beside the rest; no part is copied).
std::vector<std::string> formatSvgParts(const Frame& frame);

}  // namespace pd
