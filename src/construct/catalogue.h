#pragma once

#include <string>
#include <vector>

namespace pd {

// The named solids a learner meets, each built from the five by Conway's
// operators (see conway.h) and then put in canonical form.

enum class Family { Platonic, Archimedean, Catalan };

struct CatalogueEntry {
    const char* name;       // in English, as solidName gives it untranslated; tr() where shown
    const char* notation;   // Conway's notation
    std::vector<std::string> otherNames;  // other names in use, in lower case
    Family family;
    // How solidName knows it: the vertices of a Platonic or Archimedean
    // solid and the faces' sizes around each, or the faces of a Catalan
    // one and the vertices' degrees around each; sorted.
    int count;
    std::vector<int> around;
};

// Every entry: the five, the 13 Archimedean solids, then their 13 Catalan
// duals, in the same order as their Archimedean partners.
const std::vector<CatalogueEntry>& catalogue();

// The entries of "platonic", "archimedean", "catalan" or "all"; empty for
// any other word.
std::vector<CatalogueEntry> catalogueOf(const std::string& family);

// The entry `name` names: its name or one of its other names (any case), or its
// notation (exactly, as "tI"); null for none.
const CatalogueEntry* findInCatalogue(const std::string& name);

}  // namespace pd
