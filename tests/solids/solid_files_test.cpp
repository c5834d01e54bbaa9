#include "solids/solid_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "scratch_dir.h"
#include "solids/dual.h"

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
};

void write(const scratch::ScratchDir& d, const char* name, const char* text) { d.write(name, text); }

TEST(SolidFiles, WholeRunsOverSoundAndDamagedData) {
    const auto folder = [](const char* name) {
        return [name](const scratch::ScratchDir& d) {
            d.remove(name);
            fs::create_directory(d.path() / name);
        };
    };
    const auto full = [](const char* name) {
        return [name](const scratch::ScratchDir& d) { fs::create_symlink("/dev/full", d.path() / name); };
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
        {"full disk", [&](auto& d) { full("dualo.txt")(d); full("dualip.txt")(d); }, true,
         "dualo.txt: cannot be written: No space left on device\n"
         "dualip.txt: cannot be written: No space left on device\n", 5, 5},
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
        Status built = loadSolids(files, arrays, told);
        if (built) built = buildDuals(files, arrays, columns, records, told);
        closeSolidFiles(files, told);
        if (!built && !built.error().what.empty()) told.push_back(built.error());
        std::string errors;
        for (const Error& e : told) errors += e.text() + "\n";
        EXPECT_EQ(errors, c.errors);
        EXPECT_EQ(built.ok(), c.built);
        for (const auto* group : {&files.vertexFiles, &files.pairFiles, &files.faceFiles, &files.dualFiles})
            for (std::FILE* f : *group) EXPECT_EQ(f, nullptr);
        for (int k = 0; k < solidKindCount; ++k) {
            const std::string dual = solidTable[k].dualFile, pairs = solidTable[k].pairFile;
            if (fs::is_directory(dir.path() / dual) || fs::is_symlink(dir.path() / dual)) continue;
            EXPECT_EQ(dir.read(dual), k < c.complete ? scratch::expectedOutput(dual) : "<missing>") << dual;
            if (fs::is_directory(dir.path() / pairs) || fs::is_symlink(dir.path() / pairs)) continue;
            EXPECT_EQ(dir.read(pairs), c.pairsComplete < 0   ? "<missing>"
                                       : k < c.pairsComplete ? scratch::expectedOutput(pairs)
                                                             : "")
                << pairs;
        }
    }
}

}  // namespace
