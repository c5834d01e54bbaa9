// duals-explorer [DIR | FILE.off ...]: the solids of the program's ten files
// (or of OFF files) with their duals, in a window to turn, compare and save.

#include <cstdio>
#include <string>
#include <vector>

#include "explorer/gl/window.h"
#include "explorer/model_inputs.h"

int main(int argc, char** argv) {
    const std::vector<std::string> inputs(argv + 1, argv + argc);
    LoadedModels loaded;
    std::string error;
    if (!loadModelInputs(inputs, loaded, error)) {
        std::fprintf(stderr, "duals-explorer: %s\n", error.c_str());
        return 2;
    }
    if (loaded.models.empty()) {
        std::fprintf(stderr, "duals-explorer: no model to show\n");
        return 2;
    }
    for (const std::string& line : modelWarnings(loaded))
        std::fprintf(stderr, "duals-explorer: %s\n", line.c_str());
    const ViewState start = initialViewState(!loaded.directory);
    return runExplorerWindow(1, argv, std::move(loaded), start);
}
