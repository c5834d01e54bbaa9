#include "explorer/model_picker.h"

#include <cstdio>

#include "base/translate.h"
#include "construct/catalogue.h"
#include "construct/conway.h"

namespace pd {

namespace {

struct FamilyEntry {
    const char* notation;  // before the number of sides
    const char* label;
};

// The families a number of sides makes, each with its dual after it.
const FamilyEntry families[] = {
    {"P", N_("prism")},
    {"dP", N_("bipyramid (the prism's dual)")},
    {"A", N_("antiprism")},
    {"dA", N_("trapezohedron (the antiprism's dual)")},
    {"Y", N_("pyramid")},
    {"dY", N_("pyramid's dual (a pyramid again)")},
};

const char* const regular[] = {N_("tetrahedron"), N_("cube"), N_("octahedron"), N_("dodecahedron"), N_("icosahedron")};

const char* familyWord(Family family) { return family == Family::Archimedean ? "archimedean" : "catalan"; }

}  // namespace

std::vector<PickerEntry> pickerEntries(const std::vector<std::string>& openedFiles) {
    std::vector<PickerEntry> entries;
    for (int k = 0; k < 5; ++k) entries.push_back({tr("Regular solids"), tr(regular[k]), "solid:" + std::to_string(k + 1)});
    for (const Family family : {Family::Archimedean, Family::Catalan})
        for (const CatalogueEntry& e : catalogue())
            if (e.family == family)
                entries.push_back({family == Family::Archimedean ? tr("Archimedean solids") : tr("Catalan solids"), tr(e.name),
                                   std::string(familyWord(family)) + ":" + e.notation});
    for (const FamilyEntry& f : families)
        entries.push_back({tr("Prisms, antiprisms, pyramids"), tr(f.label), std::string("family:") + f.notation});
    for (const std::string& name : openedFiles) entries.push_back({tr("Opened files"), name, "file:" + name});
    return entries;
}

Result<std::string> entryQuery(const std::string& id, int sides) {
    const std::size_t colon = id.find(':');
    const std::string kind = id.substr(0, colon), name = colon == std::string::npos ? "" : id.substr(colon + 1);
    if (kind == "solid" && name.size() == 1 && name[0] >= '1' && name[0] <= '5') return "solid=" + name;
    if (kind == "archimedean" || kind == "catalan") {
        const CatalogueEntry* e = findInCatalogue(name);
        if (e && e->notation == name && familyWord(e->family) == kind)
            return "catalogue=" + kind + "&model=" + queryEscaped(e->name);
    }
    if (kind == "family")
        for (const FamilyEntry& f : families)
            if (name == f.notation) {
                if (sides < fewestSides || sides > mostSides)
                    return failure(fill(tr("the number of sides must be {1} to {2}"),
                                        {std::to_string(fewestSides), std::to_string(mostSides)}));
                return "conway=" + name + std::to_string(sides);
            }
    return failure(fill(tr("no model '{1}' to choose"), {id}));
}

Status checkNotation(const std::string& notation) {
    const Polyhedron cube = conwaySeed('C');
    const Result<ConwayWork> work = conwayWork(notation, &cube);
    if (!work) return failure("--conway: " + work.error().what);
    if (!work->firstTooMany.empty()) {
        // Refused before anything is built: the command line's own words.
        const Result<Polyhedron> refused = conwayModel(notation, &cube);
        if (!refused) return failure("--conway: " + refused.error().what);
    }
    return Done{};
}

std::string queryEscaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
            std::string("-._~:,").find(c) != std::string::npos) {
            out += c;
        } else if (c == ' ') {
            out += '+';
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", u);
            out += hex;
        }
    }
    return out;
}

}  // namespace pd
