#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "nets/net_layout.h"
#include "geometry/rgb.h"

namespace pd {

// Writes `layout` as one PDF into the open descriptor fd through cairo,
// one vector page per layout page at the page's size, drawn as
// formatNetSvg draws it (fills[k] for the faces of shell k). Fails with the
// system's reason when a write fails, else with cairo's words.
Status writeNetPdf(const NetLayout& layout, const std::vector<Rgb>& fills, int fd,
                   const std::string& title);

}  // namespace pd
