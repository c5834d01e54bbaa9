#pragma once

#include <string>
#include <vector>

#include "explorer/session.h"

namespace pd {

// What a page's information area says of the view, as text a learner
// reads: the names, the counts and what is lit.
struct PageInfo {
    std::string model;  // the model's name, with the solid's in brackets where it differs
    std::string dual;   // the dual shown's name, or "" where it has none known
    // One line per shell the counts name, "solid: V 8, E 12, F 6, V-E+F 2;
    // faces: 6 squares", then the morph's stage, "morph at 0.5 (cuboctahedron): ..."
    std::vector<std::string> counts;
    std::string lit;  // "face 7 (pentagon) - dual vertex 7", or "" for nothing lit
};

// The information on the session's view. A stage of the morph that cannot
// be built leaves its line out.
PageInfo pageInfo(Session& session);

// The information as lines of plain text, as a screen reader says it.
std::string pageInfoText(const PageInfo& info);

}  // namespace pd
