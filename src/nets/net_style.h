#pragma once

#include <vector>

#include "geometry/rgb.h"

namespace pd {

// How a printed net looks, shared by its PDF and SVG so the two agree.
// Lengths in millimetres.

constexpr double cutLineWidth = 0.25;
constexpr double foldLineWidth = 0.2;
constexpr double foldDash[2] = {2.0, 1.2};  // dash, gap
constexpr double flapLineWidth = 0.15;
constexpr Rgb flapFill{0.80f, 0.80f, 0.80f};
constexpr Rgb flapLine{0.45f, 0.45f, 0.45f};
constexpr Rgb inkColour{0.0f, 0.0f, 0.0f};
constexpr Rgb footerColour{0.2f, 0.2f, 0.2f};
constexpr const char* netFont = "sans-serif";
// A label's centre sits this many times its height below its baseline's
// middle, for digits (whose tops stand about 0.72 of the font size high).
constexpr double digitMiddle = 0.36;

// A light tint of `c`, for filling a face: a fifth of the colour on white.
constexpr Rgb tintOf(Rgb c) {
    return {0.8f + 0.2f * c.red, 0.8f + 0.2f * c.green, 0.8f + 0.2f * c.blue};
}

}  // namespace pd
