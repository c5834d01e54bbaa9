#pragma once

#include <functional>
#include <optional>
#include <string>

#include "base/result.h"
#include "explorer/model_inputs.h"
#include "explorer/view_state.h"

// What the window shows once the inputs are loaded: the models (at least
// one) and the state to start from; or, when they could not be loaded,
// the exit status to leave with (its message already written).
struct WindowInputs {
    std::optional<int> exitStatus;  // empty: open the window
    LoadedModels loaded;
    ViewState start;
    // What the window has to say, for the caller to print: the name of a
    // picture saved with `s`, or an error (a save that failed, a picture GL
    // cannot draw).
    std::function<void(const Result<std::string>&)> report;
};

// Starts GLUT (argc and argv go to glutInit, which may take its own options
// out), then calls `awaitInputs` once, so that loading the models, started
// by the caller, overlaps GLUT's start. With a failed load it returns the
// load's status and no window is made; should GLUT itself fail before that,
// the load is still awaited and its failure wins (its status, or else
// GLUT's message and status 1). Otherwise opens the explorer's window
// (1024 x 700, titled "NAME  x A  y B") and runs GLUT's main loop until the
// user quits (q, Esc, the menu or the window's close button), then
// returns 0; or, after one line on standard error, 2 when GL cannot draw.
int runExplorerWindow(int argc, char** argv, const std::function<WindowInputs()>& awaitInputs);
