#pragma once

#include "base/result.h"
#include "explorer/options.h"
#include "explorer/session.h"

namespace pd {

// The explorer without a window: writes the PNG, SVG, OFF, net or print
// output the options ask for (options.output is neither Window nor Info) of
// the session, drawing PNG pictures with the window's renderer into an
// offscreen EGL context, so no X server and no DISPLAY are needed. Done
// when every file was written, else an error naming the file and what went
// wrong; notes to tell besides are added to `notes` when given.
Status runHeadless(const ExplorerOptions& options, Session& session, std::vector<std::string>* notes = nullptr);

}  // namespace pd
