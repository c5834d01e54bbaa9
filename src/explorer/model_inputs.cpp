#include "explorer/model_inputs.h"

#include <sys/stat.h>

#include <cctype>
#include <filesystem>

#include "base/printable.h"
#include "base/translate.h"
#include "io/off_reader.h"
#include "io/stl_reader.h"
#include "construct/canonical_form.h"
#include "construct/catalogue.h"
#include "construct/conway.h"
#include "polyhedra/model_loading.h"
#include "polyhedra/shell_counts.h"

namespace pd {

namespace {

bool isDirectory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The solid kind (1..5) an English name stands for, 0 for none: the key
// list says "Cube" where the menu word is "heksaedar".
int englishSolid(std::string name) {
    for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
    const char* names[] = {"tetrahedron", "cube", "octahedron", "dodecahedron", "icosahedron"};
    for (int k = 0; k < 5; ++k)
        if (name == names[k]) return k + 1;
    return name == "hexahedron" ? 2 : 0;
}

// The unit midsphere about the origin a canonical model's dual is taken about.
DualSphere unitMidsphere() {
    DualSphere sphere;
    sphere.hasGiven = true;
    return sphere;
}

// `shape` moved into canonical form, numbered from 0 and named `name`;
// as it was, with a note, when the form is not found.
Model canonicalModel(const std::string& name, Polyhedron shape, DualCentre centre, std::vector<std::string>& notes) {
    const std::vector<Edge> edges = deriveEdges(shape);
    // An open model is told of as such when loaded.
    if (!closednessOf(edgeTopology(shape), 0).closed) return buildModel(name, std::move(shape), 0, 0, DualSphere{centre});
    const CanonicalForm form = canonicalForm(shape, edges);
    if (!form.converged) {
        notes.push_back(fill(tr("{1}: no canonical form found in {2} steps; shown as it is"),
                             {tr(name.c_str()), std::to_string(form.iterations)}));
        return buildModel(name, std::move(shape), 0, 0, DualSphere{centre}, false);
    }
    for (std::size_t v = 0; v < shape.vertices.size(); ++v)
        shape.vertices[v] = {float(form.vertices[v].x), float(form.vertices[v].y), float(form.vertices[v].z)};
    Model model = buildModel(name, std::move(shape), 0, 0, unitMidsphere(), false);
    // Kept for the OFF file, unless a vertex in no face was dropped (and
    // the rest renumbered).
    if (model.solid.vertices.size() == form.vertices.size()) model.exactVertices = form.vertices;
    return model;
}

bool usesM(const std::vector<std::string>& notations) {
    for (const std::string& n : notations)
        if (n.find('M') != std::string::npos) return true;
    return false;
}

// Whether the notations and catalogue of `request` (M standing for `m`),
// with `work` asked for already, stay within mostCorners; counted from the
// notations alone, nothing built. A notation that cannot be read is left
// for its building to name.
Status withinBound(const ModelRequest& request, const Polyhedron& m, double work) {
    const double weight = request.canonicalForms ? canonicalFormWeight : 0.0;
    std::vector<std::string> notations = request.conway;
    for (const CatalogueEntry& entry : catalogueOf(request.catalogue)) notations.push_back(entry.notation);
    for (const std::string& notation : notations) {
        const Result<ConwayWork> one = conwayWork(notation, &m);
        if (one) work += one->made + weight * one->corners;
    }
    if (work > mostCorners)
        return failure(fill(tr("the models asked for would make more than 50000000 corners in all (the canonical form "
                               "counting {1} for each corner of its model)"),
                            {std::to_string(int(canonicalFormWeight))}));
    return Done{};
}

// The OFF files `request` names, as models into `out`: as read, or each
// put in canonical form once the whole run is known to stay within the
// bound, its share of the work added to `work`. The first file that cannot
// be read gives its error.
Status loadOffInputs(const ModelRequest& request, LoadedModels& out, double& work) {
    const std::vector<std::string>& inputs = request.inputs;
    out.models.reserve(inputs.size());
    std::vector<Polyhedron> toCanonical;
    for (const std::string& path : inputs) {
        if (!request.canonical || !request.canonicalForms) {
            Result<Model> model = loadOffModel(path, DualSphere{request.centre}, false);
            if (!model) return model.error();
            out.models.push_back(std::move(*model));
            continue;
        }
        Result<Polyhedron> shape = loadShapeFile(path);
        if (!shape) return shape.error();
        work += canonicalFormWeight * double(shape->corners.size());
        toCanonical.push_back(std::move(*shape));
    }
    if (!toCanonical.empty()) {
        const Status bounded = withinBound(request, toCanonical.front(), work);
        if (!bounded) return bounded.error();
        for (std::size_t i = 0; i < toCanonical.size(); ++i)
            out.models.push_back(canonicalModel(std::filesystem::path(inputs[i]).stem().string(),
                                                std::move(toCanonical[i]), request.centre, out.notes));
    }
    return Done{};
}

// The model M stands for in a notation: the first OFF model, or solid
// `solid` (1..5, else the cube) of the ten files; null with no model.
const Model* modelM(const LoadedModels& loaded, int solid) {
    if (loaded.models.empty()) return nullptr;
    const int kind = solid >= 1 && solid <= 5 ? solid : 2;
    const Model* m = &loaded.models.front();
    for (const Model& model : loaded.models)
        if (loaded.directory && model.solidKind == kind) m = &model;
    return m;
}

}  // namespace

ModelRequest modelRequest(const ExplorerOptions& options, bool inputsNamed) {
    ModelRequest request;
    request.inputs = options.inputs;
    request.inputsNamed = inputsNamed;
    request.conway = options.conway;
    request.catalogue = options.catalogue;
    request.canonical = options.canonical;
    if (options.centre) request.centre = *options.centre;
    request.solid = options.solid;
    request.canonicalForms = options.output != OutputKind::List;
    return request;
}

Result<LoadedModels> loadModelInputs(const std::vector<std::string>& inputs) {
    ModelRequest request;
    request.inputs = inputs;
    return loadModels(request);
}

Result<LoadedModels> loadModels(const ModelRequest& request) {
    LoadedModels out;
    double work = 0;  // the canonical OFF models' share of the bound
    const bool others = !request.conway.empty() || !request.catalogue.empty();
    const bool readInputs = request.inputsNamed || !others || usesM(request.conway);
    const std::vector<std::string>& inputs = request.inputs;
    if (readInputs && (inputs.empty() || (inputs.size() == 1 && isDirectory(inputs[0])))) {
        out.directory = true;
        Result<std::vector<Model>> models = loadDirectoryModels(inputs.empty() ? std::string(".") : inputs[0]);
        if (!models) return models.error();
        out.models = std::move(*models);
    } else if (readInputs) {
        const Status loaded = loadOffInputs(request, out, work);
        if (!loaded) return loaded.error();
    }
    const Model* m = modelM(out, request.solid);
    if (m) {
        const Status bounded = withinBound(request, m->solid, work);
        if (!bounded) return bounded.error();
    } else {
        const Status bounded = withinBound(request, Polyhedron{}, work);
        if (!bounded) return bounded.error();
    }
    out.canonicalSkipped = !request.canonicalForms;
    auto finish = [&](const std::string& name, Polyhedron shape) {
        if (request.canonicalForms) return canonicalModel(name, std::move(shape), request.centre, out.notes);
        return buildModel(name, std::move(shape), 0, 0, unitMidsphere(), false);
    };
    std::vector<Model> built;
    for (const std::string& notation : request.conway) {
        Result<Polyhedron> shape = conwayModel(notation, m ? &m->solid : nullptr);
        if (!shape && request.leaveOutRefused) {
            out.notes.push_back("--conway: " + shape.error().what);
            continue;
        }
        if (!shape) return failure("--conway: " + shape.error().what);
        built.push_back(finish(notation, std::move(*shape)));
        built.back().notation = notation;
    }
    for (const CatalogueEntry& entry : catalogueOf(request.catalogue)) {
        Result<Polyhedron> shape = conwayModel(entry.notation, nullptr);
        if (!shape) return failure(std::string("--catalogue: ") + tr(entry.name) + ": " + shape.error().what);
        built.push_back(finish(entry.name, std::move(*shape)));
        built.back().notation = entry.notation;
    }
    if (!request.inputsNamed && others) {
        // The folder was read only for M.
        out.solidIsM = out.directory && usesM(request.conway);
        out.models.clear();
        out.directory = false;
    }
    for (Model& model : built) out.models.push_back(std::move(model));
    return out;
}

int findModel(const LoadedModels& loaded, const std::string& name) {
    for (std::size_t i = 0; i < loaded.models.size(); ++i)
        if (loaded.models[i].name == name) return int(i);
    if (const CatalogueEntry* entry = findInCatalogue(name))
        for (std::size_t i = 0; i < loaded.models.size(); ++i) {
            const Model& m = loaded.models[i];
            if (m.notation == entry->notation || m.name == entry->name) return int(i);
        }
    const int kind = loaded.directory ? englishSolid(name) : 0;
    for (std::size_t i = 0; i < loaded.models.size(); ++i)
        if (kind != 0 && loaded.models[i].solidKind == kind) return int(i);
    return -1;
}

std::string modelList(const LoadedModels& loaded) {
    std::string text;
    for (std::size_t i = 0; i < loaded.models.size(); ++i) {
        const Model& m = loaded.models[i];
        const ShellCounts counts = countShell(m.solid, m.edges);
        // A name is the file's: a line break in it would forge a line, an
        // escape sequence reach the terminal.
        std::string name = printable(tr(m.name.c_str()));
        std::string known = counts.name;
        // The canonical form of a solid with these faces is that solid.
        const std::string loose = fill(tr("{1} (combinatorially)"), {""});
        if (loaded.canonicalSkipped && known.size() > loose.size() &&
            known.compare(known.size() - loose.size(), loose.size(), loose) == 0)
            known.resize(known.size() - loose.size());
        if (!known.empty() && known != tr(m.name.c_str())) name += " (" + known + ")";
        text += std::to_string(i + 1) + "  " + name + "  " + countsMark(CountsMark::Vertices) + " " + std::to_string(counts.vertices) +
                "  " + countsMark(CountsMark::Edges) + " " + std::to_string(counts.edges) + "  " + countsMark(CountsMark::Faces) +
                " " + std::to_string(counts.faces) + "\n";
    }
    return text;
}

std::vector<std::string> modelWarnings(const LoadedModels& loaded) {
    std::vector<std::string> lines;
    for (const Model& m : loaded.models) {
        const std::string name = tr(m.name.c_str());
        if (!m.lonelyVertexNote.empty()) lines.push_back(name + ": " + m.lonelyVertexNote);
        if (!m.closed)
            lines.push_back(fill(tr("{1}: not closed, shown without a dual: {2}"), {name, m.openEdgeMessage}));
        else if (!m.hasReciprocal && !m.reciprocalMessage.empty())
            lines.push_back(fill(tr("{1}: no reciprocal dual, the program's is shown: {2}"), {name, m.reciprocalMessage}));
    }
    lines.insert(lines.end(), loaded.notes.begin(), loaded.notes.end());
    return lines;
}

}  // namespace pd
