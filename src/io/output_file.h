#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "base/result.h"

#include "base/translate.h"

namespace pd {

// Every file the explorer writes appears whole or not at all, and writing
// it can never be turned into writing another file. The new file is made
// in the output's folder with no name at all (O_TMPFILE) where the file
// system allows, else under a short fresh name (".pd-XXXXXX"), and is
// filled only through the descriptor it was created with, never opened
// again by name; once full and flushed to disk it takes the output's name.
// So a link or anything else put in its way meanwhile is never written
// through, a failed write leaves the old file whole and nothing new, and a
// file of the same name stays whole until the new one replaces it.

// What a write does when the output's name is taken by a regular file (or
// a link): Replace it, or Keep it and fail with alreadyExists.
enum class Existing { Replace, Keep };

// The `what` of the error a Keep write gives when the name is taken, in
// English: the error holds tr(alreadyExists).
constexpr const char* alreadyExists = N_("already exists");

// The output name that stands for standard output, written straight to it.
constexpr const char* standardOutputName = "-";

// Fills a new file through its descriptor; an error gives the write up.
using OutputFiller = std::function<Status(int fd)>;

// Done when `path` can be written: its folder exists and is a folder, and
// the name is free or taken by a regular file or a link, which a write
// replaces without following (with Existing::Keep only a free name is
// taken). Else an error naming `path`: "the folder F does not exist",
// "is a folder, not a file", "is a FIFO, not a regular file" (devices and
// sockets likewise, also behind a link), alreadyExists, or the system's
// reason ("File name too long"). Meant to be asked before any long work.
Status checkOutputPath(const std::string& path, Existing existing = Existing::Replace);

// Checks `path` as above, makes the new file, calls fill with its
// descriptor, flushes it to disk and gives it the name `path`. "-" writes
// to standard output instead (no check, nothing renamed). Errors name
// `path` ("standard output" for "-") and say what went wrong: the check's,
// fill's, "cannot create a file in F: REASON", "cannot be written:
// REASON", alreadyExists. On any error `path` is as it was before and no
// temporary file is left.
Status writeOutputFile(const std::string& path, const OutputFiller& fill,
                       Existing existing = Existing::Replace);

// An output folder held open: every file checked, written or removed
// through it is in the folder the name meant when it was opened, whatever
// is later renamed or linked in its place. For runs that write several
// files.
class OutputFolder {
public:
    // Opens the folder `path` names a file in ("out/a.png": out, "a.png":
    // the working directory). Errors as checkOutputPath's.
    static Result<OutputFolder> open(const std::string& path);
    OutputFolder(OutputFolder&& other) noexcept;
    OutputFolder& operator=(OutputFolder&&) = delete;
    ~OutputFolder();

    // The path of `name` in this folder, for messages.
    std::string pathOf(const std::string& name) const;
    // checkOutputPath for `name` in this folder.
    Status check(const std::string& name, Existing existing) const;
    // writeOutputFile for `name` in this folder; `placed` (if any) runs
    // the moment the file has its name, with SIGINT, SIGTERM and SIGHUP
    // held back, so it can record the file before any of them ends the run.
    Status write(const std::string& name, const OutputFiller& fill, Existing existing,
                 const std::function<void()>& placed = {}) const;
    // Removes `name` from this folder; false when it cannot (or is not there).
    bool remove(const std::string& name) const;
    // True when `name` here is a regular file (not followed if a link).
    bool isRegularFile(const std::string& name) const;
    int descriptor() const { return fd_; }

private:
    OutputFolder(int fd, std::string prefix) : fd_(fd), prefix_(std::move(prefix)) {}
    int fd_ = -1;
    std::string prefix_;  // the path up to the names in it: "", "out/", "/"
};

// Writes all of `bytes` to fd, through short writes and interruptions.
// An error "cannot be written: REASON" (the system's) when a write fails.
Status writeAll(int fd, std::string_view bytes);

// Writes a new file through `fill`, named stem + ending, else stem-2 +
// ending, stem-3 ... (the first name free), never replacing one: its name,
// or the write's error ("every name up to STEM-99999ENDING is taken" when
// none is free).
Result<std::string> writeNewFile(const std::string& stem, const std::string& ending, const OutputFiller& fill);

// writeOutputFile with `bytes` as the whole file.
Status writeFileAtomically(const std::string& path, std::string_view bytes,
                           Existing existing = Existing::Replace);

// On file systems without O_TMPFILE the new file has a name while it is
// written; true makes every write take that way, so tests can follow it
// on any file system.
void useNamedTemporaries(bool named);

}  // namespace pd
