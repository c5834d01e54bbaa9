#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "explorer/options.h"
#include "view/shown_shells.h"
#include "geometry/rgb.h"
#include "polyhedra/model.h"
#include "nets/net_layout.h"

namespace pd {

// A paper net laid out on pages, before it is written: the layout, each
// shell's fill and the footer's title.
struct NetPages {
    NetLayout layout;
    std::vector<Rgb> fills;
    std::string title;
    std::vector<std::string> notes;  // why a shell's net is left out, one line each
};

// The paper net of the shells the state shows, laid out as --net lays it
// out (page size and --edge-mm as `settings` say, the fills of `palette`). An error when there is no shell (the
// model has no dual to unfold), when no shell has a net (naming the first
// and why), or when --edge-mm is too large for the page (naming the largest
// that fits). A shell without a net beside one with is left out, and a
// note says why.
Result<NetPages> layOutNet(const NetSettings& settings, PaletteKind palette, const std::vector<ShownShell>& shells,
                           const Model& model);

// The footer's name for `shells` of `model`, with their names and colours:
// "heksaedar, the cube (blue) and its program dual, the octahedron (red)":
// each shell named once.
std::string netTitle(const std::vector<ShownShell>& shells, const Model& model);

}  // namespace pd
