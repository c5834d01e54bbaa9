#pragma once

namespace pd {

// X reports Shift-Tab as the keysym ISO_Left_Tab, which has no text, and
// GLUT drops keys without text that it does not know. This gives the keysym
// the text of Tab on the current GL context's X connection, so GLUT passes
// it on as Tab with Shift held. Call it once the window exists; without a
// current GLX context it does nothing.
void keepShiftTab();

}  // namespace pd
