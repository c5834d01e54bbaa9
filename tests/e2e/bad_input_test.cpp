// Damaged input as a user might hand it to the program: empty, blank and
// junk data files, numbers too large for a float, "nan" and "inf", odd
// answers at the prompts, a console closed early, output names the program
// cannot create. Every run is a real process in a fresh copy of data/; none
// may crash, hang, or write anywhere but its working directory, and each
// must end with the status the program promises: 255 for a face row that
// names no vertex, otherwise a window that closes with status 0.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "scratch_dir.h"
#include "flow/dialogue.h"
#include "process.h"
#include "program_window.h"
#include "window_fixture.h"
#include "xwindow.h"

namespace {

namespace fs = std::filesystem;

constexpr double patience = 30.0;  // seconds for any one step of a run

const std::string threeTexts = std::string(xAnglePrompt) + yAnglePrompt + solidMenu;

// `size` bytes of deterministic junk. With `digitFree`, no byte can start a
// number or be skipped as white space, so a read meets it at once.
std::string junk(std::size_t size, bool digitFree) {
    std::string bytes;
    std::uint32_t state = 12345u;
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        const auto byte = static_cast<unsigned char>(state >> 24);
        bytes += static_cast<char>(digitFree ? (byte | 0x80) : byte);
    }
    return bytes;
}

std::string repeatLine(const std::string& line, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += line;
    return text;
}

// The lines of a text, without their line ends.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

struct WindowRunResult {
    bool sawWindow = false;
    bool ended = false;
    int status = -1;
    std::string out;
    std::string err;
};

// A working directory holding a copy of data/, alone inside a folder of its
// own, so that a file written beside it shows up.
class BadInput : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(outer_.path().empty());
        work_ = outer_.path() / "work";
        fs::create_directory(work_);
        for (const char* name : scratch::inputNames) write(name, scratch::dataFile(name));
    }

    void TearDown() override {
        // Whatever the run did, it stayed in its working directory and left
        // nothing there but the data files, its outputs and our folders.
        std::set<std::string> outside;
        for (const auto& entry : fs::directory_iterator(outer_.path()))
            outside.insert(entry.path().filename().string());
        EXPECT_EQ(outside, std::set<std::string>{"work"});
        std::set<std::string> allowed(std::begin(scratch::inputNames), std::end(scratch::inputNames));
        allowed.insert(std::begin(scratch::dualNames), std::end(scratch::dualNames));
        allowed.insert(std::begin(scratch::pairNames), std::end(scratch::pairNames));
        for (const auto& entry : fs::directory_iterator(work_))
            EXPECT_TRUE(allowed.count(entry.path().filename().string()))
                << "unexpected file " << entry.path();
    }

    void write(const std::string& name, const std::string& text) {
        fs::remove_all(work_ / name);
        std::ofstream(work_ / name, std::ios::binary) << text;
    }
    std::string read(const std::string& name) const { return scratch::readFile(work_ / name); }

    // A run that must end before any prompt: answers typed, input closed.
    RunResult runToEnd(const std::string& answers) {
        return runProgram(PD_PROGRAM, work_.string(), answers, patience);
    }

    // A run that must reach the window: types `answers`, closes the input,
    // waits for the window to be drawn and closes it as a window manager
    // does, then collects the status.
    WindowRunResult runThroughWindow(const std::string& answers) {
        WindowRunResult result;
        try {
            e2e::WindowRun run(e2e::sharedXSession(), work_.string());
            ProgramProcess& program = run.process();
            program.write(answers);
            program.closeInput();
            try {
                // The display callback has drawn whatever the scene holds
                // before the window is asked to close.
                run.awaitPicture(patience);
                result.sawWindow = true;
                result.ended = run.closeWindow(result.status, patience);
            } catch (const XWinError& e) {
                ADD_FAILURE() << e.what();
                result.ended = program.wait(patience, result.status);
            }
            result.out = program.out();
            result.err = program.err();
        } catch (const XWinError& e) {
            ADD_FAILURE() << e.what();
        }
        return result;
    }

    // The checks every run that reaches the window shares: the three texts
    // and nothing else on the console, the window, status 0.
    void expectWindowClosedCleanly(const WindowRunResult& run, const std::string& expectedErr = "") {
        EXPECT_TRUE(run.sawWindow) << "status " << run.status << ", error output: " << run.err;
        ASSERT_TRUE(run.ended) << "the program did not end when its window was closed";
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, threeTexts);
        EXPECT_EQ(run.err, expectedErr);
    }

    // A run stopped at a face file: status 255, silent console, one line on
    // standard error naming the file and the row.
    void expectStoppedAtRow(const RunResult& run, const std::string& faceFile, int row) {
        ASSERT_TRUE(run.finished) << "the program hung";
        EXPECT_EQ(run.status, 255);
        EXPECT_EQ(run.out, "");
        const std::vector<std::string> lines = linesOf(run.err);
        ASSERT_EQ(lines.size(), 1u) << run.err;
        EXPECT_EQ(lines[0].rfind(faceFile + ": ", 0), 0u) << lines[0];
        EXPECT_NE(lines[0].find("row " + std::to_string(row) + ":"), std::string::npos) << lines[0];
    }

    scratch::ScratchDir outer_;
    fs::path work_;
};

using BadVertexFiles = BadInput;
using BadFaceFiles = BadInput;
using BadAnswers = BadInput;
using UncreatableOutputs = BadInput;

const std::string zeroDual = "0.000000 0.000000 0.000000\n";

TEST_F(BadVertexFiles, EmptyAndBlankFilesReadAsVerticesAtTheOrigin) {
    write("tetra.DAT", "");
    write("kocka.dat", " \t\n\n   \n");
    expectWindowClosedCleanly(runThroughWindow("30 45 2\n"));
    EXPECT_EQ(read("dualt.txt"), repeatLine(zeroDual, 4));
    EXPECT_EQ(read("dualk.txt"), repeatLine(zeroDual, 6));
    // All corners coincide, so every face passes the corner test with every
    // other face, itself included.
    EXPECT_EQ(read("dualtp.txt"), " 1-1  1-2  1-3  1-4 \n 2-1  2-2  2-3  2-4 \n"
                                  " 3-1  3-2  3-3  3-4 \n 4-1  4-2  4-3  4-4 \n");
    EXPECT_EQ(read("dualo.txt"), scratch::expectedOutput("dualo.txt"));
}

TEST_F(BadVertexFiles, BinaryJunkEndsTheReadingWithoutHanging) {
    write("tetra.DAT", junk(3000, false));
    write("okta.dat", junk(5000, false));
    write("ikosa.dat", "0 0 1\n" + junk(100000, false));
    expectWindowClosedCleanly(runThroughWindow("30 45 3\n"));
    EXPECT_EQ(linesOf(read("dualo.txt")).size(), 8u);
    EXPECT_EQ(read("dualk.txt"), scratch::expectedOutput("dualk.txt"));
}

TEST_F(BadVertexFiles, NumbersBeyondFloatBecomeInfinitiesAndAreDrawn) {
    write("dodeka.dat", "1e39 -1e39 1e39\n" + scratch::dataFile("dodeka.dat"));
    const WindowRunResult run = runThroughWindow("30 45 4\n");
    EXPECT_TRUE(run.sawWindow);
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, threeTexts);
    EXPECT_EQ(run.err, "");
    const std::string dual = read("dualdo.txt");
    EXPECT_EQ(linesOf(dual).size(), 12u);
    EXPECT_NE(dual.find("-inf"), std::string::npos) << dual;
    EXPECT_NE(dual.find(" inf"), std::string::npos) << dual;
}

TEST_F(BadVertexFiles, NanAndInfAreTakenAsNumbers) {
    write("tetra.DAT", "nan inf -inf\n" + scratch::dataFile("tetra.DAT"));
    write("kocka.dat", "NAN -INF infinity\n" + scratch::dataFile("kocka.dat"));
    expectWindowClosedCleanly(runThroughWindow("30 45 1\n"));
    EXPECT_NE(read("dualt.txt").find("nan"), std::string::npos) << read("dualt.txt");
    EXPECT_NE(read("dualk.txt").find("nan"), std::string::npos) << read("dualk.txt");
    EXPECT_EQ(linesOf(read("dualkp.txt")).size(), 6u);
}

TEST_F(BadVertexFiles, AFolderInPlaceOfAVertexFileReadsAsEmpty) {
    fs::remove(work_ / "okta.dat");
    fs::create_directory(work_ / "okta.dat");
    expectWindowClosedCleanly(runThroughWindow("30 45 3\n"));
    EXPECT_EQ(read("dualo.txt"), repeatLine(zeroDual, 8));
    fs::remove(work_ / "okta.dat");
}

TEST_F(BadFaceFiles, EmptyBlankOrJunkFirstFaceFileStopsAtRowOne) {
    const std::string contents[] = {"", "  \n\t\n", junk(2000, true)};
    for (const std::string& text : contents) {
        SCOPED_TRACE(testing::PrintToString(text.substr(0, 16)));
        for (const char* name : scratch::dualNames) fs::remove(work_ / name);
        write("tetrap.dat", text);
        expectStoppedAtRow(runToEnd("30 45 2\n"), "tetrap.dat", 1);
        // The pair files were created before the face files were read;
        // no dual vertex file was.
        for (const char* name : scratch::pairNames) EXPECT_EQ(read(name), "") << name;
        for (const char* name : scratch::dualNames) EXPECT_FALSE(fs::exists(work_ / name)) << name;
    }
}

TEST_F(BadFaceFiles, EmptyLaterFaceFileStopsThereKeepingEarlierOutputs) {
    // The cube's rows start from the columns the tetrahedron left, whose
    // fourth column no row filled: row 1 names vertex 0.
    write("kockap.dat", "");
    expectStoppedAtRow(runToEnd("30 45 2\n"), "kockap.dat", 1);
    EXPECT_EQ(read("dualt.txt"), scratch::expectedOutput("dualt.txt"));
    EXPECT_EQ(read("dualtp.txt"), scratch::expectedOutput("dualtp.txt"));
    EXPECT_FALSE(fs::exists(work_ / "dualk.txt"));
}

TEST_F(BadFaceFiles, NumbersThatNameNoVertexStopTheRun) {
    const std::string firstRows[] = {
        "1e39 -1e39 2\n",      // "e39" stops the row after its first number
        "nan inf 1\n",         // not integers at all
        "99999999999 2 3\n",   // beyond int
        "-1 2 3\n",
    };
    const std::string rest = "1 4 2\n1 3 4\n2 3 4\n";
    for (const std::string& row : firstRows) {
        SCOPED_TRACE(row);
        write("tetrap.dat", row + rest);
        expectStoppedAtRow(runToEnd("30 45 2\n"), "tetrap.dat", 1);
    }
}

TEST_F(BadAnswers, NanInfinityAndHugeAnglesStillShowTheWindow) {
    const char* answers[] = {"nan nan 2\n", "inf -inf 3\n", "1e39 -1e39 4\n",
                             "1e30 1e30 5\n", "-1e30 nan 1\n", "30 45 99999999999\n"};
    for (const char* a : answers) {
        SCOPED_TRACE(a);
        expectWindowClosedCleanly(runThroughWindow(a));
    }
}

TEST_F(BadAnswers, InputClosedAtEveryPromptStillShowsTheWindow) {
    // Closed before the x prompt's answer, before the y prompt's, before
    // the menu's.
    for (const char* a : {"", "30\n", "30 45\n"}) {
        SCOPED_TRACE(testing::PrintToString(a));
        expectWindowClosedCleanly(runThroughWindow(a));
    }
}

TEST_F(BadAnswers, LettersAndBinaryJunkAtThePromptsStillShowTheWindow) {
    for (const std::string& a : {std::string("abc\n"), std::string("30 x 2\n"), junk(500, false)}) {
        SCOPED_TRACE(testing::PrintToString(a.substr(0, 16)));
        expectWindowClosedCleanly(runThroughWindow(a));
    }
}

TEST_F(UncreatableOutputs, EveryOutputNameTakenByAFolder) {
    // As root, permissions stop no write; a folder in the way does.
    std::set<std::string> names(std::begin(scratch::dualNames), std::end(scratch::dualNames));
    names.insert(std::begin(scratch::pairNames), std::end(scratch::pairNames));
    for (const std::string& name : names) fs::create_directory(work_ / name);

    const WindowRunResult run = runThroughWindow("30 45 2\n");
    EXPECT_TRUE(run.sawWindow);
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, threeTexts);
    // One line on standard error for each, naming it.
    const std::vector<std::string> lines = linesOf(run.err);
    EXPECT_EQ(lines.size(), names.size()) << run.err;
    std::set<std::string> named;
    for (const std::string& line : lines) named.insert(line.substr(0, line.find(':')));
    EXPECT_EQ(named, names);
    for (const std::string& name : names) {
        EXPECT_TRUE(fs::is_directory(work_ / name)) << name;
        EXPECT_TRUE(fs::is_empty(work_ / name)) << name;
        fs::remove(work_ / name);
    }
}

}  // namespace
