#pragma once

#include <string>
#include <vector>

#include "nets/net_layout.h"
#include "geometry/rgb.h"

namespace pd {

// The pages of `layout` as SVG documents, one per page, each sized in
// millimetres with a viewBox in millimetres (an A4 page:
// width="210mm" height="297mm" viewBox="0 0 210 297"), so it prints at
// scale. Faces of shell k are filled with fills[k] (white when missing);
// flaps, cut lines, dashed fold lines, numbers and footer as net_style.h
// says. The bytes depend on the layout alone.
std::vector<std::string> formatNetSvg(const NetLayout& layout, const std::vector<Rgb>& fills);

}  // namespace pd
