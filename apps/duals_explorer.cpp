// duals-explorer [DIR | FILE.off ...]: the solids of the program's ten files
// (or of OFF files) with their duals, in a window to turn, compare and save.

#include <csignal>
#include <malloc.h>
#include <cstdio>
#include <future>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "base/language.h"
#include "base/printable.h"
#include "base/standard_output.h"
#include "base/translate.h"
#include "explorer/data_folder.h"
#include "view/highlight.h"
#include "headless/headless.h"
#include "window/window.h"
#include "headless/headless_output.h"
#include "explorer/model_inputs.h"
#include "explorer/session.h"
#include "explorer/options.h"
#include "version.h"

namespace pd {

namespace {

// Prints what the command line ends with at once: the help or version on
// standard output; what was wrong and the usage line on standard error.
int printParseEnd(const ParsedOptions& parsed) {
    if (*parsed.exitStatus == 0) {
        std::fputs(parsed.text.c_str(), stdout);
    } else {
        // The first line says what was wrong and may quote what was given;
        // the usage line after it is the program's own.
        const std::size_t end = parsed.text.find('\n');
        std::fprintf(stderr, "duals-explorer: %s%s", printable(parsed.text.substr(0, end)).c_str(),
                     end == std::string::npos ? "\n" : parsed.text.c_str() + end);
    }
    return *parsed.exitStatus;
}

void printError(const Error& error) { std::fprintf(stderr, "duals-explorer: %s\n", error.text().c_str()); }

// The session the options open, telling what is wrong with the inputs, or
// worth telling; or the status to leave with.
std::pair<std::unique_ptr<Session>, std::optional<int>> openSession(const ExplorerOptions& options,
                                                                     bool inputsNamed, Session::Work work) {
    Result<LoadedModels> read = loadModels(modelRequest(options, inputsNamed));
    if (!read) return printError(read.error()), std::pair{nullptr, 2};
    if (read->models.empty()) return printError(failure(tr("no model to show"))), std::pair{nullptr, 2};
    for (const std::string& line : modelWarnings(*read))
        std::fprintf(stderr, "duals-explorer: %s\n", printable(line).c_str());
    const Result<ViewState> start = startState(options, *read);
    if (!start) return printError(start.error()), std::pair{nullptr, 2};
    auto session = std::make_unique<Session>(std::move(*read), *start, work);
    session->setNetSettings(options.net);
    return {std::move(session), std::nullopt};
}

// --info, or the files the options ask for.
int runWithoutWindow(const ExplorerOptions& options, bool inputsNamed) {
#if defined(M_MMAP_THRESHOLD) && defined(M_TRIM_THRESHOLD)
    // A run without a window: what one step frees (a face order's pools, the
    // model's scaffolding) is kept for the next step's arrays rather than
    // handed back, as large blocks are by default, and asked for again as
    // new pages, which the kernel must clear: on a virtual machine that
    // is a large share of a large picture's time (see bench/README.md).
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
    auto [session, exitStatus] = openSession(options, inputsNamed, Session::Work::Waited);
    if (exitStatus) return *exitStatus;
    if (options.output == OutputKind::Info) {
        const Result<std::string> text = infoText(*session);
        if (!text) return printError(text.error()), 2;
        std::fputs(text->c_str(), stdout);
        if (options.pick)
            std::printf("%s\n", printable(litText(session->model(), session->partAt(options.pickX, options.pickY))).c_str());
        return 0;
    }
    if (options.output == OutputKind::List) {
        std::fputs(modelList(session->loaded()).c_str(), stdout);
        return 0;
    }
    std::vector<std::string> notes;
    const Status written = runHeadless(options, *session, &notes);
    if (!written) return printError(written.error()), 2;
    for (const std::string& note : notes) std::fprintf(stderr, "duals-explorer: %s\n", printable(note).c_str());
    return 0;
}

int run(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    // The language first: the help and every message after it speak it. A
    // --lang of no language is refused with the other options, as the page
    // refuses its lang=.
    const std::string forced = languageOption(args);
    chooseLanguage(knownLanguage(forced) ? forced : "");
    ParsedOptions parsed = parseOptions(args, std::string("duals-explorer ") + PD_VERSION);
    if (parsed.exitStatus) return printParseEnd(parsed);
    // No input named: the current folder's ten files, else the installed
    // ones; only for M when the models are built ones.
    const bool inputsNamed = !parsed.options.inputs.empty();
    const bool built = !parsed.options.conway.empty() || !parsed.options.catalogue.empty();
    bool needed = !built;
    for (const std::string& notation : parsed.options.conway) needed = needed || notation.find('M') != std::string::npos;
    if (!inputsNamed && needed) {
        const DataFolder folder = chooseDataFolder(ownExecutable(), ".");
        // Told only when they are what is shown: read for the M of a
        // notation, they are no surprise worth a line on every run.
        if (folder.installed && !built)
            std::fprintf(stderr, "duals-explorer: %s\n",
                         fill(tr("the ten files are not in the current folder; using {1}"), {printable(folder.path)}).c_str());
        if (folder.installed) parsed.options.inputs = {folder.path};
    }
    const ExplorerOptions& options = parsed.options;
    if (options.output != OutputKind::Window) return runWithoutWindow(options, inputsNamed);
    // Big models take about as long to read as GLUT takes to start, so the
    // two overlap: the models load on a second thread meanwhile.
    std::future<WindowInputs> pending = std::async(std::launch::async, [&options, inputsNamed] {
        WindowInputs inputs;
        inputs.report = [](const Result<std::string>& said) {
            if (!said) return printError(said.error());
            std::printf("%s\n", printable(*said).c_str());
            std::fflush(stdout);
        };
        auto [session, exitStatus] = openSession(options, inputsNamed, Session::Work::InBackground);
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
#ifdef M_ARENA_MAX
    // One heap for both threads: what the loading thread frees (the file's
    // text, the model's scaffolding) is then there for the window's own
    // buffers, rather than kept in a heap of its own.
    mallopt(M_ARENA_MAX, 1);
#endif
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
