// visibility-bench FILE.off [A B]: times the SVG's hidden lines and face
// order for a model and its reciprocal dual, turned as --angles A B turns
// them (default 30 45): the occluders' grid, every edge's hidden parts,
// and the painting order of all faces.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "hidden/depth_order.h"
#include "hidden/visibility.h"
#include "geometry/orientation.h"
#include "polyhedra/model_loading.h"

namespace pd {


}  // namespace pd

using namespace pd;

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: visibility-bench FILE.off [A B]\n");
        return 2;
    }
    const Result<Model> loaded = loadOffModel(argv[1]);
    if (!loaded) {
        std::fprintf(stderr, "visibility-bench: %s\n", loaded.error().text().c_str());
        return 2;
    }
    const Model& m = *loaded;
    const float a = argc == 4 ? std::strtof(argv[2], nullptr) : 30.0f;
    const float b = argc == 4 ? std::strtof(argv[3], nullptr) : 45.0f;
    const VertexTurn turn = vertexTurnOf({a, b, {}});
    // The solid and its reciprocal dual as one scene, as the frames build it.
    std::vector<Vec3> points;
    std::vector<std::int32_t> corners, faceStart{0};
    std::vector<Edge> edges;
    for (int shell = 0; shell < (m.hasReciprocal ? 2 : 1); ++shell) {
        const Polyhedron& p = shell == 0 ? m.solid : m.reciprocalDual;
        const std::vector<Edge>& e = shell == 0 ? m.edges : m.dualEdges;
        const auto offset = std::int32_t(points.size()), faceOffset = std::int32_t(faceStart.size() - 1);
        for (const Vec3& v : p.vertices) points.push_back(turnVertex(turn, v));
        for (std::int32_t c : p.corners) corners.push_back(offset + c);
        for (int f = 1; f <= p.faceCount(); ++f) faceStart.push_back(faceStart[std::size_t(faceOffset)] + p.faceStart[f]);
        for (Edge x : e) edges.push_back({offset + x.a, offset + x.b, {faceOffset + x.faces[0], faceOffset + x.faces[1]}});
    }
    using Clock = std::chrono::steady_clock;
    auto ms = [](Clock::time_point from) {
        return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
    };
    Clock::time_point start = Clock::now();
    const Occluders occluders(points, corners, faceStart);
    const double grid = ms(start);
    start = Clock::now();
    std::vector<Span> spans;
    std::size_t hiddenEdges = 0;
    for (const Edge& e : edges) {
        occluders.hiddenSpans(points[e.a], points[e.b], e.faces[0], e.faces[1], spans);
        hiddenEdges += !spans.empty();
    }
    const double lines = ms(start);
    start = Clock::now();
    const PaintOrder order = paintOrder(points, corners, faceStart);
    const double paint = ms(start);
    std::printf("%d faces, %zu edges (%zu partly hidden): grid %.1f ms, hidden lines %.1f ms, "
                "painting order %.1f ms (%zu polygons)\n",
                int(faceStart.size()) - 1, edges.size(), hiddenEdges, grid, lines, paint,
                order.face.size());
    return 0;
}
