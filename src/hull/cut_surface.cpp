#include "hull/cut_surface.h"

#include "base/translate.h"
#include "geometry/tolerances.h"

#include <string>

namespace pd {

namespace {

// From this many faces round a vertex on, each face is checked against
// the corners beside the vertex alone, not against all its neighbours.
constexpr int mostFacesAtAVertex = 64;

}  // namespace

Status checkConvexSurface(const CutSurface& surface, const VertexRings& rings) {
    const double turn = 2 * std::acos(-1.0);
    for (int v = 0; v < surface.shape.vertexCount(); ++v) {
        const int ringFaces = rings.start[std::size_t(v) + 1] - rings.start[std::size_t(v)];
        if (ringFaces > mostFacesAtAVertex) {
            // Too many for every face against every neighbour: each face's
            // plane against the corners beside v in it and in the faces on
            // either side, and the angles at v under a full turn, which
            // together make the faces round v a convex cone.
            double angles = 0;
            const int first = rings.start[std::size_t(v)];
            for (int r = 0; r < ringFaces; ++r) {
                const int plane = surface.faceSource[std::size_t(rings.faces[std::size_t(first + r)])];
                for (int side = -1; side <= 1; ++side) {
                    const int g = rings.faces[std::size_t(first + (r + side + ringFaces) % ringFaces)];
                    int before, after;
                    const double angle = surface.besideIn(g, v, before, after);
                    if (side == 0) angles += angle;
                    if (surface.outside(plane, before) || surface.outside(plane, after))
                        return failure(tr("the faces are not convex at a vertex"));
                }
            }
            if (angles > turn * (1 + roundingShare * ringFaces)) return failure(tr("the faces wind more than once round a vertex"));
            continue;
        }
        double angles = 0;
        for (int r = rings.start[std::size_t(v)]; r < rings.start[std::size_t(v) + 1]; ++r) {
            const int f = rings.faces[std::size_t(r)];
            for (int s = surface.neighbourStart[std::size_t(v)]; s < surface.neighbourStart[std::size_t(v) + 1]; ++s)
                if (surface.outside(surface.faceSource[std::size_t(f)], surface.neighbours[std::size_t(s)]))
                    return failure(tr("the faces are not convex at a vertex"));
            // Three angles, each under half a turn, stay under a turn and a half.
            if (ringFaces <= 3) continue;
            int before, after;
            angles += surface.besideIn(f, v, before, after);
        }
        if (angles > 1.5 * turn) return failure(tr("the faces wind more than once round a vertex"));
    }
    return Done{};
}

Status checkFacelessPlanes(const CutSurface& surface, const Nearby& nearby, const std::vector<int>& same,
                           const std::vector<int>& faceOf) {
    const std::vector<HalfSpace>& spaces = surface.spaces;
    long long steps = 0;
    const long long mostSteps = 16LL * (surface.shape.vertexCount() + 16);
    for (std::size_t i = 0; i < spaces.size(); ++i) {
        if (same[i] != int(i) || faceOf[i] >= 0) continue;
        int from = -1;
        for (int s = nearby.start[i]; s < nearby.start[i + 1] && from < 0; ++s) {
            const int f = faceOf[std::size_t(same[std::size_t(nearby.to[std::size_t(s)])])];
            if (f >= 0) from = surface.shape.face(f)[0];
        }
        if (from < 0) from = 0;
        const Vec3d n = spaces[i].normal;
        double height = dot(n, surface.at[std::size_t(from)]);
        for (;;) {
            if (surface.outside(int(i), from)) return failure(fill(tr("plane {1} cuts the faces"), {std::to_string(i)}));
            if (++steps > mostSteps) return failure(tr("the climbs take too long"));
            int best = -1;
            double bestHeight = height;
            for (int s = surface.neighbourStart[std::size_t(from)]; s < surface.neighbourStart[std::size_t(from) + 1];
                 ++s) {
                const double h = dot(n, surface.at[std::size_t(surface.neighbours[std::size_t(s)])]);
                if (h > bestHeight) best = surface.neighbours[std::size_t(s)], bestHeight = h;
            }
            if (best < 0) break;
            from = best;
            height = bestHeight;
        }
    }
    return Done{};
}

}  // namespace pd
