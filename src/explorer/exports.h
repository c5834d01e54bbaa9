#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "draw/frame.h"
#include "explorer/net_pages.h"
#include "explorer/session.h"
#include "print/print_model.h"
#include "print/shell_print.h"

namespace pd {

// What the explorer saves of a session, decided once for the files the
// headless outputs write and the downloads the page hands its browser:
// which picture, why none, the net's pages and their names. Writing them
// is the caller's (files through the safe writer, downloads by the page).

// Whether what the session shows can be saved: a stage of the morph, shown
// by the view or passed through by an animation (`animatesMorph`), needs a
// model with a morph. An error saying why not.
Status exportable(Session& session, bool animatesMorph = false);

// The picture of the session's view as a file holds it (no key list), for
// `target`. An error when the morph's stage cannot be built, or when the
// picture is refused for its size (hidden parts or face order past their
// bound).
Result<Frame> exportedFrame(Session& session, FrameTarget target);

// The name a file of the view is saved under, in the current folder: the
// session's stem (Session::saveStem) and `ending` (".png", "-net.svg" ...).
std::string exportName(const Session& session, const std::string& ending);

// The paper net of the session's view on pages, laid out with its net
// settings and palette (see layOutNet, whose errors it gives).
Result<NetPages> exportedNet(Session& session);

// The model to print of the session's view (its stage during a morph, the
// shells --show and the dual kind give), made as `settings` ask and sized
// in millimetres: each shell a closed surface in its palette colour, both
// shells as their union (or non-overlapping coloured parts), or a frame of
// struts and balls. An error for a model that is not closed, for a size that
// cannot be measured or is too small for the struts, and, where the build
// cannot join surfaces (the page), for both shells or a frame. A frame that
// is more than one piece is told in `notes` when given.
Result<PrintModel> exportedPrint(Session& session, const PrintSettings& settings,
                                 std::vector<std::string>* notes = nullptr);

// A page of a net as an SVG file, with its name.
struct NamedPage {
    std::string name;
    std::string text;
};

// The net's SVG pages: one is `path` itself, more are numbered as a turn's
// pictures are (net.svg gives net-000.svg, net-001.svg ...).
std::vector<NamedPage> netSvgPages(const NetPages& net, const std::string& path);

}  // namespace pd
