#pragma once

#include "solids/solid_table.h"

namespace pd {

// The five solids of data/ and their duals, read once through the program's
// own readers, for harnesses that feed odd input into one stage and need
// sound data for the others. Aborts with a message when data/ is unreadable:
// a harness without its fixed data would fuzz nothing of interest.
const VertexArrays& shippedSolids();

}  // namespace pd
