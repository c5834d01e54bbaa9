#include "io/input_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/huge_pages.h"
#include "base/translate.h"

namespace pd {

int openForReading(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

std::string fileKindProblem(mode_t mode) {
    if (S_ISREG(mode)) return "";
    if (S_ISDIR(mode)) return std::strerror(EISDIR);
    if (S_ISFIFO(mode)) return tr("Is a FIFO");
    if (S_ISCHR(mode)) return tr("Is a character device");
    if (S_ISBLK(mode)) return tr("Is a block device");
    if (S_ISSOCK(mode)) return tr("Is a socket");
    return tr("Is not a regular file");
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
    if (fd < 0) return failure(path, 0, fill(tr("cannot be read: {1}"), {std::strerror(errno)}));
    const Status regular = requireRegularFile(fd);
    if (!regular) {
        ::close(fd);
        return failure(path, 0, fill(tr("cannot be read: {1}"), {regular.error().what}));
    }
    return fd;
}

Result<std::string> readRegularFile(const std::string& path, long long maxBytes, const std::string& kind) {
    const Result<int> fd = openRegularFile(path);
    if (!fd) return fd.error();
    // Sized once from the file's length, known before anything is read: a
    // file beyond the limit is refused without reading or allocating.
    struct stat info {};
    int problem = fstat(*fd, &info) == 0 ? 0 : errno;
    std::string text;
    if (problem == 0 && info.st_size > maxBytes) {
        close(*fd);
        return failure(path, 0,
                       fill(tr("cannot be read: it is {1} bytes long, and {2} files are read up to {3} bytes (1 GiB)"),
                            {std::to_string(info.st_size), kind, std::to_string(maxBytes)}));
    }
    if (problem == 0) {
        text.reserve(static_cast<std::size_t>(info.st_size));
        adviseHugePages(text.data(), text.capacity());
        text.resize(static_cast<std::size_t>(info.st_size));
    }
    // Exactly the length fstat gave: a file growing meanwhile is read no further.
    std::size_t got = 0;
    while (problem == 0 && got < text.size()) {
        const ssize_t n = read(*fd, text.data() + got, text.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) problem = errno;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    close(*fd);
    if (problem != 0) return failure(path, 0, fill(tr("cannot be read: {1}"), {std::strerror(problem)}));
    text.resize(got);
    return text;
}

}  // namespace pd
