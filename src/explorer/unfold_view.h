#pragma once

#include <string>
#include <vector>

#include "explorer/frame_builder.h"
#include "explorer/net_store.h"
#include "explorer/shown_shells.h"

namespace pd {

// The model folded open into its paper net, part of the way or all of it,
// as the window's `u` and the headless --unfold draw it.

// The picture of `shells` (not faint: see solidShells), each with its net
// in `nets` (one per shell), folded open by state.unfold (0 < unfold <= 1;
// at 0 the caller draws buildFrame's picture). Each face turns about its
// fold by that share of its turn while each piece moves, turning the
// shortest way, from its place on the model to its place in a row of all
// pieces lying flat, outside up, in the plane through the model's centre
// that faces the viewer. The open shells are drawn as buildFrame draws
// shells (faces, back edges, marks); the framing covers the folded model
// and the pieces where they are, so it grows smoothly as they open. Vertex
// numbers are left out. A shell whose net failed (or is null) stays
// folded, with a note saying why ("kocka has no net: ...", named after
// `modelName`).
Frame buildUnfoldFrame(const std::vector<ShownShell>& shells, const std::vector<SharedNet>& nets,
                       const std::string& modelName, const ViewState& state,
                       FrameTarget target = FrameTarget::Raster, FramePanels panels = {});

}  // namespace pd
