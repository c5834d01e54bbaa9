#pragma once

#include <string>
#include <vector>

#include "base/result.h"

namespace pd {

// The models a page offers by name, in groups: the five regular solids of
// the ten files, the Archimedean and Catalan solids, the prisms,
// antiprisms and pyramids and their duals for a chosen number of sides,
// and the OFF files opened so far. Each entry is loaded as the address
// that names it would load it, so a link to it shows the same.

struct PickerEntry {
    std::string group;  // "Regular solids", "Archimedean solids", ...
    std::string label;  // "cube", "truncated icosahedron", "prism", "box.off"
    std::string id;     // "solid:2", "archimedean:tI", "family:dP", "file:box.off"
};

// Every entry, the opened files' (by name, in the order given) last.
std::vector<PickerEntry> pickerEntries(const std::vector<std::string>& openedFiles);

// Fewest and most sides the families' entries take.
constexpr int fewestSides = 3;
constexpr int mostSides = 100;

// The address's query that loads entry `id`, the families' with `sides`
// sides: "solid=2", "catalogue=archimedean&model=truncated+icosahedron",
// "conway=dP5"; an error for an unknown id, sides outside fewestSides..
// mostSides, or a file (which no address names).
Result<std::string> entryQuery(const std::string& id, int sides);

// Whether `notation` is one the command line builds, worked out from its
// counts alone: an error in the command line's words ("--conway: 'x' at
// 1 is not an operator") for one it refuses. M stands for the cube.
Status checkNotation(const std::string& notation);

// `text` escaped for an address's query: letters, digits and "-._~:,"
// as they are, a space as '+', the rest as %XX.
std::string queryEscaped(const std::string& text);

}  // namespace pd
