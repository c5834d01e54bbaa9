// Nets of one table of models, each checked as a builder would: every face
// once, each in its true shape, no two faces of a piece overlapping (by the
// area they share, worked out by clipping), both edges of each cut pair of
// one length, and the net folded back lying on the model.

#include "nets/unfolding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "nets/fold_back.h"
#include "polyhedra/model_loading.h"
#include "io/off_reader.h"
#include "polygon_area.h"
#include "prism_off.h"
#include "scratch_dir.h"
#include "shipped_models.h"

using namespace pd;

namespace {

struct Case {
    std::string name;
    Polyhedron shape;
    bool onePiece;  // a net in one piece must be found
};

std::vector<Case> table() {
    std::vector<Case> cases;
    const std::vector<Model> solids = shippedModels();
    for (const Model& m : solids) {
        cases.push_back({m.name, m.solid, true});
        cases.push_back({m.name + " program dual", m.programDual, true});
        cases.push_back({m.name + " reciprocal dual", m.reciprocalDual, true});
    }
    for (const char* name : {"torus", "prism", "geodesic4", "truncated-cube", "cuboctahedron",
                             "truncated-octahedron", "truncated-dodecahedron", "icosidodecahedron",
                             "truncated-icosahedron"}) {
        Result<Model> loaded = loadOffModel(scratch::sourcePath("tests/data/net/") + name + ".off");
        EXPECT_TRUE(loaded.ok()) << loaded.error().text();
        if (!loaded) continue;
        const Model m = std::move(*loaded);
        // The torus has no net in one piece (and no dual with flat faces).
        const bool small = std::string(name) != "geodesic4" && std::string(name) != "torus";
        cases.push_back({name, m.solid, small});
        if (m.name != "torus") cases.push_back({std::string(name) + " reciprocal dual", m.reciprocalDual, small});
    }
    // Long thin faces side by side round a face of many corners, and fanned
    // round the dual's two corners of many faces.
    Result<Polyhedron> prism = readOff(prismOff(2000), "prism2000.off");
    EXPECT_TRUE(prism.ok()) << prism.error().text();
    if (prism) {
        const Model m = buildModel("prism2000", std::move(*prism), 0, 0);
        cases.push_back({m.name, m.solid, false});
        cases.push_back({m.name + " reciprocal dual", m.reciprocalDual, false});
    }
    return cases;
}

Vec3d at(const Polyhedron& p, std::int32_t slot) { return widen(p.vertices[p.corners[slot]]); }

}  // namespace

TEST(Unfolding, NetsOfTheTableAreWholeTrueFlatAndFoldBack) {
    for (const Case& c : table()) {
        SCOPED_TRACE(c.name);
        const Polyhedron& p = c.shape;
        const Result<Net> made = unfold(p);
        ASSERT_TRUE(made.ok()) << made.error().text();
        const Net& net = *made;
        const double edge = meanEdgeLength(p, net.topology);
        const int faces = p.faceCount();
        std::vector<int> seen(std::size_t(faces), 0);
        for (int f : net.order) ++seen[std::size_t(f)];
        EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), faces);
        if (c.onePiece) {
            EXPECT_EQ(net.pieces.size(), 1u) << net.method;
        }

        // True shape: every distance between two corners of a face.
        std::vector<std::vector<P2>> polygons{std::size_t(faces)};
        for (int f = 0; f < faces; ++f)
            for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s) {
                polygons[f].push_back(net.corners[s]);
                for (std::int32_t t = p.faceStart[f]; t < s; ++t)
                    ASSERT_NEAR(length(net.corners[s] - net.corners[t]), length(at(p, s) - at(p, t)), 1e-9 * edge);
            }

        // Each edge: one line where it folds, two of one length where cut,
        // the cut numbers 1..cutCount each once.
        std::vector<int> numbers;
        for (std::size_t e = 0; e < net.topology.edges.size(); ++e) {
            const std::int32_t s1 = net.topology.sides[2 * e], s2 = net.topology.sides[2 * e + 1];
            const P2 a1 = net.corners[s1], b1 = net.corners[nextSlot(p, net.topology.face[s1], s1)];
            const P2 a2 = net.corners[s2], b2 = net.corners[nextSlot(p, net.topology.face[s2], s2)];
            if (net.cut[e] == 0) {
                EXPECT_LT(std::min(length(a1 - b2) + length(b1 - a2), length(a1 - a2) + length(b1 - b2)), 1e-12 * edge);
            } else {
                numbers.push_back(net.cut[e]);
                EXPECT_NEAR(length(b1 - a1), length(b2 - a2), 1e-9 * edge);
            }
        }
        std::sort(numbers.begin(), numbers.end());
        for (std::size_t i = 0; i < numbers.size(); ++i) ASSERT_EQ(numbers[i], int(i) + 1);
        EXPECT_EQ(net.cutCount + faces - int(net.pieces.size()), int(net.topology.edges.size()));

        // No overlap between the faces of a piece, by shared area.
        for (int f = 0; f < faces; ++f)
            for (int g = 0; g < f; ++g)
                if (net.piece[f] == net.piece[g]) {
                    ASSERT_LT(polygons::sharedArea(polygons[f], polygons[g]), 1e-9 * edge * edge) << "faces " << f << ", " << g;
                }

        // Folded back, every corner on its vertex.
        const std::vector<Vec3d> folded = foldNet(p, net, 1.0);
        double flat = 0;
        for (int f = 0; f < faces; ++f) {
            Vec3d n{0, 0, 0}, mid{0, 0, 0};
            for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s) {
                const Vec3d a = at(p, s), b = at(p, nextSlot(p, f, s));
                n = {n.x + a.y * b.z - a.z * b.y, n.y + a.z * b.x - a.x * b.z, n.z + a.x * b.y - a.y * b.x};
                mid = {mid.x + a.x / p.faceSize(f), mid.y + a.y / p.faceSize(f), mid.z + a.z / p.faceSize(f)};
            }
            for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s)
                flat = std::max(flat, std::fabs(dot(at(p, s) - mid, n)) / length(n));
        }
        std::vector<int> depth(std::size_t(faces), 1);
        for (int f : net.order)
            if (net.parent[f] >= 0) depth[f] = depth[net.parent[f]] + 1;
        for (std::size_t s = 0; s < folded.size(); ++s) {
            const Vec3d back = onModel(net.pieces[std::size_t(net.piece[net.topology.face[s]])], folded[s]);
            // Paper is flat: a corner off its face's plane (float vertices put
            // the pentagons' off by about 1e-8) cannot come back closer than
            // that, and each fold down the tree may add a few times as much.
            ASSERT_LT(length(back - at(p, std::int32_t(s))), 1e-9 * edge + 4 * depth[net.topology.face[s]] * flat);
        }
    }
}

TEST(Unfolding, RefusesWhatCannotBePaperNamingTheFaceOrEdge) {
    const std::pair<const char*, const char*> cases[] = {
        {"4 4\n0 0 0\n1 0 0\n0 1 0\n0 0 1\n3 0 2 1\n3 0 1 3\n3 1 2 3\n3 0 1 2\n", "edge 1-2 is shared by 3 faces"},
        // A square pyramid whose base is bent by a tenth of its size.
        {"5 5\n0 0 0\n1 0 0\n1 1 0.1\n0 1 0\n0.5 0.5 1\n4 0 3 2 1\n3 0 1 4\n3 1 2 4\n3 2 3 4\n3 3 0 4\n",
         "face 0 is not flat"},
        // A prism over a pentagram.
        {"10 7\n0 1 0\n-.951 .309 0\n-.588 -.809 0\n.588 -.809 0\n.951 .309 0\n0 1 1\n-.951 .309 1\n"
         "-.588 -.809 1\n.588 -.809 1\n.951 .309 1\n5 0 2 4 1 3\n5 5 8 6 9 7\n4 0 2 7 5\n4 2 4 9 7\n"
         "4 4 1 6 9\n4 1 3 8 6\n4 3 0 5 8\n",
         "face 0 crosses itself"},
        {"4 4\n0 0 0\n1 0 0\n2 0 0\n0 0 1\n3 0 2 1\n3 0 1 3\n3 1 2 3\n3 2 0 3\n", "face 0 has no area"},
    };
    for (const auto& [off, message] : cases) {
        const Result<Polyhedron> p = readOff(std::string("OFF\n") + off, "m.off");
        ASSERT_TRUE(p.ok()) << p.error().text();
        const Result<Net> net = unfold(*p);
        ASSERT_FALSE(net.ok()) << off;
        EXPECT_EQ(net.error().what.substr(0, std::string(message).size()), message);
    }
}
