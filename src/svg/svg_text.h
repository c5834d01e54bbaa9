#pragma once

#include <string>

#include "geometry/rgb.h"

namespace pd {

// The small pieces of text both SVG writers (pictures and paper nets) are
// made of, so that the same value is always written the same way.

// `v` with at most `decimals` decimals, trailing zeros dropped, never "-0";
// a value that is not finite is written as 0. The program sets no locale,
// so the point is always a point.
std::string svgNumber(double v, int decimals);

// svgNumber's text appended to `out`, without a string of its own (a
// picture writes hundreds of thousands).
void appendSvgNumber(std::string& out, double v, int decimals);

// "#rrggbb", each channel as GL stores a float colour in 8 bits, in float
// arithmetic (0.9 becomes 230: 0.9f * 255 rounds up to 229.5f), clamped
// to 0..255.
std::string svgColour(const Rgb& c);

// svgColour's text appended to `out`.
void appendSvgColour(std::string& out, const Rgb& c);

// `text` with &, <, > and " written as entities, for text and attributes,
// and every control byte (tab and line breaks too: a name is one line),
// and what XML 1.0 forbids (the other control bytes, bytes that are
// not UTF-8, U+FFFE and U+FFFF) as U+FFFD, so that any name makes a
// well-formed document.
std::string svgEscaped(const std::string& text);

}  // namespace pd
