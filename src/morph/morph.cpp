#include "morph/morph.h"

#include <algorithm>
#include <cmath>

#include "base/translate.h"
#include "polyhedra/convexity.h"
#include "geometry/face_plane.h"
#include "polyhedra/reciprocal_dual.h"

namespace pd {

namespace {

constexpr std::size_t mostNearbyNeighbours = 256;

// Which planes of a stage may bound the face of each. A face F of P lies
// in P bounded by the faces across its edges alone; the stage cuts it only
// with planes of vertices, those of its corners and their neighbours. The
// plane of a vertex v meets P near v, among the faces around v, and is cut
// by its neighbours' planes. The faces of the stages of round models stay
// within these; where they do not, the check of intersectNearby says so.
Nearby nearbyPlanes(const Model& model) {
    const Polyhedron& p = model.solid;
    const Polyhedron& rings = model.reciprocalDual;  // its face v: the faces around vertex v
    const int faceCount = p.faceCount();
    std::vector<std::vector<int>> around(std::size_t(p.vertexCount()));
    for (const Edge& e : model.edges) {
        around[std::size_t(e.a)].push_back(faceCount + e.b);
        around[std::size_t(e.b)].push_back(faceCount + e.a);
    }
    // A face's corners each bring their neighbours: a corner of very many
    // makes the lists grow as their square, and the stages' faces there
    // are then left to intersectHalfSpaces (no lists at all).
    for (const std::vector<int>& a : around)
        if (a.size() > mostNearbyNeighbours) return {};
    std::vector<std::vector<int>> across{std::size_t(faceCount)};  // the faces across each face's edges
    for (const Edge& e : model.edges)
        if (e.faces[0] >= 0 && e.faces[1] >= 0) {
            across[std::size_t(e.faces[0])].push_back(e.faces[1]);
            across[std::size_t(e.faces[1])].push_back(e.faces[0]);
        }
    auto addVertexPlanes = [&](int v, std::vector<int>& list) {
        list.push_back(faceCount + v);
        list.insert(list.end(), around[std::size_t(v)].begin(), around[std::size_t(v)].end());
    };
    Nearby nearby;
    std::vector<int> list;
    auto append = [&]() {
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
        nearby.to.insert(nearby.to.end(), list.begin(), list.end());
        nearby.start.push_back(int(nearby.to.size()));
        list.clear();
    };
    for (int f = 0; f < faceCount; ++f) {
        for (int k = 0; k < p.faceSize(f); ++k) addVertexPlanes(p.face(f)[k], list);
        list.insert(list.end(), across[std::size_t(f)].begin(), across[std::size_t(f)].end());
        append();
    }
    for (int v = 0; v < p.vertexCount(); ++v) {
        list.insert(list.end(), rings.face(v), rings.face(v) + rings.faceSize(v));
        addVertexPlanes(v, list);
        append();
    }
    return nearby;
}

}  // namespace

Result<MorphFamily> morphFamily(const Model& model) {
    if (!model.closed) return failure(fill(tr("it is not closed: {1}"), {model.openEdgeMessage}));
    if (!model.hasReciprocal) return failure(fill(tr("it has no reciprocal dual: {1}"), {model.reciprocalMessage}));
    MorphFamily family;
    const Midsphere sphere = midsphere(model.solid, model.edges);
    family.centre = {sphere.centre[0], sphere.centre[1], sphere.centre[2]};
    family.radius = sphere.radius;
    for (const Vec3& v : model.solid.vertices) {
        family.corners.push_back(widen(v) - family.centre);
        family.size = std::fmax(family.size, length(family.corners.back()));
    }
    Result<std::vector<HalfSpace>> faces = faceHalfSpaces(model.solid, family.centre, model.numberBase);
    if (!faces) return failure(fill(tr("it has no inside: {1}"), {faces.error().what}));
    const Status convex = checkConvex(model.solid, *faces, family.centre, family.size,
                                      morphTolerance, model.numberBase);
    if (!convex) return failure(fill(tr("it is not convex: {1}"), {convex.error().what}));
    family.faces = std::move(*faces);

    double nearest = family.faces.empty() ? 0.0 : family.faces.front().offset;
    for (const HalfSpace& h : family.faces) nearest = std::fmin(nearest, h.offset);
    const double r2 = family.radius * family.radius;
    family.sMax = family.size * family.size / r2;
    family.sMin = nearest * nearest / r2;
    if (!std::isfinite(family.sMax) || !(family.sMin > 0.0))
        return failure(tr("its midsphere has no size"));
    family.nearby = nearbyPlanes(model);
    frameNearby(family.nearby, morphHalfSpaces(family, 0.5));  // every stage has these normals
    family.solid = model.solid;
    return family;
}

double morphScale(const MorphFamily& family, double t) {
    if (t <= 0.5) return family.sMax + (1.0 - family.sMax) * (2.0 * t);
    return 1.0 + (family.sMin - 1.0) * (2.0 * t - 1.0);
}

std::vector<HalfSpace> morphHalfSpaces(const MorphFamily& family, double t) {
    const double bound = morphScale(family, t) * family.radius * family.radius;
    std::vector<HalfSpace> spaces = family.faces;
    spaces.reserve(family.faces.size() + family.corners.size());
    for (const Vec3d& v : family.corners) {
        const double distance = length(v);
        // A vertex at the centre asks nothing of x.
        if (distance > 0.0) spaces.push_back({v / distance, bound / distance});
    }
    return spaces;
}

double stageSize(const MorphFamily& family, double t) {
    const double s = morphScale(family, t), r = family.radius;
    return std::fmin(family.size, std::fmin(r * std::sqrt(s), s * r / std::sqrt(family.sMin)));
}

Result<Polyhedron> morphAt(const MorphFamily& family, double t) {
    if (!(t >= 0.0 && t <= 1.0)) return failure(tr("the stage t must be a number from 0 to 1"));
    if (t == 0.0) return family.solid;
    const std::vector<HalfSpace> spaces = morphHalfSpaces(family, t);
    const double size = stageSize(family, t);
    // A vertex at the centre gave no plane, and shifts the numbering.
    if (spaces.size() + 1 == family.nearby.start.size()) {
        Result<Intersection> near = intersectNearby(spaces, family.nearby, family.centre, size, morphTolerance);
        if (near) return std::move(near->shape);
    }
    Result<Intersection> cut = intersectHalfSpaces(spaces, family.centre, size, morphTolerance);
    if (!cut) return cut.error();
    return std::move(cut->shape);
}

}  // namespace pd
