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
        const std::string problem = readFaceColumns(in, info.kind, columns);
        std::fclose(in);
        if (!problem.empty()) {
            std::fprintf(stderr, "fuzz: %s: %s\n", info.faceFile, problem.c_str());
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
