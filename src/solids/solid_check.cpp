#include "solids/solid_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "geometry/vec3.h"
#include "solids/edge_tables.h"

namespace pd {

namespace {

double distance(const Vec3& a, const Vec3& b) { return length(widen(a) - widen(b)); }

const char* solidTableName(SolidKind kind) {
    switch (kind) {
    case Tetrahedron: return "tetraEdges";
    case Hexahedron: return "cubeEdges";
    case Octahedron: return "octaEdges";
    case Dodecahedron: return "dodecaEdges";
    case Icosahedron: break;
    }
    return "icosaEdges";
}

const char* dualTableName(SolidKind kind) {
    switch (kind) {
    case Tetrahedron: return "tetraEdges";
    case Hexahedron: return "cubeDualEdges";
    case Octahedron: return "octaDualEdges";
    case Dodecahedron: return "icosaEdges";
    case Icosahedron: break;
    }
    return "dodecaEdges";
}

template <typename... Args>
std::string format(const char* fmt, Args... args) {
    char line[300];
    std::snprintf(line, sizeof line, fmt, args...);
    return line;
}

bool allFinite(SolidKind kind, const VertexArray& verts) {
    for (int p = 0; p < solidInfo(kind).vertexCount; ++p)
        if (!std::isfinite(verts[p].x) || !std::isfinite(verts[p].y) || !std::isfinite(verts[p].z))
            return false;
    return true;
}

// The shortest and the longest distance between two of the solid's vertices.
struct DistanceRange {
    double shortest;
    double longest;
};

DistanceRange distanceRange(SolidKind kind, const VertexArray& verts) {
    const int n = solidInfo(kind).vertexCount;
    DistanceRange e{INFINITY, 0.0};
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j) {
            const double d = distance(verts[i], verts[j]);
            e.shortest = std::min(e.shortest, d);
            e.longest = std::max(e.longest, d);
        }
    return e;
}

bool isEdgeLength(double d, double edge) { return std::fabs(d - edge) <= checkTolerance * edge; }

bool validNumber(SolidKind kind, int number) {
    return number >= 1 && number <= solidInfo(kind).vertexCount;
}

// The problems of one row that can be seen from its numbers alone.
bool rowNumbersSound(SolidKind kind, const FaceColumns& columns, int row,
                     std::vector<std::string>& problems) {
    const SolidInfo& info = solidInfo(kind);
    for (int c = 0; c < info.cornerCount; ++c) {
        const int number = columns[c][row - 1];
        if (!validNumber(kind, number)) {
            problems.push_back(format("%s: row %d: vertex number %d is outside 1 to %d",
                                      info.faceFile, row, number, info.vertexCount));
            return false;
        }
        for (int d = 0; d < c; ++d)
            if (columns[d][row - 1] == number) {
                problems.push_back(format("%s: row %d names vertex %d twice", info.faceFile,
                                          row, number));
                return false;
            }
    }
    return true;
}

// The measured problems of one row whose numbers are sound.
void checkFaceShape(SolidKind kind, const VertexArray& verts, const FaceColumns& columns,
                    int row, DistanceRange ext, std::vector<std::string>& problems) {
    const SolidInfo& info = solidInfo(kind);
    const int m = info.cornerCount;
    const char* file = info.faceFile;
    std::array<int, maxCorners> numbers{};
    for (int c = 0; c < m; ++c) numbers[c] = columns[c][row - 1];
    const Vec3d origin = widen(verts[numbers[0] - 1]);

    // The plane through the corners, from the pair of spokes that spans it
    // best, so the corners' order does not matter here.
    Vec3d normal{0, 0, 0};
    for (int i = 1; i < m; ++i)
        for (int j = i + 1; j < m; ++j) {
            const Vec3d n = cross(widen(verts[numbers[i] - 1]) - origin,
                               widen(verts[numbers[j] - 1]) - origin);
            if (length(n) > length(normal)) normal = n;
        }
    const double tolerance = checkTolerance * ext.longest;
    if (length(normal) <= tolerance * ext.longest) {
        problems.push_back(format("%s: row %d is not a face: its corners lie on a line", file, row));
        return;
    }
    const double scale = 1.0 / length(normal);
    auto height = [&](int number) {
        return dot(normal, widen(verts[number - 1]) - origin) * scale;
    };

    for (int c = 1; c < m; ++c)
        if (std::fabs(height(numbers[c])) > tolerance) {
            problems.push_back(format("%s: row %d is not a face: its corners are not in one plane",
                                      file, row));
            return;
        }

    int above = 0, below = 0, inPlane = 0;
    for (int number = 1; number <= info.vertexCount; ++number) {
        if (std::find(numbers.begin(), numbers.begin() + m, number) != numbers.begin() + m)
            continue;
        const double h = height(number);
        if (h > tolerance) ++above;
        else if (h < -tolerance) ++below;
        else ++inPlane;
    }
    if (above > 0 && below > 0) {
        problems.push_back(format("%s: row %d is not a face: other vertices lie on both sides "
                                  "of its plane", file, row));
        return;
    }
    if (inPlane > 0) {
        problems.push_back(format("%s: row %d is not a face: %d other vertices lie in its plane",
                                  file, row, inPlane));
        return;
    }

    for (int c = 0; c < m; ++c) {
        const int a = numbers[c], b = numbers[(c + 1) % m];
        if (!isEdgeLength(distance(verts[a - 1], verts[b - 1]), ext.shortest)) {
            problems.push_back(format("%s: row %d: vertices %d and %d are not joined by an edge; "
                                      "list the corners in order around the face",
                                      file, row, a, b));
            return;
        }
    }
}

// Sorted vertex numbers of a row, to compare rows as sets; unused places
// stay 0 and sort first.
std::array<int, maxCorners> cornerSet(const FaceColumns& columns, int row, int m) {
    std::array<int, maxCorners> set{};
    for (int c = 0; c < m; ++c) set[c] = columns[c][row - 1];
    std::sort(set.begin(), set.end());
    return set;
}

int sharedNumbers(const FaceColumns& columns, int rowA, int rowB, int m) {
    int shared = 0;
    for (int a = 0; a < m; ++a)
        for (int b = 0; b < m; ++b)
            if (columns[a][rowA - 1] == columns[b][rowB - 1]) {
                ++shared;
                break;
            }
    return shared;
}

}  // namespace

std::vector<std::string> checkEdges(SolidKind kind, const VertexArray& verts) {
    const SolidInfo& info = solidInfo(kind);
    std::vector<std::string> problems;
    int missing = 0, firstMissing = 0;
    for (int p = 0; p < info.vertexCount; ++p)
        if (!std::isfinite(verts[p].x) || !std::isfinite(verts[p].y) ||
            !std::isfinite(verts[p].z)) {
            if (missing++ == 0) firstMissing = p + 1;
        }
    if (missing == 1)
        problems.push_back(format("%s: vertex %d is missing or not a number", info.vertexFile,
                                  firstMissing));
    else if (missing > 1)
        problems.push_back(format("%s: %d vertices are missing or not numbers, the first is "
                                  "vertex %d", info.vertexFile, missing, firstMissing));
    if (!problems.empty()) return problems;

    const DistanceRange ext = distanceRange(kind, verts);
    for (int i = 0; i < info.vertexCount; ++i)
        for (int j = i + 1; j < info.vertexCount; ++j)
            if (distance(verts[i], verts[j]) <= checkTolerance * ext.longest)
                problems.push_back(format("%s: vertices %d and %d coincide", info.vertexFile,
                                          i + 1, j + 1));
    if (!problems.empty()) return problems;

    const EdgeList table = solidEdges(kind);
    for (int k = 0; k < table.count; ++k) {
        const EdgePair e = table.pairs[k];
        const double d = distance(verts[e.first], verts[e.second]);
        if (!isEdgeLength(d, ext.shortest))
            problems.push_back(format("%s: %s pair %d joins vertices %d and %d at distance %g, "
                                      "but the edge length is %g",
                                      info.vertexFile, solidTableName(kind), k + 1, e.first + 1,
                                      e.second + 1, d, ext.shortest));
    }
    if (!problems.empty()) return problems;

    // Every tabled pair is an edge; a solid that is not regular can still
    // have more pairs at that length than the table draws.
    int edgeLengthPairs = 0;
    for (int i = 0; i < info.vertexCount; ++i)
        for (int j = i + 1; j < info.vertexCount; ++j)
            if (isEdgeLength(distance(verts[i], verts[j]), ext.shortest)) ++edgeLengthPairs;
    if (edgeLengthPairs != table.count)
        problems.push_back(format("%s: %d vertex pairs lie at the edge length, but %s has %d",
                                  info.vertexFile, edgeLengthPairs, solidTableName(kind),
                                  table.count));
    return problems;
}

std::vector<std::string> checkFaces(SolidKind kind, const VertexArray& verts,
                                    const FaceColumns& columns) {
    const SolidInfo& info = solidInfo(kind);
    std::vector<std::string> problems;
    const bool measurable = allFinite(kind, verts);
    const DistanceRange ext = measurable ? distanceRange(kind, verts) : DistanceRange{0.0, 0.0};
    for (int row = 1; row <= info.faceCount; ++row) {
        if (!rowNumbersSound(kind, columns, row, problems)) continue;
        for (int earlier = 1; earlier < row; ++earlier)
            if (cornerSet(columns, earlier, info.cornerCount) ==
                cornerSet(columns, row, info.cornerCount)) {
                problems.push_back(format("%s: row %d repeats the face of row %d",
                                          info.faceFile, row, earlier));
                break;
            }
        if (measurable && ext.shortest > 0.0)
            checkFaceShape(kind, verts, columns, row, ext, problems);
    }
    return problems;
}

std::vector<std::string> checkDualPairs(SolidKind kind, const FaceColumns& columns) {
    const SolidInfo& info = solidInfo(kind);
    std::vector<std::string> problems;
    const EdgeList table = dualEdges(kind);
    for (int k = 0; k < table.count; ++k) {
        const int rowA = table.pairs[k].first + 1, rowB = table.pairs[k].second + 1;
        if (sharedNumbers(columns, rowA, rowB, info.cornerCount) < 2)
            problems.push_back(format("%s: %s pair %d joins rows %d and %d, which share no edge",
                                      info.faceFile, dualTableName(kind), k + 1, rowA, rowB));
    }
    return problems;
}

std::vector<std::string> checkSolid(SolidKind kind, const VertexArray& verts,
                                    const FaceColumns& columns) {
    std::vector<std::string> problems = checkEdges(kind, verts);
    for (std::string& p : checkFaces(kind, verts, columns)) problems.push_back(std::move(p));
    for (std::string& p : checkDualPairs(kind, columns)) problems.push_back(std::move(p));
    return problems;
}

}  // namespace pd
