#include "solids/solid_reader.h"

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

void readFaceColumns(std::FILE* in, SolidKind kind, FaceColumns& columns) {
    const SolidInfo& info = solidInfo(kind);
    auto& c = columns;
    for (int r = 0; r < info.faceCount; ++r) {
        switch (info.cornerCount) {
        case 3:
            std::fscanf(in, "%d %d %d", &c[0][r], &c[1][r], &c[2][r]);
            break;
        case 4:
            std::fscanf(in, "%d %d %d %d", &c[0][r], &c[1][r], &c[2][r], &c[3][r]);
            break;
        default:
            std::fscanf(in, "%d %d %d %d %d", &c[0][r], &c[1][r], &c[2][r], &c[3][r], &c[4][r]);
            break;
        }
    }
}

int firstBadFaceRow(SolidKind kind, const FaceColumns& columns) {
    const SolidInfo& info = solidInfo(kind);
    for (int r = 0; r < info.faceCount; ++r) {
        for (int c = 0; c < info.cornerCount; ++c) {
            const int number = columns[c][r];
            if (number < 1 || number > info.vertexCount) return r + 1;
        }
    }
    return 0;
}
