#pragma once

#include <string>

// A turntable is a run of pictures of one state, each turned further about
// y, for joining into an animation.

// The file name of picture `index` (0-based) of `count`: "turn.png" gives
// "turn-000.png", "out/turn" gives "out/turn-000". Numbers get three digits,
// or as many as count - 1 needs, so the names sort in turning order. Any
// index is accepted.
std::string frameFileName(const std::string& path, int index, int count);

// The turn about y of picture `index` of `count` (count at least 1),
// starting at `b`: b + 360 * index / count degrees.
float frameAngle(float b, int index, int count);
