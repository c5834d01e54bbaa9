#include "mesh/shell_counts.h"

#include <map>

namespace pd {

ShellCounts countShell(const Polyhedron& shape, const std::vector<Edge>& edges) {
    ShellCounts c;
    std::vector<char> used(shape.vertices.size(), 0);
    for (std::int32_t v : shape.corners) used[std::size_t(v)] = 1;
    for (char u : used) c.vertices += u;
    c.edges = int(edges.size());
    c.faces = shape.faceCount();
    std::map<int, int> sizes;
    for (int f = 0; f < shape.faceCount(); ++f) ++sizes[shape.faceSize(f)];
    c.faceSizes.assign(sizes.begin(), sizes.end());
    return c;
}

std::string facesBySize(const ShellCounts& counts) {
    static const char* const names[][2] = {
        {"triangle", "triangles"}, {"square", "squares"}, {"pentagon", "pentagons"},
        {"hexagon", "hexagons"},   {nullptr, nullptr},    {"octagon", "octagons"},
        {nullptr, nullptr},        {"decagon", "decagons"},
    };
    std::string text;
    for (const auto& [corners, faces] : counts.faceSizes) {
        const bool one = faces == 1;
        const char* name = corners >= 3 && corners <= 10 ? names[corners - 3][one ? 0 : 1] : nullptr;
        text += (text.empty() ? "" : ", ") + std::to_string(faces) + " " +
                (name ? name : std::to_string(corners) + (one ? "-gon" : "-gons"));
    }
    return text.empty() ? "none" : text;
}

std::string countsLine(const std::string& label, const ShellCounts& counts) {
    return label + ": V " + std::to_string(counts.vertices) + "  E " + std::to_string(counts.edges) +
           "  F " + std::to_string(counts.faces) + "  V-E+F " + std::to_string(counts.euler()) +
           "  faces: " + facesBySize(counts);
}

}  // namespace pd
