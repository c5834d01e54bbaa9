#pragma once

namespace pd {

// Tolerances more than one algorithm shares; those one algorithm alone uses
// are named where it uses them. Each is a share of the size it is compared
// with, never an absolute length, so a model scaled by any power of ten
// meets the same tests.

// A hair of slack on a comparison between two doubles that are equal in
// exact arithmetic (a sum of angles against a full turn, a scale against
// the one it was worked out from, a distance against a bound on it):
// rounding alone must not tip it.
constexpr double roundingShare = 1e-9;

}  // namespace pd
