#include "construct/canonical_form.h"
#include "construct/edge_sphere.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
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
Polyhedron prism(int n, double height, Vec3d slide, double top = 1) {  // top 0: a pyramid
    std::vector<Vec3d> pts;
    for (double z : {0.0, height})
        for (int i = 0; i < n; ++i) {
            const double r = z > 0 ? top : 1;
            pts.push_back(Vec3d{r * std::cos(2 * M_PI * i / n), r * std::sin(2 * M_PI * i / n), z} + slide * z);
        }
    return hull(pts);
}

// How far `x` is from canonical, worked out here as the header defines
// `worst`: each edge line's distance from the origin less 1, the touching
// points' centroid, each corner's height over its face's plane (Newell's
// normal through the corners' mean); and how many faces turn inwards or
// touching points lie beyond their edges; and the mean edge distance.
struct Residual {
    double worst = 0, distance = 0;
    int improper = 0;
};
Residual residual(const Polyhedron& p, const std::vector<Edge>& edges, const std::vector<Vec3d>& x) {
    Residual r;
    Vec3d centroid{0, 0, 0};
    for (const Edge& e : edges) {
        const Vec3d u = x[e.b] - x[e.a];
        const double s = -dot(x[e.a], u) / dot(u, u);
        r.worst = std::max(r.worst, std::fabs(length(x[e.a] + u * s) - 1));
        r.improper += !(s > 0 && s < 1);
        r.distance += length(x[e.a] + u * s) / double(edges.size());
        centroid += (x[e.a] + u * s) / double(edges.size());
    }
    r.worst = std::max(r.worst, length(centroid));
    for (int f = 0; f < p.faceCount(); ++f) {
        const int m = p.faceSize(f);
        const std::int32_t* c = p.face(f);
        Vec3d n{0, 0, 0}, mean{0, 0, 0};
        for (int k = 0; k < m; ++k) n += cross(x[c[k]], x[c[(k + 1) % m]]), mean += x[c[k]] / double(m);
        n = n / length(n);
        r.improper += !(dot(n, mean) > 0);
        for (int k = 0; k < m; ++k) r.worst = std::max(r.worst, std::fabs(dot(n, x[c[k]] - mean)));
    }
    return r;
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
        {"tall pyramid", prism(7, 6, {0, 0, 0}, 0), false},  // far from its form: a long way for the centre
        {"geodesic sphere", rough(geodesicSphere(3), 0.05), false},  // starts from a sphere
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Edge> edges = deriveEdges(c.solid);
        const CanonicalForm form = canonicalForm(c.solid, edges);
        ASSERT_TRUE(form.converged) << form.worst;
        EXPECT_LE(form.iterations, 10);  // 4 to 7 here
        const Residual r = residual(c.solid, edges, form.vertices);
        EXPECT_LT(r.worst, 1e-9);
        EXPECT_EQ(r.improper, 0);
        EXPECT_NEAR(form.worst, r.worst, 1e-12);
        double shortest = INFINITY, longest = 0;
        for (const Edge& e : edges) {
            const double l = length(form.vertices[e.b] - form.vertices[e.a]);
            shortest = std::fmin(shortest, l), longest = std::fmax(longest, l);
        }
        EXPECT_TRUE(!c.equalEdges || longest - shortest < 1e-6) << shortest << " " << longest;
        // The start: the model about its vertex mean at a mean edge distance
        // of 1, or if some face of that turns inwards or some touching point
        // lies beyond its edge, its corners pushed out onto a sphere.
        std::vector<Vec3d> x;
        Vec3d centre{0, 0, 0};
        for (const Vec3& v : c.solid.vertices) centre += widen(v) / double(c.solid.vertexCount());
        for (const Vec3& v : c.solid.vertices) x.push_back(widen(v) - centre);
        const Residual plain = residual(c.solid, edges, x);
        for (Vec3d& v : x) v = v / plain.distance;
        // Stopped after no step and after one: not converged, and the error
        // reported is the error of the vertices given back.
        for (int steps : {0, 1}) {
            const CanonicalForm cut = canonicalForm(c.solid, edges, steps);
            EXPECT_FALSE(cut.converged);
            EXPECT_EQ(cut.iterations, steps);
            EXPECT_NEAR(cut.worst, residual(c.solid, edges, cut.vertices).worst, 1e-12);
            for (int v = 0; v < c.solid.vertexCount() && steps == 0; ++v) {
                const double off = plain.improper ? length(cut.vertices[v]) - length(cut.vertices[0]) : length(cut.vertices[v] - x[v]);
                EXPECT_NEAR(off, 0, 1e-9);
            }
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

// Input that is not tried comes back as it was.
TEST(CanonicalForm, DegenerateInputIsNotTried) {
    Polyhedron sliver, hole = cube(), repeated = cube(), huge = cube(), stray = cube();
    sliver.vertices = {{0, 0, 0}, {1, 0, 0}, {3, 0, 0}, {1, 1, 1}};  // its first face's corners on a line
    const std::int32_t faces[4][3] = {{0, 1, 2}, {0, 3, 1}, {1, 3, 2}, {0, 2, 3}};
    for (const auto& face : faces) sliver.addFace(face, 3);
    hole.vertices[3].x = std::numeric_limits<float>::quiet_NaN();
    repeated.vertices[3] = repeated.vertices[1];
    huge.vertices[0] = {3e38f, 3e38f, 3e38f};
    stray.corners[5] = 8;
    const std::vector<Edge> edges = deriveEdges(cube());
    std::vector<std::pair<Polyhedron, std::vector<Edge>>> cases = {
        {sliver, deriveEdges(sliver)}, {hole, edges}, {repeated, deriveEdges(repeated)}, {huge, edges},
        {Polyhedron{}, {}}, {cube(), {}}, {stray, edges}};
    for (Edge past : {Edge{0, 8, {0, 1}}, {8, 0, {0, 1}}, {-1, 0, {0, 1}}, {0, -1, {0, 1}}}) {
        cases.push_back({cube(), edges});
        cases.back().second.push_back(past);
    }
    for (const auto& [p, e] : cases) {
        const CanonicalForm form = canonicalForm(p, e);
        EXPECT_FALSE(form.converged);
        EXPECT_EQ(form.iterations, 0);
        EXPECT_EQ(form.worst, INFINITY);
        ASSERT_EQ(form.vertices.size(), p.vertices.size());
        for (int v = 0; v < p.vertexCount(); ++v) {
            const Vec3d given = widen(p.vertices[v]);  // NaN and all
            EXPECT_EQ(std::memcmp(&form.vertices[v], &given, sizeof given), 0);
        }
    }
}

TEST(BestEdgeSphere, CentreAndRadiusOfKnownModels) {
    std::vector<Edge> cubeEdges = deriveEdges(cube());
    cubeEdges.push_back({5, 5, {0, 1}});  // of no length: left out
    const EdgeSphere cubeSphere = bestEdgeSphere(rough(cube(), 0, 3, {1, 2, 3}), cubeEdges);
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
    for (Vec3d step : {Vec3d{1e-4, 0, 0}, {0, 1e-4, 0}, {0, 0, 1e-4}}) {  // level and rising both ways
        EXPECT_NEAR(sum(best.centre + step), sum(best.centre - step), 1e-10);
        EXPECT_LT(sum(best.centre), sum(best.centre + step));
    }

    Polyhedron broken = cube();
    broken.vertices[2].y = std::numeric_limits<float>::infinity();
    const EdgeSphere none = bestEdgeSphere(broken, deriveEdges(broken));
    EXPECT_TRUE(std::isfinite(none.centre.x + none.centre.y + none.centre.z + none.radius));
}
