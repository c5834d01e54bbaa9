#include "base/standard_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

Status flushStandardOutput() {
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    // A write that failed before this flush left the stream's error mark.
    if (flushed && !std::ferror(stdout)) return Done{};
    const int error = errno != 0 ? errno : EIO;
    return failure("standard output", 0, std::string("cannot be written: ") + std::strerror(error));
}
