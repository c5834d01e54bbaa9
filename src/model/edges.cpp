#include "model/edges.h"

#include "model/edge_index.h"

std::vector<Edge> deriveEdges(const Polyhedron& p, Closedness* closedness, int numberBase) {
    std::vector<Edge> edges;
    // How many faces name each edge: an edge of a closed model has two.
    std::vector<std::int32_t> faceCounts;
    // A closed model of triangles has half as many edges as corners.
    edges.reserve(p.corners.size() / 2 + 1);
    faceCounts.reserve(p.corners.size() / 2 + 1);
    EdgeIndex index(p.corners.size() / 2 + 1);
    for (int f = 0; f < p.faceCount(); ++f) {
        const std::int32_t* corners = p.face(f);
        const int n = p.faceSize(f);
        for (int k = 0; k < n; ++k) {
            const std::int32_t u = corners[k];
            const std::int32_t v = corners[k + 1 < n ? k + 1 : 0];
            if (u == v) continue;
            const auto id = static_cast<std::int32_t>(edges.size());
            const std::int32_t found = index.findOrAdd(u, v, id);
            if (found < 0) {
                edges.push_back(Edge{u < v ? u : v, u < v ? v : u, {f, -1}});
                faceCounts.push_back(1);
            } else if (++faceCounts[found] == 2) {
                edges[found].faces[1] = f;
            }
        }
    }
    if (closedness) {
        *closedness = Closedness{};
        for (std::size_t e = 0; e < edges.size(); ++e) {
            if (faceCounts[e] == 2) continue;
            const std::string name = "edge " + std::to_string(edges[e].a + numberBase) + "-" +
                                     std::to_string(edges[e].b + numberBase);
            closedness->closed = false;
            closedness->message = faceCounts[e] == 1
                                      ? name + " has only one face"
                                      : name + " is shared by " + std::to_string(faceCounts[e]) +
                                            " faces";
            break;
        }
    }
    return edges;
}
