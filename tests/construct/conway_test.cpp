#include "construct/conway.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "geometry/edges.h"

using namespace pd;

namespace {

Vec3d point(const Polyhedron& p, int v) { return widen(p.vertices[std::size_t(v)]); }

// What keeps `p` from being a closed polyhedron with its faces turned
// outward ("" if nothing), checked apart from the code under test.
std::string flaw(const Polyhedron& p) {
    const EdgeTopology t = edgeTopology(p);
    const Closedness closed = closednessOf(t, 0);
    if (!closed.closed) return closed.message;
    std::vector<int> lastFace(std::size_t(p.vertexCount()), -1);
    double volume = 0;
    for (int f = 0; f < p.faceCount(); ++f) {
        for (int i = 0; i < p.faceSize(f); ++i) {
            if (lastFace[std::size_t(p.face(f)[i])] == f) return "face " + std::to_string(f) + " repeats a vertex";
            lastFace[std::size_t(p.face(f)[i])] = f;
        }
        for (int i = 1; i + 1 < p.faceSize(f); ++i)
            volume += dot(point(p, p.face(f)[0]), cross(point(p, p.face(f)[i]), point(p, p.face(f)[i + 1])));
    }
    for (int v = 0; v < p.vertexCount(); ++v)
        if (lastFace[std::size_t(v)] < 0) return "vertex " + std::to_string(v) + " is in no face";
    for (std::int32_t s = 0; s < std::int32_t(p.corners.size()); ++s) {
        const std::int32_t twin = t.twin[std::size_t(s)];
        if (twin < 0 || t.twin[std::size_t(twin)] != s ||
            p.corners[std::size_t(twin)] != p.corners[std::size_t(nextSlot(p, t, s))])
            return "slot " + std::to_string(s) + " has no twin running the other way";
    }
    if (p.vertexCount() - int(t.edges.size()) + p.faceCount() != 2) return "V - E + F is not 2";
    return volume > 0 ? "" : "the faces turn inward";
}

// "V E F" of the model `notation` names, with its flaw if any; or the error.
std::string described(const std::string& notation, const Polyhedron* m = nullptr) {
    const Result<Polyhedron> p = conwayModel(notation, m);
    if (!p) return p.error().what;
    const std::string wrong = flaw(*p);
    return std::to_string(p->vertexCount()) + " " + std::to_string(deriveEdges(*p).size()) + " " +
           std::to_string(p->faceCount()) + (wrong.empty() ? "" : " (" + wrong + ")");
}

}  // namespace

TEST(Conway, KnownSolidsHaveTheirCounts) {
    const std::pair<const char*, const char*> known[] = {
        {"tT", "12 18 8"},    {"aC", "12 24 14"},   {"tC", "24 36 14"},  {"tO", "24 36 14"},  {"aD", "30 60 32"},
        {"tD", "60 90 32"},   {"tI", "60 90 32"},   {"eC", "24 48 26"},  {"bC", "48 72 26"},  {"sC", "24 60 38"},
        {"eD", "60 120 62"},  {"bD", "120 180 62"}, {"sD", "60 150 92"}, {"dtT", "8 18 12"},  {"jC", "14 24 12"},
        {"kO", "14 36 24"},   {"kC", "14 36 24"},   {"oC", "26 48 24"},  {"gC", "38 60 24"},  {"mC", "26 72 48"},
        {"kI", "32 90 60"},   {"kD", "32 90 60"},   {"jD", "32 60 30"},  {"P5", "10 15 7"},   {"A5", "10 20 12"},
        {"Y5", "6 10 6"},     {"dkD", "60 90 32"},  {"nC", "14 36 24"},  {"zO", "24 36 14"},  {"k4P5", "15 35 22"},
        {"k5P5", "12 25 15"}, {"t4Y4", "8 12 6"},   {"t3Y4", "13 20 9"}, {"k3Y4", "9 20 13"}, {"t5A3", "6 12 8"},
        {"t3jC", "30 48 20"}, {"k3aC", "20 48 30"},
    };
    for (const auto& [notation, counts] : known) EXPECT_EQ(described(notation), counts) << notation;
}

TEST(Conway, SeedsAreRegularAndCentred) {
    for (const char* seed : {"T", "C", "O", "D", "I", "P7", "A7", "Y4", "Y5"}) {
        const Polyhedron p = conwaySeed(seed[0], seed[1] ? seed[1] - '0' : 0);
        const std::vector<Edge> edges = deriveEdges(p);
        Vec3d mean{0, 0, 0};
        for (int v = 0; v < p.vertexCount(); ++v) mean += point(p, v) / p.vertexCount();
        const double first = length(point(p, edges[0].a) - point(p, edges[0].b));
        for (const Edge& e : edges) EXPECT_NEAR(length(point(p, e.a) - point(p, e.b)), first, 1e-5 * first) << seed;
        EXPECT_LT(length(mean), 1e-5) << seed;
        EXPECT_EQ(flaw(p), "") << seed;
    }
}

// Every chain of up to three operators on every regular seed.
TEST(Conway, ChainsGiveClosedOutwardPolyhedra) {
    const std::string ops[] = {"", "d", "a", "t", "k", "j", "e", "o", "b", "g", "s", "n", "z", "m"};
    for (const std::string& x : ops)
        for (const std::string& y : ops)
            for (const std::string& z : ops)
                for (char seed : std::string("TCODI")) {
                    if ((!x.empty() && y.empty()) || (!y.empty() && z.empty())) continue;  // each chain once
                    const std::string notation = x + y + z + seed;
                    const Result<Polyhedron> p = conwayModel(notation, nullptr);
                    ASSERT_TRUE(p.ok()) << notation << ": " << p.error().what;
                    ASSERT_EQ(flaw(*p), "") << notation;
                }
}

TEST(Conway, BadNotationsAreNamed) {
    const std::pair<const char*, const char*> bad[] = {
        {"", "the notation is empty"},
        {"tx", "'x' at 2 is not an operator"},
        {"cC", "'c' at 1 is not an operator"},
        {"a3C", "'3' at 2 is not an operator"},
        {"t C", "' ' at 2 is not an operator"},
        {"P2", "'2' at 2: a prism needs 3 or more sides"},
        {"dA10001", "'1' at 3: an antiprism needs 10000 sides or fewer"},
        {"tY", "'Y' at 2: a pyramid needs a number of sides, as in Y5"},
        {"tTa", "'a' at 3 follows the seed"},
        {"C3", "'3' at 2 follows the seed"},
        {"td", "the notation ends without a seed (T C O D I P<n> A<n> Y<n> M)"},
        {"aM", "'M' at 2: there is no model for M to stand for"},
        {"k2C", "'2' at 2: k needs a face of 3 or more sides"},
        {"dt0C", "'0' at 3: t needs a vertex degree of 3 or more"},
        {"mmmmmmmmC", "'m' at 1 would make more than 50000000 corners in all"},
    };
    for (const auto& [notation, message] : bad) {
        const Result<Polyhedron> p = conwayModel(notation, nullptr);
        EXPECT_EQ(p ? "(built)" : p.error().what, message) << notation;
    }
}

TEST(Conway, ModelStandsForM) {
    Polyhedron cube = conwaySeed('C');
    cube.vertices.push_back({5, 5, 5});  // in no face: dropped
    Polyhedron flipped = conwaySeed('C');
    std::reverse(flipped.corners.begin(), flipped.corners.begin() + 4);
    Polyhedron triangle;
    triangle.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    triangle.addFace(std::vector<std::int32_t>{0, 1, 2}.data(), 3);
    EXPECT_EQ(described("tM", &cube), "24 36 14");
    EXPECT_EQ(described("dM", &flipped), "'d' at 1 cannot apply: edge 0-2 runs the same way in both its faces");
    EXPECT_EQ(described("aM", &triangle), "'a' at 1 cannot apply: edge 0-1 has only one face");
    EXPECT_EQ(described("M", &triangle), "3 3 1 (edge 0-1 has only one face)");
}
