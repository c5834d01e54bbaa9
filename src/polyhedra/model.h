#pragma once

#include <string>
#include <vector>

#include "geometry/edges.h"
#include "geometry/polyhedron.h"
#include "polyhedra/reciprocal_dual.h"

namespace pd {

// Everything the explorer shows of one polyhedron, computed once when it is
// loaded: the solid, its edges and both duals, each with its edges and its
// faces' outward normals (for front and back).
//
// Dual vertex i belongs to solid face i; dual face v is the ring of faces
// around solid vertex v (empty for a vertex in no face); dual edge i crosses solid edge i (joins the dual
// vertices of its two faces, and lies between the dual faces of its two
// vertices).
struct Model {
    std::string name;    // the menu word of a solid of the ten files, an OFF file's stem
    int numberBase = 0;  // 1 for the ten files (they count vertices from 1), 0 for OFF
    int solidKind = 0;   // 1..5 for a solid of the ten files, 0 for OFF
    std::string notation;  // Conway's notation of a model built by it, else ""

    Polyhedron solid;
    // The solid's vertices as made in double, for a model in canonical
    // form (its reciprocal then taken about the unit sphere at the origin),
    // which the floats leave touching the sphere only to 1e-7; else empty.
    std::vector<Vec3d> exactVertices;
    std::vector<Edge> edges;
    std::vector<Vec3> solidNormals;

    // False when an edge has one face or more than two, or the faces around
    // some vertex do not form one ring; then there is no dual at all
    // (programDual and reciprocalDual stay empty, hasReciprocal false) and
    // openEdgeMessage says why, e.g. "edge 3-7 has only one face".
    bool closed = false;
    std::string openEdgeMessage;

    // Vertices in no face are dropped before anything else is built (the
    // solid's vertices are then renumbered without them), so the model is
    // the same model without them; this says so ("vertex 7 is in no face
    // and is left out", numbered as in the input), or is empty.
    std::string lonelyVertexNote;

    // The program's dual (see program_dual.h): for the five solids of the ten
    // files, exactly the program's dual vertices. A model built without it
    // (see buildModel) has it made by completeProgramDual when first asked
    // for; programDualMade says whether it is there (or the model is open).
    Polyhedron programDual;
    std::vector<Vec3> programDualNormals;
    bool programDualMade = true;

    // Both duals' edges, the same for either (they differ in their vertices
    // alone): dual edge i crosses edge i. Empty for an open model.
    std::vector<Edge> dualEdges;

    // The dual reciprocal about the midsphere. False for an open model, or
    // when some face's plane passes through the centre; reciprocalMessage
    // then names the face (empty for an open model).
    bool hasReciprocal = false;
    std::string reciprocalMessage;
    Polyhedron reciprocalDual;
    std::vector<Vec3> reciprocalDualNormals;
};

// Builds the whole model of `solid`, whose corners must be within its
// vertices. `numberBase` and `solidKind` as in Model; with solidKind 1..5
// the program's dual is computed by the program's own code (when the solid
// fits that kind's table). The reciprocal dual is taken about the sphere
// `sphere` names. With `programDual` false the program's dual is left for
// completeProgramDual, unless the model has no reciprocal dual to show
// instead (an OFF model's picture shows the reciprocal one, and at a
// million faces the other is 32 MB). Never fails: what cannot be built is
// left out with its message. Linear in the solid's size.
Model buildModel(std::string name, Polyhedron solid, int numberBase, int solidKind, const DualSphere& sphere = {},
                 bool programDual = true);

// Makes the program's dual of a model built without it, the same as
// buildModel would have made it; does nothing when it is there.
void completeProgramDual(Model& m);

}  // namespace pd
