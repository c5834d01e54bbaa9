// The program's file steps seen from outside: which files a run leaves,
// what they hold, its exit status and its console, for missing, damaged and
// sound data. None of these runs gets past the prompts, so no display is
// needed: a run that reaches the x prompt is killed there.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "scratch_dir.h"
#include "flow/dialogue.h"
#include "process.h"
#include "solids/solid_table.h"

namespace {

using scratch::expectedOutput;
using scratch::ScratchDir;

const char* const faceFiles[] = {"tetrap.dat", "kockap.dat", "oktap.dat", "dodekap.dat",
                                 "ikosap.dat"};

std::set<std::string> inputsWithout(const std::string& missing) {
    std::set<std::string> names(std::begin(scratch::inputNames), std::end(scratch::inputNames));
    names.erase(missing);
    return names;
}

// After a run that stopped at the face file of solid `stoppedAt` (0-based;
// 5 for none): the earlier solids' outputs are complete, every pair file
// exists, later pair files are empty, later dual files were never created.
void expectOutputs(const ScratchDir& dir, std::set<std::string> inputs, int stoppedAt) {
    std::set<std::string> expectedNames = std::move(inputs);
    for (int k = 0; k < solidKindCount; ++k) {
        SCOPED_TRACE(scratch::pairNames[k]);
        expectedNames.insert(scratch::pairNames[k]);
        if (k < stoppedAt) {
            expectedNames.insert(scratch::dualNames[k]);
            EXPECT_EQ(dir.read(scratch::dualNames[k]), expectedOutput(scratch::dualNames[k]));
            EXPECT_EQ(dir.read(scratch::pairNames[k]), expectedOutput(scratch::pairNames[k]));
        } else {
            EXPECT_EQ(dir.read(scratch::pairNames[k]), "");
        }
    }
    EXPECT_EQ(dir.names(), expectedNames);
}

// Starts the program in `dir` and waits for the x prompt.
bool reachXPrompt(ProgramProcess& program, const ScratchDir& dir) {
    return program.start(PD_PROGRAM, dir.path().string()) &&
           program.waitForOutput(xAnglePrompt, 30.0);
}

}  // namespace

TEST(SolidsRun, MissingVertexFileEndsSilentlyBeforeCreatingAnything) {
    for (const char* missing : {"tetra.DAT", "okta.dat", "ikosa.dat"}) {
        SCOPED_TRACE(missing);
        ScratchDir dir;
        dir.copyShippedData();
        dir.remove(missing);
        const RunResult run = runProgram(PD_PROGRAM, dir.path().string(), "30 45 2\n");
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.status, 255);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(dir.names(), inputsWithout(missing));
    }
}

TEST(SolidsRun, MissingFaceFileEndsSilentlyKeepingEarlierOutputs) {
    for (int k : {0, 2, 4}) {
        SCOPED_TRACE(faceFiles[k]);
        ScratchDir dir;
        dir.copyShippedData();
        dir.remove(faceFiles[k]);
        const RunResult run = runProgram(PD_PROGRAM, dir.path().string(), "30 45 2\n");
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.status, 255);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "");
        expectOutputs(dir, inputsWithout(faceFiles[k]), k);
    }
}

TEST(SolidsRun, FaceRowOutsideTheVerticesEndsTheRunWithOneLine) {
    ScratchDir dir;
    dir.copyShippedData();
    dir.write("oktap.dat", "1 3 5\n1 2 3\n2 4 7\n3 4 5\n4 6 5\n1 5 6\n2 6 4\n1 6 2\n");
    const RunResult run = runProgram(PD_PROGRAM, dir.path().string(), "30 45 2\n");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.status, 255);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "oktap.dat: row 3: vertex number 7 is outside 1 to 6\n");
    expectOutputs(dir, inputsWithout(""), 2);
}

TEST(SolidsRun, AllTenOutputsAreCompleteAtTheXPrompt) {
    ScratchDir dir;
    dir.copyShippedData();
    ProgramProcess program;
    ASSERT_TRUE(reachXPrompt(program, dir)) << program.err();
    EXPECT_EQ(program.out(), xAnglePrompt);
    EXPECT_EQ(program.err(), "");
    expectOutputs(dir, inputsWithout(""), solidKindCount);
    program.kill();
}

TEST(SolidsRun, OutputThatCannotBeCreatedIsSkippedAndTheRunGoesOn) {
    ScratchDir dir;
    dir.copyShippedData();
    std::filesystem::create_directory(dir.path() / "dualk.txt");
    std::filesystem::create_directory(dir.path() / "dualip.txt");
    ProgramProcess program;
    ASSERT_TRUE(reachXPrompt(program, dir)) << program.err();
    EXPECT_EQ(program.err(), "dualip.txt: cannot be created: Is a directory\n"
                             "dualk.txt: cannot be created: Is a directory\n");
    for (const char* name : {"dualt.txt", "dualo.txt", "dualdo.txt", "duali.txt", "dualtp.txt",
                             "dualkp.txt", "dualop.txt", "dualdop.txt"})
        EXPECT_EQ(dir.read(name), expectedOutput(name)) << name;
    // The dialogue carries on as usual.
    program.write("30 45\n");
    EXPECT_TRUE(program.waitForOutput(solidMenu, 30.0));
    EXPECT_EQ(program.out(), std::string(xAnglePrompt) + yAnglePrompt + solidMenu);
    program.kill();
}

TEST(SolidsRun, DamagedVertexFilesStillReachThePrompt) {
    ScratchDir dir;
    dir.copyShippedData();
    // Words after the cube's vertices, and far more than 49 triples after
    // the icosahedron's: the load neither hangs nor overruns.
    dir.write("kocka.dat", dir.read("kocka.dat") + "kraj\n1 2 3\n");
    std::string ikosa = dir.read("ikosa.dat");
    for (int i = 0; i < 500; ++i) ikosa += "1e6 -1e6 1e6\n";
    dir.write("ikosa.dat", ikosa);
    ProgramProcess program;
    ASSERT_TRUE(reachXPrompt(program, dir)) << program.err();
    EXPECT_EQ(program.err(), "");
    expectOutputs(dir, inputsWithout(""), solidKindCount);
    program.kill();
}
