#pragma once

#include <string>

namespace pd {

// Where the explorer reads the ten solid files when it is named no input:
// the current folder, or the copy installed with it. The installed copy is
// found from the executable's own place, <its folder>/../share/platonic-duals/data,
// so an install under any prefix, a temporary one included, finds its own.

struct DataFolder {
    std::string path;        // the folder to read the ten files from
    bool installed = false;  // true when that is the installed copy
};

// Chooses between `currentFolder` and the installed copy beside
// `executable` (a full path, as /proc/self/exe gives it; "" when unknown).
// The current folder is kept whenever it holds any of the ten files, so an
// incomplete set there is reported as such rather than quietly passed over,
// and also when the installed copy lacks any of them.
DataFolder chooseDataFolder(const std::string& executable, const std::string& currentFolder);

// This process's executable, from /proc/self/exe; "" when it cannot be read.
std::string ownExecutable();

}  // namespace pd
