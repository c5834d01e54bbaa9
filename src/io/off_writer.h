#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "geometry/polyhedron.h"

namespace pd {

// The text of one OFF file holding every shell in `shells`, in order: their
// vertices one after the other, each shell's faces renumbered to its own
// vertices' new places. Coordinates are written exactly as held, each the
// shortest text that reads back to the same number: from `exact[i]`, when
// given, not null and as long as shell i's vertices, the shell's vertices
// as made in double (a canonical form, which floats would leave touching
// its sphere only to 1e-7), the same doubles; else its floats, the same
// floats. So the bytes depend on nothing but the shells. A comment line after the header says how many
// shells there are and how big each is; E is the number of distinct edges.
// What it writes, readOff reads back: an error instead, and no text, when
// a shell fails offWritable ("shell N: ..." counted from 1) or there is no
// face at all.
Result<std::string> formatOff(const std::vector<const Polyhedron*>& shells,
                              const std::vector<const std::vector<Vec3d>*>& exact = {});

// Done when readOff would read `shell` back as it is: every face has at
// least 3 corners (faces with none, a dual's of a vertex in no face, are
// left out of the text), none of them twice, and every coordinate is finite and
// within maxCoordinate. Else what is not so, naming the first face or
// vertex at fault (counted from 0, as OFF counts).
Status offWritable(const Polyhedron& shell);

}  // namespace pd
