#include "io/input_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pd {

int openForReading(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

std::string fileKindProblem(mode_t mode) {
    if (S_ISREG(mode)) return "";
    if (S_ISDIR(mode)) return std::strerror(EISDIR);
    if (S_ISFIFO(mode)) return "Is a FIFO";
    if (S_ISCHR(mode)) return "Is a character device";
    if (S_ISBLK(mode)) return "Is a block device";
    if (S_ISSOCK(mode)) return "Is a socket";
    return "Is not a regular file";
}

Status requireRegularFile(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return failure(std::strerror(errno));
    const std::string problem = fileKindProblem(info.st_mode);
    if (!problem.empty()) return failure(problem);
    // Reads of a regular file never wait anyway; blocking mode keeps stdio
    // from ever seeing EAGAIN.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return failure(std::strerror(errno));
    return Done{};
}

Result<int> openRegularFile(const std::string& path) {
    const int fd = openForReading(path);
    if (fd < 0) return failure(path, 0, std::string("cannot be read: ") + std::strerror(errno));
    const Status regular = requireRegularFile(fd);
    if (!regular) {
        ::close(fd);
        return failure(path, 0, "cannot be read: " + regular.error().what);
    }
    return fd;
}

}  // namespace pd
