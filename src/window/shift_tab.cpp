#include "window/shift_tab.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace pd {

void keepShiftTab() {
    if (Display* display = glXGetCurrentDisplay()) {
        static const unsigned char tab[] = "\t";
        XRebindKeysym(display, XK_ISO_Left_Tab, nullptr, 0, tab, 1);
    }
}

}  // namespace pd
