#include "program_window.h"

#include <chrono>
#include <thread>

namespace pd {

namespace e2e {

WindowRun::WindowRun(XSession& x, const std::string& workDir,
                     const std::vector<std::string>& args)
    : x_(x) {
    // The program's window carries no process id, so this run can tell its
    // window from an earlier run's only when no earlier one is left.
    const auto t0 = std::chrono::steady_clock::now();
    while (!x_.windowsTitled(windowTitle).empty()) {
        if (std::chrono::steady_clock::now() - t0 > std::chrono::seconds(10)) {
            startError_ = std::string("a window titled \"") + windowTitle +
                          "\" from an earlier run is still open";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!process_.start(programPath, workDir, args))
        startError_ = std::string("cannot start ") + programPath;
}

WindowRun::~WindowRun() {
    process_.kill();
    // The server destroys the window once it sees the connection close.
    if (window_ != 0) x_.waitUntilGone(window_, 10.0);
}

XSession::WindowId WindowRun::awaitWindow(double timeoutSeconds) {
    if (window_ != 0) return window_;
    if (!startError_.empty()) throw XWinError(startError_);
    const auto t0 = std::chrono::steady_clock::now();
    for (;;) {
        const auto found = x_.windowsTitled(windowTitle, long(process_.pid()));
        if (found.size() == 1) return window_ = found.front();
        if (found.size() > 1) throw XWinError("more than one window of the program is open");
        if (!process_.running()) {
            int status = 0;
            process_.wait(1.0, status);
            throw XWinError("the program ended with status " + std::to_string(status) +
                            " before its window appeared; its error output: \"" + process_.err() +
                            "\"");
        }
        if (std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() >
            timeoutSeconds)
            throw XWinError("the program's window did not appear in time; its output so far: \"" +
                            process_.out() + "\"");
        process_.out();  // keep its output pipe drained
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

RgbImage WindowRun::awaitPicture(double timeoutSeconds) {
    return x_.waitUntilDrawn(awaitWindow(timeoutSeconds), timeoutSeconds);
}

bool WindowRun::closeWindow(int& status, double timeoutSeconds) {
    x_.requestClose(awaitWindow());
    return process_.wait(timeoutSeconds, status);
}

RgbImage pictureOf(WindowRun& run, const std::string& answers) {
    run.process().write(answers);
    return run.awaitPicture();
}

}  // namespace e2e

}  // namespace pd
