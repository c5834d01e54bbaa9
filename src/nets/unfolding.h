#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "base/result.h"
#include "geometry/vec2.h"
#include "geometry/edges.h"
#include "geometry/polyhedron.h"
#include "geometry/vec3.h"

namespace pd {

// A paper net: the faces of a closed polyhedron laid flat, each joined to a
// parent face along one edge (a fold), so that each piece is a tree of faces
// cut along every other edge. Folding every face about its fold by its turn
// gives the polyhedron back.

// One piece and where its plane lies on the model: the net point (x, y, z)
// of this piece is origin + x ex + y ey + z (ex x ey) folded up, so +z looks
// out of the model through the root face.
struct NetPiece {
    std::int32_t root = 0;
    Vec3d origin{0, 0, 0};
    Vec3d ex{1, 0, 0};
    Vec3d ey{0, 1, 0};
};

struct Net {
    EdgeTopology topology;               // of the polyhedron (its edges in that order)
    std::vector<P2> corners;             // per corner slot: where it lies in its piece's plane
    std::vector<std::int32_t> piece;     // per face
    std::vector<std::int32_t> parent;    // per face; -1 for a piece's root
    // Per face: the slot whose edge (to the face's next corner) is its fold
    // to the parent, -1 for a root; and the turn about that fold, radians,
    // right-handed about the direction from that slot's corner to the next,
    // that folds the face onto the model (pi minus the dihedral angle for
    // a convex edge, either sign).
    std::vector<std::int32_t> hingeSlot;
    std::vector<double> turn;
    std::vector<std::int32_t> order;     // every face once, each after its parent, piece by piece
    std::vector<std::int32_t> cut;       // per edge: 0 for a fold, -1 for an open surface's border, else its cut pair's number from 1
    int cutCount = 0;
    std::vector<NetPiece> pieces;
    // Each face cut into convex parts (the face itself when it is convex
    // with at most 32 corners, bigger convex ones into parts of at most 17):
    // face f's parts are partStart[f] .. partStart[f + 1] - 1, part q's
    // corners the slots partSlots[partCorners[q]] .. partSlots[partCorners[q + 1] - 1].
    std::vector<std::int32_t> partStart, partCorners, partSlots;
    bool thinFaces = false;              // many long thin faces: their overlaps tested by hulls (overlap_hulls.h)
    std::string method;                  // the heuristic that gave it
    int attempts = 0;                    // spanning trees tried
};

// How hard to look for a net in one piece. The search is deterministic:
// the same model and options always give the same net.
struct UnfoldOptions {
    int steepestTries = 40;     // steepest-edge directions, the first fixed, the rest random
    int randomTries = 40;       // then spanning trees with random edge order
    long workLimit = 600000;    // faces laid out over all these tries, at most
    int splitTries = 8;         // then trees cut where they overlap, joined again where they fit,
                                // within as much work again
    double tolerance = 1e-9;    // overlap allowed, times the mean edge
    // Faces looked at by the overlap tests over all tries, at most: past it
    // the net is refused, so crowds of thin faces cannot take for ever.
    std::int64_t overlapBudget = 40000000;
    const std::atomic<bool>* stop = nullptr;  // set: give up soon, refused
    int numberBase = 0;         // how vertex and face numbers are counted in messages
};

// The net of `p`: every face once, in its true shape, no two faces of a
// piece overlapping. Tries steepest-edge unfoldings (each vertex cut along
// its edge climbing most steeply towards a direction), then random
// spanning trees, in one piece; if none is free of overlaps within the
// budget, lays out steepest-edge trees breadth first, cutting a face off to
// start a new piece (with all that hangs from it) where it would overlap,
// joins pieces again along cut edges wherever the joined piece stays free
// of overlaps, and keeps the fewest pieces. Refuses, saying why and naming the edge or face, a
// polyhedron with an edge not between exactly two faces, a face with fewer
// than three corners, an edge of no length, no area, a face that is not flat
// (corners off its plane by more than 1/1000 of its size) or that crosses
// itself, or one that is not convex with more than 100 corners; and, saying
// so, a net whose overlap tests would pass the budget or that was stopped.
Result<Net> unfold(const Polyhedron& p, const UnfoldOptions& options = {});

// The mean length of the edges of `p` (0 when it has none).
double meanEdgeLength(const Polyhedron& p, const EdgeTopology& topology);

}  // namespace pd
