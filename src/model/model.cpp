#include "model/model.h"

#include "model/back_edges.h"
#include "model/program_dual.h"
#include "model/reciprocal_dual.h"
#include "model/vertex_rings.h"

Model buildModel(std::string name, Polyhedron solid, int numberBase, int solidKind) {
    Model m;
    m.name = std::move(name);
    m.numberBase = numberBase;
    m.solidKind = solidKind;
    m.solid = std::move(solid);

    EdgeTopology topology = edgeTopology(m.solid);
    const Closedness closedness = closednessOf(topology, numberBase);
    m.solidNormals = outwardNormals(m.solid);
    m.closed = closedness.closed;
    m.openEdgeMessage = closedness.message;
    if (!m.closed) {
        m.edges = std::move(topology.edges);
        return m;
    }

    // Both duals share their faces (the rings) and their edges; only the
    // vertices differ.
    VertexRings rings;
    const bool ringed = buildVertexRings(m.solid, topology, rings, m.openEdgeMessage, numberBase);
    m.edges = std::move(topology.edges);
    if (!ringed) {
        m.closed = false;
        return m;
    }
    const std::vector<Edge> edges = crossingDualEdges(m.edges);

    m.programDual = dualFromRings(programDualVertices(m.solid, solidKind), rings);
    m.programDualEdges = edges;
    m.programDualNormals = outwardNormals(m.programDual);

    std::vector<Vec3> reciprocal;
    m.hasReciprocal =
        reciprocalDualVertices(m.solid, m.edges, reciprocal, m.reciprocalMessage, numberBase);
    if (m.hasReciprocal) {
        m.reciprocalDual = dualFromRings(std::move(reciprocal), rings);
        m.reciprocalDualEdges = edges;
        m.reciprocalDualNormals = outwardNormals(m.reciprocalDual);
    }
    return m;
}
