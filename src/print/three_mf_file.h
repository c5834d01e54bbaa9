#pragma once

#include <string>

#include "base/result.h"
#include "print/print_model.h"

namespace pd {

// The model as a 3MF package (through lib3mf), in millimetres: each part
// an object of its name, coloured by a base material of its colour, and
// placed as it stands. An error saying what lib3mf refused (a corner that
// is not one of its part's points, a part too large for it).
Result<std::string> format3mf(const PrintModel& model);

}  // namespace pd
