// The real program under a private X server: its console, its ten files, its
// window and pictures, its exit statuses on damaged input, and check-solids.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "program_arrays.h"
#include "window_fixture.h"

namespace pd::e2e {
namespace {

namespace fs = std::filesystem;

const std::string allThree = std::string(xPrompt) + yPrompt + menuText;

// Multiplies every number of the five vertex files in `dir` by `factor`.
void scaleVertexFiles(const fs::path& dir, double factor) {
    for (const SolidInfo& info : solidTable) {
        std::ifstream in(dir / info.vertexFile);
        std::vector<double> numbers;
        for (double v; in >> v;) numbers.push_back(v * factor);
        std::ofstream out(dir / info.vertexFile);
        out.precision(17);
        for (std::size_t i = 0; i < numbers.size(); ++i) out << numbers[i] << (i % 3 == 2 ? "\n" : " ");
        ASSERT_TRUE(in.eof() && out) << info.vertexFile;
    }
}

using Program = WindowTest;

// Answers typed one at a time: each text comes before its answer and nothing
// else is written; the ten outputs are there byte for byte before the first
// prompt; the window has its title, size and place and shows the cube; closing
// it ends the run with status 0 and nothing on standard error.
TEST_F(Program, TypicalRunFromPromptsToClosedWindow) {
    // In a Serbian locale too: the console's words are its design's own.
    struct SerbianLocale {
        SerbianLocale() { setenv("LANG", "sr_RS.UTF-8", 1), setenv("LANGUAGE", "sr", 1); }
        ~SerbianLocale() { setenv("LANG", lang.c_str(), 1), unsetenv("LANGUAGE"); }
        const std::string lang = std::getenv("LANG") ? std::getenv("LANG") : "C";
    } serbian;
    WindowRun run(*x, work.path());
    ProgramProcess& p = run.process();
    ASSERT_TRUE(p.waitForOutput(xPrompt, 30)) << p.out();
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(work.read(solidTable[k].dualFile), scratch::expectedOutput(solidTable[k].dualFile));
        EXPECT_EQ(work.read(solidTable[k].pairFile), scratch::expectedOutput(solidTable[k].pairFile));
    }
    EXPECT_EQ(p.out(), xPrompt);
    p.write("30\n");
    ASSERT_TRUE(p.waitForOutput(yPrompt, 30)) << p.out();
    EXPECT_EQ(p.out(), std::string(xPrompt) + yPrompt);
    p.write("45\n");
    ASSERT_TRUE(p.waitForOutput(menuText, 30)) << p.out();
    p.write("2\n");
    const RgbImage picture = run.awaitPicture();
    const WindowGeometry g = x->geometry(run.awaitWindow());
    EXPECT_EQ(std::vector<int>({g.x, g.y, g.width, g.height}), std::vector<int>({100, 50, 1024, 700}));
    VertexArrays turned;
    std::string error;
    ASSERT_TRUE(loadTurnedSolids(work.path(), 30, 45, turned, error)) << error;
    expectPicture(picture, predictPicture(turned, 2), "cube_30_45");
    int status = -1;
    ASSERT_TRUE(run.closeWindow(status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(p.out(), allThree);
    EXPECT_EQ(p.err(), "");
    EXPECT_EQ(work.names().size(), 20u);  // the inputs and the outputs, nothing else
}

// One picture per other solid, each at angles of its own, answered on one line.
TEST_F(Program, EachSolidShowsWithItsDualWherePredicted) {
    const struct {
        float a, b;
        int choice;
    } cases[] = {{-22.5f, 10, 1}, {10, 20, 3}, {15, -35, 4}, {200, 75, 5}};
    for (const auto& c : cases) {
        WindowRun run(*x, work.path());
        const RgbImage picture = pictureOf(run, std::to_string(c.a) + " " + std::to_string(c.b) + " " +
                                                    std::to_string(c.choice) + "\n");
        VertexArrays turned;
        std::string error;
        ASSERT_TRUE(loadTurnedSolids(work.path(), c.a, c.b, turned, error)) << error;
        expectPicture(picture, predictPicture(turned, c.choice), "solid_" + std::to_string(c.choice));
    }
}

// Damaged data and odd answers: the run's status, its error output, and
// whether a window comes (then empty unless a solid was chosen).
TEST_F(Program, DamagedInputEndsAsPromised) {
    const auto folder = [](const char* name) {
        return [=](scratch::ScratchDir& d) { d.remove(name); fs::create_directory(d.path() / name); };
    };
    const auto text = [](const char* name, const char* t) {
        return [=](scratch::ScratchDir& d) { d.write(name, t); };
    };
    const struct {
        const char* what;
        std::function<void(scratch::ScratchDir&)> damage;
        const char* answers;
        int status;  // -1: a window comes and is closed
        std::string err;
        bool empty;
    } cases[] = {
        {"missing vertex file", [](auto& d) { d.remove("kocka.dat"); }, "", 255, "", false},
        {"folder as input", folder("oktap.dat"), "", 255, "oktap.dat: cannot be read: Is a directory\n", false},
        {"bad row", text("kockap.dat", "2 8 5 3\n5 9 7 6\n"), "", 255,
         "kockap.dat: row 2: vertex number 9 is outside 1 to 8\n", false},
        {"short face file", text("tetrap.dat", "1 2 3\n"), "", 255, "tetrap.dat: the file ends after row 1 of 4\n", false},
        {"output in the way", folder("dualkp.txt"), "0 0 3", -1, "dualkp.txt: cannot be created: Is a directory\n", false},
        {"link at an output", [](auto& d) { fs::create_symlink("/dev/full", d.path() / "dualt.txt"); }, "0 0 1",
         -1, "dualt.txt: cannot be created: Is a symbolic link\n", false},
        {"choice past int", [](auto&) {}, "1 2 4294967298", -1, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        scratch::ScratchDir dir;
        dir.copyShippedData();
        c.damage(dir);
        WindowRun run(*x, dir.path());
        run.process().write(c.answers);
        run.process().closeInput();
        int status = -2;
        if (c.status >= 0) {
            ASSERT_TRUE(run.process().wait(30, status));
            EXPECT_EQ(run.process().out(), "");
        } else {
            const RgbImage picture = run.awaitPicture();
            EXPECT_EQ(drawnBounds(picture).count == 0, c.empty);
            ASSERT_TRUE(run.closeWindow(status));
            EXPECT_EQ(run.process().out(), allThree);
        }
        EXPECT_EQ(status, c.status < 0 ? 0 : c.status);
        EXPECT_EQ(run.process().err(), c.err);
    }
}

// Solids a thousandth and a hundred thousand units across fill the window
// with a margin, and a resized window is framed anew.
TEST_F(Program, PictureIsFramedAtAnyScaleAndSize) {
    for (double factor : {0.001, 100000.0}) {
        scratch::ScratchDir dir;
        dir.copyShippedData();
        scaleVertexFiles(dir.path(), factor);
        WindowRun run(*x, dir.path());
        const DrawnBounds b = drawnBounds(pictureOf(run, "30 45 4\n"));
        EXPECT_TRUE(b.top >= 12 && b.bottom <= 700 - 13 && b.left >= 12 && b.right <= 1024 - 13) << factor;
        EXPECT_GT(b.bottom - b.top, 700 - 2 * 20) << factor;
    }
    WindowRun run(*x, work.path());
    pictureOf(run, "30 45 5\n");
    x->resize(run.awaitWindow(), 640, 900);
    const RgbImage resized = x->waitUntilDrawn(run.awaitWindow(), 30);
    VertexArrays turned;
    std::string error;
    ASSERT_TRUE(loadTurnedSolids(work.path(), 30, 45, turned, error)) << error;
    expectPicture(resized, predictPicture(turned, 5, 640, 900), "resized");
}

// GLUT takes its own options from the command line: with no DISPLAY the
// window still opens on the server named by -display.
TEST_F(Program, GlutOptionsReachTheWindow) {
    const std::string display = std::getenv("DISPLAY");
    ::unsetenv("DISPLAY");  // the child is forked with this environment
    WindowRun run(*x, work.path(), {"-display", display});
    ::setenv("DISPLAY", display.c_str(), 1);
    EXPECT_GT(drawnBounds(pictureOf(run, "0 0 1\n")).count, 0);
}

std::string checkSolids(const std::string& dir, RunResult& run) {
    const std::string program = PD_PROGRAM;
    run = runProgram(program.substr(0, program.rfind('/') + 1) + "check-solids", ".", "", 30, {dir});
    return run.out;
}

TEST(CheckSolids, ShippedDataFitsAndMisnumberedDataIsNamed) {
    scratch::ScratchDir dir;
    dir.copyShippedData();
    RunResult run;
    EXPECT_EQ(checkSolids(dir.path(), run), dir.path().string() + ": all ten files fit the edge tables\n");
    EXPECT_EQ(run.status, 0);
    // The cube's faces in another order, and a dodecahedron face out of order.
    dir.write("kockap.dat", "1 2 3 4\n2 8 5 3\n5 8 7 6\n3 5 6 4\n1 4 6 7\n1 7 8 2\n");
    std::string dodeka = dir.read("dodekap.dat");
    dir.write("dodekap.dat", dodeka.replace(0, dodeka.find('\n'), "1 11 6 7 2"));
    const std::string out = checkSolids(dir.path(), run);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(out.find("kockap.dat: cubeDualEdges pair"), std::string::npos) << out;
    EXPECT_NE(out.find("dodekap.dat: row 1: vertices 1 and 11 are not joined by an edge"), std::string::npos) << out;
    EXPECT_EQ(out.find("tetra"), std::string::npos) << out;
    dir.remove("ikosap.dat");
    checkSolids(dir.path(), run);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "check-solids: " + dir.file("ikosap.dat") + ": cannot be read: No such file or directory\n");
    EXPECT_EQ(dir.names().size(), 9u);
}

}  // namespace
}  // namespace pd::e2e
