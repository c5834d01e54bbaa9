#include "solids/solid_table.h"

namespace pd {

namespace {

template <typename Arrays, typename Array>
Array& arrayOf(Arrays& a, SolidKind kind, bool dual) {
    switch (kind) {
    case Tetrahedron: return dual ? a.tetraDualVerts : a.tetraVerts;
    case Hexahedron: return dual ? a.cubeDualVerts : a.cubeVerts;
    case Octahedron: return dual ? a.octaDualVerts : a.octaVerts;
    case Dodecahedron: return dual ? a.dodecaDualVerts : a.dodecaVerts;
    case Icosahedron: break;
    }
    return dual ? a.icosaDualVerts : a.icosaVerts;
}

}  // namespace

VertexArray& solidVerts(VertexArrays& arrays, SolidKind kind) {
    return arrayOf<VertexArrays, VertexArray>(arrays, kind, false);
}
const VertexArray& solidVerts(const VertexArrays& arrays, SolidKind kind) {
    return arrayOf<const VertexArrays, const VertexArray>(arrays, kind, false);
}
VertexArray& dualVerts(VertexArrays& arrays, SolidKind kind) {
    return arrayOf<VertexArrays, VertexArray>(arrays, kind, true);
}
const VertexArray& dualVerts(const VertexArrays& arrays, SolidKind kind) {
    return arrayOf<const VertexArrays, const VertexArray>(arrays, kind, true);
}

}  // namespace pd
