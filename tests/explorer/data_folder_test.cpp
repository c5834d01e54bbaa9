#include <gtest/gtest.h>

#include <tuple>

#include "explorer/data_folder.h"
#include "scratch_dir.h"

using namespace pd;

namespace {

// PREFIX/bin/duals-explorer started in HERE reads HERE, unless HERE holds none
// of the ten files and PREFIX/share/platonic-duals/data holds all ten.
TEST(DataFolder, TheCurrentFolderUnlessEmptyAndTheInstalledCopyWhole) {
    const std::tuple<int, int, bool, bool> cases[] = {  // files here, installed, exe known, installed read
        {10, 10, true, false}, {0, 10, true, true}, {1, 10, true, false}, {0, 9, true, false}, {0, 10, false, false}};
    for (const auto& [here, installed, known, chosen] : cases) {
        scratch::ScratchDir root;
        const auto cwd = root.path() / "here", data = root.path() / "share/platonic-duals/data";
        for (const auto& folder : {cwd, data}) std::filesystem::create_directories(folder);
        int n = 0;
        for (const SolidInfo& info : solidTable)
            for (const char* name : {info.vertexFile, info.faceFile}) {
                if (n < here) std::ofstream(cwd / name) << "1";
                if (n++ < installed) std::ofstream(data / name) << "1";
            }
        const DataFolder folder = chooseDataFolder(known ? root.file("bin/duals-explorer") : "", cwd.string());
        EXPECT_EQ(folder.path, (chosen ? data : cwd).string()) << here << " " << installed << " " << known;
        EXPECT_EQ(folder.installed, chosen);
    }
}

}  // namespace
