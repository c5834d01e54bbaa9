#pragma once

#include <string>

#include "base/result.h"
#include "explorer/session.h"

namespace pd {

// The page's save buttons: files of the view handed to the browser as
// downloads, byte for byte what the command line writes. Each gives why
// nothing was saved (see exportable), or done.

// Hands `text` to the browser as a download named `name` of MIME `type`.
void download(const std::string& name, const std::string& text, const char* type);

// The view as the command line's --svg writes it, at the drawing's size.
Status downloadSvg(Session& session);

// The shells shown, as the command line's --off writes them.
Status downloadOff(Session& session);

// The formats the page offers a print in.
enum class PrintFormat { Stl, Glb };
// The shown shell as the command line's --stl or --glb writes it (60 mm
// across); its refusals (an open model) as the command line's, and both
// shells or a frame, which need the exact arithmetic the page has not, sent
// to the command line and the window. 3MF needs lib3mf, which the page has
// not either: the page offers glTF for colours instead.
Status downloadPrint(Session& session, PrintFormat format);
// The paper net of the view as the command line's --net NAME-net.svg
// writes it (on the session's page and edge: the query's, else A4 and the
// largest edge that fits): one download per page, named as its pages are
// (NAME-net-000.svg ...) when there are more. The PDF needs cairo, which
// the page has not.
Status downloadNet(Session& session);

// The same pages handed to the page's print view (Module.pdPrintNet, with
// the paper's width and height in millimetres and the pages as a JSON list
// of SVG documents), which prints them at their true size, a page a sheet.
Status printNet(Session& session);

}  // namespace pd
