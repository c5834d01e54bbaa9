#include "morph/morph.h"

#include <gtest/gtest.h>

#include <cmath>

#include "construct/conway.h"
#include "construct/geodesic_sphere.h"
#include "hull/local_halfspace_intersection.h"
#include "polyhedra/shell_counts.h"
#include "polyhedra/model_loading.h"
#include "io/off_reader.h"
#include "scratch_dir.h"
#include "shipped_models.h"

using namespace pd;

namespace {

Vec3d at(const Polyhedron& p, int v) { return widen(p.vertices[std::size_t(v)]); }
Vec3d lerp(Vec3d c, Vec3d p, double s) { return {c.x + s * (p.x - c.x), c.y + s * (p.y - c.y), c.z + s * (p.z - c.z)}; }

Model scaled(const Model& m, double k) {
    Polyhedron p = m.solid;
    for (Vec3& v : p.vertices) v = {float(v.x * k), float(v.y * k), float(v.z * k)};
    return buildModel(m.name, std::move(p), m.numberBase, 0);
}

Model offModel(const std::string& text) {
    Result<Polyhedron> p = readOff(text, "m.off");
    EXPECT_TRUE(p.ok()) << p.error().text();
    return buildModel("m", p ? std::move(*p) : Polyhedron{}, 0, 0);
}

// What is wrong with M as a stage of the family, worked out by brute force:
// not closed, V - E + F not 2, a face turned inwards, or some vertex outside
// some face's plane (Newell's normal, through the corners' mean) by 1e-6 of
// `size`.
std::string problems(const Model& m, double size) {
    if (!m.closed) return "not closed: " + m.openEdgeMessage;
    const Polyhedron& p = m.solid;
    if (p.vertexCount() - int(m.edges.size()) + p.faceCount() != 2) return "V - E + F is not 2";
    Vec3d mean{0, 0, 0};
    for (int v = 0; v < p.vertexCount(); ++v) mean = lerp(mean, at(p, v), 1.0 / (v + 1));
    for (int f = 0; f < p.faceCount(); ++f) {
        Vec3d a{0, 0, 0}, n{0, 0, 0};
        for (int k = 0, count = p.faceSize(f); k < count; ++k) {
            const Vec3d u = at(p, p.face(f)[k]), w = at(p, p.face(f)[(k + 1) % count]);
            n = {n.x + (u.y - w.y) * (u.z + w.z), n.y + (u.z - w.z) * (u.x + w.x), n.z + (u.x - w.x) * (u.y + w.y)};
            a = lerp(a, u, 1.0 / (k + 1));
        }
        n = {n.x / length(n), n.y / length(n), n.z / length(n)};
        if (dot(n, a - mean) <= 0) return "face " + std::to_string(f) + " turns inwards";
        for (int v = 0; v < p.vertexCount(); ++v)
            if (dot(n, at(p, v) - a) > 1e-6 * size)
                return "vertex " + std::to_string(v) + " outside face " + std::to_string(f);
    }
    return "";
}

// How far the farthest of `points` is from its nearest vertex of `p`.
double farthestMiss(const std::vector<Vec3d>& points, const Polyhedron& p) {
    double worst = 0;
    for (const Vec3d& q : points) {
        double nearest = INFINITY;
        for (int v = 0; v < p.vertexCount(); ++v) nearest = std::fmin(nearest, length(q - at(p, v)));
        worst = std::fmax(worst, nearest);
    }
    return worst;
}

// M(1) against the dual at its largest size inside the solid, that size
// found from every pair of a dual vertex and a solid face: s (p - c) . n <= d.
void expectLastStageIsTheDualScaled(const Model& m, const Polyhedron& last, double size) {
    Vec3d centre{0, 0, 0};
    for (int v = 0; v < m.solid.vertexCount(); ++v) centre = lerp(centre, at(m.solid, v), 1.0 / (v + 1));
    double sMin = INFINITY;
    for (int f = 0; f < m.solid.faceCount(); ++f) {
        const Vec3d a = at(m.solid, m.solid.face(f)[0]) - centre;
        Vec3d n = cross(at(m.solid, m.solid.face(f)[1]) - centre - a, at(m.solid, m.solid.face(f)[2]) - centre - a);
        for (const Vec3& q : m.reciprocalDual.vertices)
            if (dot(widen(q) - centre, n) > 0) sMin = std::fmin(sMin, dot(a, n) / dot(widen(q) - centre, n));
    }
    std::vector<Vec3d> dual;
    for (const Vec3& q : m.reciprocalDual.vertices) dual.push_back(lerp(centre, widen(q), sMin));
    EXPECT_EQ(last.vertexCount(), int(dual.size()));
    EXPECT_LT(farthestMiss(dual, last), 1e-6 * size);
}

double sizeOf(const Model& m) {
    Vec3d centre{0, 0, 0};
    for (int v = 0; v < m.solid.vertexCount(); ++v) centre = lerp(centre, at(m.solid, v), 1.0 / (v + 1));
    double size = 0;
    for (int v = 0; v < m.solid.vertexCount(); ++v) size = std::fmax(size, length(at(m.solid, v) - centre));
    return size;
}

Model morphModel(const MorphFamily& family, double t) {
    Result<Polyhedron> m = morphAt(family, t);
    EXPECT_TRUE(m.ok()) << (m ? "" : m.error().what);
    return buildModel("morph", m ? *m : Polyhedron{}, 0, 0);
}

}  // namespace

// The counts table: (V, E, F) at t = 0, 1/4, 1/2, 3/4, 1, on the shipped
// files as they are and scaled by 1e-3 and 1e3; every stage closed, convex
// and Eulerian, the middle one's vertices the solid's edge midpoints, the
// last one the dual scaled to fit inside.
TEST(Morph, CountsMidpointsAndEndsOfTheFiveSolids) {
    const int table[5][5][3] = {
        {{4, 6, 4}, {12, 18, 8}, {6, 12, 8}, {12, 18, 8}, {4, 6, 4}},
        {{8, 12, 6}, {24, 36, 14}, {12, 24, 14}, {24, 36, 14}, {6, 12, 8}},
        {{6, 12, 8}, {24, 36, 14}, {12, 24, 14}, {24, 36, 14}, {8, 12, 6}},
        {{20, 30, 12}, {60, 90, 32}, {30, 60, 32}, {60, 90, 32}, {12, 30, 20}},
        {{12, 30, 20}, {60, 90, 32}, {30, 60, 32}, {60, 90, 32}, {20, 30, 12}},
    };
    const std::vector<Model> shipped = shippedModels();
    for (double k : {1.0, 1e-3, 1e3})
        for (int solid = 0; solid < 5; ++solid) {
            const Model m = scaled(shipped[std::size_t(solid)], k);
            const double size = sizeOf(m);
            const Result<MorphFamily> family = morphFamily(m);
            ASSERT_TRUE(family.ok()) << family.error().what;
            for (int stage = 0; stage < 5; ++stage) {
                SCOPED_TRACE(m.name + " x" + std::to_string(k) + " t " + std::to_string(stage / 4.0));
                const Model stageModel = morphModel(*family, stage / 4.0);
                const Polyhedron& p = stageModel.solid;
                const int* want = table[solid][stage];
                EXPECT_EQ(p.vertexCount(), want[0]);
                EXPECT_EQ(int(stageModel.edges.size()), want[1]);
                EXPECT_EQ(p.faceCount(), want[2]);
                EXPECT_EQ(problems(stageModel, size), "");
                if (stage == 2) {
                    std::vector<Vec3d> midpoints;
                    for (const Edge& e : m.edges) midpoints.push_back(lerp(at(m.solid, e.a), at(m.solid, e.b), 0.5));
                    EXPECT_LT(farthestMiss(midpoints, p), 1e-6 * size);
                }
                if (stage == 4) expectLastStageIsTheDualScaled(m, p, size);
            }
        }
}

// A prism n-gon over n-gon, `height` high, the n-gons of radius 1.
Model prism(int n, double height) {
    std::string off = std::to_string(2 * n) + " " + std::to_string(n + 2) + "\n", top = "", bottom = "";
    for (int i = 0; i < 2 * n; ++i)
        off += std::to_string(std::cos(2 * std::acos(-1.0) * i / n)) + " " + std::to_string(std::sin(2 * std::acos(-1.0) * i / n)) +
               " " + (i < n ? "0" : std::to_string(height)) + "\n";
    for (int i = 0; i < n; ++i) {
        bottom = " " + std::to_string(i) + bottom;
        top += " " + std::to_string(n + i);
        off += "4 " + std::to_string(i) + " " + std::to_string((i + 1) % n) + " " + std::to_string(n + (i + 1) % n) +
               " " + std::to_string(n + i) + "\n";
    }
    return offModel(off + std::to_string(n) + bottom + "\n" + std::to_string(n) + top + "\n");
}

// The stages of a triangular prism, a geodesic sphere and a long 12-gonal
// prism, whose caps the planes of far corners cut (the faces are then found
// from all planes at once, not face by face).
TEST(Morph, PrismsAndGeodesicSphereStayClosedConvexAndEndAtTheDual) {
    const Model sphere = buildModel("sphere", geodesicSphere(4), 0, 0);
    EXPECT_EQ(sphere.solid.faceCount(), 320);
    const Model triangular = prism(3, 1.7), tall = prism(12, 10);
    for (const Model* m : {&triangular, &sphere, &tall}) {
        const Result<MorphFamily> family = morphFamily(*m);
        ASSERT_TRUE(family.ok()) << family.error().what;
        for (double t : {0.1, 0.25, 0.5, 0.75, 1.0}) {
            SCOPED_TRACE(std::to_string(m->solid.faceCount()) + " faces, t " + std::to_string(t));
            const Model stage = morphModel(*family, t);
            EXPECT_EQ(problems(stage, sizeOf(*m)), "");
            if (t == 1.0) expectLastStageIsTheDualScaled(*m, stage.solid, sizeOf(*m));
        }
    }
}

// A cap of a thousand corners has thousands of neighbouring planes. At
// s = 1 each side becomes a hexagon and each vertex's plane a pentagon
// beside the two caps: F = 3n + 2, 6n + 10n + 2n = 18n corners, so E = 9n
// and V = 6n (three faces at each).
TEST(Morph, ThousandGonPrismAtOneHalfFaceByFace) {
    const int n = 1000;
    const Model solid = prism(n, 1.0);
    const MorphFamily family = *morphFamily(solid);
    const Result<Intersection> near =
        intersectNearby(morphHalfSpaces(family, 0.5), family.nearby, family.centre, family.size, morphTolerance);
    ASSERT_TRUE(near.ok()) << near.error().what;
    const Model stage = buildModel("stage", near->shape, 0, 0);
    EXPECT_EQ(stage.solid.vertexCount(), 6 * n);
    EXPECT_EQ(stage.edges.size(), std::size_t(9 * n));
    EXPECT_EQ(stage.solid.faceCount(), 3 * n + 2);
    EXPECT_EQ(problems(stage, sizeOf(solid)), "");
}

// Flat prisms and antiprisms of many sides (the seeds: square sides,
// equilateral triangles): near t = 1 the stage is a needle far smaller than
// the solid, its ring of vertices closer together than a tolerance of the
// solid's size. The bipyramid's and trapezohedron's counts, or refused;
// never a solid of fewer vertices.
TEST(Morph, ManySidedPrismsAndAntiprismsEndAtTheirDualsOrAreRefused) {
    const struct {
        char seed;
        int n;
        double t;
        int v, e, f;  // 0: refused
    } cases[] = {{'P', 200, 1.0, 202, 600, 400}, {'P', 200, 0.99, 600, 1000, 402},
                 {'A', 200, 1.0, 402, 800, 400}, {'A', 1000, 1.0, 0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seed + std::to_string(c.n) + " t " + std::to_string(c.t));
        const Result<MorphFamily> family = morphFamily(buildModel("m", conwaySeed(c.seed, c.n), 0, 0));
        ASSERT_TRUE(family.ok()) << family.error().what;
        const Result<Polyhedron> stage = morphAt(*family, c.t);
        ASSERT_EQ(stage.ok(), c.v > 0);
        if (!stage) continue;
        const Model m = buildModel("stage", *stage, 0, 0);
        EXPECT_EQ(m.solid.vertexCount(), c.v);
        EXPECT_EQ(int(m.edges.size()), c.e);
        EXPECT_EQ(m.solid.faceCount(), c.f);
    }
}

bool sameShape(const Polyhedron& a, const Polyhedron& b) {
    return a.corners == b.corners && a.vertexCount() == b.vertexCount() &&
           std::equal(a.vertices.begin(), a.vertices.end(), b.vertices.begin(),
                      [](Vec3 p, Vec3 q) { return p.x == q.x && p.y == q.y && p.z == q.z; });
}

// Face by face and from all planes at once: the same stages, vertex for
// vertex, where face by face can vouch for its result; the tall prism it
// cannot.
TEST(Morph, BothConstructionsGiveTheSameStages) {
    std::vector<Model> models = shippedModels();
    models.push_back(buildModel("sphere", geodesicSphere(4), 0, 0));
    for (const Model& m : models)
        for (double t : {0.25, 0.5, 0.75, 1.0}) {
            const MorphFamily family = *morphFamily(m);
            const std::vector<HalfSpace> spaces = morphHalfSpaces(family, t);
            const double size = stageSize(family, t);
            const Result<Intersection> near = intersectNearby(spaces, family.nearby, family.centre, size, morphTolerance);
            const Result<Intersection> all = intersectHalfSpaces(spaces, family.centre, size, morphTolerance);
            ASSERT_TRUE(near.ok() && all.ok()) << m.name << " t " << t << (near ? "" : near.error().what);
            EXPECT_EQ(near->faceSource, all->faceSource);
            const Polyhedron stage = *morphAt(family, t);  // face by face where it can vouch
            EXPECT_TRUE(sameShape(stage, near->shape));
            Nearby unframed = family.nearby;  // the planes' frames worked out afresh
            unframed.normals.clear();
            const Result<Intersection> fresh =
                intersectNearby(spaces, unframed, family.centre, size, morphTolerance);
            EXPECT_TRUE(fresh && sameShape(fresh->shape, near->shape)) << m.name << " t " << t;
            std::vector<Vec3d> corners;
            for (const Vec3& v : near->shape.vertices) corners.push_back(widen(v));
            EXPECT_EQ(near->shape.vertexCount(), all->shape.vertexCount());
            EXPECT_LT(farthestMiss(corners, all->shape), 1e-6 * family.size) << m.name << " t " << t;
        }
    const MorphFamily tall = *morphFamily(prism(12, 10));
    EXPECT_FALSE(intersectNearby(morphHalfSpaces(tall, 0.5), tall.nearby, tall.centre, tall.size, morphTolerance).ok());
}

TEST(Morph, RefusesWhatIsNotClosedOrNotConvexSayingWhy) {
    const std::string corners = "-1 -1 -1\n1 -1 -1\n1 1 -1\n-1 1 -1\n-1 -1 1\n1 -1 1\n1 1 1\n-1 1 1\n";
    const std::string sides = "4 0 3 2 1\n4 0 1 5 4\n4 1 2 6 5\n4 2 3 7 6\n4 3 0 4 7\n";
    const std::pair<std::string, std::string> cases[] = {
        {"8 5\n" + corners + sides, "it is not closed: edge 4-5 has only one face"},
        // The top pushed in: a pyramid down to (0, 0, 0.5) in place of the top face.
        {"9 9\n" + corners + "0 0 0.5\n" + sides + "3 4 5 8\n3 5 6 8\n3 6 7 8\n3 7 4 8\n",
         "it is not convex: vertex 7 lies outside the plane of face 5"},
        // Only the middle of the top pushed in: no corner of the dent is on the hull.
        {"13 13\n" + corners + "-0.5 -0.5 1\n0.5 -0.5 1\n0.5 0.5 1\n-0.5 0.5 1\n0 0 0.5\n" + sides +
             "4 4 5 9 8\n4 5 6 10 9\n4 6 7 11 10\n4 7 4 8 11\n3 8 9 12\n3 9 10 12\n3 10 11 12\n3 11 8 12\n",
         "it is not convex: vertex 7 lies outside the plane of face 9"},
    };
    for (const auto& [text, why] : cases) {
        const Result<MorphFamily> family = morphFamily(offModel(text));
        EXPECT_FALSE(family.ok());
        if (!family) {
            EXPECT_EQ(family.error().what, why);
        }
    }
    // Convex with its top split in nine: the middle square has no corner on
    // the hull.
    std::string split = "20 14\n-1 -1 -1\n1 -1 -1\n1 1 -1\n-1 1 -1\n";
    auto g = [](int i, int j) { return " " + std::to_string(4 + 4 * j + i); };
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) split += std::to_string(-1 + 2 * i / 3.0) + " " + std::to_string(-1 + 2 * j / 3.0) + " 1\n";
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) split += "4" + g(i, j) + g(i + 1, j) + g(i + 1, j + 1) + g(i, j + 1) + "\n";
    split += "4 0 3 2 1\n6 0 1" + g(3, 0) + g(2, 0) + g(1, 0) + g(0, 0) + "\n6 1 2" + g(3, 3) + g(3, 2) + g(3, 1) +
             g(3, 0) + "\n6 2 3" + g(0, 3) + g(1, 3) + g(2, 3) + g(3, 3) + "\n6 3 0" + g(0, 0) + g(0, 1) + g(0, 2) +
             g(0, 3) + "\n";
    const Model splitCube = offModel(split);
    const Result<MorphFamily> splitFamily = morphFamily(splitCube);
    ASSERT_TRUE(splitFamily.ok()) << splitFamily.error().what;
    EXPECT_EQ(problems(morphModel(*splitFamily, 0.5), sizeOf(splitCube)), "");

    const Result<MorphFamily> family = morphFamily(offModel("8 6\n" + corners + sides + "4 4 5 6 7\n"));
    ASSERT_TRUE(family.ok());
    for (double t : {-0.01, 1.01, double(NAN)}) EXPECT_FALSE(morphAt(*family, t).ok()) << t;
}

TEST(ShellCounts, LinesNameTheFacesBySizeFewestCornersFirst) {
    const Polyhedron p = geodesicSphere(1);
    ShellCounts mixed;
    mixed.faceKinds = {{3, FaceShape::Polygon, 1}, {4, FaceShape::Square, 2}, {7, FaceShape::Polygon, 3},
                       {10, FaceShape::Polygon, 12}, {12, FaceShape::Polygon, 1}};
    const std::pair<std::string, std::string> cases[] = {
        {countsLine("solid", countShell(p, buildModel("", p, 0, 0).edges)),
         "solid: icosahedron  V 12  E 30  F 20  V-E+F 2  faces: 20 triangles"},
        {facesBySize(mixed), "1 triangle, 2 squares, 3 heptagons, 12 decagons, 1 dodecagon"},
        {facesBySize(ShellCounts{}), "none"},
        {std::to_string(countShell(Polyhedron{{{}, {}, {}, {}}, {0, 1, 2}, {0, 3}}, {}).vertices), "3"},
    };
    for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
}
