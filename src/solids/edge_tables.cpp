#include "solids/edge_tables.h"

namespace pd {

EdgeList solidEdges(SolidKind kind) {
    switch (kind) {
    case Tetrahedron: return edgeList(tetraEdges);
    case Hexahedron: return edgeList(cubeEdges);
    case Octahedron: return edgeList(octaEdges);
    case Dodecahedron: return edgeList(dodecaEdges);
    case Icosahedron: break;
    }
    return edgeList(icosaEdges);
}

EdgeList dualEdges(SolidKind kind) {
    // The dual of a solid is drawn with the table of the solid it is: the
    // tetrahedron is its own dual, and the dodecahedron and icosahedron
    // swap tables.
    switch (kind) {
    case Tetrahedron: return edgeList(tetraEdges);
    case Hexahedron: return edgeList(cubeDualEdges);
    case Octahedron: return edgeList(octaDualEdges);
    case Dodecahedron: return edgeList(icosaEdges);
    case Icosahedron: break;
    }
    return edgeList(dodecaEdges);
}

}  // namespace pd
