#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "mesh/net_layout.h"
#include "scene/colour.h"

// Writes `layout` as one PDF at `path` through cairo, one vector page per
// layout page at the page's size, drawn as formatNetSvg draws it (fills[k]
// for the faces of shell k). Fails with cairo's words when the file cannot
// be made or written; a failed file may be left behind, so write to a
// temporary name.
Status writeNetPdf(const NetLayout& layout, const std::vector<Rgb>& fills, const std::string& path,
                   const std::string& title);
