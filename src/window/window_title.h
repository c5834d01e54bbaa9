#pragma once

#include <string>

namespace pd {

// Titles the current GLUT window `title`, UTF-8. GLUT hands X the bytes as
// a Latin-1 STRING, so "Čačak" would show as "ÄŒaÄak"; this also sets
// the window manager's UTF-8 name (_NET_WM_NAME, _NET_WM_ICON_NAME) and
// WM_NAME in the encoding X expects. Without a current GLX context only
// GLUT's title is set.
void setWindowTitle(const std::string& title);

}  // namespace pd
