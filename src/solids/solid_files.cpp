#include "solids/solid_files.h"

#include <cerrno>
#include <cstring>

#include "solids/solid_reader.h"

bool loadSolids(SolidFileSet& files, VertexArrays& arrays) {
    // Every open is tested right after it is made, so a missing file ends the
    // load before anything is created.
    for (const SolidInfo& info : solidTable) {
        std::FILE* in = std::fopen(info.vertexFile, "r");
        if (!in) return false;
        files.vertexFiles[info.kind - 1] = in;
        if (info.kind == Tetrahedron)
            readFixedVertices(in, arrays.tetraVerts);
        else
            readVerticesToEnd(in, solidVerts(arrays, info.kind));
    }
    for (const SolidInfo& info : solidTable)
        files.pairFiles[info.kind - 1] = createOutputFile(info.pairFile);
    return true;
}

bool readFaceRows(SolidKind kind, SolidFileSet& files, FaceColumns& columns) {
    const SolidInfo& info = solidInfo(kind);
    std::FILE* in = std::fopen(info.faceFile, "r");
    if (!in) return false;
    files.faceFiles[kind - 1] = in;
    readFaceColumns(in, kind, columns);

    // A number outside the solid's vertices would make the sums read outside
    // the vertex array, so the run cannot go on with it.
    const int row = firstBadFaceRow(kind, columns);
    if (row == 0) return true;
    for (int c = 0; c < info.cornerCount; ++c) {
        const int number = columns[c][row - 1];
        if (number < 1 || number > info.vertexCount) {
            std::fprintf(stderr, "%s: row %d: vertex number %d is outside 1 to %d\n",
                         info.faceFile, row, number, info.vertexCount);
            break;
        }
    }
    return false;
}

namespace {

void closeGroup(std::array<std::FILE*, solidKindCount>& group) {
    for (std::FILE*& f : group) {
        if (f) std::fclose(f);
        f = nullptr;
    }
}

}  // namespace

void closeSolidFiles(SolidFileSet& files) {
    closeGroup(files.vertexFiles);
    closeGroup(files.faceFiles);
    closeGroup(files.dualFiles);
    closeGroup(files.pairFiles);
}

std::FILE* createOutputFile(const char* name) {
    std::FILE* out = std::fopen(name, "w");
    if (!out) {
        const int error = errno;
        std::fprintf(stderr, "%s: cannot be created: %s\n", name, std::strerror(error));
    }
    return out;
}
