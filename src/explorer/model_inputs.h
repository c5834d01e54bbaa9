#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "explorer/options.h"
#include "polyhedra/model.h"

namespace pd {

// The explorer's inputs, as named on its command line: nothing (the current
// directory's ten files), one directory (its ten files), or OFF files; and
// models built by Conway's operators or taken from the catalogue of named
// solids.
struct LoadedModels {
    std::vector<Model> models;
    bool directory = false;  // the five solids of the ten files come first
    // The ten files were read for the M of a notation and not shown: M is
    // the solid ModelRequest::solid names among them.
    bool solidIsM = false;
    // Things worth telling that belong to no model's own data: a model
    // left as it was because it has no canonical form.
    std::vector<std::string> notes;
    bool canonicalSkipped = false;  // ModelRequest::canonicalForms was false
};

// What to load.
struct ModelRequest {
    std::vector<std::string> inputs;  // as loadModelInputs takes them
    // False when `inputs` was chosen for the user (the current or the
    // installed folder): then, with notations or a catalogue, they are read
    // only for the M of a notation, and not shown.
    bool inputsNamed = true;
    std::vector<std::string> conway;  // notations, each a model after the inputs'
    std::string catalogue;            // platonic, archimedean, catalan or all; "" for none
    bool canonical = false;           // OFF models in canonical form too
    DualCentre centre = DualCentre::Midsphere;  // OFF models' reciprocal centre, when not canonical
    int solid = 0;                    // the ten files' solid M stands for (1..5; 0: the cube)
    // A notation that cannot be built is left out, its error among the
    // notes, rather than ending the load (a page opens without it).
    bool leaveOutRefused = false;
    // False when only the counts are wanted (--list): no canonical form is
    // sought, and the models are named as their canonical forms would be.
    bool canonicalForms = true;
};

// The most work one run may ask for in loading its models, in corners: those
// every operator of every notation makes, and for each model put in
// canonical form canonicalFormWeight times its own: the form takes tens of
// steps, each going over every corner several times, and costs about a
// hundred times what making a corner does. Within the bound a run takes
// seconds and a few hundred megabytes, not minutes and gigabytes.
constexpr double mostCorners = 50e6;
constexpr double canonicalFormWeight = 100;

// What `options` ask to load; `inputsNamed` false when the inputs are the
// folder chosen for the user.
ModelRequest modelRequest(const ExplorerOptions& options, bool inputsNamed = true);

// Loads the models the arguments name. A single argument that is a
// directory is read as the program's ten files; any other argument is an
// OFF file. An error naming the file and what is wrong (the first problem;
// nothing is shown then).
Result<LoadedModels> loadModelInputs(const std::vector<std::string>& inputs);

// Loads what `request` asks for: the inputs' models, then one per notation
// (named by it, numbered from 0, in canonical form), then the catalogue's
// (named by their names, canonical). A model whose canonical form is not
// found is kept as it was, with a note. An error for an input that cannot
// be read, or "--conway: ..." for the first notation that cannot be built
// (unless the request leaves it out); and, before any model is built (the
// OFF files only read), an error when the whole run would ask for more
// than mostCorners.
Result<LoadedModels> loadModels(const ModelRequest& request);

// The model `name` names: a loaded model's name, a catalogue name, other
// name or notation of a loaded model ("truncated icosahedron" and "tI"
// alike), or for the ten files an English name ("cube"); -1 for none.
int findModel(const LoadedModels& loaded, const std::string& name);

// One line per model, numbered from 1 in Tab's order: "3  tI (truncated
// icosahedron)  V 60  E 90  F 32", the solid's name in brackets where it
// is known and differs from the model's; the model's name escaped as
// printable() does.
std::string modelList(const LoadedModels& loaded);

// One line per thing worth telling about the loaded models: a vertex in no
// face (left out), one that is not closed and is shown without a dual, one whose reciprocal dual is missing
// and falls back to the program's, and the loading's notes. Empty for sound models.
std::vector<std::string> modelWarnings(const LoadedModels& loaded);

}  // namespace pd
