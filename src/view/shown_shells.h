#pragma once

#include <string>
#include <vector>

#include "view/view_state.h"
#include "geometry/rgb.h"
#include "polyhedra/model.h"

namespace pd {

// Which shells a state shows, and in which colours: the one answer every
// picture, OFF file, net and counts line takes.

// Which of a model's three polyhedra a shell is.
enum class ShellKind { Solid, ProgramDual, ReciprocalDual };

// One shell as the explorer shows it: its shape with its edges and outward
// normals, and its colours.
struct ShownShell {
    const Polyhedron* shape = nullptr;
    const std::vector<Edge>* edges = nullptr;
    const std::vector<Vec3>* normals = nullptr;
    ShellKind kind = ShellKind::Solid;
    Rgb edgeColour, faceColour, textColour;
    // Behind a morph's stage, the solid and its dual it runs between: seen,
    // but hiding nothing, with no faces and no numbers.
    bool faint = false;
    int numberBase = 0;  // its model's: vertex numbers count from it
    bool dual() const { return kind != ShellKind::Solid; }
};

// The dual `kind` asks for of `model`: the reciprocal when asked for and
// present, else the program's; null shape for a model that is not closed
// (it has no dual).
ShownShell dualShell(const Model& model, DualKind kind);

// The shells `state` shows of `model`, in drawing order. Without a stage
// (null, or state.morph 0): the solid as --show asks, then its dual of the
// state's kind. With the morph's stage M(t) of `model`: first the solid and
// its dual, faint, then M(t) in a colour from the solid's to the dual's by
// t, then M(t)'s own reciprocal dual (its program dual when it has none).
// A model that is not closed shows no dual.
std::vector<ShownShell> shownShells(const Model& model, const Model* stage, const ViewState& state);

// The shells shownShells gives that are not faint: what an OFF file, a net
// and the fold hold.
std::vector<ShownShell> solidAndDualShells(const Model& model, const Model* stage, const ViewState& state);

// How the user knows a shell: "kocka", "the reciprocal dual of kocka".
std::string shellName(const ShownShell& shell, const std::string& modelName);

// The colour of the morph's edges at stage t: the palette's solid colour
// at 0, its dual's at 1.
Rgb morphColour(PaletteKind palette, double t);

}  // namespace pd
