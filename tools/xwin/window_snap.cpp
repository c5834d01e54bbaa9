// window-snap: waits for a window with a given title, waits until its
// picture is drawn, saves it as a PNG and, if asked, closes the window.
//
//   window-snap --title TITLE|--program --png FILE [--timeout SECONDS] [--close]
//
// --program stands for the console program's window title.
//
// Exit status 0 on success, 1 when something went wrong (with a message on
// standard error), 2 for a bad command line.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "geometry/program_window.h"
#include "xwindow.h"

namespace pd {

namespace {

struct Options {
    std::string title;
    std::string png;
    double timeout = 30.0;
    bool close = false;
};

const char* usage =
    "usage: window-snap --title TITLE|--program --png FILE [--timeout SECONDS] [--close]\n"
    "  Waits up to SECONDS (default 30) for the window titled TITLE (--program:\n"
    "  the console program's window) and for its\n"
    "  picture to be drawn, saves the picture to FILE, and with --close asks the\n"
    "  window to close (WM_DELETE_WINDOW).\n";

// Reads the command line into `options`; false, with a message, when it is
// not understood.
bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--title" && hasValue) {
            options.title = argv[++i];
        } else if (arg == "--program") {
            options.title = programWindowTitle;
        } else if (arg == "--png" && hasValue) {
            options.png = argv[++i];
        } else if (arg == "--timeout" && hasValue) {
            char* end = nullptr;
            options.timeout = std::strtod(argv[++i], &end);
            if (end == argv[i] || *end != '\0' || !(options.timeout > 0.0)) {
                std::fprintf(stderr, "window-snap: --timeout needs a positive number of seconds\n");
                return false;
            }
        } else if (arg == "--close") {
            options.close = true;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(usage, stdout);
            std::exit(0);
        } else {
            std::fprintf(stderr, "window-snap: unexpected argument \"%s\"\n", arg.c_str());
            return false;
        }
    }
    if (options.title.empty() || options.png.empty()) {
        std::fprintf(stderr, "window-snap: --title (or --program) and --png are required\n");
        return false;
    }
    return true;
}

}  // namespace

}  // namespace pd

using namespace pd;

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fputs(usage, stderr);
        return 2;
    }
    try {
        XSession x;
        const auto window = x.waitForWindow(options.title, options.timeout);
        const RgbImage picture = x.waitUntilDrawn(window, options.timeout);
        savePng(picture, options.png);
        std::printf("window-snap: saved %dx%d picture of \"%s\" to %s\n", picture.width,
                    picture.height, options.title.c_str(), options.png.c_str());
        if (options.close) x.requestClose(window);
    } catch (const XWinError& e) {
        std::fprintf(stderr, "window-snap: %s\n", e.what());
        return 1;
    }
    return 0;
}
