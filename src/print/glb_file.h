#pragma once

#include <string>

#include "base/result.h"
#include "print/print_model.h"

namespace pd {

// The model as binary glTF 2.0 (through tinygltf), for viewing in a
// browser or in AR at its printed size: glTF counts in metres, so the
// millimetres are divided by 1000. One node per part, named as it, with
// a mesh of its triangles and a material of its colour (the palette's
// sRGB made linear, as glTF's base colour is). An error for a corner that
// is not one of its part's points, or when tinygltf cannot write it.
Result<std::string> formatGlb(const PrintModel& model);

}  // namespace pd
