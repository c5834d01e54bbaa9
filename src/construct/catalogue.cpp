#include "construct/catalogue.h"

#include <algorithm>
#include <cctype>

#include "base/translate.h"

namespace pd {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

const std::vector<CatalogueEntry>& catalogue() {
    static const std::vector<CatalogueEntry> entries{
        {N_("tetrahedron"), "T", {}, Family::Platonic, 4, {3, 3, 3}},
        {N_("cube"), "C", {"hexahedron"}, Family::Platonic, 8, {4, 4, 4}},
        {N_("octahedron"), "O", {}, Family::Platonic, 6, {3, 3, 3, 3}},
        {N_("dodecahedron"), "D", {}, Family::Platonic, 20, {5, 5, 5}},
        {N_("icosahedron"), "I", {}, Family::Platonic, 12, {3, 3, 3, 3, 3}},
        {N_("truncated tetrahedron"), "tT", {}, Family::Archimedean, 12, {3, 6, 6}},
        {N_("cuboctahedron"), "aC", {}, Family::Archimedean, 12, {3, 3, 4, 4}},
        {N_("truncated cube"), "tC", {"truncated hexahedron"}, Family::Archimedean, 24, {3, 8, 8}},
        {N_("truncated octahedron"), "tO", {}, Family::Archimedean, 24, {4, 6, 6}},
        {N_("rhombicuboctahedron"), "eC", {"small rhombicuboctahedron"}, Family::Archimedean, 24, {3, 4, 4, 4}},
        {N_("truncated cuboctahedron"), "bC", {"great rhombicuboctahedron", "rhombitruncated cuboctahedron"}, Family::Archimedean, 48, {4, 6, 8}},
        {N_("snub cube"), "sC", {"snub cuboctahedron", "snub hexahedron"}, Family::Archimedean, 24, {3, 3, 3, 3, 4}},
        {N_("icosidodecahedron"), "aD", {}, Family::Archimedean, 30, {3, 3, 5, 5}},
        {N_("truncated dodecahedron"), "tD", {}, Family::Archimedean, 60, {3, 10, 10}},
        {N_("truncated icosahedron"), "tI", {"football", "soccer ball"}, Family::Archimedean, 60, {5, 6, 6}},
        {N_("rhombicosidodecahedron"), "eD", {"small rhombicosidodecahedron"}, Family::Archimedean, 60, {3, 4, 4, 5}},
        {N_("truncated icosidodecahedron"), "bD", {"great rhombicosidodecahedron", "rhombitruncated icosidodecahedron"}, Family::Archimedean, 120, {4, 6, 10}},
        {N_("snub dodecahedron"), "sD", {"snub icosidodecahedron"}, Family::Archimedean, 60, {3, 3, 3, 3, 5}},
        {N_("triakis tetrahedron"), "kT", {"kistetrahedron"}, Family::Catalan, 12, {3, 6, 6}},
        {N_("rhombic dodecahedron"), "jC", {}, Family::Catalan, 12, {3, 3, 4, 4}},
        {N_("triakis octahedron"), "kO", {"kisoctahedron"}, Family::Catalan, 24, {3, 8, 8}},
        {N_("tetrakis hexahedron"), "kC", {"tetrakis cube", "kiscube"}, Family::Catalan, 24, {4, 6, 6}},
        {N_("deltoidal icositetrahedron"), "oC", {"strombic icositetrahedron", "trapezoidal icositetrahedron"}, Family::Catalan, 24, {3, 4, 4, 4}},
        {N_("disdyakis dodecahedron"), "mC", {"hexakis octahedron", "kisrhombic dodecahedron"}, Family::Catalan, 48, {4, 6, 8}},
        {N_("pentagonal icositetrahedron"), "gC", {"pentagonal icosikaitetrahedron"}, Family::Catalan, 24, {3, 3, 3, 3, 4}},
        {N_("rhombic triacontahedron"), "jD", {}, Family::Catalan, 30, {3, 3, 5, 5}},
        {N_("triakis icosahedron"), "kI", {"kisicosahedron"}, Family::Catalan, 60, {3, 10, 10}},
        {N_("pentakis dodecahedron"), "kD", {"kisdodecahedron"}, Family::Catalan, 60, {5, 6, 6}},
        {N_("deltoidal hexecontahedron"), "oD", {"strombic hexecontahedron", "trapezoidal hexecontahedron"}, Family::Catalan, 60, {3, 4, 4, 5}},
        {N_("disdyakis triacontahedron"), "mD", {"hexakis icosahedron", "kisrhombic triacontahedron"}, Family::Catalan, 120, {4, 6, 10}},
        {N_("pentagonal hexecontahedron"), "gD", {}, Family::Catalan, 60, {3, 3, 3, 3, 5}},
    };
    return entries;
}

std::vector<CatalogueEntry> catalogueOf(const std::string& family) {
    std::vector<CatalogueEntry> out;
    const char* words[] = {"platonic", "archimedean", "catalan"};
    for (const CatalogueEntry& e : catalogue())
        if (family == "all" || family == words[int(e.family)]) out.push_back(e);
    return out;
}

const CatalogueEntry* findInCatalogue(const std::string& name) {
    const std::string wanted = lower(name);
    for (const CatalogueEntry& e : catalogue())
        if (name == e.notation || wanted == e.name ||
            std::find(e.otherNames.begin(), e.otherNames.end(), wanted) != e.otherNames.end())
            return &e;
    return nullptr;
}

}  // namespace pd
