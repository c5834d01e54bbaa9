#include "polyhedra/model.h"

#include <future>

#include "base/background.h"
#include "base/huge_pages.h"
#include "base/translate.h"
#include "geometry/face_plane.h"
#include "polyhedra/program_dual.h"
#include "polyhedra/reciprocal_dual.h"
#include "geometry/vertex_rings.h"

namespace pd {

namespace {

// From this many faces on, the independent parts of a model are built on a
// second thread (where there are threads); below it starting a thread costs
// more than it saves.
constexpr int parallelFaces = 4096;

// What needs the solid alone: its normals and the program's dual vertices.
struct SolidPart {
    std::vector<Vec3> normals;
    std::vector<Vec3> programDualVertices;
};

// The reciprocal dual's vertices, or why there are none.
struct ReciprocalPart {
    bool found = false;
    std::string message;
    std::vector<Vec3> vertices;
};

// The program's dual with what is drawn of it.
struct DualPart {
    Polyhedron dual;
    std::vector<Vec3> normals;
};

// Drops the vertices no face uses and renumbers the corners, so nothing
// derived later (the centre, the duals, counts, morph, nets) ever sees
// them. The note for the model, or "" when every vertex is in a face.
std::string dropLonelyVertices(Polyhedron& solid, int numberBase) {
    std::vector<std::int32_t> renumbered(solid.vertices.size(), -1);
    for (const std::int32_t c : solid.corners) renumbered[std::size_t(c)] = 0;
    std::int32_t kept = 0;
    int lonely = 0, first = -1;
    for (std::size_t v = 0; v < renumbered.size(); ++v) {
        if (renumbered[v] == 0) {
            solid.vertices[std::size_t(kept)] = solid.vertices[v];
            renumbered[v] = kept++;
        } else if (lonely++ == 0) {
            first = int(v);
        }
    }
    if (lonely == 0) return "";
    solid.vertices.resize(std::size_t(kept));
    for (std::int32_t& c : solid.corners) c = renumbered[std::size_t(c)];
    const std::string vertex = std::to_string(first + numberBase);
    if (lonely == 1) return fill(tr("vertex {1} is in no face and is left out"), {vertex});
    return fill(trn("vertex {1} is in no face (nor are {2} more) and is left out",
                    "vertex {1} is in no face (nor are {2} more) and is left out", static_cast<unsigned long>(lonely - 1)),
                {vertex, std::to_string(lonely - 1)});
}

// The solid's normals and, when asked for, the program's dual vertices.
SolidPart solidPartOf(const Polyhedron& solid, int solidKind, bool programDual) {
    SolidPart part;
    part.normals = outwardNormals(solid);
    if (programDual) part.programDualVertices = programDualVertices(solid, solidKind);
    return part;
}

// The reciprocal dual's vertices about `sphere`, or why there are none.
ReciprocalPart reciprocalPartOf(const Polyhedron& solid, const std::vector<Edge>& edges, int numberBase,
                                const DualSphere& sphere) {
    ReciprocalPart part;
    Result<std::vector<Vec3>> vertices = reciprocalDualVertices(solid, edges, numberBase, sphere);
    part.found = vertices.ok();
    if (part.found)
        part.vertices = std::move(*vertices);
    else
        part.message = vertices.error().text();
    return part;
}

// Both duals of a closed model on its rings: the reciprocal one when it
// was found, the program's when asked for or when it is the only one.
void addDuals(Model& m, SolidPart& fromSolid, ReciprocalPart& reciprocal, const VertexRings& rings,
              bool programDual, std::launch policy) {
    // Without a reciprocal dual the program's is the one shown: made now.
    const bool programNow = programDual || !reciprocal.found;
    if (programNow && !programDual) fromSolid.programDualVertices = programDualVertices(m.solid, m.solidKind);
    std::future<DualPart> program = std::async(programNow ? policy : std::launch::deferred, [&fromSolid, &rings] {
        DualPart part;
        part.dual = dualFromRings(std::move(fromSolid.programDualVertices), rings);
        part.normals = outwardNormals(part.dual);
        return part;
    });
    m.hasReciprocal = reciprocal.found;
    m.reciprocalMessage = std::move(reciprocal.message);
    m.dualEdges = crossingDualEdges(m.edges);
    if (m.hasReciprocal) {
        m.reciprocalDual = dualFromRings(std::move(reciprocal.vertices), rings);
        m.reciprocalDualNormals = outwardNormals(m.reciprocalDual);
    }
    m.programDualMade = programNow;
    if (!programNow) return;
    DualPart programPart = program.get();
    m.programDual = std::move(programPart.dual);
    m.programDualNormals = std::move(programPart.normals);
}

}  // namespace

Model buildModel(std::string name, Polyhedron solid, int numberBase, int solidKind, const DualSphere& sphere,
                 bool programDual) {
    Model m;
    m.name = std::move(name);
    m.numberBase = numberBase;
    m.solidKind = solidKind;
    m.solid = std::move(solid);
    m.lonelyVertexNote = dropLonelyVertices(m.solid, numberBase);
    // Every part is computed by the same code on either thread, so a model
    // is the same bit for bit however it is built. Each future is declared
    // after all it reads, so an exception waits for it first; m is declared
    // before them all, and a return (which may move m, NRVO being no
    // promise) first takes or waits for every part still running.
    const std::launch policy =
        threadsAvailable && m.solid.faceCount() >= parallelFaces ? std::launch::async : std::launch::deferred;
    const Model& built = m;

    std::future<SolidPart> solidPart = std::async(
        policy, [&built, solidKind, programDual] { return solidPartOf(built.solid, solidKind, programDual); });
    EdgeTopology topology = edgeTopology(m.solid);
    const Closedness closedness = closednessOf(topology, numberBase);
    m.closed = closedness.closed;
    m.openEdgeMessage = closedness.message;
    if (!m.closed) {
        m.edges = std::move(topology.edges);
        m.solidNormals = solidPart.get().normals;
        return m;
    }

    // Both duals share their faces (the rings) and their edges; only the
    // vertices differ. The reciprocal ones need the edges alone, so they are
    // found while the rings are walked.
    std::future<ReciprocalPart> reciprocalPart = std::async(policy, [&built, &topology, numberBase, &sphere] {
        return reciprocalPartOf(built.solid, topology.edges, numberBase, sphere);
    });
    VertexRings rings;
    const Status ringed = buildVertexRings(m.solid, topology, rings, numberBase);
    if (!ringed) m.openEdgeMessage = ringed.error().text();
    SolidPart fromSolid = solidPart.get();
    m.solidNormals = std::move(fromSolid.normals);
    if (!ringed) {
        // The reciprocal part reads the solid and the edges: it is done
        // with them before they are moved out (returning m may move it).
        if (policy == std::launch::async) reciprocalPart.wait();
        m.closed = false;
        m.edges = std::move(topology.edges);
        return m;
    }
    ReciprocalPart reciprocal = reciprocalPart.get();
    m.edges = std::move(topology.edges);
    addDuals(m, fromSolid, reciprocal, rings, programDual, policy);
    return m;
}

void completeProgramDual(Model& m) {
    if (m.programDualMade || !m.closed) return;
    // Left out only beside a reciprocal dual, whose faces (the rings) it shares.
    Polyhedron dual;
    dual.vertices = programDualVertices(m.solid, m.solidKind);
    reserveHuge(dual.corners, m.reciprocalDual.corners.size());
    dual.corners = m.reciprocalDual.corners;
    dual.faceStart = m.reciprocalDual.faceStart;
    m.programDualNormals = outwardNormals(dual);
    m.programDual = std::move(dual);
    m.programDualMade = true;
}

}  // namespace pd
