#pragma once

#include <string>
#include <vector>

#include "draw/frame.h"
#include "view/view_state.h"
#include "view/shown_shells.h"
#include "polyhedra/model.h"

namespace pd {

// Pixels from a vertex to the baseline start of its number.
constexpr double labelOffsetX = 5.0;
constexpr double labelOffsetY = -5.0;

// What a picture shows besides its shells: the key list (drawn at the top
// left when state.help is set; the action table knows the keys), and at
// the bottom left `notes` (always) and the counts panel (when state.info).
struct FramePanels {
    std::vector<std::string> help;
    std::vector<std::string> notes;
    std::vector<std::string> info;
};

// The picture of `shells` (see shownShells) in `state` at state.width x
// state.height (sizes below 1 count as 1) for `target`. The framing box
// covers every vertex of the shells that is on an edge, and every vertex of
// `framedToo`, so switching the back edges never moves the picture; zoom
// narrows the field of view around the same centre. An edge is behind
// where a face of a shell that is not faint lies in front of it
// (hidden/visibility.h). Numbers, in the shells' text colours, stand
// beside the marks, each placed where it covers no other where one of four
// places allows.
Frame buildFrame(const std::vector<ShownShell>& shells, const ViewState& state, FrameTarget target,
                 const FramePanels& panels = {}, const std::vector<const Polyhedron*>& framedToo = {});

// The picture of what `state` shows of `model` (with `morph`, the stage
// M(state.morph), in the solid's place: see shownShells), with the key list
// `help` and the counts panel `info`.
Frame buildFrame(const Model& model, const ViewState& state,
                 const std::vector<std::string>& help = {},
                 FrameTarget target = FrameTarget::Raster, const Model* morph = nullptr,
                 const std::vector<std::string>& info = {});

// The window title: "NAME  x A  y B" (see orientationText), then "  t 0.25"
// (three digits at most, like %.3g) when state.morph > 0.
std::string frameTitle(const std::string& modelName, const ViewState& state);

}  // namespace pd
