#include "hidden/back_edges.h"

#include "geometry/rotation.h"

namespace pd {

void classifyBackEdges(const std::vector<Vec3>& normals, const std::vector<Edge>& edges,
                       const Mat3& xTurn, const Mat3& yTurn, std::vector<std::uint8_t>& isBack) {
    // Turned the way the program turns vertices, so front and back agree
    // with the picture to the last bit.
    std::vector<std::uint8_t> facing(normals.size());
    for (std::size_t f = 0; f < normals.size(); ++f)
        facing[f] = rotateVec3(yTurn, rotateVec3(xTurn, normals[f])).z > 0.0f;
    isBack.resize(edges.size());
    for (std::size_t e = 0; e < edges.size(); ++e) {
        const Edge& edge = edges[e];
        const bool front = facing[edge.faces[0]] || (edge.faces[1] >= 0 && facing[edge.faces[1]]);
        isBack[e] = front ? 0 : 1;
    }
}

void verticesWithDrawnEdge(const std::vector<Edge>& edges, const std::vector<std::uint8_t>& isBack,
                           int vertexCount, std::vector<std::uint8_t>& hasEdge) {
    hasEdge.assign(static_cast<std::size_t>(vertexCount), 0);
    for (std::size_t e = 0; e < edges.size(); ++e) {
        if (isBack[e]) continue;
        hasEdge[edges[e].a] = 1;
        hasEdge[edges[e].b] = 1;
    }
}

}  // namespace pd
