#pragma once

#include "output/file_series.h"

// A turntable is a run of pictures of one state, each turned further about
// y, for joining into an animation.

// The turn about y of picture `index` of `count` (count at least 1),
// starting at `b`: b + 360 * index / count degrees.
float frameAngle(float b, int index, int count);
