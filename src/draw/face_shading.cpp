#include "draw/face_shading.h"

#include <algorithm>
#include <cmath>

namespace pd {

namespace {

constexpr double ambient = 0.55;
constexpr double diffuse = 0.45;

}  // namespace

Rgb shadedColour(Rgb base, Vec3 normal) {
    Vec3d n = widen(normal);
    const double len = length(n);
    if (!(len > 0.0) || !std::isfinite(len)) n = {0.0, 0.0, 1.0};
    else n = {n.x / len, n.y / len, n.z / len};
    if (n.z < 0.0) n = {-n.x, -n.y, -n.z};  // the side the viewer sees
    const double toLight = 1.0 / std::sqrt(3.0);
    const double lit = ambient + diffuse * std::max(0.0, (-n.x + n.y + n.z) * toLight);
    auto channel = [lit](float c) { return float(std::clamp(double(c) * lit, 0.0, 1.0)); };
    return {channel(base.red), channel(base.green), channel(base.blue)};
}

}  // namespace pd
