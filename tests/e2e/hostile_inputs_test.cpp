// The three programs against hostile inputs: each run must end at once with
// its status and one line, and leave the folder as it was but for the file
// asked for. A model in float's denormal range is drawn as the same model
// at an ordinary size is.

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

#include "process.h"
#include "scratch_dir.h"
#include "xwindow.h"

namespace {

namespace fs = std::filesystem;

std::string tetrahedron(const std::string& u) {
    return "OFF\n4 4 6\n" + u + " " + u + " " + u + "\n" + u + " -" + u + " -" + u + "\n-" + u + " " + u + " -" + u +
           "\n-" + u + " -" + u + " " + u + "\n3 0 1 2\n3 0 3 1\n3 0 2 3\n3 1 3 2\n";
}

TEST(HostileInputs, EndAtOnceWithOneLineAndTouchNothing) {
    const std::string explorer = PD_EXPLORER, program = PD_PROGRAM;
    const std::string check = program.substr(0, program.rfind('/') + 1) + "check-solids";
    const auto fifo = [](const char* name) { return [=](const fs::path& d) { fs::remove(d / name), mkfifo((d / name).c_str(), 0644); }; };
    const auto text = [](const char* name, std::string t) { return [=](const fs::path& d) { std::ofstream(d / name) << t; }; };
    const struct {
        const char* what;
        std::string program;
        std::function<void(const fs::path&)> make;
        std::vector<std::string> args;
        int status;
        std::string err;
        const char* created;
    } cases[] = {
        {"a FIFO as an OFF file", explorer, fifo("p.off"), {"p.off", "--svg", "x.svg"}, 2, "duals-explorer: p.off: cannot be read: Is a FIFO\n", ""},
        {"a FIFO among the ten files", explorer, fifo("kocka.dat"), {".", "--svg", "x.svg"}, 2,
         "duals-explorer: ./kocka.dat: cannot be read: Is a FIFO\n", ""},
        {"the same to the program", program, fifo("kocka.dat"), {}, 255, "kocka.dat: cannot be read: Is a FIFO\n", ""},
        {"the same to check-solids", check, fifo("kockap.dat"), {}, 2, "check-solids: ./kockap.dat: cannot be read: Is a FIFO\n", ""},
        {"a folder to check-solids", check, [](const fs::path& d) { fs::remove(d / "kocka.dat"), fs::create_directory(d / "kocka.dat"); },
         {}, 2, "check-solids: ./kocka.dat: cannot be read: Is a directory\n", ""},
        {"text in a face file", check, text("kockap.dat", "1 2 x 4\n"), {}, 2,
         "check-solids: ./kockap.dat: row 1: text that is not a number\n", ""},
        {"an empty folder name", check, text("x", ""), {""}, 2,
         "check-solids: the folder name is empty (use . for the current folder)\n", ""},
        {"/dev/zero", explorer, text("x", ""), {"/dev/zero", "--svg", "x.svg"}, 2,
         "duals-explorer: /dev/zero: cannot be read: Is a character device\n", ""},
        {"a 40 GB sparse file", explorer, [](const fs::path& d) { std::ofstream(d / "big.off"), fs::resize_file(d / "big.off", 40ull << 30); },
         {"big.off", "--png", "x.png"}, 2, "duals-explorer: big.off: cannot be read: it is 42949672960 bytes long, "
         "and OFF files are read up to 1073741824 bytes (1 GiB)\n", ""},
        {"a denormal model", explorer, text("tiny.off", tetrahedron("1e-40")), {"tiny.off", "--png", "tiny.png"}, 0, "", "tiny.png"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        scratch::ScratchDir dir;
        dir.copyShippedData();
        c.make(dir.path());
        std::set<std::string> expected = dir.names();
        const RunResult r = runProgram(c.program, dir.path().string(), "", 20.0, c.args);
        EXPECT_TRUE(r.finished && r.status == c.status && r.err == c.err) << r.status << ": " << r.err;
        if (*c.created) expected.insert(c.created);
        EXPECT_EQ(dir.names(), expected);
        if (!*c.created) continue;
        // Framing does not depend on scale: the same tetrahedron a unit
        // across gives the same SVG byte for byte, and the same picture but
        // for an edge pixel or two (a denormal keeps about five digits); a
        // model GL lost would differ in thousands of pixels.
        dir.write("unit.off", tetrahedron("1"));
        for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
                 {"unit.off", "--png", "unit.png"}, {"unit.off", "--svg", "unit.svg"}, {"tiny.off", "--svg", "tiny.svg"}})
            EXPECT_EQ(runProgram(explorer, dir.path().string(), "", 20.0, args).status, 0) << args[2];
        EXPECT_EQ(dir.read("tiny.svg"), dir.read("unit.svg"));
        const RgbImage tiny = loadPng(dir.file("tiny.png")), unit = loadPng(dir.file("unit.png"));
        std::size_t differing = 0;
        for (std::size_t i = 0; i < unit.pixels.size(); ++i) differing += tiny.pixels.at(i) != unit.pixels[i];
        EXPECT_LE(differing, 8u);
    }
}

}  // namespace
