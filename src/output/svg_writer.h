#pragma once

#include <string>

#include "explorer/frame.h"

// The picture of a frame as SVG text: the same framing, colours and
// pixel coordinates as the rendered picture (every position comes from
// pixelOf), solid lines as 1-pixel strokes, back edges as dashed strokes,
// end marks as 4-pixel squares, numbers and the key list as text. The
// bytes depend on the frame alone (fixed number format, fixed order), so
// the same state always gives the same file. Coordinates are written with
// two decimals; an element with a coordinate that is not finite is left out.
std::string formatSvg(const Frame& frame);
