#include "construct/catalogue.h"

#include <algorithm>
#include <cctype>

namespace pd {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

const std::vector<CatalogueEntry>& catalogue() {
    static const std::vector<CatalogueEntry> entries{
        {"tetrahedron", "T", {}, Family::Platonic, 4, {3, 3, 3}},
        {"cube", "C", {"hexahedron"}, Family::Platonic, 8, {4, 4, 4}},
        {"octahedron", "O", {}, Family::Platonic, 6, {3, 3, 3, 3}},
        {"dodecahedron", "D", {}, Family::Platonic, 20, {5, 5, 5}},
        {"icosahedron", "I", {}, Family::Platonic, 12, {3, 3, 3, 3, 3}},
        {"truncated tetrahedron", "tT", {}, Family::Archimedean, 12, {3, 6, 6}},
        {"cuboctahedron", "aC", {}, Family::Archimedean, 12, {3, 3, 4, 4}},
        {"truncated cube", "tC", {"truncated hexahedron"}, Family::Archimedean, 24, {3, 8, 8}},
        {"truncated octahedron", "tO", {}, Family::Archimedean, 24, {4, 6, 6}},
        {"rhombicuboctahedron", "eC", {"small rhombicuboctahedron"}, Family::Archimedean, 24, {3, 4, 4, 4}},
        {"truncated cuboctahedron", "bC", {"great rhombicuboctahedron", "rhombitruncated cuboctahedron"}, Family::Archimedean, 48, {4, 6, 8}},
        {"snub cube", "sC", {"snub cuboctahedron", "snub hexahedron"}, Family::Archimedean, 24, {3, 3, 3, 3, 4}},
        {"icosidodecahedron", "aD", {}, Family::Archimedean, 30, {3, 3, 5, 5}},
        {"truncated dodecahedron", "tD", {}, Family::Archimedean, 60, {3, 10, 10}},
        {"truncated icosahedron", "tI", {"football", "soccer ball"}, Family::Archimedean, 60, {5, 6, 6}},
        {"rhombicosidodecahedron", "eD", {"small rhombicosidodecahedron"}, Family::Archimedean, 60, {3, 4, 4, 5}},
        {"truncated icosidodecahedron", "bD", {"great rhombicosidodecahedron", "rhombitruncated icosidodecahedron"}, Family::Archimedean, 120, {4, 6, 10}},
        {"snub dodecahedron", "sD", {"snub icosidodecahedron"}, Family::Archimedean, 60, {3, 3, 3, 3, 5}},
        {"triakis tetrahedron", "kT", {"kistetrahedron"}, Family::Catalan, 12, {3, 6, 6}},
        {"rhombic dodecahedron", "jC", {}, Family::Catalan, 12, {3, 3, 4, 4}},
        {"triakis octahedron", "kO", {"kisoctahedron"}, Family::Catalan, 24, {3, 8, 8}},
        {"tetrakis hexahedron", "kC", {"tetrakis cube", "kiscube"}, Family::Catalan, 24, {4, 6, 6}},
        {"deltoidal icositetrahedron", "oC", {"strombic icositetrahedron", "trapezoidal icositetrahedron"}, Family::Catalan, 24, {3, 4, 4, 4}},
        {"disdyakis dodecahedron", "mC", {"hexakis octahedron", "kisrhombic dodecahedron"}, Family::Catalan, 48, {4, 6, 8}},
        {"pentagonal icositetrahedron", "gC", {"pentagonal icosikaitetrahedron"}, Family::Catalan, 24, {3, 3, 3, 3, 4}},
        {"rhombic triacontahedron", "jD", {}, Family::Catalan, 30, {3, 3, 5, 5}},
        {"triakis icosahedron", "kI", {"kisicosahedron"}, Family::Catalan, 60, {3, 10, 10}},
        {"pentakis dodecahedron", "kD", {"kisdodecahedron"}, Family::Catalan, 60, {5, 6, 6}},
        {"deltoidal hexecontahedron", "oD", {"strombic hexecontahedron", "trapezoidal hexecontahedron"}, Family::Catalan, 60, {3, 4, 4, 5}},
        {"disdyakis triacontahedron", "mD", {"hexakis icosahedron", "kisrhombic triacontahedron"}, Family::Catalan, 120, {4, 6, 10}},
        {"pentagonal hexecontahedron", "gD", {}, Family::Catalan, 60, {3, 3, 3, 3, 5}},
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
