#include "work_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "solids/solid_table.h"

namespace fs = std::filesystem;

namespace e2e {

std::string dataDir() { return std::string(PD_SOURCE_DIR) + "/data"; }

WorkDir::WorkDir() {
    std::string pattern = (fs::temp_directory_path() / "pd-e2e.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot create a temporary directory from " << pattern;
        return;
    }
    // Only the ten input files: whatever else data/ holds (outputs of a
    // user's run, a picture) is no business of a test and may be changing.
    std::error_code ec;
    std::string failed;
    for (const SolidInfo& info : solidTable)
        for (const char* name : {info.vertexFile, info.faceFile}) {
            if (!failed.empty()) break;
            fs::copy_file(fs::path(dataDir()) / name, fs::path(pattern) / name, ec);
            if (ec) failed = std::string(name) + ": " + ec.message();
        }
    if (!failed.empty()) {
        ADD_FAILURE() << "cannot copy the data files of " << dataDir() << " to " << pattern
                      << ": " << failed;
        fs::remove_all(pattern, ec);
        return;
    }
    path_ = pattern;
}

WorkDir::~WorkDir() {
    if (path_.empty()) return;
    if (keep_) {
        std::printf("[ kept     ] %s\n", path_.c_str());
        return;
    }
    std::error_code ec;
    fs::remove_all(path_, ec);
}

}  // namespace e2e
