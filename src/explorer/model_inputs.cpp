#include "explorer/model_inputs.h"

#include <sys/stat.h>

#include "mesh/model_loading.h"

namespace {

bool isDirectory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool loadModelInputs(const std::vector<std::string>& inputs, LoadedModels& out, std::string& error) {
    out = LoadedModels{};
    if (inputs.empty() || (inputs.size() == 1 && isDirectory(inputs[0]))) {
        out.directory = true;
        return loadDirectoryModels(inputs.empty() ? std::string(".") : inputs[0], out.models, error);
    }
    out.models.reserve(inputs.size());
    for (const std::string& path : inputs) {
        Model model;
        if (!loadOffModel(path, model, error)) return false;
        out.models.push_back(std::move(model));
    }
    return true;
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
