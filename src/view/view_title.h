#pragma once

#include <string>

#include "view/view_state.h"
#include "polyhedra/model.h"

namespace pd {

// The window's title: where the view stands, in words a user can repeat on
// the command line.

// "NAME  x A  y B" (see orientationText), then what differs from `opening`,
// the state the window opened in: the dual kind ("reciprocal dual" or
// "program's dual"), the back edges ("back dashed", "back hidden", "back
// drawn") and the zoom ("zoom 1.56", three figures); then `lit`, the words
// for what a click lit, if any; then `note`, if any, after " - ".
std::string viewTitle(const std::string& name, const ViewState& state, const ViewState& opening,
                      const std::string& note = "", const std::string& lit = "");

// Why `c` changes nothing on `model`: "no dual: ..." for a model that is not
// closed, "no reciprocal dual: ..." for one without a reciprocal dual, with
// the model's own reason; "" when it has one.
std::string reciprocalNote(const Model& model);

}  // namespace pd
