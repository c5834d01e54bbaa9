#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "draw/frame.h"
#include "draw/palette.h"
#include "view/shown_shells.h"
#include "view/view_state.h"
#include "polyhedra/model.h"

namespace pd {

// The answer to "which face is this corner?": a lit part of the solid and
// the part of its dual that belongs to it. Dual vertex f comes from face f,
// dual face v from vertex v, dual edge i crosses edge i, so one index names
// both.

// What `lit` names, in the words the title and --pick use, numbered as the
// model's files count: "face 7 (pentagon) - dual vertex 7", "vertex 3 -
// dual face 3", "edge 12 (3-7) - dual edge 12"; "nothing" for None or an
// index the model does not have. Without a dual, only the solid's part.
std::string litText(const Model& model, Lit lit);

// Reads "face:N", "vertex:N" or "edge:N" (N counted as the model's files
// count) into the solid's own numbering, or an error saying what is wrong
// (no such kind, not a number, past the model's last one).
Result<Lit> readLit(const std::string& text, const Model& model);

// Adds to `frame`, built from `shells` (none of them faint), what `lit`
// lights of the shells that are shown: a lit face filled (frame.lit) and
// outlined, a lit vertex marked larger, a lit edge drawn, each with its
// dual part, in the palette's highlight colours, over everything.
void addLit(const std::vector<ShownShell>& shells, Lit lit, const Palette& palette, Frame& frame);

// What lies under pixel (x, y) of `frame`, built from `shells`: a mark
// within a few pixels, else an edge within a few pixels, else the face in
// front there; a part of the dual stands for the solid's it belongs to.
// Behind shaded faces, or with back edges dashed or hidden, only marks and
// edges in front count. None on the background. Linear in the shells'
// size, but for the few parts within reach, each tested against the faces.
Lit litAt(const std::vector<ShownShell>& shells, const Frame& frame, double x, double y);

}  // namespace pd
