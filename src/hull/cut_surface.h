#pragma once

#include <cmath>
#include <vector>

#include "base/result.h"
#include "geometry/edges.h"
#include "geometry/vertex_rings.h"
#include "hull/halfspace_intersection.h"
#include "hull/local_halfspace_intersection.h"

namespace pd {

// The checks intersectNearby makes on the body it worked out face by
// face, each in linear time (see local_halfspace_intersection.h).

// The closed faces as the checks see them: the vertices' positions again
// in double, about the centre, and their neighbours along the edges.
struct CutSurface {
    const Polyhedron& shape;
    const std::vector<int>& faceSource;
    const std::vector<HalfSpace>& spaces;
    double allowed;
    std::vector<Vec3d> at;
    std::vector<int> neighbourStart, neighbours;

    CutSurface(const Intersection& body, const EdgeTopology& topology, const std::vector<HalfSpace>& spaces,
            Vec3d centre, double allowed)
        : shape(body.shape), faceSource(body.faceSource), spaces(spaces), allowed(allowed) {
        const int vertexCount = shape.vertexCount();
        neighbourStart.assign(std::size_t(vertexCount) + 1, 0);
        for (const Edge& e : topology.edges)
            ++neighbourStart[std::size_t(e.a) + 1], ++neighbourStart[std::size_t(e.b) + 1];
        for (int v = 0; v < vertexCount; ++v) neighbourStart[std::size_t(v) + 1] += neighbourStart[std::size_t(v)];
        neighbours.resize(std::size_t(neighbourStart.back()));
        std::vector<int> fill(neighbourStart.begin(), neighbourStart.end() - 1);
        for (const Edge& e : topology.edges) {
            neighbours[std::size_t(fill[std::size_t(e.a)]++)] = e.b;
            neighbours[std::size_t(fill[std::size_t(e.b)]++)] = e.a;
        }
        at.resize(static_cast<std::size_t>(vertexCount));
        for (int v = 0; v < vertexCount; ++v) at[std::size_t(v)] = widen(shape.vertices[std::size_t(v)]) - centre;
    }

    // Vertex v lies outside the half-space of `plane`, past the tolerance.
    bool outside(int plane, int v) const {
        const HalfSpace& h = spaces[std::size_t(plane)];
        return dot(h.normal, at[std::size_t(v)]) > h.offset + allowed;
    }

    // The two corners beside v in face f, and the angle between them at v.
    double besideIn(int f, int v, int& before, int& after) const {
        const std::int32_t* c = shape.face(f);
        const int m = shape.faceSize(f);
        int k = 0;
        while (c[k] != v) ++k;
        before = c[(k + m - 1) % m], after = c[(k + 1) % m];
        const Vec3d a = at[std::size_t(before)] - at[std::size_t(v)];
        const Vec3d b = at[std::size_t(after)] - at[std::size_t(v)];
        return std::atan2(length(cross(a, b)), dot(a, b));
    }
};

// Convex at every vertex: the plane of each face there keeps all the
// vertex's neighbours inside, and the faces go round it once (their
// angles there add up to less than a full turn and a half).
Status checkConvexSurface(const CutSurface& surface, const VertexRings& rings);

// Every plane without a face keeps the body inside: the highest vertex
// above it, climbing from a vertex of a neighbour's face.
Status checkFacelessPlanes(const CutSurface& surface, const Nearby& nearby, const std::vector<int>& same,
                           const std::vector<int>& faceOf);

}  // namespace pd
