#include "base/standard_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace pd {

Status flushStandardOutput() {
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    // A write that failed before this flush left the stream's error mark.
    if (flushed && !std::ferror(stdout)) return Done{};
    const int error = errno != 0 ? errno : EIO;
    return failure("standard output", 0, std::string("cannot be written: ") + std::strerror(error));
}

void holdStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int held = ::open("/dev/null", O_RDONLY);
        if (held >= 0 && held != fd) {
            ::dup2(held, fd);
            ::close(held);
        }
    }
}

}  // namespace pd
