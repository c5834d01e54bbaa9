// The three programs against hostile inputs: each run must end at once with
// its status and one line, and leave the folder as it was but for the file
// asked for. A model in float's denormal range is drawn as the same model
// at an ordinary size is.

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

#include "prism_off.h"
#include "process.h"
#include "scratch_dir.h"
#include "xwindow.h"

using namespace pd;

namespace {

namespace fs = std::filesystem;

std::string tetrahedron(const std::string& u) {
    return "OFF\n4 4 6\n" + u + " " + u + " " + u + "\n" + u + " -" + u + " -" + u + "\n-" + u + " " + u + " -" + u +
           "\n-" + u + " -" + u + " " + u + "\n3 0 1 2\n3 0 3 1\n3 0 2 3\n3 1 3 2\n";
}

// The cube with one vertex in no face.
const char* strayCube = "OFF\n9 6 0\n0 0 0\n1 0 0\n1 1 0\n0 1 0\n0 0 1\n1 0 1\n1 1 1\n0 1 1\n1e29 0 0\n"
                        "4 0 3 2 1\n4 4 5 6 7\n4 0 1 5 4\n4 1 2 6 5\n4 2 3 7 6\n4 3 0 4 7\n";

const char* dualNames[] = {"dualt.txt", "dualk.txt", "dualo.txt", "dualdo.txt", "duali.txt",
                           "dualtp.txt", "dualkp.txt", "dualop.txt", "dualdop.txt", "dualip.txt"};

TEST(HostileInputs, EndAtOnceWithOneLineAndTouchNothing) {
    const std::string explorer = PD_EXPLORER, program = PD_PROGRAM;
    const std::string check = program.substr(0, program.rfind('/') + 1) + "check-solids";
    // A shell run, for what a run's surroundings do to it: $0 is the
    // explorer, $1 the program, $2 check-solids, and no display is there.
    // The program's window then fails; only its first lines are kept.
    const auto shell = [&](std::string script) {
        return std::vector<std::string>{"-c", "unset DISPLAY; " + script, explorer, program, check};
    };
    const auto earlierRun = [](const fs::path& d) {
        for (const char* name : dualNames) std::ofstream(d / name) << "an earlier run's\n";
    };
    const auto fileTooLarge = [] {
        std::string lines;
        for (const char* name : dualNames) lines += std::string(name) + ": cannot be written: File too large\n";
        return lines;
    };
    const auto fifo = [](const char* name) { return [=](const fs::path& d) { fs::remove(d / name), mkfifo((d / name).c_str(), 0644); }; };
    const auto text = [](const char* name, std::string t) { return [=](const fs::path& d) { std::ofstream(d / name) << t; }; };
    const struct {
        const char* what;
        std::string program;
        std::function<void(const fs::path&)> make;
        std::vector<std::string> args;
        int status;
        std::string err;
        std::set<std::string> created;
    } cases[] = {
        {"a FIFO as an OFF file", explorer, fifo("p.off"), {"p.off", "--svg", "x.svg"}, 2, "duals-explorer: p.off: cannot be read: Is a FIFO\n", {}},
        {"a FIFO among the ten files", explorer, fifo("kocka.dat"), {".", "--svg", "x.svg"}, 2,
         "duals-explorer: ./kocka.dat: cannot be read: Is a FIFO\n", {}},
        {"the same to the program", program, fifo("kocka.dat"), {}, 255, "kocka.dat: cannot be read: Is a FIFO\n", {}},
        {"the same to check-solids", check, fifo("kockap.dat"), {}, 2, "check-solids: ./kockap.dat: cannot be read: Is a FIFO\n", {}},
        {"a folder to check-solids", check, [](const fs::path& d) { fs::remove(d / "kocka.dat"), fs::create_directory(d / "kocka.dat"); },
         {}, 2, "check-solids: ./kocka.dat: cannot be read: Is a directory\n", {}},
        {"text in a face file", check, text("kockap.dat", "1 2 x 4\n"), {}, 2,
         "check-solids: ./kockap.dat: row 1: text that is not a number\n", {}},
        {"an empty folder name", check, text("x", ""), {""}, 2,
         "check-solids: the folder name is empty (use . for the current folder)\n", {}},
        {"/dev/zero", explorer, text("x", ""), {"/dev/zero", "--svg", "x.svg"}, 2,
         "duals-explorer: /dev/zero: cannot be read: Is a character device\n", {}},
        {"a 40 GB sparse file", explorer, [](const fs::path& d) { std::ofstream(d / "big.off"), fs::resize_file(d / "big.off", 40ull << 30); },
         {"big.off", "--png", "x.png"}, 2, "duals-explorer: big.off: cannot be read: it is 42949672960 bytes long, "
         "and OFF files are read up to 1073741824 bytes (1 GiB)\n", {}},
        {"a denormal model", explorer, text("tiny.off", tetrahedron("1e-40")), {"tiny.off", "--png", "tiny.png", "--aliased"}, 0, "", {"tiny.png"}},
        // Outputs of the program: never through a link, never waiting on a
        // FIFO, and over a file-size limit reported and left empty.
        {"a link and a FIFO at the program's outputs", "/bin/sh",
         [&](const fs::path& d) { earlierRun(d), fs::remove(d / "dualk.txt"), fs::create_symlink("/dev/full", d / "dualk.txt"), fifo("dualo.txt")(d); },
         shell("\"$1\" </dev/null 2>&1 >/dev/null | head -n 2 >&2"), 0,
         "dualk.txt: cannot be created: Is a symbolic link\ndualo.txt: cannot be created: Is a FIFO\n", {}},
        {"the program over ulimit -f", "/bin/sh", earlierRun,
         shell("ulimit -f 0; \"$1\" </dev/null 2>&1 >/dev/null | head -n 10 >&2"), 0, fileTooLarge(), {}},
        // Standard output that cannot take what is printed.
        {"--info to a full disk", "/bin/sh", text("x", ""), shell("\"$0\" . --info >/dev/full"), 2,
         "duals-explorer: standard output: cannot be written: No space left on device\n", {}},
        {"--info to a closed descriptor", "/bin/sh", text("x", ""), shell("\"$0\" . --info >&-"), 2,
         "duals-explorer: standard output: cannot be written: Bad file descriptor\n", {}},
        {"--png - over ulimit -f", "/bin/sh", text("x", ""), shell("ulimit -f 0; \"$0\" . --png - >out.png"), 2,
         "duals-explorer: standard output: cannot be written: File too large\n", {"out.png"}},
        // No display: what to use instead, after what is wrong with the input.
        {"a window with no display", "/bin/sh", text("x", ""), shell("\"$0\" ."), 2,
         "duals-explorer: no display (DISPLAY is not set): use --png, --svg, --off, --net or --info to work without one\n", {}},
        {"a missing input with no display", "/bin/sh", text("x", ""), shell("\"$0\" gone.off"), 2,
         "duals-explorer: gone.off: cannot be read: No such file or directory\n", {}},
        {"check-solids to a full disk", "/bin/sh", text("x", ""), shell("\"$2\" >/dev/full"), 2,
         "check-solids: standard output: cannot be written: No space left on device\n", {}},
        // Names are printed with their control bytes escaped; a vertex in no
        // face is left out with a note.
        {"escapes in a file's name", explorer, text("\x1b]0;t\x07.off", strayCube), {"\x1b]0;t\x07.off", "--svg", "x.svg"}, 0,
         "duals-explorer: \\x1b]0;t\\x07: vertex 8 is in no face and is left out\n", {"x.svg"}},
        {"a name not UTF-8 on a net's page", explorer, text("caf\xe9.off", tetrahedron("1")), {"caf\xe9.off", "--net", "n.pdf"}, 0,
         "", {"n.pdf"}},
        // A turntable stopped part-way takes its pictures with it, from the
        // folder it began in even when that folder's name now means another.
        {"a turntable stopped by SIGTERM", "/bin/sh", text("x", ""),
         shell("\"$0\" . --svg t.svg --frames 100000 & p=$!; until [ -e t-00002.svg ]; do sleep 0.01; done; "
               "kill -TERM $p; wait $p 2>/dev/null"), 143, "", {}},
        {"its folder swapped for a link", "/bin/sh", text("x", ""),
         shell("mkdir out other; : >other/t-00000.svg; \"$0\" . --svg out/t.svg --frames 100000 & p=$!; "
               "until [ -e out/t-00002.svg ]; do sleep 0.01; done; mv out moved; ln -s other out; kill -TERM $p; "
               "wait $p 2>/dev/null; s=$?; ls moved other >&2; exit $s"), 143, "moved:\n\nother:\nt-00000.svg\n", {"moved", "other", "out"}},
        // Faces of 20 000 corners: unfolded at once, or refused at once with
        // the reason where the work would run away.
        {"a 20 000-cornered prism unfolded", explorer, text("prism.off", prismOff(20000)),
         {"prism.off", "--unfold", "1", "--svg", "u.svg"}, 0, "", {"u.svg"}},
        {"its hidden parts", explorer, text("prism.off", prismOff(20000)),
         {"prism.off", "--faces", "shaded", "--back", "hidden", "--svg", "h.svg"}, 2,
         "duals-explorer: too many faces in the way of too many edges to find their hidden parts\n", {}},
        // Pictures and net pages are refused where pages are, and
        // --overwrite leaves none of a longer series beside the new ones.
        {"pictures over an earlier turntable's", "/bin/sh", text("x", ""),
         shell("\"$0\" . --svg t.svg --frames 5 && \"$0\" . --svg t.svg --frames 2 --overwrite"), 0, "",
         {"t-000.svg", "t-001.svg"}},
        {"net pages over an earlier net's", "/bin/sh", text("x", ""),
         shell("\"$0\" . --solid 2 --net n.svg --edge-mm 55 && \"$0\" . --solid 2 --net n.svg --edge-mm 50; "
               "\"$0\" . --solid 2 --net n.svg --edge-mm 45 --overwrite"), 0,
         "duals-explorer: n-000.svg: already exists; --overwrite lets --net replace existing pages\n", {"n.svg"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        scratch::ScratchDir dir;
        dir.copyShippedData();
        c.make(dir.path());
        std::set<std::string> expected = dir.names();
        const RunResult r = runProgram(c.program, dir.path().string(), "", 20.0, c.args);
        EXPECT_TRUE(r.finished && r.status == c.status && r.err == c.err) << r.status << ": " << r.err;
        expected.insert(c.created.begin(), c.created.end());
        EXPECT_EQ(dir.names(), expected);
        if (!c.created.count("tiny.png")) continue;
        // Framing does not depend on scale: the same tetrahedron a unit
        // across gives the same SVG byte for byte, and the same picture but
        // for an edge pixel or two (a denormal keeps about five digits); a
        // model GL lost would differ in thousands of pixels.
        dir.write("unit.off", tetrahedron("1"));
        for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
                 {"unit.off", "--png", "unit.png", "--aliased"}, {"unit.off", "--svg", "unit.svg"}, {"tiny.off", "--svg", "tiny.svg"}})
            EXPECT_EQ(runProgram(explorer, dir.path().string(), "", 20.0, args).status, 0) << args[2];
        EXPECT_EQ(dir.read("tiny.svg"), dir.read("unit.svg"));
        const RgbImage tiny = loadPng(dir.file("tiny.png")), unit = loadPng(dir.file("unit.png"));
        std::size_t differing = 0;
        for (std::size_t i = 0; i < unit.pixels.size(); ++i) differing += tiny.pixels.at(i) != unit.pixels[i];
        EXPECT_LE(differing, 8u);
    }
}

}  // namespace
