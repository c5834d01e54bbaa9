#pragma once

#include <string>
#include <string_view>

namespace pd {

// A label for GLUT's menus, which draw bytes with fonts of ASCII and
// Latin-1 only: UTF-8 `text` with Serbian letters in Latin, as Serbian is
// written without its marks (č -> c, đ -> dj, Љ -> Lj, ш -> s), and any other
// character beyond ASCII, or byte of none, as '?'.
std::string menuLabel(std::string_view text);

}  // namespace pd
