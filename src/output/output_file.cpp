#include "output/output_file.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/input_file.h"

namespace {

bool namedTemporaries = false;

// ---- Named temporaries still there when a signal ends the process ------
//
// The handler may only make async-signal-safe calls, so the names live in
// a fixed array, each beside the descriptor of its folder: unlinkat needs
// nothing else.

constexpr std::size_t temporaryNameSize = 16;  // ".pd-XXXXXX" and its NUL

struct LiveTemporary {
    volatile std::sig_atomic_t used = 0;
    int folder = -1;
    char name[temporaryNameSize] = {};
};

LiveTemporary liveTemporaries[8];

void onEndingSignal(int signal) {
    for (LiveTemporary& t : liveTemporaries)
        if (t.used) ::unlinkat(t.folder, t.name, 0);
    // SA_RESETHAND gave the signal its default action back; raised again it
    // is delivered once this handler returns, ending the process as it would
    // have without one.
    ::raise(signal);
}

// Installed by the first write. A signal the process was started ignoring
// (nohup's SIGHUP) stays ignored. SIGXFSZ is ignored for good: a file-size
// limit then fails the write with EFBIG, reported like a full disk, instead
// of killing the process without a word.
void installSignalHandlers() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = onEndingSignal;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
    std::signal(SIGXFSZ, SIG_IGN);
}

// Keeps a named temporary on the list from its creation until it is renamed
// or removed. With the list full (never, with one write at a time) the
// file is still removed on every other way out.
class TemporaryName {
public:
    TemporaryName(int folder, const char* name) {
        for (LiveTemporary& t : liveTemporaries)
            if (!t.used) {
                t.folder = folder;
                std::memcpy(t.name, name, temporaryNameSize);
                std::atomic_signal_fence(std::memory_order_seq_cst);
                t.used = 1;
                slot_ = &t;
                break;
            }
        std::memcpy(name_, name, temporaryNameSize);
        folder_ = folder;
    }
    ~TemporaryName() {
        if (!kept_) ::unlinkat(folder_, name_, 0);
        if (slot_) slot_->used = 0;
    }
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;

    const char* name() const { return name_; }
    // Leaves the name where it is: it is now the output's, or was never ours.
    void keep() { kept_ = true; }

private:
    LiveTemporary* slot_ = nullptr;
    int folder_ = -1;
    char name_[temporaryNameSize] = {};
    bool kept_ = false;
};

// A descriptor closed on every way out.
struct Descriptor {
    int fd = -1;
    Descriptor() = default;
    explicit Descriptor(int f) : fd(f) {}
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
};

// Fills `name` with a fresh ".pd-XXXXXX"; short, so any output name the
// system accepts leaves room for it.
void freshName(char (&name)[temporaryNameSize]) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char random[6] = {};
    if (::getrandom(random, sizeof random, GRND_NONBLOCK) != sizeof random) {
        static unsigned counter = 0;
        const unsigned seed = unsigned(::getpid()) * 2654435761u + ++counter * 40503u + unsigned(::time(nullptr));
        for (std::size_t i = 0; i < sizeof random; ++i) random[i] = static_cast<unsigned char>(seed >> (4 * i));
    }
    std::snprintf(name, temporaryNameSize, ".pd-");
    for (std::size_t i = 0; i < sizeof random; ++i) name[4 + i] = letters[random[i] % (sizeof letters - 1)];
    name[10] = '\0';
}

std::string errnoText() { return std::strerror(errno); }

struct SplitPath {
    std::string folder;
    std::string name;
};

SplitPath split(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// The output's folder, opened once: every later step works relative to
// this descriptor, so the folder cannot be swapped for another meanwhile.
Result<int> openFolder(const std::string& path, const SplitPath& parts) {
    const int folder = ::open(parts.folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) return folder;
    if (errno == ENOENT) return failure(path, 0, "the folder " + parts.folder + " does not exist");
    if (errno == ENOTDIR) return failure(path, 0, parts.folder + " is not a folder");
    return failure(path, 0, errnoText());
}

Status checkTarget(const std::string& path, int folder, const std::string& name, Existing existing) {
    if (name.empty() || name == "." || name == "..") return failure(path, 0, "is a folder, not a file");
    struct stat info {};
    if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) return Done{};
        return failure(path, 0, errnoText());
    }
    // A link is replaced, not followed; only what it names is looked at, so
    // a link to a device is refused like the device. A link into /proc
    // (/dev/stdout) names an open file of whichever process looks: replacing
    // it would break it for every later one.
    if (S_ISLNK(info.st_mode)) {
        char target[8] = {};
        if (::readlinkat(folder, name.c_str(), target, sizeof target - 1) >= 6 && std::strncmp(target, "/proc/", 6) == 0)
            return failure(path, 0, "is a link to an open file (- writes to standard output)");
        if (::fstatat(folder, name.c_str(), &info, 0) != 0) info.st_mode = S_IFREG;
    }
    if (S_ISDIR(info.st_mode)) return failure(path, 0, "is a folder, not a file");
    std::string problem = fileKindProblem(info.st_mode);
    if (!problem.empty()) {
        problem[0] = 'i';
        return failure(path, 0, problem + ", not a regular file");
    }
    if (existing == Existing::Keep) return failure(path, 0, alreadyExists);
    return Done{};
}

// Gives the unnamed file behind fd the name `name` in `folder`; fails with
// EEXIST when the name is taken. Linking a descriptor needs a privilege
// (AT_EMPTY_PATH) or /proc; either will do.
bool linkDescriptor(int fd, int folder, const char* name) {
    if (::linkat(fd, "", folder, name, AT_EMPTY_PATH) == 0) return true;
    if (errno == EEXIST) return false;
    char procPath[64];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, procPath, folder, name, AT_SYMLINK_FOLLOW) == 0;
}

// The steps after checking, on the opened folder.
Status writeInFolder(const std::string& path, int folder, const std::string& name,
                     const OutputFiller& fill, Existing existing) {
    installSignalHandlers();
    const std::string where = split(path).folder;
    Descriptor file;
    if (!namedTemporaries) file.fd = ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    const bool unnamed = file.fd >= 0;

    // Where O_TMPFILE is missing: a fresh name, created exclusively and not
    // through a link; mode 0666 as any new file, less the umask. The name
    // is on the signal handler's list before the file exists, so no signal
    // can come between and leave it behind.
    char temporary[temporaryNameSize] = {};
    std::unique_ptr<TemporaryName> named;
    for (int attempt = 0; !unnamed && file.fd < 0 && attempt < 100; ++attempt) {
        freshName(temporary);
        named = std::make_unique<TemporaryName>(folder, temporary);
        file.fd = ::openat(folder, temporary, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (file.fd >= 0) break;
        const int error = errno;
        named->keep();  // not ours: left alone
        named.reset();
        errno = error;
        if (error != EEXIST) break;
    }
    if (file.fd < 0) return failure(path, 0, "cannot create a file in " + where + ": " + errnoText());

    const Status filled = fill(file.fd);
    if (!filled) return failure(path, 0, filled.error().what);
    if (::fsync(file.fd) != 0) return failure(path, 0, "cannot be written: " + errnoText());

    if (unnamed) {
        if (existing == Existing::Keep) {
            if (linkDescriptor(file.fd, folder, name.c_str())) return Done{};
            if (errno == EEXIST) return failure(path, 0, alreadyExists);
            return failure(path, 0, "cannot put the finished file in place: " + errnoText());
        }
        // linkat never replaces: a fresh name first, then renamed over.
        for (int attempt = 0; attempt < 100 && !named; ++attempt) {
            freshName(temporary);
            named = std::make_unique<TemporaryName>(folder, temporary);
            if (linkDescriptor(file.fd, folder, temporary)) break;
            const int error = errno;
            named->keep();  // not ours: left alone
            named.reset();
            errno = error;
            if (error != EEXIST) break;
        }
        if (!named) return failure(path, 0, "cannot put the finished file in place: " + errnoText());
    }
    // The name is in the folder, where anyone who may write there can swap
    // it: make sure it still is this file before it becomes the output.
    struct stat mine {}, there {};
    if (::fstat(file.fd, &mine) != 0 || ::fstatat(folder, named->name(), &there, AT_SYMLINK_NOFOLLOW) != 0 ||
        mine.st_dev != there.st_dev || mine.st_ino != there.st_ino)
        return failure(path, 0, "its temporary file in " + where + " was replaced while it was written");
    const int moved = existing == Existing::Keep
                          ? ::renameat2(folder, named->name(), folder, name.c_str(), RENAME_NOREPLACE)
                          : ::renameat(folder, named->name(), folder, name.c_str());
    if (moved != 0) {
        if (errno == EEXIST) return failure(path, 0, alreadyExists);
        return failure(path, 0, "cannot put the finished file in place: " + errnoText());
    }
    named->keep();
    return Done{};
}

}  // namespace

Status checkOutputPath(const std::string& path, Existing existing) {
    if (path.empty()) return failure("the output file name is empty");
    if (path == standardOutputName) return Done{};
    const SplitPath parts = split(path);
    const Result<int> folder = openFolder(path, parts);
    if (!folder) return folder.error();
    const Descriptor closing(*folder);
    return checkTarget(path, *folder, parts.name, existing);
}

Status writeOutputFile(const std::string& path, const OutputFiller& fill, Existing existing) {
    if (path == standardOutputName) {
        const Status written = fill(STDOUT_FILENO);
        if (!written) return failure("standard output", 0, written.error().what);
        return Done{};
    }
    if (path.empty()) return failure("the output file name is empty");
    const SplitPath parts = split(path);
    const Result<int> folder = openFolder(path, parts);
    if (!folder) return folder.error();
    const Descriptor closing(*folder);
    const Status checked = checkTarget(path, *folder, parts.name, existing);
    if (!checked) return checked;
    return writeInFolder(path, *folder, parts.name, fill, existing);
}

Status writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return failure("cannot be written: " + errnoText());
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return Done{};
}

Status writeFileAtomically(const std::string& path, std::string_view bytes, Existing existing) {
    return writeOutputFile(path, [bytes](int fd) { return writeAll(fd, bytes); }, existing);
}

void useNamedTemporaries(bool named) { namedTemporaries = named; }
