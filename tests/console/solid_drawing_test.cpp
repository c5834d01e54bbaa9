#include "console/solid_drawing.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <utility>

#include "scratch_dir.h"
#include "program_arrays.h"
#include "geometry/rotation.h"
#include "solids/solid_rotation.h"

using namespace pd;

namespace {

// The shipped solids and their duals as a run holds them, turned so that no
// two vertices of one array share x and y.
VertexArrays shippedTurned() {
    VertexArrays arrays;
    std::string error;
    EXPECT_TRUE(loadProgramArrays(scratch::sourcePath("data"), arrays, error)) << error;
    rotateSolids(30, 45, arrays);
    return arrays;
}

// The array position of the vertex drawn at (x, y), or -1.
int positionOf(const VertexArray& a, int count, Point p) {
    for (int i = 0; i < count; ++i)
        if (a[i].x == p.x && a[i].y == p.y) return i;
    return -1;
}

double distance(Vec3 a, Vec3 b) {
    return std::hypot(double(a.x) - b.x, double(a.y) - b.y, double(a.z) - b.z);
}

// Each choice draws its solid's true edges (all at one length, each once) in
// blue, then its dual's in red, seen along z.
TEST(SolidDrawing, EachChoiceDrawsTheEdgesOfItsSolidThenOfItsDual) {
    const VertexArrays arrays = shippedTurned();
    const int edges[] = {6, 12, 12, 30, 30};
    for (const SolidInfo& info : solidTable) {
        Scene scene;
        addSolidEdges(info.kind, arrays, scene);
        ASSERT_EQ(int(scene.segments.size()), 2 * edges[info.kind - 1]) << info.vertexFile;
        int k = 0;
        std::set<std::pair<int, int>> seen;
        double length = 0;
        for (const Segment& s : scene.segments) {
            const bool dual = k++ >= edges[info.kind - 1];
            if (k == edges[info.kind - 1] + 1) seen.clear(), length = 0;
            const VertexArray& a = dual ? dualVerts(arrays, info.kind) : solidVerts(arrays, info.kind);
            const int count = dual ? info.faceCount : info.vertexCount;
            const int i = positionOf(a, count, s.start), j = positionOf(a, count, s.end);
            ASSERT_TRUE(i >= 0 && j >= 0 && i != j) << info.vertexFile << " segment " << k;
            EXPECT_TRUE(seen.insert(std::minmax(i, j)).second) << info.vertexFile << " segment " << k;
            if (length == 0) length = distance(a[i], a[j]);
            EXPECT_NEAR(distance(a[i], a[j]), length, 1e-5 * length) << info.vertexFile << " " << k;
            EXPECT_EQ(s.colour, dual ? 0 : 2);
        }
    }
    for (int choice : {0, 6, -1, INT_MIN}) {
        Scene scene;
        addSolidEdges(choice, arrays, scene);
        EXPECT_TRUE(scene.segments.empty()) << choice;
    }
    const Point p = projectVertex({1.5f, -2.25f, 99.0f});
    EXPECT_TRUE(p.x == 1.5f && p.y == -2.25f && p.colour == 9);
}

}  // namespace
