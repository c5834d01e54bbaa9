#pragma once

#include "base/result.h"

// Whether what a program printed reached its standard output: a full disk
// (> /dev/full), a closed descriptor (>&-) or a file-size limit must not
// pass for success.

// Flushes standard output. Done when all of it was written; else the error
// "standard output: cannot be written: REASON".
Status flushStandardOutput();
