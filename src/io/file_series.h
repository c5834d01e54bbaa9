#pragma once

#include <string>

#include "base/result.h"
#include "io/output_file.h"

namespace pd {

// The numbered files one run writes together (a turntable's pictures, a
// net's pages): all of them, or none.

// The file name of file `index` (0-based) of `count`: "turn.png" gives
// "turn-000.png", "out/turn" gives "out/turn-000". Numbers get three digits,
// or as many as count - 1 needs, so the names sort in order. Any index is
// accepted.
std::string frameFileName(const std::string& path, int index, int count);

// A series of `count` files named after one path, written in order into
// one folder held open from the start (a folder renamed or swapped for a
// link meanwhile changes nothing outside the one it began in). Until
// finish(), every file it wrote is removed when it is destroyed (a failed
// run) or when SIGINT, SIGTERM or SIGHUP ends the process. One series at a
// time.
class FileSeries {
public:
    // Opens the folder of `path`; errors as OutputFolder::open's.
    static Result<FileSeries> open(const std::string& path, int count, Existing existing);
    FileSeries(FileSeries&& other) noexcept;
    FileSeries& operator=(FileSeries&&) = delete;
    ~FileSeries();

    // The path of file `index`, for messages.
    std::string pathOf(int index) const;
    // Whether file `index` could be written now (see checkOutputPath).
    Status check(int index) const;
    // Writes the next file (index 0, 1, ... in turn) through the folder.
    // An error naming it; the files before it stay until the series is
    // destroyed.
    Status writeNext(const OutputFiller& fill);
    // Keeps every file written. With `pruneLonger`, the files numbered from
    // count on that an earlier, longer series of the same name left are
    // removed too (regular files only), so no stale one stays beside them.
    void finish(bool pruneLonger);

private:
    FileSeries(OutputFolder folder, std::string base, int count, Existing existing);
    std::string nameOf(int index) const;

    OutputFolder folder_;
    std::string base_;  // the path's last part, which the numbers go into
    int count_ = 0;
    Existing existing_ = Existing::Replace;
    int written_ = 0;
    bool finished_ = false;
};

}  // namespace pd
