#pragma once

#include <string>
#include <sys/types.h>

#include "base/result.h"

namespace pd {

// Input files are read only when they are regular files: a FIFO with no
// writer would block the open (and then the run) forever, and a device
// such as /dev/zero never ends. Opening never blocks, whatever the name is.

// Opens `path` read-only without blocking (O_NONBLOCK, O_CLOEXEC). The
// descriptor, or -1 with errno set, as open(2) gives it; the file may be
// of any kind yet, so requireRegularFile comes next.
int openForReading(const std::string& path);

// Done when `fd` is a regular file, which it then reads in blocking mode
// again; else an error saying what it is, in the system's wording:
// "Is a directory", "Is a FIFO", "Is a character device", "Is a block
// device", "Is a socket". A failing fstat gives the system's reason.
Status requireRegularFile(int fd);

// What a file of type `mode` (st_mode) is, as above; "" for a regular file.
std::string fileKindProblem(mode_t mode);

// openForReading and requireRegularFile together: the descriptor (the
// caller closes it), or an error "PATH: cannot be read: REASON".
Result<int> openRegularFile(const std::string& path);

// The whole of the regular file at `path`, read in one buffer sized from
// its length. A file longer than `maxBytes` is refused before anything is
// read: "PATH: cannot be read: it is N bytes long, and KIND files are read
// up to MAX bytes (1 GiB)"; other errors as openRegularFile's.
Result<std::string> readRegularFile(const std::string& path, long long maxBytes, const std::string& kind);

}  // namespace pd
