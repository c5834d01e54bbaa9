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
        {"tetrahedron", "T", {}, Family::Platonic},
        {"cube", "C", {"hexahedron"}, Family::Platonic},
        {"octahedron", "O", {}, Family::Platonic},
        {"dodecahedron", "D", {}, Family::Platonic},
        {"icosahedron", "I", {}, Family::Platonic},
        {"truncated tetrahedron", "tT", {}, Family::Archimedean},
        {"cuboctahedron", "aC", {}, Family::Archimedean},
        {"truncated cube", "tC", {"truncated hexahedron"}, Family::Archimedean},
        {"truncated octahedron", "tO", {}, Family::Archimedean},
        {"rhombicuboctahedron", "eC", {"small rhombicuboctahedron"}, Family::Archimedean},
        {"truncated cuboctahedron", "bC", {"great rhombicuboctahedron", "rhombitruncated cuboctahedron"}, Family::Archimedean},
        {"snub cube", "sC", {"snub cuboctahedron", "snub hexahedron"}, Family::Archimedean},
        {"icosidodecahedron", "aD", {}, Family::Archimedean},
        {"truncated dodecahedron", "tD", {}, Family::Archimedean},
        {"truncated icosahedron", "tI", {"football", "soccer ball"}, Family::Archimedean},
        {"rhombicosidodecahedron", "eD", {"small rhombicosidodecahedron"}, Family::Archimedean},
        {"truncated icosidodecahedron", "bD", {"great rhombicosidodecahedron", "rhombitruncated icosidodecahedron"}, Family::Archimedean},
        {"snub dodecahedron", "sD", {"snub icosidodecahedron"}, Family::Archimedean},
        {"triakis tetrahedron", "kT", {"kistetrahedron"}, Family::Catalan},
        {"rhombic dodecahedron", "jC", {}, Family::Catalan},
        {"triakis octahedron", "kO", {"kisoctahedron"}, Family::Catalan},
        {"tetrakis hexahedron", "kC", {"tetrakis cube", "kiscube"}, Family::Catalan},
        {"deltoidal icositetrahedron", "oC", {"strombic icositetrahedron", "trapezoidal icositetrahedron"}, Family::Catalan},
        {"disdyakis dodecahedron", "mC", {"hexakis octahedron", "kisrhombic dodecahedron"}, Family::Catalan},
        {"pentagonal icositetrahedron", "gC", {"pentagonal icosikaitetrahedron"}, Family::Catalan},
        {"rhombic triacontahedron", "jD", {}, Family::Catalan},
        {"triakis icosahedron", "kI", {"kisicosahedron"}, Family::Catalan},
        {"pentakis dodecahedron", "kD", {"kisdodecahedron"}, Family::Catalan},
        {"deltoidal hexecontahedron", "oD", {"strombic hexecontahedron", "trapezoidal hexecontahedron"}, Family::Catalan},
        {"disdyakis triacontahedron", "mD", {"hexakis icosahedron", "kisrhombic triacontahedron"}, Family::Catalan},
        {"pentagonal hexecontahedron", "gD", {}, Family::Catalan},
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
