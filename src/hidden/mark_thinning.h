#pragma once

#include "draw/frame.h"

namespace pd {

// Leaves out of each shell of an aliased `frame` the end marks that would
// cover exactly the pixels an earlier mark of the same shell covers: an
// aliased point of even width w covers the w x w pixels round its position
// rounded to the nearest pixel corner (of odd width, round its pixel), so
// marks of one shell whose positions round alike paint the same pixels in
// the same colour. A model of a million vertices on a 1024 x 700 picture
// has several marks to a pixel; the picture stays the same, up to a mark
// whose position GL rounds the other way than this does. Nothing is left
// out where marks are tested for depth (two at one pixel may be at
// different depths) or in a smooth frame (samples see the exact position).
// Linear in the marks, with a bit per pixel of the picture.
void thinMarks(Frame& frame);

}  // namespace pd
