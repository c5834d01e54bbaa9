#pragma once

#include <string>

namespace pd {

// Why no window can open here: "no display (DISPLAY is not set)", or "no
// display (cannot open DISPLAY :9)"; "" when the display opens. Kept apart
// from the code that uses the project's Status, which Xlib's macro of that
// name would rewrite.
std::string missingDisplay();

}  // namespace pd
