#include "solids/solid_files.h"

#include <gtest/gtest.h>

#include <string>

#include "scratch_dir.h"
#include "solids/dual.h"

namespace {

// Load, duals and close in a scratch directory, with standard error caught.
struct FileRun {
    bool built = false;
    std::string errors;
    int openBeforeClose = 0;
    int openAfterClose = 0;
    VertexArrays arrays;
};

int openCount(const SolidFileSet& files) {
    int count = 0;
    for (const auto* group : {&files.vertexFiles, &files.pairFiles, &files.faceFiles,
                              &files.dualFiles})
        for (std::FILE* f : *group) count += f != nullptr;
    return count;
}

FileRun runFileSteps(const scratch::ScratchDir& dir, const VertexArrays& start = {}) {
    FileRun run;
    run.arrays = start;
    FaceColumns columns{};
    FaceRecords records{};
    SolidFileSet files;
    scratch::WorkingDir here(dir.path());
    testing::internal::CaptureStderr();
    run.built = loadSolids(files, run.arrays) && buildDuals(files, run.arrays, columns, records);
    run.openBeforeClose = openCount(files);
    closeSolidFiles(files);
    run.openAfterClose = openCount(files);
    run.errors = testing::internal::GetCapturedStderr();
    return run;
}

// The outputs of the first `complete` solids are whole; the later pair
// files are empty and the later dual files were never created.
void expectOutputsUpTo(const scratch::ScratchDir& dir, int complete) {
    for (int k = 0; k < solidKindCount; ++k) {
        const char* dual = scratch::dualNames[k];
        const char* pairs = scratch::pairNames[k];
        EXPECT_EQ(dir.read(dual), k < complete ? scratch::expectedOutput(dual) : "<missing>") << dual;
        EXPECT_EQ(dir.read(pairs), k < complete ? scratch::expectedOutput(pairs) : "") << pairs;
    }
}

}  // namespace

// The expected files were computed independently of this program.
TEST(SolidFiles, ShippedDataGivesTheTenOutputsByteForByte) {
    scratch::ScratchDir dir;
    dir.copyShippedData();
    // Rows past faceCount are never read.
    dir.write("kockap.dat", dir.read("kockap.dat") + "0 0 0 0\n99 98 97 96\n");
    VertexArrays start;
    for (VertexArray* a : {&start.cubeDualVerts, &start.dodecaDualVerts}) a->fill(Vec3{7, 7, 7});
    const FileRun run = runFileSteps(dir, start);
    EXPECT_TRUE(run.built);
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.openBeforeClose, 20);
    EXPECT_EQ(run.openAfterClose, 0);
    expectOutputsUpTo(dir, solidKindCount);
    // Cleared positions past faceCount stay zero; others are not touched.
    for (int p : {6, 7}) EXPECT_EQ(run.arrays.cubeDualVerts[p].x, 0.0f) << p;
    for (int p = 12; p < 20; ++p) EXPECT_EQ(run.arrays.dodecaDualVerts[p].z, 0.0f) << p;
    EXPECT_EQ(run.arrays.cubeDualVerts[8].x, 7.0f);
    EXPECT_EQ(run.arrays.dodecaDualVerts[20].y, 7.0f);
}

// A face row naming a vertex the solid does not have ends the run like a
// missing face file, with one line saying where.
TEST(SolidFiles, FaceRowOutsideTheVerticesIsReported) {
    struct Case {
        const char* file;
        const char* text;
        int complete;
        const char* message;
    };
    const Case cases[] = {
        {"oktap.dat", "1 3 5\n1 2 3\n2 4 7\n3 4 5\n4 6 5\n1 5 6\n2 6 4\n1 6 2\n", 2,
         "oktap.dat: row 3: vertex number 7 is outside 1 to 6\n"},
        {"tetrap.dat", "2 4 3\n1 0 2\n", 0, "tetrap.dat: row 2: vertex number 0 is outside 1 to 4\n"},
        {"ikosap.dat", "-3 11 7\n", 4, "ikosap.dat: row 1: vertex number -3 is outside 1 to 12\n"},
        // Rows a short file lacks keep what earlier solids left, but the
        // last one was never read by any: zero.
        {"dodekap.dat", "1 6 11 7 2\n6 15 20 16 11\n", 3,
         "dodekap.dat: row 3: vertex number 0 is outside 1 to 20\n"},
        {"kockap.dat", "2 8 5 3\n5 8 7 6\n3 5 six 4\n", 1,
         "kockap.dat: row 3: vertex number 0 is outside 1 to 8\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        scratch::ScratchDir dir;
        dir.copyShippedData();
        dir.write(c.file, c.text);
        const FileRun run = runFileSteps(dir);
        EXPECT_FALSE(run.built);
        EXPECT_EQ(run.errors, c.message);
        expectOutputsUpTo(dir, c.complete);
    }
}

TEST(SolidFiles, OutputThatCannotBeCreatedIsReportedAndSkipped) {
    scratch::ScratchDir dir;
    dir.copyShippedData();
    // A folder in the way stops even a privileged user from creating the file.
    std::filesystem::create_directory(dir.path() / "dualop.txt");
    std::filesystem::create_directory(dir.path() / "dualk.txt");
    const FileRun run = runFileSteps(dir);
    EXPECT_TRUE(run.built);
    EXPECT_EQ(run.openBeforeClose, 18);
    EXPECT_EQ(run.errors, "dualop.txt: cannot be created: Is a directory\n"
                          "dualk.txt: cannot be created: Is a directory\n");
    for (const char* name : {"dualt.txt", "dualo.txt", "duali.txt", "dualkp.txt", "dualdop.txt"})
        EXPECT_EQ(dir.read(name), scratch::expectedOutput(name)) << name;
}
