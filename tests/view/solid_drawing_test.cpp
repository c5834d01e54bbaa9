#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "view/edge_tables.h"
#include "view/solid_drawing.h"

namespace {

// Every vertex gets a position of its own that tells array and place apart.
VertexArrays numbered() {
    VertexArrays a;
    for (const SolidInfo& s : solidTable) {
        for (int p = 0; p < maxVertices; ++p) {
            solidVerts(a, s.kind)[p] = {float(s.kind * 100 + p), float(-p), float(7 * p)};
            dualVerts(a, s.kind)[p] = {float(s.kind * 100 + 50 + p), float(p), float(-3 * p)};
        }
    }
    return a;
}

struct Expected {
    int solidSegments;
    int dualSegments;
    std::pair<int, int> firstDual;
    std::pair<int, int> lastDual;
};

TEST(SolidDrawing, EachChoiceAddsTheSolidInBlueThenItsDualInRed) {
    const Expected expected[] = {
        {6, 6, {0, 1}, {2, 3}},
        {12, 12, {0, 1}, {3, 4}},
        {12, 12, {0, 3}, {6, 4}},
        {30, 30, {0, 2}, {10, 11}},
        {30, 30, {0, 1}, {13, 18}},
    };
    const VertexArrays arrays = numbered();
    for (int choice = 1; choice <= 5; ++choice) {
        const Expected& e = expected[choice - 1];
        const SolidKind kind = static_cast<SolidKind>(choice);
        Scene scene;
        addSolidEdges(choice, arrays, scene);
        ASSERT_EQ(int(scene.segments.size()), e.solidSegments + e.dualSegments) << choice;
        EXPECT_TRUE(scene.points.empty() && scene.lines.empty() && scene.circles.empty());
        int k = 0;
        for (const Segment& s : scene.segments) {
            const bool dual = k >= e.solidSegments;
            EXPECT_EQ(s.colour, dual ? 0 : 2) << choice << " segment " << k;
            EXPECT_EQ(s.start.colour, 9);
            EXPECT_EQ(s.end.colour, 9);
            const VertexArray& a = dual ? dualVerts(arrays, kind) : solidVerts(arrays, kind);
            const EdgeList table = dual ? dualEdges(kind) : solidEdges(kind);
            const EdgePair pair = table.pairs[dual ? k - e.solidSegments : k];
            EXPECT_EQ(s.start.x, a[pair.first].x);
            EXPECT_EQ(s.start.y, a[pair.first].y);
            EXPECT_EQ(s.end.x, a[pair.second].x);
            EXPECT_EQ(s.end.y, a[pair.second].y);
            if (k == e.solidSegments) {
                EXPECT_EQ(s.start.x, a[e.firstDual.first].x) << choice;
                EXPECT_EQ(s.end.x, a[e.firstDual.second].x) << choice;
            }
            if (k == e.solidSegments + e.dualSegments - 1) {
                EXPECT_EQ(s.start.x, a[e.lastDual.first].x) << choice;
                EXPECT_EQ(s.end.x, a[e.lastDual.second].x) << choice;
            }
            ++k;
        }
    }
}

TEST(SolidDrawing, ChoicesOutsideTheMenuAddNothing) {
    const VertexArrays arrays = numbered();
    for (int choice : {0, 6, -1, 1000, -2147483647 - 1}) {
        Scene scene;
        addSolidEdges(choice, arrays, scene);
        EXPECT_TRUE(scene.segments.empty()) << choice;
        EXPECT_EQ(scene.boxMin.x, 1024.0f);
        EXPECT_EQ(scene.boxMax.y, 0.0f);
    }
}

TEST(SolidDrawing, DepthHasNoInfluence) {
    VertexArrays a = numbered();
    VertexArrays b = numbered();
    for (const SolidInfo& s : solidTable)
        for (int p = 0; p < maxVertices; ++p) {
            solidVerts(b, s.kind)[p].z = -1e30f;
            dualVerts(b, s.kind)[p].z = float(p * p);
        }
    const Point p = projectVertex({1.5f, -2.25f, 99.0f});
    EXPECT_EQ(p.x, 1.5f);
    EXPECT_EQ(p.y, -2.25f);
    EXPECT_EQ(p.colour, 9);
    for (int choice = 1; choice <= 5; ++choice) {
        Scene sa, sb;
        addSolidEdges(choice, a, sa);
        addSolidEdges(choice, b, sb);
        ASSERT_EQ(sa.segments.size(), sb.segments.size());
        auto ia = sa.segments.begin();
        for (const Segment& s : sb.segments) {
            EXPECT_EQ(s.start.x, ia->start.x);
            EXPECT_EQ(s.end.y, ia->end.y);
            ++ia;
        }
        EXPECT_EQ(sa.boxMin.x, sb.boxMin.x);
        EXPECT_EQ(sa.boxMax.y, sb.boxMax.y);
    }
}

// Structure of the tables: each is a simple graph with the degree of its
// solid, and no pair repeats in either order.
TEST(EdgeTables, EachTableIsTheEdgeGraphOfItsSolid) {
    struct Shape {
        EdgeList table;
        int vertices;
        int degree;
    };
    const Shape shapes[] = {
        {edgeList(tetraEdges), 4, 3},    {edgeList(cubeEdges), 8, 3},
        {edgeList(cubeDualEdges), 6, 4}, {edgeList(octaEdges), 6, 4},
        {edgeList(octaDualEdges), 8, 3}, {edgeList(dodecaEdges), 20, 3},
        {edgeList(icosaEdges), 12, 5},
    };
    for (const Shape& s : shapes) {
        std::vector<int> degree(s.vertices, 0);
        std::set<std::pair<int, int>> seen;
        for (int k = 0; k < s.table.count; ++k) {
            const EdgePair e = s.table.pairs[k];
            ASSERT_TRUE(e.first >= 0 && e.first < s.vertices && e.second >= 0 && e.second < s.vertices);
            EXPECT_NE(e.first, e.second);
            EXPECT_TRUE(seen.insert(std::minmax(e.first, e.second)).second);
            ++degree[e.first];
            ++degree[e.second];
        }
        for (int d : degree) EXPECT_EQ(d, s.degree);
    }
    EXPECT_EQ(octaDualEdges[11].first, 6);
    EXPECT_EQ(octaDualEdges[11].second, 4);
}

}  // namespace
