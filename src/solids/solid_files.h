#pragma once

#include <array>
#include <cstdio>

#include "solids/solid_table.h"

// The twenty streams of a run, each group indexed by kind - 1. A null entry
// is a file not opened (yet), or an output file that could not be created.
struct SolidFileSet {
    std::array<std::FILE*, solidKindCount> vertexFiles{};
    std::array<std::FILE*, solidKindCount> pairFiles{};
    std::array<std::FILE*, solidKindCount> faceFiles{};
    std::array<std::FILE*, solidKindCount> dualFiles{};
};

// Opens the five vertex files of the working directory in table order and
// reads them into the solids' arrays, then creates the five pair files.
// Returns false, silently and at once, when a vertex file cannot be opened,
// and with one line on standard error when one is not a regular file (a
// folder, a FIFO, a device) or cannot be read; what was opened stays in
// `files`. A pair file that cannot be created is
// reported on standard error and left null; the run goes on without it.
bool loadSolids(SolidFileSet& files, VertexArrays& arrays);

// Opens the face file of `kind` and reads exactly faceCount rows of
// cornerCount numbers into `columns`. Returns false when the file cannot be
// opened (silently), or when it is not a regular file, cannot be read, ends
// early or names a vertex outside 1 to vertexCount (one line on standard
// error naming the file and what is wrong).
bool readFaceRows(SolidKind kind, SolidFileSet& files, FaceColumns& columns);

// Closes every open stream: vertex, face, dual, then pair files, each group
// in table order. Safe on null entries; leaves every entry null. An output
// whose last writes fail on closing (a full disk) is named on standard error.
void closeSolidFiles(SolidFileSet& files);

// Writes the one line for an output file whose writing failed with `error`
// (an errno value): "NAME: cannot be written: REASON".
void reportWriteError(const char* name, int error);

// Creates an output file with mode "w". On failure writes one line naming
// the file to standard error and returns null.
std::FILE* createOutputFile(const char* name);
