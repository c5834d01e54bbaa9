#include "solids/dual.h"

#include <cerrno>
#include <cstdio>

namespace pd {

namespace {

// Corner places (0-based) in the order their coordinates are added; the
// order matters because every partial sum is rounded.
struct SummingOrder {
    std::array<int, maxCorners> places;
    int count;
};

constexpr std::array<SummingOrder, solidKindCount> summingOrders{{
    {{0, 1, 2, 0, 0}, 3},
    {{3, 0, 1, 2, 0}, 4},
    {{0, 1, 2, 0, 0}, 3},
    {{4, 3, 0, 1, 2}, 5},
    {{0, 1, 2, 0, 0}, 3},
}};

// How many dual positions are zeroed before the first face file is read;
// more than faceCount for the cube and the dodecahedron, whose extra
// positions then stay zero.
constexpr std::array<int, solidKindCount> clearedPositions{4, 8, 8, 20, 20};

const Vec3& cornerVertex(const VertexArray& verts, const FaceColumns& columns, int row,
                         int place) {
    return verts[columns[place][row] - 1];
}

// One coordinate of a face's sum: added in double, in the table's order,
// then rounded to float.
template <typename Coord>
float sumCoordinate(const SummingOrder& order, const VertexArray& verts,
                    const FaceColumns& columns, int row, Coord coord) {
    double sum = coord(cornerVertex(verts, columns, row, order.places[0]));
    for (int k = 1; k < order.count; ++k)
        sum += coord(cornerVertex(verts, columns, row, order.places[k]));
    return static_cast<float>(sum);
}

bool sameCorner(const Vec3& a, const Vec3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

void writeText(std::FILE* out, const std::string& text, const char* name, std::vector<Error>& warnings) {
    if (out && std::fputs(text.c_str(), out) == EOF) warnings.push_back(writeFailure(name, errno));
}

}  // namespace

double centroidFactor(SolidKind kind) {
    switch (solidInfo(kind).cornerCount) {
    case 4: return 0.25;
    case 5: return 0.2;
    default: return 0.33;
    }
}

Vec3 scaledCornerSum(Vec3 sum, double factor) {
    return {static_cast<float>(static_cast<double>(sum.x) * factor),
            static_cast<float>(static_cast<double>(sum.y) * factor),
            static_cast<float>(static_cast<double>(sum.z) * factor)};
}

void computeDualVerts(SolidKind kind, const VertexArray& verts, const FaceColumns& columns,
                      VertexArray& dual) {
    const SolidInfo& info = solidInfo(kind);
    const SummingOrder& order = summingOrders[kind - 1];
    for (int r = 0; r < info.faceCount; ++r) {
        dual[r].x = sumCoordinate(order, verts, columns, r, [](const Vec3& v) { return v.x; });
        dual[r].y = sumCoordinate(order, verts, columns, r, [](const Vec3& v) { return v.y; });
        dual[r].z = sumCoordinate(order, verts, columns, r, [](const Vec3& v) { return v.z; });
    }
    // A second pass over the stored sums: the result is rounded once after
    // the sum and once after the product.
    const double factor = centroidFactor(kind);
    for (int r = 0; r < info.faceCount; ++r) dual[r] = scaledCornerSum(dual[r], factor);
}

void fillFaceRecords(SolidKind kind, const VertexArray& verts, const FaceColumns& columns,
                     FaceRecords& records) {
    const SolidInfo& info = solidInfo(kind);
    for (int r = 0; r < info.faceCount; ++r)
        for (int c = 0; c < info.cornerCount; ++c)
            records[r].corners[c] = cornerVertex(verts, columns, r, c);
}

bool sharesCornerPair(Face a, Face b, int cornerCount) {
    for (int q = 1; q < cornerCount; ++q)
        for (int p = 0; p < q; ++p)
            if (sameCorner(a.corners[p], b.corners[q])) return true;
    return false;
}

std::string formatDualVerts(SolidKind kind, const VertexArray& dual) {
    std::string text;
    char line[200];
    for (int r = 0; r < solidInfo(kind).faceCount; ++r) {
        std::snprintf(line, sizeof line, "%f %f %f\n", static_cast<double>(dual[r].x),
                      static_cast<double>(dual[r].y), static_cast<double>(dual[r].z));
        text += line;
    }
    return text;
}

std::string formatPairs(SolidKind kind, const FaceRecords& records) {
    const SolidInfo& info = solidInfo(kind);
    std::string text;
    char entry[40];
    for (int i = 1; i <= info.faceCount; ++i) {
        for (int j = 1; j <= info.faceCount; ++j) {
            if (sharesCornerPair(records[i - 1], records[j - 1], info.cornerCount)) {
                std::snprintf(entry, sizeof entry, " %d-%d ", i, j);
                text += entry;
            }
        }
        text += '\n';
    }
    return text;
}

Status buildDuals(SolidFileSet& files, VertexArrays& arrays, FaceColumns& columns, FaceRecords& records,
                  std::vector<Error>& warnings) {
    for (const SolidInfo& info : solidTable) {
        VertexArray& dual = dualVerts(arrays, info.kind);
        for (int p = 0; p < clearedPositions[info.kind - 1]; ++p) dual[p] = Vec3{};
    }
    for (const SolidInfo& info : solidTable) {
        if (Status read = readFaceRows(info.kind, files, columns); !read) return read;
        const VertexArray& verts = solidVerts(arrays, info.kind);
        VertexArray& dual = dualVerts(arrays, info.kind);
        computeDualVerts(info.kind, verts, columns, dual);

        const Result<std::FILE*> created = createOutputFile(info.dualFile);
        if (!created) warnings.push_back(created.error());
        std::FILE* dualFile = created ? *created : nullptr;
        files.dualFiles[info.kind - 1] = dualFile;
        writeText(dualFile, formatDualVerts(info.kind, dual), info.dualFile, warnings);

        fillFaceRecords(info.kind, verts, columns, records);
        writeText(files.pairFiles[info.kind - 1], formatPairs(info.kind, records), info.pairFile, warnings);
    }
    return Done{};
}

}  // namespace pd
