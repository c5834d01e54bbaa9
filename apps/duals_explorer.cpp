// duals-explorer [DIR | FILE.off ...]: the solids of the program's ten files
// (or of OFF files) with their duals, in a window to turn, compare and save.

#include <csignal>
#include <cstdio>
#include <future>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "base/printable.h"
#include "base/standard_output.h"
#include "explorer/data_folder.h"
#include "headless/headless.h"
#include "window/window.h"
#include "headless/headless_output.h"
#include "explorer/model_inputs.h"
#include "explorer/session.h"
#include "explorer/options.h"
#include "version.h"

namespace pd {

namespace {

int run(int argc, char** argv) {
    ParsedOptions parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc),
                                        std::string("duals-explorer ") + PD_VERSION);
    if (parsed.exitStatus) {
        if (*parsed.exitStatus == 0) {
            std::fputs(parsed.text.c_str(), stdout);
        } else {
            // The first line says what was wrong and may quote what was
            // given; the usage line after it is the program's own.
            const std::size_t end = parsed.text.find('\n');
            std::fprintf(stderr, "duals-explorer: %s%s", printable(parsed.text.substr(0, end)).c_str(),
                         end == std::string::npos ? "\n" : parsed.text.c_str() + end);
        }
        return *parsed.exitStatus;
    }
    // No input named: the current folder's ten files, else the installed ones.
    if (parsed.options.inputs.empty()) {
        const DataFolder folder = chooseDataFolder(ownExecutable(), ".");
        if (folder.installed) {
            std::fprintf(stderr, "duals-explorer: the ten files are not in the current folder; using %s\n",
                         printable(folder.path).c_str());
            parsed.options.inputs = {folder.path};
        }
    }
    const ExplorerOptions& options = parsed.options;
    // Reads the inputs and tells what is wrong with them, or worth telling:
    // the status to leave with, or none to go on.
    auto load = [&options](LoadedModels& loaded) -> std::optional<int> {
        Result<LoadedModels> read = loadModelInputs(options.inputs);
        if (!read) {
            std::fprintf(stderr, "duals-explorer: %s\n", read.error().text().c_str());
            return 2;
        }
        loaded = std::move(*read);
        if (loaded.models.empty()) {
            std::fprintf(stderr, "duals-explorer: no model to show\n");
            return 2;
        }
        for (const std::string& line : modelWarnings(loaded))
            std::fprintf(stderr, "duals-explorer: %s\n", printable(line).c_str());
        return std::nullopt;
    };
    // The session the options open, or the status to leave with.
    auto open = [&options, &load](Session::Work work) -> std::pair<std::unique_ptr<Session>, std::optional<int>> {
        LoadedModels loaded;
        if (const std::optional<int> exitStatus = load(loaded)) return {nullptr, exitStatus};
        const Result<ViewState> start = startState(options, loaded);
        if (!start) {
            std::fprintf(stderr, "duals-explorer: %s\n", start.error().text().c_str());
            return {nullptr, 2};
        }
        return {std::make_unique<Session>(std::move(loaded), *start, work), std::nullopt};
    };
    if (options.output != OutputKind::Window) {
        auto [session, exitStatus] = open(Session::Work::Waited);
        if (exitStatus) return *exitStatus;
        if (options.output == OutputKind::Info) {
            const Result<std::string> text = infoText(*session);
            if (!text) {
                std::fprintf(stderr, "duals-explorer: %s\n", text.error().text().c_str());
                return 2;
            }
            std::fputs(text->c_str(), stdout);
            return 0;
        }
        const Status written = runHeadless(options, *session);
        if (written) return 0;
        std::fprintf(stderr, "duals-explorer: %s\n", written.error().text().c_str());
        return 2;
    }
    // Big models take about as long to read as GLUT takes to start, so the
    // two overlap: the models load on a second thread meanwhile.
    std::future<WindowInputs> pending = std::async(std::launch::async, [&open] {
        WindowInputs inputs;
        inputs.report = [](const Result<std::string>& said) {
            if (said) {
                std::printf("%s\n", printable(*said).c_str());
                std::fflush(stdout);
            } else {
                std::fprintf(stderr, "duals-explorer: %s\n", said.error().text().c_str());
            }
        };
        auto [session, exitStatus] = open(Session::Work::InBackground);
        inputs.session = std::move(session);
        inputs.exitStatus = exitStatus;
        return inputs;
    });
    return runExplorerWindow(argv[0], [&pending] { return pending.get(); });
}

}  // namespace

}  // namespace pd

using namespace pd;

int main(int argc, char** argv) {
    // A file-size limit fails a write (reported) instead of killing the run.
    holdStandardDescriptors();
    std::signal(SIGXFSZ, SIG_IGN);
    // Memory running out anywhere (a huge model, a huge picture) ends the
    // run with one line and status 2; what unwinding passes removes the
    // files it was writing.
    int status = 0;
    try {
        status = run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("duals-explorer: out of memory\n", stderr);
        return 2;
    }
    // Counts, help or a picture on standard output that did not all arrive
    // is a failure, whatever the run made of it.
    if (const Status flushed = flushStandardOutput(); !flushed) {
        std::fprintf(stderr, "duals-explorer: %s\n", flushed.error().text().c_str());
        return 2;
    }
    return status;
}
