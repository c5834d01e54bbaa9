// duals-explorer [DIR | FILE.off ...]: the solids of the program's ten files
// (or of OFF files) with their duals, in a window to turn, compare and save.

#include <cstdio>
#include <future>
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
    // Reads the inputs and tells what is wrong with them, or worth telling:
    // the status to leave with, or -1 to go on.
    auto load = [&options](LoadedModels& loaded) {
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
        return -1;
    };
    if (options.output == OutputKind::Info) {
        LoadedModels loaded;
        const int status = load(loaded);
        if (status >= 0) return status;
        std::string text, error;
        if (!infoText(options, loaded, text, error)) {
            std::fprintf(stderr, "duals-explorer: %s\n", error.c_str());
            return 2;
        }
        std::fputs(text.c_str(), stdout);
        return 0;
    }
    if (options.output != OutputKind::Window) {
        LoadedModels loaded;
        const int status = load(loaded);
        return status >= 0 ? status : runHeadless(options, loaded);
    }
    // Big models take about as long to read as GLUT takes to start, so the
    // two overlap: the models load on a second thread meanwhile.
    std::future<WindowInputs> pending = std::async(std::launch::async, [&options, &load] {
        WindowInputs inputs;
        inputs.status = load(inputs.loaded);
        std::string error;
        if (inputs.status < 0 && !stateFromOptions(options, inputs.loaded, inputs.start, error)) {
            std::fprintf(stderr, "duals-explorer: %s\n", error.c_str());
            inputs.status = 2;
        }
        return inputs;
    });
    return runExplorerWindow(1, argv, [&pending] { return pending.get(); });
}
