#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/result.h"
#include "explorer/session.h"

namespace pd {

// What the window shows once the inputs are loaded: the session (over at
// least one model, working in the background); or, when the inputs could
// not be loaded, the exit status to leave with (its message already
// written).
struct WindowInputs {
    std::optional<int> exitStatus;  // empty: open the window
    std::unique_ptr<Session> session;
    // What the window has to say, for the caller to print: the name of a
    // picture saved with `s`, or an error (a save that failed, a picture GL
    // cannot draw, no display).
    std::function<void(const Result<std::string>&)> report;
};

// Starts GLUT (argv[0] names the program to it), then calls `awaitInputs`
// once, so that loading the models, started by the caller, overlaps GLUT's
// start. With a failed load it returns the load's status and no window is
// made. Should GLUT fail, the load is awaited all the same and its failure
// wins; else a display that cannot be opened is reported as such (what to
// use instead) and the process ends with status 2, any other GLUT failure
// with GLUT's message and status 1. Otherwise opens the explorer's
// window (1024 x 700, titled as Session::title) and runs GLUT's main loop
// until the user quits (q, Esc, the menu or the window's close button),
// then returns 0; or, after one line on standard error, 2 when GL cannot
// draw. The window only passes its events to the session and draws what it
// answers.
int runExplorerWindow(char* program, const std::function<WindowInputs()>& awaitInputs);

}  // namespace pd
