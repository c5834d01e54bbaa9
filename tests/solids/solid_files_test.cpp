#include "solids/solid_files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <string>

#include "scratch_dir.h"
#include "solids/dual.h"

using namespace pd;

namespace {

namespace fs = std::filesystem;

// Load, duals and close in a copy of the shipped data changed by `damage`,
// with what it tells collected. The dual files of the first `complete` solids
// must be whole, the later ones never created; the pair files of the first
// `pairsComplete` whole, the later ones empty.
struct Case {
    const char* what;
    std::function<void(const scratch::ScratchDir&)> damage;
    bool built;
    const char* errors;
    int complete;
    int pairsComplete;
    rlim_t fileLimit = RLIM_INFINITY;  // as `ulimit -f`, in bytes
};

void write(const scratch::ScratchDir& d, const char* name, const char* text) { d.write(name, text); }

TEST(SolidFiles, WholeRunsOverSoundAndDamagedData) {
    const auto folder = [](const char* name) {
        return [name](const scratch::ScratchDir& d) {
            d.remove(name);
            fs::create_directory(d.path() / name);
        };
    };
    const auto link = [](const char* name, const char* target) {
        return [=](const scratch::ScratchDir& d) { fs::create_symlink(target, d.path() / name); };
    };
    const Case cases[] = {
        // Rows past faceCount are never read.
        {"sound", [](auto& d) { d.write("kockap.dat", d.read("kockap.dat") + "0 0 0 0\n9 9 9 9\n"); },
         true, "", 5, 5},
        {"bad row", [](auto& d) { write(d, "oktap.dat", "1 3 5\n1 2 3\n2 4 7\n"); }, false,
         "oktap.dat: row 3: vertex number 7 is outside 1 to 6\n", 2, 2},
        {"short", [](auto& d) { write(d, "dodekap.dat", "1 6 11 7 2\n6 15 20 16 11\n"); }, false,
         "dodekap.dat: the file ends after row 2 of 12\n", 3, 3},
        {"past int", [](auto& d) { write(d, "tetrap.dat", "2 4 3\n1 4294967298 2\n"); }, false,
         "tetrap.dat: row 2: vertex number 4294967298 is outside 1 to 4\n", 0, 0},
        {"missing face file", [](auto& d) { d.remove("ikosap.dat"); }, false, "", 4, 4},
        {"folder face file", folder("ikosap.dat"), false,
         "ikosap.dat: cannot be read: Is a directory\n", 4, 4},
        {"folder vertex file", folder("okta.dat"), false, "okta.dat: cannot be read: Is a directory\n", 0, -1},
        {"missing vertex file", [](auto& d) { d.remove("okta.dat"); }, false, "", 0, -1},
        {"outputs in the way", [&](auto& d) { folder("dualop.txt")(d); folder("dualk.txt")(d); }, true,
         "dualop.txt: cannot be created: Is a directory\n"
         "dualk.txt: cannot be created: Is a directory\n", 5, 5},
        // Whatever is at the name, it is neither followed nor waited on.
        {"links, a FIFO", [&](auto& d) {
             link("dualtp.txt", "/dev/full")(d);
             link("dualo.txt", "kocka.dat")(d);
             mkfifo((d.path() / "dualdop.txt").c_str(), 0600);
         }, true,
         "dualtp.txt: cannot be created: Is a symbolic link\n"
         "dualdop.txt: cannot be created: Is a FIFO\n"
         "dualo.txt: cannot be created: Is a symbolic link\n", 5, 5},
        // Files over the limit fail as on a full disk, and are left empty.
        {"file size limit", [](auto&) {}, true,
         "dualdo.txt: cannot be written: File too large\n"
         "duali.txt: cannot be written: File too large\n"
         "dualip.txt: cannot be written: File too large\n", 5, 5, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scratch::ScratchDir dir;
        dir.copyShippedData();
        c.damage(dir);
        VertexArrays arrays;
        FaceColumns columns{};
        FaceRecords records{};
        SolidFileSet files;
        scratch::WorkingDir here(dir.path());
        std::vector<Error> told;
        const rlimit limited{c.fileLimit, RLIM_INFINITY}, unlimited{RLIM_INFINITY, RLIM_INFINITY};
        const auto ignored = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limited);
        Status built = loadSolids(files, arrays, told);
        if (built) built = buildDuals(files, arrays, columns, records, told);
        closeSolidFiles(files, told);
        setrlimit(RLIMIT_FSIZE, &unlimited);
        std::signal(SIGXFSZ, ignored);
        if (!built && !built.error().what.empty()) told.push_back(built.error());
        std::string errors;
        for (const Error& e : told) errors += e.text() + "\n";
        EXPECT_EQ(errors, c.errors);
        EXPECT_EQ(built.ok(), c.built);
        for (const auto* group : {&files.vertexFiles, &files.pairFiles, &files.faceFiles, &files.dualFiles})
            for (std::FILE* f : *group) EXPECT_EQ(f, nullptr);
        EXPECT_EQ(dir.read("kocka.dat"), scratch::readFile(scratch::sourcePath("data/kocka.dat")));
        for (int k = 0; k < solidKindCount; ++k) {
            const std::string dual = solidTable[k].dualFile, pairs = solidTable[k].pairFile;
            // Anything but a regular file is left as it was; a file named
            // in a warning is empty.
            const auto check = [&](const std::string& name, std::string expected) {
                const fs::path at = dir.path() / name;
                if (fs::exists(fs::symlink_status(at)) && !fs::is_regular_file(fs::symlink_status(at))) return;
                EXPECT_EQ(dir.read(name), errors.find(name + ":") != std::string::npos ? "" : expected) << name;
            };
            check(dual, k < c.complete ? scratch::expectedOutput(dual) : "<missing>");
            check(pairs, c.pairsComplete < 0   ? "<missing>"
                         : k < c.pairsComplete ? scratch::expectedOutput(pairs)
                                               : "");
        }
    }
}

}  // namespace
