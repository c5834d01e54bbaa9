#pragma once

#include <array>

#include "base/translate.h"
#include "geometry/vec3.h"

namespace pd {

// The menu number of a solid; also the order in which every per-solid step
// handles the solids.
enum SolidKind : int {
    Tetrahedron = 1,
    Hexahedron = 2,
    Octahedron = 3,
    Dodecahedron = 4,
    Icosahedron = 5,
};

constexpr int solidKindCount = 5;
constexpr int maxVertices = 49;  // room in every vertex array
constexpr int maxFaceRows = 99;  // room in every face column
constexpr int maxCorners = 5;

// Everything the program knows about one solid apart from its data files.
struct SolidInfo {
    SolidKind kind;
    const char* menuWord;
    const char* vertexFile;
    int vertexCount;
    const char* faceFile;
    int faceCount;
    int cornerCount;
    const char* dualFile;
    const char* pairFile;
};

// The names are the files' own Serbian words; marked for the catalogues so
// the explorer writes them in the reader's script (Cyrillic for sr).
constexpr std::array<SolidInfo, solidKindCount> solidTable{{
    {Tetrahedron, N_("tetraedar"), "tetra.DAT", 4, "tetrap.dat", 4, 3, "dualt.txt", "dualtp.txt"},
    {Hexahedron, N_("heksaedar"), "kocka.dat", 8, "kockap.dat", 6, 4, "dualk.txt", "dualkp.txt"},
    {Octahedron, N_("oktaedar"), "okta.dat", 6, "oktap.dat", 8, 3, "dualo.txt", "dualop.txt"},
    {Dodecahedron, N_("dodekaedar"), "dodeka.dat", 20, "dodekap.dat", 12, 5, "dualdo.txt", "dualdop.txt"},
    {Icosahedron, N_("ikosaedar"), "ikosa.dat", 12, "ikosap.dat", 20, 3, "duali.txt", "dualip.txt"},
}};

// The row of the table for a kind; kind must be 1 to 5.
constexpr const SolidInfo& solidInfo(SolidKind kind) { return solidTable[kind - 1]; }

// True for the menu numbers 1 to 5.
constexpr bool isSolidKind(int value) { return value >= 1 && value <= solidKindCount; }

using VertexArray = std::array<Vec3, maxVertices>;

// The ten vertex arrays of a run: the five solids as read and the five duals
// as built. All start zeroed.
struct VertexArrays {
    VertexArray tetraVerts{};
    VertexArray cubeVerts{};
    VertexArray octaVerts{};
    VertexArray dodecaVerts{};
    VertexArray icosaVerts{};
    VertexArray tetraDualVerts{};
    VertexArray cubeDualVerts{};
    VertexArray octaDualVerts{};
    VertexArray dodecaDualVerts{};
    VertexArray icosaDualVerts{};
};

// The solid's own array and its dual's array, by kind (1 to 5; any other
// kind gets the icosahedron's).
VertexArray& solidVerts(VertexArrays& arrays, SolidKind kind);
const VertexArray& solidVerts(const VertexArrays& arrays, SolidKind kind);
VertexArray& dualVerts(VertexArrays& arrays, SolidKind kind);
const VertexArray& dualVerts(const VertexArrays& arrays, SolidKind kind);

// Five columns of vertex numbers, one per corner place; row r of a face file
// lands at position r - 1 of columns 0 to cornerCount - 1. One set serves all
// five solids in turn.
using FaceColumns = std::array<std::array<int, maxFaceRows>, maxCorners>;

}  // namespace pd
