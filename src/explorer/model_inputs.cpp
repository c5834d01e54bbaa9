#include "explorer/model_inputs.h"

#include <sys/stat.h>

#include "mesh/model_loading.h"

namespace pd {

namespace {

bool isDirectory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

Result<LoadedModels> loadModelInputs(const std::vector<std::string>& inputs) {
    LoadedModels out;
    if (inputs.empty() || (inputs.size() == 1 && isDirectory(inputs[0]))) {
        out.directory = true;
        Result<std::vector<Model>> models = loadDirectoryModels(inputs.empty() ? std::string(".") : inputs[0]);
        if (!models) return models.error();
        out.models = std::move(*models);
        return out;
    }
    out.models.reserve(inputs.size());
    for (const std::string& path : inputs) {
        Result<Model> model = loadOffModel(path);
        if (!model) return model.error();
        out.models.push_back(std::move(*model));
    }
    return out;
}

std::vector<std::string> modelWarnings(const LoadedModels& loaded) {
    std::vector<std::string> lines;
    for (const Model& m : loaded.models) {
        if (!m.lonelyVertexNote.empty()) lines.push_back(m.name + ": " + m.lonelyVertexNote);
        if (!m.closed)
            lines.push_back(m.name + ": not closed, shown without a dual: " + m.openEdgeMessage);
        else if (!m.hasReciprocal && !m.reciprocalMessage.empty())
            lines.push_back(m.name + ": no reciprocal dual, the program's is shown: " +
                            m.reciprocalMessage);
    }
    return lines;
}

}  // namespace pd
