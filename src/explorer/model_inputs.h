#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "mesh/model.h"

namespace pd {

// The explorer's inputs, as named on its command line: nothing (the current
// directory's ten files), one directory (its ten files), or OFF files.
struct LoadedModels {
    std::vector<Model> models;
    bool directory = false;  // the five solids of the ten files
};

// Loads the models the arguments name. A single argument that is a
// directory is read as the program's ten files; any other argument is an
// OFF file. An error naming the file and what is wrong (the first problem;
// nothing is shown then).
Result<LoadedModels> loadModelInputs(const std::vector<std::string>& inputs);

// One line per thing worth telling about the loaded models: a vertex in no
// face (left out), one that is not closed and is shown without a dual, one whose reciprocal dual is missing
// and falls back to the program's. Empty for sound models.
std::vector<std::string> modelWarnings(const LoadedModels& loaded);

}  // namespace pd
