#include "hidden/visibility.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "hidden/back_edges.h"
#include "hidden/depth_order.h"
#include "view/frame_builder.h"
#include "geometry/orientation.h"
#include "geometry/rotation.h"
#include "construct/geodesic_sphere.h"
#include "polyhedra/model_loading.h"
#include "scratch_dir.h"
#include "shipped_models.h"

using namespace pd;

namespace {

// The shells of a model turned as a view turns them, faces and edges
// renumbered into one list (the dual's after the solid's).
struct Scene {
    std::vector<Vec3> points;
    std::vector<std::int32_t> corners, faceStart{0};
    std::vector<Edge> edges;
    std::size_t solidEdges = 0;
};

Scene sceneOf(const Model& m, float a, float b, DualKind kind, bool withDual = true) {
    Scene s;
    const VertexTurn turn = vertexTurnOf({a, b, {}});
    const ShownShell dual = dualShell(m, kind);
    std::vector<std::pair<const Polyhedron*, const std::vector<Edge>*>> shells{{&m.solid, &m.edges}};
    if (withDual) shells.push_back({dual.shape, dual.edges});
    for (const auto& [shape, edges] : shells) {
        const auto points = std::int32_t(s.points.size()), faces = std::int32_t(s.faceStart.size() - 1);
        for (const Vec3& v : shape->vertices) s.points.push_back(turnVertex(turn, v));
        for (int f = 0; f < shape->faceCount(); ++f) {
            for (int k = 0; k < shape->faceSize(f); ++k) s.corners.push_back(points + shape->face(f)[k]);
            s.faceStart.push_back(std::int32_t(s.corners.size()));
        }
        for (Edge e : *edges)
            s.edges.push_back({points + e.a, points + e.b, {faces + e.faces[0], faces + e.faces[1]}});
        if (s.solidEdges == 0) s.solidEdges = s.edges.size();
    }
    return s;
}

// Independently, where face f covers (x, y): 1 with its depth there in z
// (crossing number for the outline, the plane through the corners' mean
// along Newell's normal for the depth), 0 where it does not, -1 too near
// its border to say.
int cover(const Scene& s, int f, double x, double y, double& z) {
    std::vector<Vec3d> c;
    for (int k = s.faceStart[f]; k < s.faceStart[f + 1]; ++k) c.push_back(widen(s.points[s.corners[k]]));
    Vec3d n{0, 0, 0}, mean{0, 0, 0};
    bool inside = false;
    double nearest = HUGE_VAL;
    for (std::size_t i = 0; i < c.size(); ++i) {
        const Vec3d u = c[i], v = c[(i + 1) % c.size()];
        n = {n.x + (u.y - v.y) * (u.z + v.z), n.y + (u.z - v.z) * (u.x + v.x), n.z + (u.x - v.x) * (u.y + v.y)};
        mean = {mean.x + u.x / c.size(), mean.y + u.y / c.size(), mean.z + u.z / c.size()};
        if ((u.y > y) != (v.y > y) && x < u.x + (y - u.y) * (v.x - u.x) / (v.y - u.y)) inside = !inside;
        const double ex = v.x - u.x, ey = v.y - u.y;
        const double t = std::clamp(((x - u.x) * ex + (y - u.y) * ey) / (ex * ex + ey * ey), 0.0, 1.0);
        nearest = std::min(nearest, std::hypot(x - u.x - t * ex, y - u.y - t * ey));
    }
    if (std::fabs(n.z) < 1e-9 * length(n)) return 0;
    z = mean.z - (n.x * (x - mean.x) + n.y * (y - mean.y)) / n.z;
    if (nearest < 2e-3) return -1;
    return inside ? 1 : 0;
}

// A ray from p toward the viewer (+z) against every face but the edge's
// own: 1 hidden, 0 seen, -1 too near a border or a plane to say.
int behindByRayCast(const Scene& s, Vec3d p, const Edge& own) {
    int answer = 0;
    for (int f = 0; f + 1 < int(s.faceStart.size()); ++f) {
        double z = 0;
        const int covers = f == own.faces[0] || f == own.faces[1] ? 0 : cover(s, f, p.x, p.y, z);
        if (covers < 0 || (covers > 0 && std::fabs(z - p.z) < 2e-3)) answer = answer == 1 ? 1 : -1;
        else if (covers > 0 && z > p.z) answer = 1;
    }
    return answer;
}

struct Tally {
    int hidden = 0, seen = 0, wrong = 0;
};

Tally compare(const Scene& s) {
    const Occluders occluders(s.points, s.corners, s.faceStart);
    Tally t;
    std::vector<Span> spans;
    for (const Edge& e : s.edges) {
        const Vec3d p = widen(s.points[e.a]), q = widen(s.points[e.b]);
        occluders.hiddenSpans(s.points[e.a], s.points[e.b], e.faces[0], e.faces[1], spans);
        for (int i = 0; i < 64; ++i) {
            const double u = (i + 0.5) / 64;
            bool near = false, hidden = false;
            for (const Span& h : spans) {
                near = near || std::fabs(u - h.from) < 0.01 || std::fabs(u - h.to) < 0.01;
                hidden = hidden || (u > h.from && u < h.to);
            }
            const int truth = behindByRayCast(s, {p.x + u * (q.x - p.x), p.y + u * (q.y - p.y), p.z + u * (q.z - p.z)}, e);
            if (near || truth < 0) continue;
            (truth ? t.hidden : t.seen)++;
            if (hidden != (truth == 1)) ++t.wrong;
        }
    }
    return t;
}

// A prism of two n-gons of radius 1 and height 1, faces turned outward.
Model prism(int n) {
    Polyhedron p;
    for (int i = 0; i < 2 * n; ++i) {
        const double a = 2 * std::acos(-1.0) * (i % n) / n;
        p.vertices.push_back({float(std::cos(a)), float(std::sin(a)), i < n ? -0.5f : 0.5f});
    }
    std::vector<std::int32_t> bottom, top;
    for (int i = 0; i < n; ++i) {
        const std::int32_t side[4] = {i, (i + 1) % n, n + (i + 1) % n, n + i};
        p.addFace(side, 4);
        bottom.push_back(n - 1 - i), top.push_back(n + i);
    }
    p.addFace(bottom.data(), n);
    p.addFace(top.data(), n);
    return buildModel("prism", std::move(p), 0, 0);
}

// The ring is not convex: an inner wall facing the viewer hides nothing
// of its own, walls behind the front boxes are hidden. The prism's caps
// have more corners than a fan is made of. Each scene has
// edges seen and hidden; no sample may disagree with the ray cast.
TEST(Visibility, AgreesWithARayCastOnTheRingAndTheCompounds) {
    const Result<Model> loaded = loadOffModel(scratch::sourcePath("tests/data/model/ring.off"));
    ASSERT_TRUE(loaded.ok()) << loaded.error().text();
    const Model& ring = *loaded;
    const std::vector<Model> solids = shippedModels();
    const Model wide = prism(48);  // caps cut by halving chords, not as fans
    const std::tuple<const Model*, float, float, DualKind, bool> cases[] = {
        {&wide, 30, 45, DualKind::Reciprocal, true},
        {&ring, 50, 20, DualKind::Reciprocal, false}, {&ring, -35, 200, DualKind::Reciprocal, true},
        {&solids[1], 30, 45, DualKind::Reciprocal, true}, {&solids[1], 30, 45, DualKind::Program, true},
        {&solids[3], 20, 65, DualKind::Reciprocal, true}, {&solids[4], -10, 170, DualKind::Program, true},
    };
    for (const auto& [model, a, b, kind, dual] : cases) {
        const Tally t = compare(sceneOf(*model, a, b, kind, dual));
        EXPECT_EQ(t.wrong, 0) << model->name << " " << a << " " << b << " dual " << int(kind);
        EXPECT_GT(t.hidden, 50) << model->name;
        EXPECT_GT(t.seen, 50) << model->name;
    }
}

// The program's octahedron lies inside the cube: every edge of it hidden
// whole. Each convex solid alone: the edges hidden whole are its back
// edges, and the others are seen whole.
TEST(Visibility, CompoundInsideAndConvexSolidsAlone) {
    const std::vector<Model> solids = shippedModels();
    const Scene compound = sceneOf(solids[1], 30, 45, DualKind::Program);
    const Occluders inCube(compound.points, compound.corners, compound.faceStart);
    std::vector<Span> spans;
    for (std::size_t i = compound.solidEdges; i < compound.edges.size(); ++i) {
        const Edge& e = compound.edges[i];
        inCube.hiddenSpans(compound.points[e.a], compound.points[e.b], e.faces[0], e.faces[1], spans);
        EXPECT_TRUE(spans.size() == 1 && spans[0].from == 0.0 && spans[0].to == 1.0) << "dual edge " << i;
    }
    for (const Model& m : solids)
        for (float b : {45.0f, 10.0f, 200.0f}) {
            const Scene s = sceneOf(m, 30, b, DualKind::Program, false);
            const Occluders occluders(s.points, s.corners, s.faceStart);
            std::vector<std::uint8_t> back;
            classifyBackEdges(m.solidNormals, m.edges, rotationAboutX(30), rotationAboutY(b), back);
            for (std::size_t i = 0; i < s.edges.size(); ++i) {
                const Edge& e = s.edges[i];
                occluders.hiddenSpans(s.points[e.a], s.points[e.b], e.faces[0], e.faces[1], spans);
                const std::vector<Span> seen = visibleSpans(spans);
                EXPECT_EQ(seen.empty() ? 1 : seen.size() == 1 && seen[0].to - seen[0].from == 1.0 ? 0 : 2,
                          back[i]) << m.name << " " << b << " edge " << i;
            }
        }
}

// Painted in order, the polygon last painted over a point shows the face
// the ray cast finds nearest there (where the nearest two are apart by a
// margin): on the compound, and on a geodesic sphere with its dual, 6752
// faces, ordered as many faces are. Both as paintOrder orders every face,
// and as the SVG's frame paints them, with the faces each convex shell
// hides itself left out and those it shows left unordered among
// themselves; a face is told by its shade, which the raster frame gives
// in the scene's order.
TEST(DepthOrder, LastPaintedIsNearestOnTheCompoundAndASphere) {
    const std::vector<Model> solids = shippedModels();
    const Model ball = buildModel("sphere", geodesicSphere(15), 0, 0);
    for (const auto& [model, step, least, apart] :
         {std::tuple{&solids[1], 0.0625, 500, 2e-3}, {&ball, 0.1, 60, 2e-4}}) {
        const Scene s = sceneOf(*model, 30, 45, DualKind::Reciprocal);
        ViewState state;
        state.dual = DualKind::Reciprocal;
        state.faces = FaceStyle::Shaded;
        const std::vector<Rgb> shade = buildFrame(*model, state, {}, FrameTarget::Raster).faces.colour;
        ASSERT_EQ(shade.size() + 1, s.faceStart.size());
        const PaintOrder order = paintOrder(s.points, s.corners, s.faceStart);
        EXPECT_GT(order.face.size(), s.faceStart.size() - 1);  // the faces pass through each other: cut
        FramePolygons all{order.xyz, order.start, {}};
        for (const std::int32_t f : order.face) all.colour.push_back(shade[std::size_t(f)]);
        const FramePolygons svg = buildFrame(*model, state, {}, FrameTarget::Vector).faces;
        EXPECT_LT(svg.colour.size(), order.face.size() * 2 / 3);  // the faces turned away are left out
        for (const FramePolygons* painted : {static_cast<const FramePolygons*>(&all), &svg}) {
            int checked = 0;
            for (double x = -2.0; x <= 2.0; x += step)
                for (double y = -2.0; y <= 2.0; y += step) {
                    int last = -1, nearest = -1;
                    bool unclear = false;
                    double nearestZ = -HUGE_VAL, secondZ = -HUGE_VAL;
                    for (std::size_t p = 0; p + 1 < painted->start.size(); ++p) {
                        bool inside = false;
                        for (std::uint32_t i = painted->start[p], j = painted->start[p + 1] - 1; i < painted->start[p + 1]; j = i++) {
                            const float ux = painted->xyz[3 * i], uy = painted->xyz[3 * i + 1];
                            const float vx = painted->xyz[3 * j], vy = painted->xyz[3 * j + 1];
                            if ((uy > y) != (vy > y) && x < ux + (y - uy) * (vx - ux) / (vy - uy)) inside = !inside;
                        }
                        if (inside) last = int(p);
                    }
                    for (int f = 0; f + 1 < int(s.faceStart.size()); ++f) {
                        double z = 0;
                        const int covers = cover(s, f, x, y, z);
                        unclear = unclear || covers < 0;
                        if (covers <= 0) continue;
                        if (z > nearestZ) secondZ = nearestZ, nearestZ = z, nearest = f;
                        else secondZ = std::max(secondZ, z);
                    }
                    if (unclear || nearestZ - secondZ < apart || (last < 0 && nearest < 0)) continue;
                    ++checked;
                    ASSERT_TRUE(last >= 0 && nearest >= 0) << x << " " << y;
                    const Rgb seen = painted->colour[std::size_t(last)], near = shade[std::size_t(nearest)];
                    EXPECT_TRUE(seen.red == near.red && seen.green == near.green && seen.blue == near.blue)
                        << model->name << (painted == &svg ? " svg " : " all ") << x << " " << y;
                }
            EXPECT_GT(checked, least) << model->name << " " << checked;
        }
    }
}

}  // namespace
