#include "construct/canonical_form.h"
#include "construct/edge_sphere.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <tuple>

#include "geometry/edges.h"
#include "construct/geodesic_sphere.h"

using namespace pd;

namespace {

// The convex hull of points in convex position, by brute force: every plane
// through three points with none beyond it is a face, its points ordered
// counter-clockwise about the outward normal. Repeated points are dropped.
Polyhedron hull(std::vector<Vec3d> pts) {
    std::sort(pts.begin(), pts.end(), [](Vec3d a, Vec3d b) { return std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z); });
    pts.erase(std::unique(pts.begin(), pts.end(), [](Vec3d a, Vec3d b) { return length(a - b) == 0; }), pts.end());
    Polyhedron p;
    for (Vec3d v : pts) p.vertices.push_back({float(v.x), float(v.y), float(v.z)});
    std::set<std::vector<int>> seen;
    const int n = int(pts.size());
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            for (int k = j + 1; k < n; ++k) {
                Vec3d normal = cross(pts[j] - pts[i], pts[k] - pts[i]);
                std::vector<int> on, side[2];
                for (int m = 0; m < n; ++m) {
                    const double h = dot(normal, pts[m] - pts[i]) / length(normal);
                    (std::fabs(h) < 1e-9 ? on : side[h > 0]).push_back(m);
                }
                if (length(normal) < 1e-9 || (!side[0].empty() && !side[1].empty()) || !seen.insert(on).second) continue;
                if (!side[1].empty()) normal = -normal;
                const Vec3d c = pts[on[0]], e1 = pts[on[1]] - c, e2 = cross(normal, e1);
                auto angle = [&](int m) { return m == on[0] ? -4 : std::atan2(dot(pts[m] - c, e2), dot(pts[m] - c, e1)); };
                std::sort(on.begin(), on.end(), [&](int a, int b) { return angle(a) < angle(b); });
                const std::vector<std::int32_t> face(on.begin(), on.end());
                p.addFace(face.data(), int(face.size()));
            }
    return p;
}

// Every coordinate moved by up to `amount` (a fixed pseudo-random
// sequence), then scaled and shifted.
Polyhedron rough(Polyhedron p, double amount, double scale = 1, Vec3d shift = {0, 0, 0}) {
    unsigned seed = 7;
    auto next = [&] { return (((seed = seed * 1103515245u + 12345u) >> 8 & 1023) / 1023.0 - 0.5) * 2 * amount; };
    for (Vec3& v : p.vertices) {
        const Vec3d w = (widen(v) + Vec3d{next(), next(), next()}) * scale + shift;
        v = {float(w.x), float(w.y), float(w.z)};
    }
    return p;
}

// The points (x, y, z), (y, z, x), (z, x, y) with every choice of signs
// whose number of plus signs has parity `plus` (-1: any).
std::vector<Vec3d> turnsAndSigns(Vec3d v, int plus = -1) {
    std::vector<Vec3d> out;
    for (Vec3d w : {v, {v.y, v.z, v.x}, {v.z, v.x, v.y}})
        for (int s = 0; s < 8; ++s)
            if (plus < 0 || (3 - __builtin_popcount(s)) % 2 == plus) out.push_back({s & 1 ? -w.x : w.x, s & 2 ? -w.y : w.y, s & 4 ? -w.z : w.z});
    return out;
}
Polyhedron cube() { return hull(turnsAndSigns({1, 1, 1})); }
Polyhedron snubCube() {  // even turns of (1, 1/t, t) with an even number of plus signs, odd ones odd; t^3 = t^2 + t + 1
    const double t = 1.8392867552141612;
    std::vector<Vec3d> pts = turnsAndSigns({1, 1 / t, t}, 0), odd = turnsAndSigns({1, t, 1 / t}, 1);
    pts.insert(pts.end(), odd.begin(), odd.end());
    return hull(pts);
}
Polyhedron prism(int n, double height, Vec3d slide) {
    std::vector<Vec3d> pts;
    for (double z : {0.0, height})
        for (int i = 0; i < n; ++i) pts.push_back(Vec3d{std::cos(2 * M_PI * i / n), std::sin(2 * M_PI * i / n), z} + slide * z);
    return hull(pts);
}

}  // namespace

TEST(CanonicalForm, RoughInputsBecomeTangentCentredAndFlat) {
    std::vector<Vec3d> rhombic = turnsAndSigns({2, 0, 0}), cubeCorners = turnsAndSigns({1, 1, 1});
    rhombic.insert(rhombic.end(), cubeCorners.begin(), cubeCorners.end());
    const struct {
        const char* name;
        Polyhedron solid;
        bool equalEdges;  // Archimedean, or a Catalan with one edge length
    } cases[] = {
        {"cube", rough(cube(), 0.15, 2, {5, -3, 2}), true},
        {"icosahedron", rough(geodesicSphere(1), 0.1, 7, {-1, 4, 9}), true},
        {"truncated cube", hull(turnsAndSigns({1, 1, 1.0 / 3})), true},
        {"snub cube", rough(snubCube(), 0.06), true},
        {"rhombic dodecahedron", rough(hull(rhombic), 0.1), true},
        {"prism", rough(prism(5, 1.5, {0.3, 0.1, 0}), 0.05), false},
        {"geodesic sphere", rough(geodesicSphere(3), 0.02), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Edge> edges = deriveEdges(c.solid);
        const CanonicalForm form = canonicalForm(c.solid, edges);
        ASSERT_TRUE(form.converged) << form.worst;
        EXPECT_LE(form.iterations, 30);
        const std::vector<Vec3d>& x = form.vertices;
        Vec3d touching{0, 0, 0};
        double shortest = INFINITY, longest = 0;
        for (const Edge& e : edges) {
            const Vec3d u = x[e.b] - x[e.a], t = x[e.a] + u * (-dot(x[e.a], u) / dot(u, u));
            EXPECT_NEAR(length(t), 1, 1e-6);
            touching += t;
            shortest = std::fmin(shortest, length(u)), longest = std::fmax(longest, length(u));
        }
        EXPECT_LT(length(touching / double(edges.size())), 1e-9);
        EXPECT_TRUE(!c.equalEdges || longest - shortest < 1e-6) << shortest << " " << longest;
        for (int f = 0; f < c.solid.faceCount(); ++f) {  // every corner on the plane of the first three
            const std::int32_t* k = c.solid.face(f);
            const Vec3d n = cross(x[k[1]] - x[k[0]], x[k[2]] - x[k[0]]);
            for (int i = 3; i < c.solid.faceSize(f); ++i) EXPECT_LT(std::fabs(dot(n, x[k[i]] - x[k[0]])) / length(n), 1e-9);
        }
    }
}

TEST(CanonicalForm, RegularSolidsKeepTheirShape) {
    const Vec3d shift{1, 2, 3};
    for (const Polyhedron& solid : {rough(cube(), 0, 3, shift), rough(geodesicSphere(1), 0, 3, shift)}) {
        const std::vector<Edge> edges = deriveEdges(solid);
        const double midradius = length(widen(solid.vertices[edges[0].a]) + widen(solid.vertices[edges[0].b]) - shift * 2) / 2;
        const CanonicalForm form = canonicalForm(solid, edges);
        ASSERT_TRUE(form.converged);
        for (int v = 0; v < solid.vertexCount(); ++v)
            EXPECT_LT(length(form.vertices[v] - (widen(solid.vertices[v]) - shift) / midradius), 1e-6);
    }
}

TEST(CanonicalForm, DegenerateOrUnfinishedInputIsNotConverged) {
    Polyhedron flat = cube(), hole = cube(), repeated = cube(), huge = cube();
    for (Vec3& v : flat.vertices) v.z = 0;
    hole.vertices[3].x = std::numeric_limits<float>::quiet_NaN();
    repeated.vertices[3] = repeated.vertices[1];
    huge.vertices[0] = {3e38f, 3e38f, 3e38f};
    for (const Polyhedron& p : {flat, hole, repeated, huge, Polyhedron{}}) {
        const CanonicalForm form = canonicalForm(p, deriveEdges(p));
        EXPECT_FALSE(form.converged);
        EXPECT_EQ(form.vertices.size(), p.vertices.size());
    }
    const Polyhedron snub = rough(snubCube(), 0.1);
    const CanonicalForm cut = canonicalForm(snub, deriveEdges(snub), 2);
    EXPECT_FALSE(cut.converged);
    EXPECT_EQ(cut.iterations, 2);
}

TEST(BestEdgeSphere, CentreAndRadiusOfKnownModels) {
    const EdgeSphere cubeSphere = bestEdgeSphere(rough(cube(), 0, 3, {1, 2, 3}), deriveEdges(cube()));
    EXPECT_LT(length(cubeSphere.centre - Vec3d{1, 2, 3}), 1e-6);
    EXPECT_NEAR(cubeSphere.radius, 3 * std::sqrt(2.0), 1e-6);

    // A hexagonal prism over z = 0..2: the rims' edges lie sqrt(1 + 3/4)
    // from its centre, the side edges 1, and the radius is their mean.
    const Polyhedron six = prism(6, 2, {0, 0, 0});
    const EdgeSphere prismSphere = bestEdgeSphere(six, deriveEdges(six));
    EXPECT_LT(length(prismSphere.centre - Vec3d{0, 0, 1}), 1e-6);
    EXPECT_NEAR(prismSphere.radius, (2 * std::sqrt(1.75) + 1) / 3, 1e-6);

    // A dented cube: near its centre, and no small move of the centre lowers
    // the sum, taken with the best radius for each centre (the mean distance).
    Polyhedron dented = cube();
    dented.vertices[7] = {0.5f, 0.5f, 0.5f};  // from (1, 1, 1), sorted last
    const std::vector<Edge> edges = deriveEdges(dented);
    auto sum = [&](Vec3d c) {  // the mean distance's spread
        double d[12], mean = 0, total = 0;
        for (int i = 0; i < 12; ++i) {
            const Vec3d a = widen(dented.vertices[edges[i].a]) - c, u = widen(dented.vertices[edges[i].b]) - c - a;
            mean += (d[i] = length(a - u * (dot(a, u) / dot(u, u)))) / 12;
        }
        for (double x : d) total += (x - mean) * (x - mean);
        return total;
    };
    const EdgeSphere best = bestEdgeSphere(dented, edges);
    EXPECT_LT(length(best.centre), 0.5);
    for (Vec3d step : {Vec3d{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 0, 0}, {0, -1, 0}, {0, 0, -1}})
        EXPECT_LE(sum(best.centre), sum(best.centre + step * 1e-4));

    Polyhedron broken = cube();
    broken.vertices[2].y = std::numeric_limits<float>::infinity();
    const EdgeSphere none = bestEdgeSphere(broken, deriveEdges(broken));
    EXPECT_TRUE(std::isfinite(none.centre.x + none.centre.y + none.centre.z + none.radius));
}
