#pragma once

#include "geometry/rgb.h"

namespace pd {

// The console program's window, which the explorer's first frame matches:
// its size and place on the screen, its title and its clear colour.
constexpr int programWindowWidth = 1024;
constexpr int programWindowHeight = 700;
constexpr int programWindowX = 100;
constexpr int programWindowY = 50;
constexpr const char* programWindowTitle = "Geometrija - prikaz zadatka";
constexpr Rgb programBackground{0.9f, 0.9f, 0.8f};

}  // namespace pd
