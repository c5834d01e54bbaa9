#pragma once

#include "base/result.h"

namespace pd {

// Whether what a program printed reached its standard output: a full disk
// (> /dev/full), a closed descriptor (>&-) or a file-size limit must not
// pass for success.

// Flushes standard output. Done when all of it was written; else the error
// "standard output: cannot be written: REASON".
Status flushStandardOutput();

// Fills a closed standard descriptor (0, 1 or 2) with /dev/null opened for
// reading only, before anything else is opened: else the next file opened
// would take its number, and what is printed would land in that file.
// Writes to it still fail ("Bad file descriptor"), as on the closed one.
void holdStandardDescriptors();

}  // namespace pd
