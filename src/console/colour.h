#pragma once

#include <array>

#include "console/scene.h"
#include "geometry/rgb.h"

namespace pd {

constexpr std::array<Rgb, 10> colourTable{{
    {1.0f, 0.0f, 0.0f},  // 0 red
    {0.0f, 1.0f, 0.0f},  // 1 green
    {0.0f, 0.0f, 1.0f},  // 2 blue
    {1.0f, 1.0f, 0.0f},  // 3 yellow
    {1.0f, 0.5f, 0.0f},  // 4 orange
    {1.0f, 0.0f, 1.0f},  // 5 magenta
    {0.0f, 1.0f, 1.0f},  // 6 cyan
    {0.5f, 0.0f, 0.5f},  // 7 purple
    {1.0f, 1.0f, 1.0f},  // 8 white
    {0.0f, 0.0f, 0.0f},  // 9 black
}};

// The table's colour for `code`, or null when the code, read as unsigned, is
// above 9 (negative codes included): such elements keep the current colour.
constexpr const Rgb* colourFor(ColourCode code) {
    return static_cast<unsigned>(code) > 9u ? nullptr : &colourTable[static_cast<unsigned>(code)];
}

}  // namespace pd
