// duals-explorer [DIR | FILE.off ...]: the solids of the program's ten files
// (or of OFF files) with their duals, in a window to turn, compare and save.

#include <cstdio>
#include <string>
#include <vector>

#include "explorer/gl/headless.h"
#include "explorer/gl/window.h"
#include "explorer/headless_output.h"
#include "explorer/model_inputs.h"
#include "explorer/options.h"

int main(int argc, char** argv) {
    const ParsedOptions parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.status >= 0) {
        std::fputs(parsed.text.c_str(), parsed.status == 0 ? stdout : stderr);
        return parsed.status;
    }
    const ExplorerOptions& options = parsed.options;
    LoadedModels loaded;
    std::string error;
    if (!loadModelInputs(options.inputs, loaded, error)) {
        std::fprintf(stderr, "duals-explorer: %s\n", error.c_str());
        return 2;
    }
    if (loaded.models.empty()) {
        std::fprintf(stderr, "duals-explorer: no model to show\n");
        return 2;
    }
    for (const std::string& line : modelWarnings(loaded))
        std::fprintf(stderr, "duals-explorer: %s\n", line.c_str());
    if (options.output != OutputKind::Window) return runHeadless(options, loaded);
    ViewState start;
    if (!stateFromOptions(options, loaded, start, error)) {
        std::fprintf(stderr, "duals-explorer: %s\n", error.c_str());
        return 2;
    }
    return runExplorerWindow(1, argv, std::move(loaded), start);
}
