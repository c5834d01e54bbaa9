#include "console/solid_drawing.h"

#include "solids/edge_tables.h"

namespace pd {

namespace {

void addEdges(EdgeList edges, const VertexArray& verts, ColourCode colour, Scene& scene) {
    for (int k = 0; k < edges.count; ++k) {
        const EdgePair& e = edges.pairs[k];
        addSegment(scene, Segment(projectVertex(verts[e.first]), projectVertex(verts[e.second])),
                   colour);
    }
}

}  // namespace

Point projectVertex(Vec3 v) {
    Point p;
    p.x = v.x;
    p.y = v.y;
    return p;
}

void addSolidEdges(int choice, const VertexArrays& arrays, Scene& scene) {
    if (!isSolidKind(choice)) return;
    const SolidKind kind = static_cast<SolidKind>(choice);
    addEdges(solidEdges(kind), solidVerts(arrays, kind), solidColour, scene);
    addEdges(dualEdges(kind), dualVerts(arrays, kind), dualColour, scene);
}

}  // namespace pd
