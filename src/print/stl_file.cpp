#include "print/stl_file.h"

#include <cstdint>
#include <cstring>
#include <limits>

#include "base/translate.h"

namespace pd {

namespace {

// STL is little-endian whatever the machine writing it.
void putU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xff));
}

void putFloat(std::string& out, double v) {
    const float f = float(v);
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    putU32(out, bits);
}

void putPoint(std::string& out, Vec3d p) {
    putFloat(out, p.x);
    putFloat(out, p.y);
    putFloat(out, p.z);
}

}  // namespace

Result<std::string> formatStl(const PrintModel& model) {
    std::uint64_t count = 0;
    for (const PrintPart& part : model.parts) {
        count += part.triangles.size();
        for (const auto& t : part.triangles)
            for (std::int32_t corner : t)
                if (corner < 0 || std::size_t(corner) >= part.points.size())
                    return failure(fill(tr("the part {1} has a corner past its points"), {part.name}));
    }
    if (count > std::numeric_limits<std::uint32_t>::max())
        return failure(fill(tr("a binary STL file holds at most 4294967295 triangles, not {1}"), {std::to_string(count)}));
    std::string out(80, ' ');
    const char header[] = "binary STL, millimetres";
    std::memcpy(out.data(), header, sizeof header - 1);
    out.reserve(84 + 50 * count);
    putU32(out, std::uint32_t(count));
    for (const PrintPart& part : model.parts)
        for (const auto& t : part.triangles) {
            const Vec3d a = part.points[t[0]], b = part.points[t[1]], c = part.points[t[2]];
            // The normal of the corners as the file holds them (floats):
            // a thin triangle's turns with the rounding of its corners.
            const auto held = [](Vec3d p) { return Vec3d{double(float(p.x)), double(float(p.y)), double(float(p.z))}; };
            const Vec3d n = cross(held(b) - held(a), held(c) - held(a));
            const double len = length(n);
            putPoint(out, len > 0.0 ? n / len : Vec3d{0.0, 0.0, 0.0});
            putPoint(out, a);
            putPoint(out, b);
            putPoint(out, c);
            out.append(2, '\0');  // no attributes
        }
    return out;
}

}  // namespace pd
