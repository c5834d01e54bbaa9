#pragma once

#include <cstddef>
#include <vector>

#include "geometry/vec2.h"

namespace pd {

// The cut pairs' numbers inside a net's faces, beside the sides they
// name: where each stands, and the least scale at which they all fit.

// A cut pair's number: always this tall (mm, its font's size), however
// short its edge; the scale grows instead until every number fits inside
// its face beside its edge. A number's ink stays within the circle round
// its box (its digits about 0.6 of the size wide, its line 1.2 high).
constexpr double labelSize = 3.0;

// The radius (mm) of the circle round a number of `digits` digits.
double labelRadius(std::size_t digits);

// The numbers one face carries: on which of its sides (its slot's index
// in the face), and how wide each is.
struct FaceLabel {
    std::size_t side;
    double radius;  // mm
};

// The centres (net units) of the face's numbers at `mmPerUnit`, each at
// the first station along its side where it lies inside the face and
// clear of its sides and of the numbers placed before it; false when one
// has no such station.
bool placeLabels(const std::vector<P2>& corners, const std::vector<FaceLabel>& labels, bool turnsLeft,
                 double mmPerUnit, std::vector<P2>& centres);

// The least scale (mm per net unit) at which the face's numbers fit, to
// a thousandth; 0 for a face that holds none, or none at any scale (a
// face without area), whose numbers then stand where they would.
double leastLabelScale(const std::vector<P2>& corners, const std::vector<FaceLabel>& labels, bool turnsLeft);

}  // namespace pd
