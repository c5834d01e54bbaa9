#pragma once

#include <string>
#include <vector>

#include "mesh/polyhedron.h"

// The text of one OFF file holding every shell in `shells`, in order: their
// vertices one after the other, each shell's faces renumbered to its own
// vertices' new places. Coordinates are written exactly as stored (the
// shortest text that reads back to the same float), so the bytes depend on
// nothing but the shells. A comment line after the header says how many
// shells there are and how big each is; E is the number of distinct edges.
// Faces without corners (a dual's, of a vertex in no face) are left out.
std::string formatOff(const std::vector<const Polyhedron*>& shells);
