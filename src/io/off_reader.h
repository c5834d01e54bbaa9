#pragma once

#include <string>
#include <string_view>

#include "base/result.h"
#include "geometry/polyhedron.h"

namespace pd {

// Readers of the usual text OFF format:
//
//   OFF                      optional header (COFF, NOFF and CNOFF too: the
//                            colours and normals after x y z are skipped)
//   V F [E]                  counts; E is read if present and never used
//   x y z ...                V vertex lines; numbers after z are ignored
//   n i0 ... in-1 ...        F face lines, 0-based indices; the rest ignored
//
// A file whose data starts on its counts line, after all three counts (as
// when the whole file is one line), is read as a stream of numbers with no
// regard to lines: x y z for each vertex (then 3 numbers more for NOFF, 4
// for COFF, 7 for CNOFF), n and n indices for each face.
//
// '#' starts a comment anywhere, blank lines are skipped. Every error is one
// line "FILE:LINE: what is wrong"; a file that ends too early says after
// which vertex or face ("FILE:9: the file ends after vertex 6: 7 of 8
// vertices read", LINE the last line). Counts above maxOffCount are refused;
// below it nothing is allocated beyond what the text could hold.

// The largest vertex or face count a file may declare.
constexpr long long maxOffCount = 10'000'000;

// The largest coordinate (in size) a model may have: far beyond any real
// model, yet small enough that face sums, turns and reciprocals of the
// largest models stay finite floats.
constexpr float maxCoordinate = 1e30f;

// Parses `text` (named `fileName` in messages) into a polyhedron. An error
// (file `fileName`, the line) when the text is not a sound OFF file: bad header or counts, a token that is not a
// number, a coordinate that is not finite or is beyond maxCoordinate, an index outside 0..V-1, a face with
// fewer than 3 corners or a corner twice, or a file that ends too soon.
// Linear in the text's size.
Result<Polyhedron> readOff(std::string_view text, const std::string& fileName);

// The largest OFF file read, in bytes: well above the largest counts in
// ordinary notation, and a bound on what reading a file may allocate.
constexpr long long maxOffFileBytes = 1LL << 30;

// Reads the whole file at `path` and parses it with readOff. A file that
// cannot be read (missing, no permission, not a regular file: a folder, a
// FIFO, a device) or is longer than maxOffFileBytes gives
// "PATH: cannot be read: REASON" before anything is read.
Result<Polyhedron> loadOffFile(const std::string& path);

}  // namespace pd
