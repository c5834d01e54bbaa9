#include "model/back_edges.h"

#include <cmath>

#include "view/rotation.h"

std::vector<Vec3> outwardNormals(const Polyhedron& p) {
    double centre[3] = {0.0, 0.0, 0.0};
    for (const Vec3& v : p.vertices) {
        centre[0] += v.x;
        centre[1] += v.y;
        centre[2] += v.z;
    }
    for (double& c : centre) c /= p.vertices.empty() ? 1.0 : static_cast<double>(p.vertices.size());

    std::vector<Vec3> normals(static_cast<std::size_t>(p.faceCount()));
    for (int f = 0; f < p.faceCount(); ++f) {
        const std::int32_t* corners = p.face(f);
        const int m = p.faceSize(f);
        double n[3] = {0.0, 0.0, 0.0}, out[3] = {0.0, 0.0, 0.0};
        for (int k = 0; k < m; ++k) {
            const Vec3& a = p.vertices[corners[k]];
            const Vec3& b = p.vertices[corners[k + 1 < m ? k + 1 : 0]];
            n[0] += (static_cast<double>(a.y) - b.y) * (static_cast<double>(a.z) + b.z);
            n[1] += (static_cast<double>(a.z) - b.z) * (static_cast<double>(a.x) + b.x);
            n[2] += (static_cast<double>(a.x) - b.x) * (static_cast<double>(a.y) + b.y);
            out[0] += a.x - centre[0];
            out[1] += a.y - centre[1];
            out[2] += a.z - centre[2];
        }
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (!(length > 0.0)) continue;
        const double sign = n[0] * out[0] + n[1] * out[1] + n[2] * out[2] < 0.0 ? -1.0 : 1.0;
        const double scale = sign / length;
        normals[f] = Vec3{static_cast<float>(n[0] * scale), static_cast<float>(n[1] * scale),
                          static_cast<float>(n[2] * scale)};
    }
    return normals;
}

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
