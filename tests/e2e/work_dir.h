#pragma once

#include <string>

namespace e2e {

// A fresh temporary directory holding a copy of the ten input files of the
// project's data/, for one run of the program. Removed when it goes out of scope, unless
// keep() was called (a failing test keeps it to show what the program left).
class WorkDir {
public:
    // Creates the directory and copies the ten input files of data/ into it.
    // Fails the calling test (and leaves path() empty) if that is not
    // possible, so check ok() before use.
    WorkDir();
    ~WorkDir();
    WorkDir(const WorkDir&) = delete;
    WorkDir& operator=(const WorkDir&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    // The path of `name` inside the directory.
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void keep() { keep_ = true; }

private:
    std::string path_;
    bool keep_ = false;
};

// The project's data/ directory.
std::string dataDir();

}  // namespace e2e
