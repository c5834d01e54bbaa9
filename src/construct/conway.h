#pragma once

#include <string>

#include "base/result.h"
#include "geometry/polyhedron.h"

namespace pd {

// Conway's notation for polyhedra: a seed, and operators applied to it from
// right to left ("tI" truncates the icosahedron, "dkD" is the dual of the
// kis dodecahedron).

// A seed, centred on the origin, faces counter-clockwise seen from outside:
// 'T' 'C' 'O' 'D' 'I' the regular tetrahedron, cube, octahedron,
// dodecahedron and icosahedron (`n` unused); 'P' 'A' 'Y' the n-gonal prism
// with square sides, the antiprism with equilateral triangles, and the
// pyramid (equilateral sides for n up to 5, else one radius high). Any
// other letter, or n below 3 for P A Y, gives an empty polyhedron.
Polyhedron conwaySeed(char seed, int n = 0);

// The model `notation` names: operators, then one seed at the end.
// Seeds: T C O D I, P<n> A<n> Y<n> (3 <= n <= 10000), and M, which stands
// for `m` (nullptr: M is refused). Operators: d a t k j e o b g s n z m
// (dual, ambo, truncate, kis, join, expand, ortho, bevel, gyro, snub,
// needle, zip, meta); k<n> raises pyramids only on faces of n sides, t<n>
// cuts only vertices of degree n. New vertices sit where a later step can
// start from: the dual's at the face planes' poles about the model's
// centre (kept to the model's size), edge midpoints, points a third along
// edges, new face centres raised a little outward, below the neighbouring
// faces' planes; so a convex model gives one with its vertices in convex
// position (gyro's points just off the old edges). Each operator is linear
// in the model.
// "M" alone gives `m` unchanged; an operator on M needs M closed (each edge
// in two faces), its faces oriented alike, of 3 or more distinct corners,
// and each vertex in 3 or more faces (vertices in no face are dropped).
// Errors, one line, characters counted from 1: "'x' at 2 is not an
// operator", "'2' at 2: a prism needs 3 or more sides", "'a' at 3 follows
// the seed", "the notation ends without a seed (...)", "the notation is
// empty", a model that cannot take an operator ("'a' at 1 cannot apply:
// edge 0-1 has only one face", vertices from 0), and a notation whose
// operators would make more than 50 million corners in all (counted as if
// k<n> and t<n> applied everywhere), refused before anything is built.
Result<Polyhedron> conwayModel(const std::string& notation, const Polyhedron* m);

// What building `notation` would cost, worked out from the counts alone
// (k<n> and t<n> as if everywhere), building nothing.
struct ConwayWork {
    double made = 0;           // the corners all the steps make
    double corners = 0;        // the model's own
    std::string firstTooMany;  // "'k' at 3", the operator past 50 million made corners, or ""
};

// The work of `notation` (M standing for `m`), or the error conwayModel
// would give for a notation it cannot read.
Result<ConwayWork> conwayWork(const std::string& notation, const Polyhedron* m);

}  // namespace pd
