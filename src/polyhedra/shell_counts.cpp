#include "polyhedra/shell_counts.h"

#include <map>

#include "base/translate.h"

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
        text += (text.empty() ? "" : ", ") + countedFaces(kind.faces, kind.corners, kind.shape);
    return text.empty() ? trc("faces", "none") : text;
}

const char* countsMark(CountsMark mark) {
    switch (mark) {
    // TRANSLATORS: the counts panel's short marks: V for vertices, E for
    // edges, F for faces, then Euler's sum in the same letters.
    case CountsMark::Vertices: return trc("counts", "V");
    case CountsMark::Edges: return trc("counts", "E");
    case CountsMark::Faces: return trc("counts", "F");
    case CountsMark::Euler: return trc("counts", "V-E+F");
    case CountsMark::FaceList: return trc("counts", "faces:");
    }
    return "";
}

std::string countsLine(const std::string& label, const ShellCounts& counts) {
    return label + ": " + (counts.name.empty() ? "" : counts.name + "  ") + countsMark(CountsMark::Vertices) + " " +
           std::to_string(counts.vertices) + "  " + countsMark(CountsMark::Edges) + " " + std::to_string(counts.edges) + "  " +
           countsMark(CountsMark::Faces) + " " + std::to_string(counts.faces) + "  " + countsMark(CountsMark::Euler) + " " +
           std::to_string(counts.euler()) + "  " + countsMark(CountsMark::FaceList) + " " + facesBySize(counts);
}

}  // namespace pd
