#pragma once

#include "explorer/model_inputs.h"
#include "explorer/view_state.h"

// Opens the explorer's window (1024 x 700, titled "NAME  x A  y B") on the
// loaded models, starting from `start`, and runs GLUT's main loop until the
// user quits (q, Esc, the menu or the window's close button). `loaded` must
// hold at least one model. argc and argv go to glutInit, which may take its
// own options out. Returns the exit status, 0.
int runExplorerWindow(int argc, char** argv, LoadedModels loaded, const ViewState& start);
