#pragma once

#include <functional>
#include <string>

#include "base/result.h"
#include "draw/frame.h"
#include "explorer/options.h"
#include "explorer/session.h"

namespace pd {

// What the explorer writes without a window: what the session shows, as a
// PNG or SVG picture (or an animation of them), an OFF model, a paper net
// or a model to print (STL, 3MF, binary glTF). Pictures other than SVG are
// drawn by the caller, so this part needs no GL and no display.

// Draws a frame as a PNG picture into the open descriptor fd; an error
// says what went wrong (the path is added by the caller).
using PictureWriter = std::function<Status(const Frame& frame, int fd)>;

// Writes what the options ask for (options.output is neither Window nor
// Info) of `session`, which opened in the options' state: one file ("-":
// standard output), or with --frames N the pictures Session::showFrame
// gives, named by frameFileName. During a morph the OFF file holds the
// stage and its own dual as --show asks; a model without a morph is
// refused before anything is written. A print replaces no file unless
// options.overwrite. PNG pictures go through `writePng`.
// Every file is written by writeOutputFile (io/output_file.h). An output it
// would refuse is refused before anything is drawn; so are frames whose
// first name is taken, unless options.overwrite, which also removes the
// pictures of a longer series of the same name past the new ones. A run
// failing part-way removes the pictures it wrote. An error naming the file and the problem.
// What the caller is to tell though the run succeeds (a shell left out of
// a net, and why) is added to `notes` when given.
Status writeHeadlessOutput(const ExplorerOptions& options, Session& session, const PictureWriter& writePng,
                           std::vector<std::string>* notes = nullptr);

// The --info text: the session's counts lines, each ending in a line break.
Result<std::string> infoText(Session& session);

}  // namespace pd
