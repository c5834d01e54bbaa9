#include "window/display_check.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace pd {

std::string missingDisplay() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return "no display (DISPLAY is not set)";
    Display* display = XOpenDisplay(name);
    if (!display) return std::string("no display (cannot open DISPLAY ") + name + ")";
    XCloseDisplay(display);
    return "";
}

}  // namespace pd
