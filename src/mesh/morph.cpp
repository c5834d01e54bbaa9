#include "mesh/morph.h"

#include <cmath>

#include "mesh/convexity.h"
#include "model/face_plane.h"
#include "model/reciprocal_dual.h"

Result<MorphFamily> morphFamily(const Model& model) {
    if (!model.closed) return failure("it is not closed: " + model.openEdgeMessage);
    if (!model.hasReciprocal) return failure("it has no reciprocal dual: " + model.reciprocalMessage);
    MorphFamily family;
    const Midsphere sphere = midsphere(model.solid, model.edges);
    family.centre = {sphere.centre[0], sphere.centre[1], sphere.centre[2]};
    family.radius = sphere.radius;
    for (const Vec3& v : model.solid.vertices) {
        family.corners.push_back(widen(v) - family.centre);
        family.size = std::fmax(family.size, length(family.corners.back()));
    }
    Result<std::vector<HalfSpace>> faces = faceHalfSpaces(model.solid, family.centre, model.numberBase);
    if (!faces) return failure("it has no inside: " + faces.error().what);
    const Status convex = checkConvex(model.solid, *faces, family.centre, family.size,
                                      morphTolerance, model.numberBase);
    if (!convex) return failure("it is not convex: " + convex.error().what);
    family.faces = std::move(*faces);

    double nearest = family.faces.empty() ? 0.0 : family.faces.front().offset;
    for (const HalfSpace& h : family.faces) nearest = std::fmin(nearest, h.offset);
    const double r2 = family.radius * family.radius;
    family.sMax = family.size * family.size / r2;
    family.sMin = nearest * nearest / r2;
    if (!std::isfinite(family.sMax) || !(family.sMin > 0.0))
        return failure("its midsphere has no size");
    family.solid = model.solid;
    return family;
}

double morphScale(const MorphFamily& family, double t) {
    if (t <= 0.5) return family.sMax + (1.0 - family.sMax) * (2.0 * t);
    return 1.0 + (family.sMin - 1.0) * (2.0 * t - 1.0);
}

Result<Polyhedron> morphAt(const MorphFamily& family, double t) {
    if (!(t >= 0.0 && t <= 1.0)) return failure("the stage t must be a number from 0 to 1");
    if (t == 0.0) return family.solid;
    const double bound = morphScale(family, t) * family.radius * family.radius;
    std::vector<HalfSpace> spaces = family.faces;
    spaces.reserve(family.faces.size() + family.corners.size());
    for (const D3& v : family.corners) {
        const double distance = length(v);
        // A vertex at the centre asks nothing of x.
        if (distance > 0.0) spaces.push_back({{v.x / distance, v.y / distance, v.z / distance}, bound / distance});
    }
    Result<Intersection> cut = intersectHalfSpaces(spaces, family.centre, family.size, morphTolerance);
    if (!cut) return cut.error();
    return std::move(cut->shape);
}
