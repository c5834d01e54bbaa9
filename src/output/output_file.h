#pragma once

#include <functional>
#include <stdexcept>
#include <string>

// Files the explorer writes are written under a temporary name in the same
// folder and renamed into place once complete, so a failed or interrupted
// write never leaves a half-written file under the name asked for, and a
// file that was there before stays whole until the new one replaces it.

class OutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Why `path` cannot be written, or "" when it looks writable: its folder
// is missing or not a folder, or `path` itself is a folder. Meant to be
// asked before any long work, so such a run stops at once.
std::string outputPathProblem(const std::string& path);

// Creates a fresh temporary file beside `path`, calls write(temporaryPath)
// to fill it (write throws to give up), then renames it onto `path`. On
// any failure the temporary file is removed and OutputError is thrown,
// naming `path` and what went wrong; `path` is then left as it was.
void writeThroughTemporary(const std::string& path,
                           const std::function<void(const std::string& temporaryPath)>& write);

// writeThroughTemporary with `bytes` as the whole file.
void writeFileAtomically(const std::string& path, const std::string& bytes);
