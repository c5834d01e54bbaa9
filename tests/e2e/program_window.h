#pragma once

#include <string>
#include <vector>

#include "console/dialogue.h"
#include "process.h"
#include "xwindow.h"

namespace pd {

namespace e2e {

constexpr const char* windowTitle = "Geometrija - prikaz zadatka";

// The program as built, and the texts of its console dialogue (their bytes
// are pinned by the dialogue's unit test).
constexpr const char* programPath = PD_PROGRAM;
constexpr const char* xPrompt = xAnglePrompt;
constexpr const char* yPrompt = yAnglePrompt;
constexpr const char* menuText = solidMenu;

// One run of the program in a working directory, watched through X: the
// program is started at construction, once no window of an earlier run is
// left (awaitWindow reports it if one stays); the window is looked for on
// demand.
// When the run goes out of scope a program still running is killed and its
// window waited away, so the next run finds only its own.
class WindowRun {
public:
    WindowRun(XSession& x, const std::string& workDir, const std::vector<std::string>& args = {});
    ~WindowRun();
    WindowRun(const WindowRun&) = delete;
    WindowRun& operator=(const WindowRun&) = delete;

    ProgramProcess& process() { return process_; }

    // Waits up to `timeoutSeconds` for this program's window and returns
    // it. Throws XWinError when the program could not start, ends first
    // (naming its status and error output), or no window comes in time.
    XSession::WindowId awaitWindow(double timeoutSeconds = 30.0);

    // awaitWindow, then waits until the picture has settled and returns it.
    RgbImage awaitPicture(double timeoutSeconds = 30.0);

    // Sends WM_DELETE_WINDOW and waits up to `timeoutSeconds` for the
    // program to end; true with its exit status if it did.
    bool closeWindow(int& status, double timeoutSeconds = 15.0);

private:
    XSession& x_;
    ProgramProcess process_;
    std::string startError_;  // why the program was not started, if it was not
    XSession::WindowId window_ = 0;
};

// Starts the program in `workDir`, types `answers` at once and returns the
// settled picture of its window; the run stays open in `run`.
RgbImage pictureOf(WindowRun& run, const std::string& answers);

}  // namespace e2e

}  // namespace pd
