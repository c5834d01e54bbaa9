#include "window/window_title.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace pd {

void setWindowTitle(const std::string& title) {
    glutSetWindowTitle(title.c_str());
    Display* display = glXGetCurrentDisplay();
    // GLUT makes its window's context current on the window itself, so the
    // drawable is the X window.
    const Window window = display ? Window(glXGetCurrentDrawable()) : None;
    if (window == None) return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(title.data());
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    for (const char* name : {"_NET_WM_NAME", "_NET_WM_ICON_NAME"})
        XChangeProperty(display, window, XInternAtom(display, name, False), utf8, 8, PropModeReplace, bytes,
                        int(title.size()));
    // For window managers that read only WM_NAME: Latin-1 when the title
    // fits it, else compound text.
    char* list[] = {const_cast<char*>(title.c_str())};
    XTextProperty text;
    if (Xutf8TextListToTextProperty(display, list, 1, XStdICCTextStyle, &text) >= 0) {
        XSetWMName(display, window, &text);
        XSetWMIconName(display, window, &text);
        XFree(text.value);
    }
    XFlush(display);
}

}  // namespace pd
