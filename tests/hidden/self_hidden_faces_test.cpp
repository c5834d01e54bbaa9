#include "hidden/self_hidden_faces.h"

#include <gtest/gtest.h>

#include "construct/conway.h"
#include "construct/geodesic_sphere.h"
#include "polyhedra/model.h"
#include "shipped_models.h"

using namespace pd;

namespace {

Vec3 scaled(Vec3 v, float s) { return {v.x * s, v.y * s, v.z * s}; }

Polyhedron cubeWith(float dent) {
    Polyhedron p = conwaySeed('C');
    p.vertices[0] = scaled(p.vertices[0], 1.0f - dent);  // toward the centre
    return p;
}

// The cube with each face cut into four triangles about its centre, in its
// plane: vertices where the angles make exactly a full turn.
Polyhedron flatKis() {
    const Polyhedron cube = conwaySeed('C');
    Polyhedron p;
    p.vertices = cube.vertices;
    for (int f = 0; f < cube.faceCount(); ++f) {
        Vec3 centre{0, 0, 0};
        for (int k = 0; k < 4; ++k) {
            const Vec3 v = cube.vertices[std::size_t(cube.face(f)[k])];
            centre = {centre.x + v.x / 4, centre.y + v.y / 4, centre.z + v.z / 4};
        }
        p.vertices.push_back(centre);
        for (int k = 0; k < 4; ++k) {
            p.corners.insert(p.corners.end(), {cube.face(f)[k], cube.face(f)[(k + 1) % 4], std::int32_t(p.vertices.size() - 1)});
            p.faceStart.push_back(std::int32_t(p.corners.size()));
        }
    }
    return p;
}

// Only a closed body whose every edge bends outward and every vertex is a
// single cone counts; the faces' outward normals decide which side is out.
TEST(SelfHiddenFaces, OnlyConvexClosedShellsHideTheirBackFaces) {
    const Model sphere = buildModel("sphere", geodesicSphere(6), 0, 0);
    Polyhedron open = conwaySeed('C');
    open.corners.resize(std::size_t(open.faceStart[5]));
    open.faceStart.pop_back();
    Polyhedron twoCubes = conwaySeed('C');
    const Polyhedron moved = conwaySeed('C');
    for (const Vec3& v : moved.vertices) twoCubes.vertices.push_back({v.x + 5, v.y, v.z});
    for (const std::int32_t c : moved.corners) twoCubes.corners.push_back(c + 8);
    for (int f = 1; f <= moved.faceCount(); ++f) twoCubes.faceStart.push_back(twoCubes.faceStart[6] + moved.faceStart[f]);
    Polyhedron bent = conwaySeed('C');
    bent.vertices[0] = scaled(bent.vertices[0], 1.01f);  // its three faces no longer flat
    const struct {
        const char* name;
        Polyhedron shape;
        bool convex;
    } cases[] = {
        {"cube", conwaySeed('C'), true},
        {"icosahedron", conwaySeed('I'), true},
        {"sphere", sphere.solid, true},
        {"sphere's dual", sphere.reciprocalDual, true},
        {"cube of flat triangles", flatKis(), true},
        {"dented cube", cubeWith(0.3f), false},
        {"cube without a face", open, false},
        {"two cubes", twoCubes, false},
        {"bent faces", bent, false},
    };
    for (const auto& c : cases) {
        const Model m = buildModel(c.name, c.shape, 0, 0);
        EXPECT_EQ(hidesOwnBackFaces(m.solid, m.edges, m.solidNormals), c.convex) << c.name;
        if (!c.convex) continue;
        std::vector<Vec3> inward = m.solidNormals;
        for (Vec3& n : inward) n = scaled(n, -1.0f);
        EXPECT_FALSE(hidesOwnBackFaces(m.solid, m.edges, inward)) << c.name << " inside out";
    }
    for (const Model& m : shippedModels())
        EXPECT_TRUE(hidesOwnBackFaces(m.programDual, m.dualEdges, m.programDualNormals)) << m.name;
}

}  // namespace
