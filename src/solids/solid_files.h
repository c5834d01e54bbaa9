#pragma once

#include <array>
#include <cstdio>
#include <vector>

#include "base/result.h"
#include "solids/solid_table.h"

namespace pd {

// The twenty streams of a run, each group indexed by kind - 1. A null entry
// is a file not opened (yet), or an output file that could not be created.
struct SolidFileSet {
    std::array<std::FILE*, solidKindCount> vertexFiles{};
    std::array<std::FILE*, solidKindCount> pairFiles{};
    std::array<std::FILE*, solidKindCount> faceFiles{};
    std::array<std::FILE*, solidKindCount> dualFiles{};
};

// A run's input errors end it; its output files' errors do not: each
// becomes a warning, added to a list in the order the run met them, and the
// run goes on without that file. An input file that cannot be opened at all
// ends the run with nothing to say: its error has the file's name and an
// empty `what`.

// Opens the five vertex files of the working directory in table order and
// reads them into the solids' arrays, then creates the five pair files.
// An error at once when a vertex file cannot be opened (nothing to say),
// or is not a regular file (a folder, a FIFO, a device) or cannot be read
// ("NAME: cannot be read: REASON"); what was opened stays in `files`. A
// pair file that cannot be created adds a warning and is left null.
Status loadSolids(SolidFileSet& files, VertexArrays& arrays, std::vector<Error>& warnings);

// Opens the face file of `kind` and reads exactly faceCount rows of
// cornerCount numbers into `columns`. An error when the file cannot be
// opened (nothing to say), or when it is not a regular file, cannot be
// read, ends early or names a vertex outside 1 to vertexCount (naming the
// file and what is wrong).
Status readFaceRows(SolidKind kind, SolidFileSet& files, FaceColumns& columns);

// Closes every open stream: vertex, face, dual, then pair files, each group
// in table order. Safe on null entries; leaves every entry null. An output
// whose last writes fail on closing (a full disk) adds a warning; any
// output whose writing failed is left empty rather than cut short.
void closeSolidFiles(SolidFileSet& files, std::vector<Error>& warnings);

// The warning for an output file whose writing failed with `error` (an
// errno value): "NAME: cannot be written: REASON".
Error writeFailure(const char* name, int error);

// Creates an output file, or empties a regular file of that name, and
// opens it with mode "w". A name taken by a link, a FIFO, a device or a
// folder is left as it is (never followed, never waited on), with the
// warning "NAME: cannot be created: REASON" ("Is a symbolic link", "Is a
// FIFO", ...), as for any other failure.
Result<std::FILE*> createOutputFile(const char* name);

}  // namespace pd
