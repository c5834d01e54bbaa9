#pragma once

#include <vector>

#include "mesh/unfolding.h"

namespace pd {

// Folding a net up again, all of it or part of the way.

// Where every corner of `p` (per corner slot) lies when each face of `net`
// is turned about its fold by `amount` times its turn, in its piece's own
// frame: at 0 the net as it lies (z = 0), at 1 folded up into the model's
// shape, at values between part of the way. `net` must be unfold(p)'s.
std::vector<Vec3d> foldNet(const Polyhedron& p, const Net& net, double amount);

// A point of `piece`'s frame placed on the model (see NetPiece): the corners
// foldNet gives at 1 land on the model's vertices.
Vec3d onModel(const NetPiece& piece, Vec3d framePoint);

}  // namespace pd
