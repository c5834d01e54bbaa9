// The check-solids command, run on the shipped data and on copies a user
// might have got wrong. It is built next to the program.

#include <gtest/gtest.h>

#include <string>

#include "scratch_dir.h"
#include "process.h"

namespace {

std::string checkCommand() {
    const std::string program = PD_PROGRAM;
    return program.substr(0, program.rfind('/') + 1) + "check-solids";
}

RunResult check(const std::string& dir) {
    return runProgram(checkCommand(), ".", "", 30.0, {dir});
}

}  // namespace

TEST(CheckSolidsCommand, ShippedDataFitsAndNothingIsWritten) {
    scratch::ScratchDir dir;
    dir.copyShippedData();
    const RunResult run = check(dir.path().string());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, dir.path().string() + ": all ten files fit the edge tables\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(dir.names().size(), 10u);
}

TEST(CheckSolidsCommand, NamesTheFilesThatDoNotFit) {
    scratch::ScratchDir dir;
    dir.copyShippedData();
    // The cube's faces in another order, and a dodecahedron face with its
    // corners out of order.
    dir.write("kockap.dat", "1 2 3 4\n2 8 5 3\n5 8 7 6\n3 5 6 4\n1 4 6 7\n1 7 8 2\n");
    std::string dodeka = dir.read("dodekap.dat");
    dodeka.replace(0, dodeka.find('\n'), "1 11 6 7 2");
    dir.write("dodekap.dat", dodeka);
    const RunResult run = check(dir.path().string());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("kockap.dat: cubeDualEdges pair"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("dodekap.dat: row 1: vertices 1 and 11 are not joined by an edge"),
              std::string::npos) << run.out;
    for (const char* fine : {"tetra", "okta", "ikosa"})
        EXPECT_EQ(run.out.find(fine), std::string::npos) << fine;
}

TEST(CheckSolidsCommand, UnreadableFileGivesStatusTwo) {
    scratch::ScratchDir dir;
    dir.copyShippedData();
    dir.remove("ikosap.dat");
    const RunResult run = check(dir.path().string());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("ikosap.dat: cannot be read"), std::string::npos) << run.err;
}
