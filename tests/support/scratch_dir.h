#pragma once

// Test helpers: a private directory that disappears with the test (unless a
// failing test keeps it), and file contents as strings. Shared by the unit
// and the end-to-end tests.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>

#include "solids/solid_table.h"

namespace pd {

namespace scratch {

namespace fs = std::filesystem;

// The file's bytes, or "<missing>" when it cannot be read.
inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "<missing>";
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string sourcePath(const std::string& relative) {
    return std::string(PD_SOURCE_DIR) + "/" + relative;
}

// The shipped input files and the expected outputs computed from them.
inline std::string dataFile(const std::string& name) { return readFile(sourcePath("data/" + name)); }
inline std::string expectedOutput(const std::string& name) {
    return readFile(sourcePath("tests/data/expected/" + name));
}

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (fs::temp_directory_path() / "pd-solids-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ScratchDir() {
        if (path_.empty()) return;
        if (keep_) {
            std::printf("[ kept     ] %s\n", path_.c_str());
            return;
        }
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    bool ok() const { return !path_.empty(); }
    const fs::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Leaves the directory in place, to show what a failing run left there.
    void keep() { keep_ = true; }

    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path_ / name, std::ios::binary) << text;
    }
    std::string read(const std::string& name) const { return readFile(path_ / name); }
    void remove(const std::string& name) const { fs::remove(path_ / name); }

    // Copies the ten shipped input files in.
    void copyShippedData() const {
        for (const SolidInfo& info : solidTable)
            for (const char* name : {info.vertexFile, info.faceFile}) write(name, dataFile(name));
    }

    std::set<std::string> names() const {
        std::set<std::string> all;
        for (const auto& entry : fs::directory_iterator(path_))
            all.insert(entry.path().filename().string());
        return all;
    }

private:
    fs::path path_;
    bool keep_ = false;
};

// Runs the enclosed code in another working directory, as the program's
// fixed file names resolve against it.
class WorkingDir {
public:
    explicit WorkingDir(const fs::path& dir) : previous_(fs::current_path()) {
        fs::current_path(dir);
    }
    ~WorkingDir() { fs::current_path(previous_); }
    WorkingDir(const WorkingDir&) = delete;
    WorkingDir& operator=(const WorkingDir&) = delete;

private:
    fs::path previous_;
};

}  // namespace scratch

}  // namespace pd
