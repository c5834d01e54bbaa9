#include "polyhedra/shell_counts.h"

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
    std::map<std::pair<int, int>, int> kinds;
    for (int f = 0; f < shape.faceCount(); ++f) {
        ++sizes[shape.faceSize(f)];
        ++kinds[{shape.faceSize(f), int(faceShape(shape, f))}];
    }
    c.faceSizes.assign(sizes.begin(), sizes.end());
    for (const auto& [kind, faces] : kinds) c.faceKinds.push_back({kind.first, FaceShape(kind.second), faces});
    c.name = solidName(shape, edges);
    return c;
}

std::string facesBySize(const ShellCounts& counts) {
    std::string text;
    for (const ShellCounts::Kind& kind : counts.faceKinds)
        text += (text.empty() ? "" : ", ") + std::to_string(kind.faces) + " " +
                faceShapeName(kind.corners, kind.shape, kind.faces != 1);
    return text.empty() ? "none" : text;
}

std::string countsLine(const std::string& label, const ShellCounts& counts) {
    return label + ": " + (counts.name.empty() ? "" : counts.name + "  ") + "V " + std::to_string(counts.vertices) + "  E " + std::to_string(counts.edges) +
           "  F " + std::to_string(counts.faces) + "  V-E+F " + std::to_string(counts.euler()) +
           "  faces: " + facesBySize(counts);
}

}  // namespace pd
