#include "solids/solid_reader.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include "base/translate.h"

namespace pd {

void readFixedVertices(std::FILE* in, VertexArray& verts) {
    // Twelve single reads rather than four triples: the file's layout does
    // not matter, and numbers past the twelfth are never touched.
    for (int p = 0; p < 4; ++p) {
        std::fscanf(in, "%f", &verts[p].x);
        std::fscanf(in, "%f", &verts[p].y);
        std::fscanf(in, "%f", &verts[p].z);
    }
}

int readVerticesToEnd(std::FILE* in, VertexArray& verts) {
    int reads = 0;
    for (int p = 0; p < maxVertices; ++p) {
        const int converted = std::fscanf(in, "%f %f %f", &verts[p].x, &verts[p].y, &verts[p].z);
        ++reads;
        if (std::feof(in)) break;
        // Text that is not a number would stop every later read in the same
        // place, so the loop ends here instead of spinning.
        if (converted < 3) break;
    }
    return reads;
}

std::string readFaceColumns(std::FILE* in, SolidKind kind, FaceColumns& columns) {
    const SolidInfo& info = solidInfo(kind);
    std::string problem;
    for (int r = 0; r < info.faceCount; ++r) {
        for (int c = 0; c < info.cornerCount; ++c) {
            // Read wide, so that a number past the int range is seen as such
            // instead of being wrapped into a valid vertex number.
            long long number = 0;
            const int converted = std::fscanf(in, "%lld", &number);
            if (converted != 1) {
                if (!problem.empty()) return problem;
                if (std::ferror(in)) return fill(tr("cannot be read: {1}"), {std::strerror(errno)});
                if (converted == EOF)
                    return fill(tr("the file ends after row {1} of {2}"), {std::to_string(r), std::to_string(info.faceCount)});
                return fill(tr("row {1}: text that is not a number"), {std::to_string(r + 1)});
            }
            const bool isInt = number >= INT_MIN && number <= INT_MAX;
            columns[c][r] = isInt ? static_cast<int>(number) : 0;
            if ((number < 1 || number > info.vertexCount) && problem.empty()) {
                problem = fill(tr("row {1}: vertex number {2} is outside 1 to {3}"),
                               {std::to_string(r + 1), std::to_string(number), std::to_string(info.vertexCount)});
            }
        }
    }
    return problem;
}

void readSolidVertices(std::FILE* in, SolidKind kind, VertexArray& verts) {
    if (kind == Tetrahedron)
        readFixedVertices(in, verts);
    else
        readVerticesToEnd(in, verts);
}

}  // namespace pd
