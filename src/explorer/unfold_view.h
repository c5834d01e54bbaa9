#pragma once

#include <optional>
#include <string>
#include <vector>

#include "view/frame_builder.h"
#include "explorer/net_store.h"
#include "view/shown_shells.h"

namespace pd {

// The model folded open into its paper net, part of the way or all of it,
// as the window's `u` and the headless --unfold draw it.

// A shell folded open, as a shell of its own: a vertex per corner slot,
// each face over its own slots, a fold drawn once (from its first side)
// between the two faces it joins, a cut edge once per side, and each
// face's outward normal turned as the face is.
struct OpenShell {
    Polyhedron shape;
    std::vector<Edge> edges;
    std::vector<Vec3> normals;
};

// Each of `shells` folded open by state.unfold (clamped to 0..1) as
// buildUnfoldFrame draws it, in the model's space: each face turned about
// its fold by that share of its turn, each piece on its way from the model
// to its place in the row. None for a shell whose net failed or is null.
std::vector<std::optional<OpenShell>> openShells(const std::vector<ShownShell>& shells,
                                                 const std::vector<SharedNet>& nets, const ViewState& state);

// The picture of `shells` (not faint: see solidAndDualShells), each with its net
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
