#include "polyhedra/model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>

#include "hidden/back_edges.h"
#include "geometry/face_plane.h"
#include "polyhedra/model_loading.h"
#include "io/off_reader.h"
#include "io/off_writer.h"
#include "scratch_dir.h"
#include "shipped_models.h"
#include "solids/dual.h"
#include "geometry/rotation.h"

using namespace pd;

namespace {

Model offModel(const std::string& text) {
    Result<Polyhedron> p = readOff(text, "m.off");
    EXPECT_TRUE(p.ok()) << p.error().text();
    return buildModel("m", p ? std::move(*p) : Polyhedron{}, 0, 0);
}


struct V {
    double x, y, z;
};
V operator-(V a, V b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V operator+(V a, V b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V operator*(double k, V a) { return {k * a.x, k * a.y, k * a.z}; }
double dot(V a, V b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V cross(V a, V b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double norm(V a) { return std::sqrt(dot(a, a)); }
V at(const Polyhedron& p, int v) { return {p.vertices[v].x, p.vertices[v].y, p.vertices[v].z}; }

std::string edgeList(const std::vector<Edge>& edges) {
    std::string text;
    for (const Edge& e : edges)
        text += std::to_string(e.a) + "-" + std::to_string(e.b) + ":" + std::to_string(e.faces[0]) +
                "/" + std::to_string(e.faces[1]) + " ";
    return text;
}

// A bipyramid over a 5000-gon: 10 000 faces, enough for a model's parts
// (and those of its reciprocal dual, a prism of 5002 faces) to be built on
// two threads.
Model bigBipyramid() {
    const int n = 5000;
    Polyhedron p;
    for (int i = 0; i < n; ++i) {
        const double t = 2 * std::acos(-1.0) * i / n;
        p.vertices.push_back({float(std::cos(t)), float(std::sin(t)), 0.0f});
        const std::int32_t top[] = {i, (i + 1) % n, n}, bottom[] = {(i + 1) % n, i, n + 1};
        p.addFace(top, 3);
        p.addFace(bottom, 3);
    }
    p.vertices.push_back({0, 0, 1});
    p.vertices.push_back({0, 0, -1});
    return buildModel("bipyramid", std::move(p), 0, 0);
}

bool same(const std::vector<Vec3>& a, const std::vector<Vec3>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(Vec3)) == 0;
}

const char* const tetra = "4 4\n0 0 0\n1 0 0\n0 1 0\n0 0 1.5\n3 0 2 1\n3 0 1 3\n3 1 2 3\n3 0 3 2\n";

}  // namespace

TEST(Model, TetrahedronEdgesAndProgramDualWhole) {
    const Model m = offModel(tetra);
    EXPECT_EQ(edgeList(m.edges), "0-2:0/3 1-2:0/2 0-1:0/1 1-3:1/2 0-3:1/3 2-3:2/3 ");
    // Dual face v circles vertex v the way the solid's faces turn.
    EXPECT_EQ(formatOff({&m.programDual}).value(),
              "OFF\n# 1 shell: 4 vertices and 4 faces\n4 4 6\n"
              "0.33 0.33 0\n0.33 0 0.495\n0.33 0.33 0.495\n0 0.33 0.495\n"
              "3 0 1 3\n3 0 2 1\n3 0 3 2\n3 1 2 3\n");
    EXPECT_EQ(edgeList(m.dualEdges), "0-3:0/2 0-2:1/2 0-1:0/1 1-2:1/3 1-3:0/3 2-3:2/3 ");
}

TEST(Model, WhatCannotBeBuiltIsLeftOutWithItsReason) {
    const std::tuple<const char*, bool, const char*> cases[] = {  // OFF text, closed, why not
        {"4 3\n0 0 0\n1 0 0\n0 1 0\n0 0 1\n3 0 2 1\n3 0 1 3\n3 1 2 3\n", false, "edge 0-2 has only one face"},
        {"5 5\n0 0 0\n1 0 0\n0 1 0\n0 0 1\n1 1 1\n3 0 2 1\n3 0 1 3\n3 1 2 3\n3 0 3 2\n3 0 1 4\n",
         false, "edge 0-1 is shared by 3 faces"},
        {"7 8\n0 0 0\n1 0 0\n0 1 0\n0 0 1\n-1 0 0\n0 -1 0\n0 0 -1\n3 0 2 1\n3 0 1 3\n3 1 2 3\n"
         "3 0 3 2\n3 0 5 4\n3 0 4 6\n3 4 5 6\n3 0 6 5\n", false, "the faces around vertex 0 do not form one ring"},
        // A bipyramid whose lower apex is the mean of its vertices.
        {"5 6\n1 0 0\n-0.5 0.8660254 0\n-0.5 -0.8660254 0\n0 0 1\n0 0 0.25\n"
         "3 0 1 3\n3 1 2 3\n3 2 0 3\n3 1 0 4\n3 2 1 4\n3 0 2 4\n",
         true, "face 3 lies in a plane through the centre, so it has no reciprocal"},
    };
    for (const auto& [text, closed, message] : cases) {
        const Model m = offModel(text);
        EXPECT_EQ(m.closed, closed);
        EXPECT_EQ(m.closed ? m.reciprocalMessage : m.openEdgeMessage, message);
        EXPECT_FALSE(m.hasReciprocal);
        EXPECT_EQ(m.programDual.vertexCount(), closed ? m.solid.faceCount() : 0);
        EXPECT_EQ(m.reciprocalDual.vertexCount(), 0);
    }
}

// Vertices in no face, however far out and wherever in the file, are
// dropped before anything is derived: the model is the model without them.
TEST(Model, AVertexInNoFaceIsLeftOut) {
    const Model plain = offModel("4 4\n0 0 0\n1 0 0\n0 1 0\n0 0 1\n3 0 2 1\n3 0 1 3\n3 1 2 3\n3 0 3 2\n");
    const Model lonely = offModel("6 4\n0 0 0\n1e29 1e29 1e29\n1 0 0\n0 1 0\n-5 0 0\n0 0 1\n"
                                  "3 0 3 2\n3 0 2 5\n3 2 3 5\n3 0 5 3\n");
    EXPECT_TRUE(lonely.closed && lonely.hasReciprocal) << lonely.openEdgeMessage << lonely.reciprocalMessage;
    EXPECT_EQ(lonely.lonelyVertexNote, "vertex 1 is in no face (nor are 1 more) and is left out");
    for (const auto shape : {&Model::solid, &Model::programDual, &Model::reciprocalDual})
        EXPECT_EQ(formatOff({&(lonely.*shape)}).value(), formatOff({&(plain.*shape)}).value());
}

TEST(DirectoryModels, ProgramDualIsTheProgramsOutput) {
    const std::vector<Model> models = shippedModels();
    ASSERT_EQ(models.size(), 5u);
    for (const SolidInfo& info : solidTable) {
        const Model& m = models[info.kind - 1];
        ASSERT_TRUE(m.closed) << m.openEdgeMessage;
        VertexArray dual{};
        std::copy(m.programDual.vertices.begin(), m.programDual.vertices.end(), dual.begin());
        EXPECT_EQ(formatDualVerts(info.kind, dual), scratch::expectedOutput(info.dualFile));
    }
}

TEST(DirectoryModels, ReciprocalDualCrossesEveryEdgeAtItsMidpointAtRightAngles) {
    for (const Model& m : shippedModels()) {
        ASSERT_TRUE(m.hasReciprocal) << m.reciprocalMessage;
        ASSERT_EQ(m.edges.size(), m.dualEdges.size());
        for (std::size_t i = 0; i < m.edges.size(); ++i) {
            const V a = at(m.solid, m.edges[i].a), b = at(m.solid, m.edges[i].b);
            const V p = at(m.reciprocalDual, m.dualEdges[i].a);
            const V q = at(m.reciprocalDual, m.dualEdges[i].b);
            const V mid = 0.5 * (a + b);
            const double t = dot(mid - p, q - p) / dot(q - p, q - p);
            const double tol = 1e-5 * norm(b - a);
            EXPECT_NEAR(norm(p + t * (q - p) - mid), 0.0, tol) << m.name << " edge " << i;
            EXPECT_TRUE(t > 0.0 && t < 1.0) << m.name << " edge " << i;
            EXPECT_NEAR(dot(b - a, q - p) / norm(q - p), 0.0, tol) << m.name << " edge " << i;
        }
    }
}

TEST(DirectoryModels, DualOfTheReciprocalDualIsTheSolidScaled) {
    std::vector<Model> models = shippedModels();
    models.push_back(bigBipyramid());
    for (const Model& m : models) {
        const Model dual = buildModel("dual", m.reciprocalDual, 0, 0);
        ASSERT_TRUE(dual.hasReciprocal) << m.name << ": " << dual.reciprocalMessage;
        // Each part in its place, however the model was built.
        EXPECT_TRUE(same(m.solidNormals, outwardNormals(m.solid)) &&
                    same(m.programDualNormals, outwardNormals(m.programDual)) &&
                    same(m.reciprocalDualNormals, outwardNormals(m.reciprocalDual)) &&
                    m.programDual.corners == m.reciprocalDual.corners)
            << m.name;
        const Polyhedron& again = dual.reciprocalDual;
        ASSERT_EQ(again.vertexCount(), m.solid.vertexCount());
        const double scale = norm(at(again, 0)) / norm(at(m.solid, 0));
        EXPECT_GT(scale, 0.1);
        for (int v = 0; v < again.vertexCount(); ++v)
            // 1e-4: float coordinates on a circle of 5000 corners.
            EXPECT_NEAR(norm(at(again, v) - scale * at(m.solid, v)), 0.0, 1e-4 * norm(at(again, v)))
                << m.name << " vertex " << v;
    }
}

TEST(DirectoryModels, ProblemsNameTheFile) {
    // File, its text (nullptr: the file is a directory, "": there is none), error.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"kocka.dat", "", "kocka.dat: cannot be read: No such file or directory"},
        {"kockap.dat", nullptr, "kockap.dat: cannot be read: Is a directory"},
        {"oktap.dat", "1 2 3\n1 2 4\n1 7 5\n", "oktap.dat: row 3: vertex number 7 is outside 1 to 6"},
        {"ikosa.dat", "0 0 0\n1 1 nan\n",
         "ikosa.dat: vertex 2 has a coordinate that is not a finite number within -1e30..1e30"},
    };
    for (const auto& [file, text, message] : cases) {
        scratch::ScratchDir dir;
        ASSERT_TRUE(dir.ok());
        dir.copyShippedData();
        dir.remove(file);
        if (!text) std::filesystem::create_directory(dir.path() / file);
        else if (*text) dir.write(file, text);
        const Result<std::vector<Model>> models = loadDirectoryModels(dir.path().string());
        ASSERT_FALSE(models.ok());
        EXPECT_EQ(models.error().text(), dir.file(message));
    }
}

// An edge is a back edge exactly when a point just in front of its midpoint
// (towards the viewer, +z) is inside the turned convex solid.
void expectBackEdgesHidden(const Polyhedron& p, const std::vector<Edge>& edges,
                           const std::vector<Vec3>& normals, float a, float b) {
    const Mat3 xTurn = rotationAboutX(a), yTurn = rotationAboutY(b);
    std::vector<V> t;
    V centre{0, 0, 0};
    for (const Vec3& v : p.vertices) {
        const Vec3 r = rotateVec3(yTurn, rotateVec3(xTurn, v));
        t.push_back({r.x, r.y, r.z});
        centre = centre + (1.0 / p.vertexCount()) * t.back();
    }
    std::vector<std::uint8_t> isBack;
    classifyBackEdges(normals, edges, xTurn, yTurn, isBack);
    for (std::size_t e = 0; e < edges.size(); ++e) {
        const V front = 0.5 * (t[edges[e].a] + t[edges[e].b]) + V{0, 0, 1e-4 * norm(t[0] - centre)};
        bool inside = true;
        for (int f = 0; f < p.faceCount(); ++f) {
            const V u = t[p.face(f)[0]], n = cross(t[p.face(f)[1]] - u, t[p.face(f)[2]] - u);
            inside = inside && dot(n, front - u) * dot(n, centre - u) > 0;
        }
        EXPECT_EQ(isBack[e], inside ? 1 : 0) << "edge " << e << " at " << a << ", " << b;
    }
}

TEST(BackEdges, HiddenExactlyWhenJustInFrontOfTheMidpointIsInside) {
    const float angles[][2] = {{30, 45}, {-10, 200}, {75, -33}};
    for (const Model& m : shippedModels())
        for (const auto& ab : angles) {
            // Outward is judged against the solid's centre, however a face turns.
            Polyhedron flipped = m.solid;
            for (int f = 1; f < flipped.faceCount(); f += 2)
                std::reverse(flipped.corners.begin() + flipped.faceStart[f],
                             flipped.corners.begin() + flipped.faceStart[f + 1]);
            const Model mixed = buildModel("mixed", flipped, 1, 0);
            expectBackEdgesHidden(mixed.solid, mixed.edges, mixed.solidNormals, ab[0], ab[1]);
            expectBackEdgesHidden(m.solid, m.edges, m.solidNormals, ab[0], ab[1]);
            expectBackEdgesHidden(m.reciprocalDual, m.dualEdges, m.reciprocalDualNormals, ab[0], ab[1]);
            expectBackEdgesHidden(m.programDual, m.dualEdges, m.programDualNormals, ab[0], ab[1]);
        }
}
