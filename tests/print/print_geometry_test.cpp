#include "print/print_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

#include "construct/conway.h"
#include "geometry/edges.h"
#include "geometry/face_plane.h"
#include "hull/halfspace_intersection.h"
#include "polyhedra/model.h"
#include "print/frame_pieces.h"

using namespace pd;

namespace {

double volumeOf(const PrintPart& part) {
    double six = 0;
    for (const auto& t : part.triangles)
        six += dot(part.points[t[0]], cross(part.points[t[1]], part.points[t[2]]));
    return six / 6;
}

double volumeOf(const Polyhedron& p) {
    double six = 0;
    for (int f = 0; f < p.faceCount(); ++f)
        for (int k = 1; k + 1 < p.faceSize(f); ++k)
            six += dot(widen(p.vertices[p.face(f)[0]]),
                       cross(widen(p.vertices[p.face(f)[k]]), widen(p.vertices[p.face(f)[k + 1]])));
    return std::fabs(six) / 6;
}

// The volume both convex shells hold, as the intersection of all their
// faces' half-spaces: no corefinement involved.
double commonVolume(const Polyhedron& a, const Polyhedron& b) {
    std::vector<HalfSpace> spaces;
    for (const Polyhedron* p : {&a, &b})
        for (int f = 0; f < p->faceCount(); ++f) {
            const FacePlane plane = facePlane(*p, f, {0, 0, 0});
            const Vec3d n = plane.normal / length(plane.normal);
            spaces.push_back({n, dot(n, plane.cornerSum) / p->faceSize(f)});
        }
    const Result<Intersection> common = intersectHalfSpaces(spaces, {0, 0, 0}, 2.0, 1e-6);
    EXPECT_TRUE(common.ok());
    return common ? volumeOf(common->shape) : 0;
}

// Closed, 2-manifold and turned one way: every edge once each way.
void expectClosed(const PrintPart& part) {
    std::map<std::pair<int, int>, int> used;
    for (const auto& t : part.triangles)
        for (int k = 0; k < 3; ++k) ++used[{t[k], t[(k + 1) % 3]}];
    for (const auto& [edge, count] : used) {
        ASSERT_EQ(count, 1) << part.name;
        ASSERT_EQ(used.count({edge.second, edge.first}), 1u) << part.name;
    }
}

// The reciprocal compounds by inclusion and exclusion: the union holds
// both less what they share, the dual's colour only what lies outside the
// solid.
TEST(PrintGeometry, CompoundVolumesAgreeWithHalfSpaceIntersections) {
    for (const char seed : {'T', 'C', 'D'}) {
        SCOPED_TRACE(seed);
        const Model m = buildModel("m", conwaySeed(seed), 0, 0);
        const double scale = 10, cube = scale * scale * scale;
        const double solid = volumeOf(m.solid) * cube, dual = volumeOf(m.reciprocalDual) * cube,
                     common = commonVolume(m.solid, m.reciprocalDual) * cube;
        const Result<CompoundPrint> print = solidCompound(m.solid, {1, 0, 0}, m.reciprocalDual, {0, 0, 1}, scale);
        ASSERT_TRUE(print.ok()) << print.error().text();
        ASSERT_EQ(print->whole.parts.size(), 1u);
        ASSERT_EQ(print->coloured.parts.size(), 2u);
        const double expected[] = {solid + dual - common, solid, dual - common};
        const PrintPart* parts[] = {&print->whole.parts[0], &print->coloured.parts[0], &print->coloured.parts[1]};
        for (int k = 0; k < 3; ++k) {
            expectClosed(*parts[k]);
            EXPECT_NEAR(volumeOf(*parts[k]), expected[k], 1e-4 * expected[k]) << parts[k]->name;
        }
    }
}

// Frames: one piece where the struts meet, two where the program's dual
// floats inside; the union less than its pieces but not by a strut.
TEST(PrintGeometry, FramesJoinWhereStrutsMeet) {
    const Polyhedron tetrahedron = conwaySeed('T'), cube = conwaySeed('C'), octahedron = conwaySeed('O');
    const Model cubeModel = buildModel("c", cube, 0, 0);
    const struct {
        std::vector<const Polyhedron*> shells;
        int pieces;
    } cases[] = {{{&tetrahedron}, 1}, {{&cube, &cubeModel.reciprocalDual}, 1}, {{&cube, &octahedron}, 2}};
    const double strut = 2, node = 3.2, scale = 15;
    for (const auto& c : cases) {
        std::vector<PrintShell> shells;
        double pieces = 0;
        for (const Polyhedron* p : c.shells) {
            shells.push_back({p, nullptr, {1, 1, 1}, "frame"});
            for (const Edge& e : deriveEdges(*p))
                pieces += volumeOf(strutPiece(widen(p->vertices[e.a]) * scale, widen(p->vertices[e.b]) * scale, strut, 12));
            pieces += p->vertexCount() * volumeOf(ballPiece({0, 0, 0}, node, 2));
        }
        const Result<FramePrint> frame = frameOf(shells, strut, node, scale);
        ASSERT_TRUE(frame.ok()) << frame.error().text();
        EXPECT_EQ(frame->pieces, c.pieces);
        ASSERT_EQ(frame->model.parts.size(), 1u);
        expectClosed(frame->model.parts[0]);
        const double volume = volumeOf(frame->model.parts[0]);
        EXPECT_GT(volume, 0.85 * pieces);
        EXPECT_LT(volume, 0.99 * pieces);
    }
}

}  // namespace
