#pragma once

#include <string>

#include "base/result.h"
#include "print/print_model.h"

namespace pd {

// The model as one binary STL file: every part's triangles in one list
// (STL has no parts nor colours), each with its normal, in single
// precision. An error when the model holds more triangles than STL can
// count (2^32 - 1) or a corner that is not one of its part's points.
Result<std::string> formatStl(const PrintModel& model);

}  // namespace pd
