#include "work_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace e2e {

std::string dataDir() { return std::string(PD_SOURCE_DIR) + "/data"; }

WorkDir::WorkDir() {
    std::string pattern = (fs::temp_directory_path() / "pd-e2e.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot create a temporary directory from " << pattern;
        return;
    }
    std::error_code ec;
    int copied = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(dataDir(), ec)) {
        if (!entry.is_regular_file()) continue;
        fs::copy_file(entry.path(), fs::path(pattern) / entry.path().filename(), ec);
        if (ec) break;
        ++copied;
    }
    if (ec || copied == 0) {
        ADD_FAILURE() << "cannot copy the data files of " << dataDir() << " to " << pattern
                      << (ec ? ": " + ec.message() : std::string(": no files"));
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
