#pragma once

#include <string>
#include <vector>

#include "base/result.h"

namespace pd {

// check-solids' reading of a folder's ten files: each solid's vertex and
// face file read with the console program's own readers, then checked
// against the edge tables (solid_check.h). Nothing here writes a file.

// What one solid's two files gave: the files that could not be read, or,
// when both were read, the problems with their numbering (one line each).
struct SolidFilesFinding {
    std::vector<Error> unreadable;
    std::vector<std::string> problems;
};

// One finding per solid of `dir`, in table order (tetrahedron first). A
// file is unreadable when it is missing or not a regular file ("DIR/NAME:
// cannot be read: REASON") or refused by the readers ("DIR/NAME: row 3:
// text that is not a number"). An error, and nothing read, when `dir` is
// empty: "" + "/kocka.dat" would name the root folder's files.
Result<std::vector<SolidFilesFinding>> checkSolidFiles(const std::string& dir);

}  // namespace pd
