// The explorer's one writer against hostile outputs. Each case writes a small
// PNG in a child process (so signals, limits and a changed user stay there),
// doing its mischief once the file holds the PNG's header; then the child's
// status, its one line and every entry of the folder are compared with what
// the case expects: only a successful write may change anything, its output.

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <map>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "io/output_file.h"
#include "picture/png_file.h"
#include "scratch_dir.h"

using namespace pd;

namespace {

namespace fs = std::filesystem;

// Every entry of `dir`: a file's bytes, a link's target, or its kind.
std::map<std::string, std::string> entries(const fs::path& dir) {
    std::map<std::string, std::string> all;
    for (const auto& e : fs::directory_iterator(dir)) {
        std::string& seen = all[e.path().filename().string()];
        if (e.is_symlink()) seen = "-> " + fs::read_symlink(e.path()).string();
        else seen = e.is_regular_file() ? scratch::readFile(e.path()) : e.is_fifo() ? "fifo" : "folder";
    }
    return all;
}

// Writes a 2 x 2 PNG to `target` in a child working in `dir`: `before`
// runs first, `during` once the PNG's header is written. The child's status
// (128 + the signal that ended it) and its error line.
std::pair<int, std::string> writeInChild(const fs::path& dir, const std::string& target, bool named,
                                         const std::function<void()>& before, const std::function<void()>& during) {
    int ends[2];
    if (pipe(ends) != 0) return {-1, ""};
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(dir.c_str()) != 0) _exit(99);
        before();
        useNamedTemporaries(named);
        const Status written = writeOutputFile(target, [&](int fd) {
            return writePng(fd, 2, 2, [&](int, int count, std::uint8_t* out) {
                during();
                std::fill(out, out + count * 6, std::uint8_t(200));
                return Status(Done{});
            });
        });
        const std::string line = written ? "" : written.error().text();
        _exit(write(ends[1], line.data(), line.size()) < 0 ? 99 : written ? 0 : 2);
    }
    close(ends[1]);
    std::string line;
    char buffer[512];
    for (ssize_t n; (n = read(ends[0], buffer, sizeof buffer)) > 0;) line.append(buffer, std::size_t(n));
    close(ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status), line};
}

TEST(OutputFile, HostileOutputsChangeNothingButTheOutput) {
    scratch::ScratchDir dir;
    fs::permissions(dir.path(), fs::perms(0711));  // open to the read-only case's other user
    const auto none = [] {};
    const auto linksFor = [&](const std::string& prefix) {  // each name starting so becomes a link
        return [&, prefix] {
            for (const auto& [name, what] : entries(dir.path()))
                if (name.rfind(prefix, 0) == 0) fs::remove(dir.path() / name), fs::create_symlink("victim", dir.path() / name);
        };
    };
    const struct {
        const char* what;
        bool named;  // the new file has a name while written (as without O_TMPFILE)
        std::string target;
        std::function<void()> before, during;
        int status;
        std::string line;
    } cases[] = {
        {"a link put in the output's place", false, "out.png", none, linksFor("out"), 0, ""},
        {"a link put in the temporary's place", true, "out.png", none, linksFor(".pd-"), 2,
         "out.png: its temporary file in . was replaced while it was written"},
        {"a link to a device", false, "null.png", none, none, 2, "null.png: is a character device, not a regular file"},
        {"a FIFO", true, "fifo.png", none, none, 2, "fifo.png: is a FIFO, not a regular file"},
        // Root may write anywhere: the child gives that up first.
        {"a read-only folder", false, "ro/out.png", [] { if (geteuid() == 0 && setgid(65534) == 0) (void)!setuid(65534); },
         none, 2, "ro/out.png: cannot create a file in ro: Permission denied"},
        {"a full disk", false, "-", [] { dup2(open("/dev/full", O_WRONLY), STDOUT_FILENO); }, none, 2,
         "standard output: cannot be written: No space left on device"},
        {"a file-size limit", true, "out.png", [] { rlimit r{20, 20}; setrlimit(RLIMIT_FSIZE, &r); }, none, 2,
         "out.png: cannot be written: File too large"},
        {"a signal mid-write", true, "out.png", none, [] { raise(SIGTERM); }, 128 + SIGTERM, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& [name, what] : entries(dir.path())) fs::remove_all(dir.path() / name);
        dir.write("victim", "secret");
        dir.write("out.png", "old");
        fs::create_symlink("/dev/null", dir.path() / "null.png");
        mkfifo(dir.file("fifo.png").c_str(), 0644);
        fs::create_directory(dir.path() / "ro");
        fs::permissions(dir.path() / "ro", fs::perms(0555));
        std::map<std::string, std::string> expected = entries(dir.path());

        const auto [status, line] = writeInChild(dir.path(), c.target, c.named, c.before, c.during);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(line, c.line);
        std::map<std::string, std::string> after = entries(dir.path());
        if (c.status == 0) {  // whole, from the signature to the end chunk
            const std::string& png = expected[c.target] = after[c.target];
            EXPECT_EQ(png.substr(0, 4) + png.substr(png.size() - 8), std::string("\x89PNGIEND\xae\x42\x60\x82", 12));
        }
        EXPECT_EQ(after, expected);
    }
}

}  // namespace
