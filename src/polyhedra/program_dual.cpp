#include "polyhedra/program_dual.h"

#include <memory>

#include "base/huge_pages.h"
#include "solids/dual.h"

namespace pd {

namespace {

// True when `p` is laid out as the program holds solid `kind`: its face
// count, every face of its corner count, every corner within its vertices.
bool fitsSolidTable(const Polyhedron& p, SolidKind kind) {
    const SolidInfo& info = solidInfo(kind);
    if (p.faceCount() != info.faceCount || p.vertexCount() < info.vertexCount) return false;
    for (int f = 0; f < p.faceCount(); ++f) {
        if (p.faceSize(f) != info.cornerCount) return false;
        for (int c = 0; c < info.cornerCount; ++c)
            if (p.face(f)[c] >= info.vertexCount) return false;
    }
    return true;
}

// The program's own computation on the program's own arrays, filled back
// from the model (face rows are the faces, numbered from 1).
std::vector<Vec3> programSolidDual(const Polyhedron& p, SolidKind kind) {
    const SolidInfo& info = solidInfo(kind);
    auto verts = std::make_unique<VertexArray>();
    auto columns = std::make_unique<FaceColumns>();
    auto dual = std::make_unique<VertexArray>();
    for (int v = 0; v < info.vertexCount; ++v) (*verts)[v] = p.vertices[v];
    for (int f = 0; f < info.faceCount; ++f)
        for (int c = 0; c < info.cornerCount; ++c) (*columns)[c][f] = p.face(f)[c] + 1;
    computeDualVerts(kind, *verts, *columns, *dual);
    return std::vector<Vec3>(dual->begin(), dual->begin() + info.faceCount);
}

}  // namespace

double programFactor(int cornerCount) {
    // The program's factors by a solid of that corner count, so they stay
    // its own numbers.
    switch (cornerCount) {
    case 3: return centroidFactor(Tetrahedron);
    case 4: return centroidFactor(Hexahedron);
    case 5: return centroidFactor(Dodecahedron);
    default: return cornerCount > 0 ? 1.0 / cornerCount : 0.0;
    }
}

std::vector<Vec3> programDualVertices(const Polyhedron& p, int solidKind) {
    if (isSolidKind(solidKind) && fitsSolidTable(p, static_cast<SolidKind>(solidKind)))
        return programSolidDual(p, static_cast<SolidKind>(solidKind));
    std::vector<Vec3> dual;
    reserveHuge(dual, static_cast<std::size_t>(p.faceCount()));
    dual.resize(static_cast<std::size_t>(p.faceCount()));
    for (int f = 0; f < p.faceCount(); ++f) {
        const std::int32_t* corners = p.face(f);
        double sum[3] = {0.0, 0.0, 0.0};
        for (int k = 0; k < p.faceSize(f); ++k) {
            const Vec3& c = p.vertices[corners[k]];
            sum[0] += c.x;
            sum[1] += c.y;
            sum[2] += c.z;
        }
        // Rounded to float after the sum and again after the product, as
        // the console program does.
        const Vec3 rounded{static_cast<float>(sum[0]), static_cast<float>(sum[1]),
                           static_cast<float>(sum[2])};
        dual[f] = scaledCornerSum(rounded, programFactor(p.faceSize(f)));
    }
    return dual;
}

Polyhedron dualFromRings(std::vector<Vec3> dualVertices, const VertexRings& rings) {
    Polyhedron dual;
    dual.vertices = std::move(dualVertices);
    reserveHuge(dual.corners, rings.faces.size());
    dual.corners.assign(rings.faces.begin(), rings.faces.end());
    reserveHuge(dual.faceStart, rings.start.size());
    dual.faceStart.assign(rings.start.begin(), rings.start.end());
    return dual;
}

std::vector<Edge> crossingDualEdges(const std::vector<Edge>& edges) {
    std::vector<Edge> dual;
    reserveHuge(dual, edges.size());
    for (const Edge& e : edges) {
        const std::int32_t f = e.faces[0], g = e.faces[1];
        dual.push_back(Edge{f < g ? f : g, f < g ? g : f, {e.a, e.b}});
    }
    return dual;
}

}  // namespace pd
