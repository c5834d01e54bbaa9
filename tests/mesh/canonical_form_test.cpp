#include "mesh/canonical_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <tuple>

#include "geometry/edges.h"
#include "mesh/geodesic_sphere.h"

using namespace pd;

namespace {

// The convex hull of points in convex position, by brute force: every plane
// through three points with no point beyond it is a face, its points
// ordered counter-clockwise about the outward normal.
Polyhedron hull(const std::vector<Vec3d>& pts) {
    Polyhedron p;
    for (Vec3d v : pts) p.vertices.push_back({float(v.x), float(v.y), float(v.z)});
    std::set<std::vector<int>> seen;
    const int n = int(pts.size());
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            for (int k = j + 1; k < n; ++k) {
                Vec3d normal = cross(pts[j] - pts[i], pts[k] - pts[i]);
                if (length(normal) < 1e-9) continue;
                std::vector<int> on;
                int above = 0, below = 0;
                for (int m = 0; m < n; ++m) {
                    const double h = dot(normal, pts[m] - pts[i]) / length(normal);
                    std::fabs(h) < 1e-9 ? on.push_back(m) : void(++(h > 0 ? above : below));
                }
                if ((above && below) || !seen.insert(on).second) continue;
                if (above) normal = -normal;
                const Vec3d c = pts[on[0]], e1 = pts[on[1]] - c, e2 = cross(normal, e1);
                auto angle = [&](int m) { return m == on[0] ? -4.0 : std::atan2(dot(pts[m] - c, e2), dot(pts[m] - c, e1)); };
                std::sort(on.begin(), on.end(), [&](int a, int b) { return angle(a) < angle(b); });
                const std::vector<std::int32_t> face(on.begin(), on.end());
                p.addFace(face.data(), int(face.size()));
            }
    return p;
}

// Every vertex moved by up to `amount` in each coordinate (a fixed
// pseudo-random sequence), then scaled and shifted.
Polyhedron rough(Polyhedron p, double amount, double scale, Vec3d shift) {
    unsigned seed = 7;
    auto next = [&] { return ((seed = seed * 1103515245u + 12345u) >> 8 & 1023) / 1023.0 - 0.5; };
    for (Vec3& v : p.vertices) {
        const Vec3d w = (widen(v) + Vec3d{next(), next(), next()} * (2 * amount)) * scale + shift;
        v = {float(w.x), float(w.y), float(w.z)};
    }
    return p;
}

std::vector<Vec3d> signs(Vec3d v) {  // every sign choice of v's coordinates
    std::vector<Vec3d> out;
    for (int s = 0; s < 8; ++s) out.push_back({s & 1 ? -v.x : v.x, s & 2 ? -v.y : v.y, s & 4 ? -v.z : v.z});
    return out;
}
std::vector<Vec3d> turns(const std::vector<Vec3d>& vs, std::vector<Vec3d> out = {}) {  // and the cyclic turns of vs
    for (Vec3d v : vs) out.insert(out.end(), {v, {v.y, v.z, v.x}, {v.z, v.x, v.y}});
    std::sort(out.begin(), out.end(), [](Vec3d a, Vec3d b) { return std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z); });
    out.erase(std::unique(out.begin(), out.end(), [](Vec3d a, Vec3d b) { return length(a - b) == 0; }), out.end());
    return out;
}
Polyhedron cube() { return hull(signs({1, 1, 1})); }
// Even permutations of (1, 1/t, t) with an even number of plus signs, odd
// ones with an odd number; t^3 = t^2 + t + 1.
Polyhedron snubCube() {
    const double t = 1.8392867552141612;
    std::vector<Vec3d> pts;
    for (int odd = 0; odd < 2; ++odd)
        for (Vec3d v : signs(odd ? Vec3d{1, t, 1 / t} : Vec3d{1, 1 / t, t}))
            if (((v.x > 0) + (v.y > 0) + (v.z > 0)) % 2 == odd) pts.push_back(v);
    return hull(turns(pts));
}

double distanceToLine(Vec3d a, Vec3d b) { return length(a + (b - a) * (-dot(a, b - a) / dot(b - a, b - a))); }

struct Case {
    const char* name;
    Polyhedron solid;
    bool equalEdges;  // Archimedean, or a Catalan with one edge length
};

}  // namespace

TEST(CanonicalForm, RoughInputsBecomeTangentCentredAndFlat) {
    std::vector<Vec3d> prism;
    for (double z : {0.0, 1.5})
        for (double a : {0.0, 1.1, 2.3, 3.9, 5.0}) prism.push_back({std::cos(a) + 0.3 * z, std::sin(a) + 0.1 * z, z});
    const Case cases[] = {
        {"cube", rough(cube(), 0.15, 2, {5, -3, 2}), true},
        {"icosahedron", rough(geodesicSphere(1), 0.1, 7, {-1, 4, 9}), true},
        {"truncated cube", hull(turns(signs({1, 1, 1.0 / 3}))), true},
        {"snub cube", rough(snubCube(), 0.06, 1, {0, 0, 0}), true},
        {"rhombic dodecahedron", rough(hull(turns(signs({2, 0, 0}), signs({1, 1, 1}))), 0.1, 1, {}), true},
        {"prism", rough(hull(prism), 0.05, 1, {}), false},
        {"geodesic sphere", rough(geodesicSphere(3), 0.02, 1, {}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Edge> edges = deriveEdges(c.solid);
        const CanonicalForm form = canonicalForm(c.solid, edges);
        ASSERT_TRUE(form.converged) << form.worst;
        EXPECT_LE(form.iterations, 30);
        const std::vector<Vec3d>& x = form.vertices;
        Vec3d touching{0, 0, 0};
        double shortest = INFINITY, longest = 0;
        for (const Edge& e : edges) {
            EXPECT_NEAR(distanceToLine(x[e.a], x[e.b]), 1, 1e-6);
            const Vec3d u = x[e.b] - x[e.a];
            touching += x[e.a] + u * (-dot(x[e.a], u) / dot(u, u));
            shortest = std::fmin(shortest, length(u)), longest = std::fmax(longest, length(u));
        }
        EXPECT_LT(length(touching / double(edges.size())), 1e-9);
        if (c.equalEdges) {
            EXPECT_NEAR(shortest, longest, 1e-6);
        }
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
        const Vec3d a = widen(solid.vertices[edges[0].a]) - shift, b = widen(solid.vertices[edges[0].b]) - shift;
        const double midradius = length(a + b) / 2;
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
    const Polyhedron snub = rough(snubCube(), 0.1, 1, {});
    const CanonicalForm cut = canonicalForm(snub, deriveEdges(snub), 2);
    EXPECT_FALSE(cut.converged);
    EXPECT_EQ(cut.iterations, 2);
}

TEST(BestEdgeSphere, CentreAndRadiusOfKnownModels) {
    const EdgeSphere cubeSphere = bestEdgeSphere(rough(cube(), 0, 3, {1, 2, 3}), deriveEdges(cube()));
    EXPECT_LT(length(cubeSphere.centre - Vec3d{1, 2, 3}), 1e-6);
    EXPECT_NEAR(cubeSphere.radius, 3 * std::sqrt(2.0), 1e-6);

    // A hexagonal prism over z = 0..2: the rims' edges lie sqrt(1 + 3/4) from
    // its centre, the side edges 1, the radius is their mean.
    std::vector<Vec3d> prism;
    for (double z : {0, 2})
        for (int i = 0; i < 6; ++i) prism.push_back({std::cos(i * M_PI / 3), std::sin(i * M_PI / 3), z});
    const Polyhedron p = hull(prism);
    const EdgeSphere prismSphere = bestEdgeSphere(p, deriveEdges(p));
    EXPECT_LT(length(prismSphere.centre - Vec3d{0, 0, 1}), 1e-6);
    EXPECT_NEAR(prismSphere.radius, (2 * std::sqrt(1.75) + 1) / 3, 1e-6);

    // A dented cube: no small move of the centre lowers the sum, with the
    // radius at its best (the mean distance) for each centre.
    Polyhedron dented = cube();
    dented.vertices[0] = {0.5f, 0.5f, 0.5f};  // from (1, 1, 1)
    const std::vector<Edge> edges = deriveEdges(dented);
    auto sum = [&](Vec3d c) {
        std::vector<double> d;
        for (const Edge& e : edges) d.push_back(distanceToLine(widen(dented.vertices[e.a]) - c, widen(dented.vertices[e.b]) - c));
        double mean = 0, total = 0;
        for (double x : d) mean += x / d.size();
        for (double x : d) total += (x - mean) * (x - mean);
        return total;
    };
    const EdgeSphere best = bestEdgeSphere(dented, edges);
    EXPECT_LT(length(best.centre), 0.5);
    for (Vec3d step : {Vec3d{1e-4, 0, 0}, {0, 1e-4, 0}, {0, 0, 1e-4}})
        for (double s : {-1, 1}) EXPECT_LE(sum(best.centre), sum(best.centre + step * s));

    Polyhedron broken = cube();
    broken.vertices[2].y = std::numeric_limits<float>::infinity();
    const EdgeSphere none = bestEdgeSphere(broken, deriveEdges(broken));
    EXPECT_TRUE(std::isfinite(none.centre.x + none.centre.y + none.centre.z + none.radius));
}
