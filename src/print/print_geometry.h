#pragma once

#include <vector>

#include "base/result.h"
#include "geometry/polyhedron.h"
#include "geometry/rgb.h"
#include "print/print_model.h"
#include "print/shell_print.h"

namespace pd {

// The surfaces a print is made of, computed with exact arithmetic (CGAL's
// corefinement over exact constructions) and only then rounded, to the
// single precision of an STL file's corners (held as double). Every
// surface returned has been checked after rounding: closed, each
// edge between two triangles, no triangle crossing another, and bounding a
// positive volume.

// A solid and its dual printed together: `whole` holds one part, their
// union, for a print in one material; `coloured` holds "solid", the solid
// in `solidColour`, and "dual", the parts of the dual outside the solid in
// `dualColour` (left out when the dual lies within the solid), which meet
// but do not overlap, for a printer of two colours.
struct CompoundPrint {
    PrintModel whole;
    PrintModel coloured;
};

// The compound of `solid` and `dual`, both closed surfaces whose faces
// turn alike (either way round), each point multiplied by `scale`
// (millimetres per unit). Fails with a one-line reason when a shell is not
// closed or crosses itself, scale is not positive, or the result is not a
// closed surface once rounded.
Result<CompoundPrint> solidCompound(const Polyhedron& solid, Rgb solidColour, const Polyhedron& dual,
                                    Rgb dualColour, double scale);

// A frame: one part, "frame", in the first shell's colour, and how many
// separate pieces it falls into (1 when every strut meets the others).
struct FramePrint {
    PrintModel model;
    int pieces = 0;
};

// The frame of `shells`, each point multiplied by `scale`: every edge a
// strut of 12 sides and diameter `strutMm`, every vertex a ball of diameter
// `nodeMm` (an 80-triangle geodesic sphere), all joined into one closed
// surface, in one pass over all the pieces (n log n in them, plus their
// crossings). Struts end inside the balls. Fails when there are
// no shells, a size is not positive, or the result is not a closed surface
// once rounded.
Result<FramePrint> frameOf(const std::vector<PrintShell>& shells, double strutMm, double nodeMm, double scale);

}  // namespace pd
