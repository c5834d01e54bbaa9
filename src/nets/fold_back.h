#pragma once

#include <vector>

#include "geometry/mat3.h"
#include "nets/unfolding.h"

namespace pd {

// Folding a net up again, all of it or part of the way.

// A rigid motion x -> r x + shift.
struct RigidMotion {
    Mat3d r;
    Vec3d shift{0, 0, 0};

    Vec3d apply(Vec3d v) const { return r * v + shift; }
    Vec3d turn(Vec3d v) const { return r * v; }
};

// `outer` after `inner`.
RigidMotion after(const RigidMotion& outer, const RigidMotion& inner);

// Per face of `p`, the motion that takes its corners from where they lie in
// `net` (z = 0) to where foldNet puts them at `amount`, so a caller that
// moves each face on can do it in one motion per face. `net` must be
// unfold(p)'s.
std::vector<RigidMotion> foldMotions(const Polyhedron& p, const Net& net, double amount);

// Where every corner of `p` (per corner slot) lies when each face of `net`
// is turned about its fold by `amount` times its turn, in its piece's own
// frame: at 0 the net as it lies (z = 0), at 1 folded up into the model's
// shape, at values between part of the way. `net` must be unfold(p)'s.
std::vector<Vec3d> foldNet(const Polyhedron& p, const Net& net, double amount);

// A point of `piece`'s frame placed on the model (see NetPiece): the corners
// foldNet gives at 1 land on the model's vertices.
Vec3d onModel(const NetPiece& piece, Vec3d framePoint);

}  // namespace pd
