#include "explorer/data_folder.h"

#include <filesystem>
#include <system_error>

#include "solids/solid_table.h"

namespace pd {

namespace fs = std::filesystem;

namespace {

// How many of the ten files `folder` holds as regular files.
int tenFilesIn(const fs::path& folder) {
    int found = 0;
    std::error_code ignored;
    for (const SolidInfo& info : solidTable)
        for (const char* name : {info.vertexFile, info.faceFile})
            found += fs::is_regular_file(folder / name, ignored);
    return found;
}

}  // namespace

DataFolder chooseDataFolder(const std::string& executable, const std::string& currentFolder) {
    const DataFolder current{currentFolder, false};
    if (executable.empty() || tenFilesIn(currentFolder) > 0) return current;
    const fs::path installed =
        (fs::path(executable).parent_path() / ".." / "share" / "platonic-duals" / "data")
            .lexically_normal();
    if (tenFilesIn(installed) < 2 * static_cast<int>(solidTable.size())) return current;
    return DataFolder{installed.string(), true};
}

std::string ownExecutable() {
    std::error_code error;
    const fs::path path = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

}  // namespace pd
