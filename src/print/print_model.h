#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>
#include "geometry/rgb.h"
#include "geometry/vec3.h"
namespace pd {
// A printable model in millimetres: one or more closed triangle
// surfaces, each with the colour it is drawn in. Triangles turn
// counter-clockwise seen from outside.
struct PrintPart {
    std::string name;  // "solid", "dual", or what the part is
    Rgb colour;
    std::vector<Vec3d> points;
    std::vector<std::array<std::int32_t, 3>> triangles;
};
struct PrintModel {
    std::vector<PrintPart> parts;
};
}  // namespace pd
