#include "solids/solid_files.h"

#include <gtest/gtest.h>

#include <string>

#include "scratch_dir.h"
#include "solids/dual.h"

using scratch::expectedOutput;

namespace {

// One run of the file steps in a scratch directory: load, duals, close, with
// standard error captured.
struct FileRun {
    bool loaded = false;
    bool built = false;
    std::string errors;
    SolidFileSet openBeforeClose;
    SolidFileSet afterClose;
    VertexArrays arrays;
};

FileRun runFileSteps(const scratch::ScratchDir& dir, const VertexArrays& start = {}) {
    FileRun run;
    run.arrays = start;
    FaceColumns columns{};
    FaceRecords records{};
    SolidFileSet files;
    scratch::WorkingDir here(dir.path());
    testing::internal::CaptureStderr();
    run.loaded = loadSolids(files, run.arrays);
    if (run.loaded) run.built = buildDuals(files, run.arrays, columns, records);
    run.openBeforeClose = files;
    closeSolidFiles(files);
    run.afterClose = files;
    run.errors = testing::internal::GetCapturedStderr();
    return run;
}

int openCount(const SolidFileSet& files) {
    int count = 0;
    for (const auto* group : {&files.vertexFiles, &files.pairFiles, &files.faceFiles,
                              &files.dualFiles})
        for (std::FILE* f : *group) count += f != nullptr;
    return count;
}

// The output files of the first `complete` solids hold their full contents,
// the later pair files exist and are empty, the later dual files were never
// created.
void expectOutputsUpTo(const scratch::ScratchDir& dir, int complete) {
    for (int k = 0; k < solidKindCount; ++k) {
        SCOPED_TRACE(scratch::dualNames[k]);
        if (k < complete) {
            EXPECT_EQ(dir.read(scratch::dualNames[k]), expectedOutput(scratch::dualNames[k]));
            EXPECT_EQ(dir.read(scratch::pairNames[k]), expectedOutput(scratch::pairNames[k]));
        } else {
            EXPECT_FALSE(dir.exists(scratch::dualNames[k]));
            EXPECT_EQ(dir.read(scratch::pairNames[k]), "");
        }
    }
}

}  // namespace

TEST(SolidFiles, ShippedDataGivesAllTenOutputsAndClosesEveryStream) {
    scratch::ScratchDir dir;
    dir.copyShippedData();
    const FileRun run = runFileSteps(dir);
    EXPECT_TRUE(run.loaded);
    EXPECT_TRUE(run.built);
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(openCount(run.openBeforeClose), 20);
    EXPECT_EQ(openCount(run.afterClose), 0);
    expectOutputsUpTo(dir, solidKindCount);
}

TEST(SolidFiles, BuildDualsClearsOnlyItsPositions) {
    scratch::ScratchDir dir;
    dir.copyShippedData();
    VertexArrays start;
    for (VertexArray* a : {&start.cubeDualVerts, &start.dodecaDualVerts})
        a->fill(Vec3{7, 7, 7});
    const FileRun run = runFileSteps(dir, start);
    ASSERT_TRUE(run.built);
    for (int p : {6, 7}) EXPECT_EQ(run.arrays.cubeDualVerts[p].x, 0.0f) << p;
    for (int p = 12; p < 20; ++p) EXPECT_EQ(run.arrays.dodecaDualVerts[p].z, 0.0f) << p;
    EXPECT_EQ(run.arrays.cubeDualVerts[8].x, 7.0f);
    EXPECT_EQ(run.arrays.dodecaDualVerts[20].y, 7.0f);
}

TEST(SolidFiles, MissingVertexFileCreatesNothing) {
    for (const char* missing : {"tetra.DAT", "okta.dat", "ikosa.dat"}) {
        SCOPED_TRACE(missing);
        scratch::ScratchDir dir;
        dir.copyShippedData();
        dir.remove(missing);
        const FileRun run = runFileSteps(dir);
        EXPECT_FALSE(run.loaded);
        EXPECT_EQ(run.errors, "");
        EXPECT_EQ(dir.names().size(), 9u);
    }
}

TEST(SolidFiles, TetraFileNameIsCaseSensitive) {
    scratch::ScratchDir dir;
    dir.copyShippedData();
    dir.write("tetra.dat", dir.read("tetra.DAT"));
    dir.remove("tetra.DAT");
    EXPECT_FALSE(runFileSteps(dir).loaded);
}

TEST(SolidFiles, MissingFaceFileKeepsWhatWasWritten) {
    const char* faceFiles[] = {"tetrap.dat", "kockap.dat", "oktap.dat", "dodekap.dat",
                               "ikosap.dat"};
    for (int k = 0; k < solidKindCount; ++k) {
        SCOPED_TRACE(faceFiles[k]);
        scratch::ScratchDir dir;
        dir.copyShippedData();
        dir.remove(faceFiles[k]);
        const FileRun run = runFileSteps(dir);
        EXPECT_TRUE(run.loaded);
        EXPECT_FALSE(run.built);
        EXPECT_EQ(run.errors, "");
        expectOutputsUpTo(dir, k);
    }
}

// A face row naming a vertex the solid does not have ends the run like a
// missing face file, with one line saying where.
TEST(SolidFiles, FaceRowOutsideTheVerticesIsReported) {
    struct Case {
        const char* file;
        std::string text;
        int complete;
        const char* message;
    };
    const Case cases[] = {
        {"oktap.dat", "1 3 5\n1 2 3\n2 4 7\n3 4 5\n4 6 5\n1 5 6\n2 6 4\n1 6 2\n", 2,
         "oktap.dat: row 3: vertex number 7 is outside 1 to 6\n"},
        {"tetrap.dat", "2 4 3\n1 0 2\n1 3 4\n1 2 3\n", 0,
         "tetrap.dat: row 2: vertex number 0 is outside 1 to 4\n"},
        {"ikosap.dat", "-3 11 7\n", 4, "ikosap.dat: row 1: vertex number -3 is outside 1 to 12\n"},
        // Rows the file lacks were never read: zero.
        {"dodekap.dat", "1 6 11 7 2\n6 15 20 16 11\n", 3,
         "dodekap.dat: row 3: vertex number 0 is outside 1 to 20\n"},
        // Text that is not a number stops every later read too.
        {"kockap.dat", "2 8 5 3\n5 8 7 6\n3 5 six 4\n1 2 3 4\n1 4 6 7\n1 7 8 2\n", 1,
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

TEST(SolidFiles, FaceFileWithExtraRowsUsesTheFirstOnes) {
    scratch::ScratchDir dir;
    dir.copyShippedData();
    dir.write("kockap.dat", dir.read("kockap.dat") + "0 0 0 0\n99 98 97 96\n");
    dir.write("tetrap.dat", dir.read("tetrap.dat") + "1 2 x\n");
    const FileRun run = runFileSteps(dir);
    EXPECT_TRUE(run.built);
    EXPECT_EQ(run.errors, "");
    expectOutputsUpTo(dir, solidKindCount);
}

TEST(SolidFiles, VertexFilesWithJunkOrTooManyTriplesStillLoad) {
    scratch::ScratchDir dir;
    dir.copyShippedData();
    dir.write("kocka.dat", dir.read("kocka.dat") + "end of data\n1 2 3\n");
    std::string many = dir.read("ikosa.dat");
    for (int i = 0; i < 60; ++i) many += "5 5 5\n";
    dir.write("ikosa.dat", many);
    const FileRun run = runFileSteps(dir);
    EXPECT_TRUE(run.built);
    EXPECT_EQ(run.arrays.cubeVerts[8].x, 0.0f);
    EXPECT_EQ(run.arrays.icosaVerts[48].x, 5.0f);
    expectOutputsUpTo(dir, solidKindCount);
}

TEST(SolidFiles, OutputThatCannotBeCreatedIsReportedAndSkipped) {
    scratch::ScratchDir dir;
    dir.copyShippedData();
    // A folder in the way stops even a privileged user from creating the file.
    std::filesystem::create_directory(dir.path() / "dualop.txt");
    std::filesystem::create_directory(dir.path() / "dualk.txt");
    const FileRun run = runFileSteps(dir);
    EXPECT_TRUE(run.loaded);
    EXPECT_TRUE(run.built);
    EXPECT_EQ(run.openBeforeClose.pairFiles[Octahedron - 1], nullptr);
    EXPECT_EQ(run.openBeforeClose.dualFiles[Hexahedron - 1], nullptr);
    EXPECT_EQ(openCount(run.openBeforeClose), 18);
    EXPECT_EQ(run.errors, "dualop.txt: cannot be created: Is a directory\n"
                          "dualk.txt: cannot be created: Is a directory\n");
    for (const char* name : {"dualt.txt", "dualo.txt", "dualdo.txt", "duali.txt", "dualtp.txt",
                             "dualkp.txt", "dualdop.txt", "dualip.txt"})
        EXPECT_EQ(dir.read(name), expectedOutput(name)) << name;
}
