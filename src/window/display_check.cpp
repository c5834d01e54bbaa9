#include "window/display_check.h"

#include <X11/Xlib.h>

#include <cstdlib>

#include "base/translate.h"

namespace pd {

std::string missingDisplay() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return tr("no display (DISPLAY is not set)");
    Display* display = XOpenDisplay(name);
    if (!display) return fill(tr("no display (cannot open DISPLAY {1})"), {name});
    XCloseDisplay(display);
    return "";
}

}  // namespace pd
