#include "shipped_solids.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "solids/dual.h"
#include "solids/solid_reader.h"

namespace {

std::FILE* openData(const char* name) {
    const std::string path = std::string(PD_DATA_DIR) + "/" + name;
    std::FILE* in = std::fopen(path.c_str(), "r");
    if (!in) {
        std::fprintf(stderr, "fuzz: cannot read %s\n", path.c_str());
        std::abort();
    }
    return in;
}

VertexArrays readShipped() {
    VertexArrays arrays;
    FaceColumns columns{};
    for (const SolidInfo& info : solidTable) {
        std::FILE* in = openData(info.vertexFile);
        if (info.kind == Tetrahedron)
            readFixedVertices(in, arrays.tetraVerts);
        else
            readVerticesToEnd(in, solidVerts(arrays, info.kind));
        std::fclose(in);

        in = openData(info.faceFile);
        readFaceColumns(in, info.kind, columns);
        std::fclose(in);
        if (firstBadFaceRow(info.kind, columns) != 0) {
            std::fprintf(stderr, "fuzz: %s names a vertex outside its solid\n", info.faceFile);
            std::abort();
        }
        computeDualVerts(info.kind, solidVerts(arrays, info.kind), columns,
                         dualVerts(arrays, info.kind));
    }
    return arrays;
}

}  // namespace

const VertexArrays& shippedSolids() {
    static const VertexArrays arrays = readShipped();
    return arrays;
}
