#include "io/output_file.h"

#include <cerrno>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/translate.h"
#include "io/input_file.h"
#include "io/signal_cleanup.h"

namespace pd {

namespace {

bool namedTemporaries = false;

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
    if (errno == ENOENT) return failure(path, 0, fill(tr("the folder {1} does not exist"), {parts.folder}));
    if (errno == ENOTDIR) return failure(path, 0, fill(tr("{1} is not a folder"), {parts.folder}));
    return failure(path, 0, errnoText());
}

Status checkTarget(const std::string& path, int folder, const std::string& name, Existing existing) {
    if (name.empty() || name == "." || name == "..") return failure(path, 0, tr("is a folder, not a file"));
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
            return failure(path, 0, tr("is a link to an open file (- writes to standard output)"));
        if (::fstatat(folder, name.c_str(), &info, 0) != 0) info.st_mode = S_IFREG;
    }
    if (S_ISDIR(info.st_mode)) return failure(path, 0, tr("is a folder, not a file"));
    std::string problem = fileKindProblem(info.st_mode);
    if (!problem.empty()) {
        problem[0] = 'i';
        return failure(path, 0, fill(tr("{1}, not a regular file"), {problem}));
    }
    if (existing == Existing::Keep) return failure(path, 0, tr(alreadyExists));
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

// Tries fresh names in `folder`, up to 100, until `take` succeeds with
// one; each is on the signal handler's list before it can exist, so no
// signal can come between and leave it behind. Null, with errno kept, when
// a try fails for another reason than the name being taken, or all do.
std::unique_ptr<TemporaryName> takeFreshName(int folder, const std::function<bool(const char*)>& take) {
    char temporary[temporaryNameSize] = {};
    for (int attempt = 0; attempt < 100; ++attempt) {
        freshName(temporary);
        auto named = std::make_unique<TemporaryName>(folder, temporary);
        if (take(temporary)) return named;
        const int error = errno;
        named->keep();  // not ours: left alone
        named.reset();
        errno = error;
        if (error != EEXIST) break;
    }
    return nullptr;
}

// Names the unnamed file behind fd `name` when an existing file is to be
// kept: linkat refuses a taken name by itself.
Status linkInPlace(const std::string& path, int fd, int folder, const std::string& name,
                   const std::function<void()>& placed) {
    const EndingSignalsBlocked blocked;
    if (linkDescriptor(fd, folder, name.c_str())) {
        if (placed) placed();
        return Done{};
    }
    if (errno == EEXIST) return failure(path, 0, tr(alreadyExists));
    return failure(path, 0, fill(tr("cannot put the finished file in place: {1}"), {errnoText()}));
}

// Renames the written temporary `named` (the file behind fd) to `name`.
Status renameInPlace(const std::string& path, int fd, int folder, TemporaryName& named, const std::string& name,
                     Existing existing, const std::function<void()>& placed) {
    // The name is in the folder, where anyone who may write there can swap
    // it: make sure it still is this file before it becomes the output.
    struct stat mine {}, there {};
    if (::fstat(fd, &mine) != 0 || ::fstatat(folder, named.name(), &there, AT_SYMLINK_NOFOLLOW) != 0 ||
        mine.st_dev != there.st_dev || mine.st_ino != there.st_ino)
        return failure(path, 0, fill(tr("its temporary file in {1} was replaced while it was written"), {split(path).folder}));
    const EndingSignalsBlocked blocked;
#ifdef __EMSCRIPTEN__
    // The page's files are its own memory, where nobody else writes: no
    // renameat2 there, and a look first keeps an existing file as well.
    struct stat taken {};
    const bool kept = existing == Existing::Keep &&
                      ::fstatat(folder, name.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0;
    if (kept) errno = EEXIST;
    const int moved = kept ? -1 : ::renameat(folder, named.name(), folder, name.c_str());
#else
    const int moved = existing == Existing::Keep
                          ? ::renameat2(folder, named.name(), folder, name.c_str(), RENAME_NOREPLACE)
                          : ::renameat(folder, named.name(), folder, name.c_str());
#endif
    if (moved != 0) {
        if (errno == EEXIST) return failure(path, 0, tr(alreadyExists));
        return failure(path, 0, fill(tr("cannot put the finished file in place: {1}"), {errnoText()}));
    }
    named.keep();
    if (placed) placed();
    return Done{};
}

// The steps after checking, on the opened folder. `placed` runs, with the
// ending signals blocked, as soon as the file has its name.
Status writeInFolder(const std::string& path, int folder, const std::string& name,
                     const OutputFiller& fill, Existing existing, const std::function<void()>& placed) {
    installCleanupHandlers();
    const std::string where = split(path).folder;
    Descriptor file;
    if (!namedTemporaries) file.fd = ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    const bool unnamed = file.fd >= 0;

    // Where O_TMPFILE is missing: a fresh name, created exclusively and not
    // through a link; mode 0666 as any new file, less the umask.
    std::unique_ptr<TemporaryName> named;
    if (!unnamed)
        named = takeFreshName(folder, [&](const char* temporary) {
            file.fd = ::openat(folder, temporary, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            return file.fd >= 0;
        });
    if (file.fd < 0) return failure(path, 0, pd::fill(tr("cannot create a file in {1}: {2}"), {where, errnoText()}));

    const Status filled = fill(file.fd);
    if (!filled) return failure(path, 0, filled.error().what);
    if (::fsync(file.fd) != 0) return failure(path, 0, pd::fill(tr("cannot be written: {1}"), {errnoText()}));

    if (unnamed) {
        if (existing == Existing::Keep) return linkInPlace(path, file.fd, folder, name, placed);
        // linkat never replaces: a fresh name first, then renamed over.
        named = takeFreshName(folder, [&](const char* temporary) { return linkDescriptor(file.fd, folder, temporary); });
        if (!named) return failure(path, 0, pd::fill(tr("cannot put the finished file in place: {1}"), {errnoText()}));
    }
    return renameInPlace(path, file.fd, folder, *named, name, existing, placed);
}

}  // namespace

Result<OutputFolder> OutputFolder::open(const std::string& path) {
    if (path.empty()) return failure(tr("the output file name is empty"));
    const SplitPath parts = split(path);
    const Result<int> folder = openFolder(path, parts);
    if (!folder) return folder.error();
    // Names in it are told as the path told them: "./a.png" stays so.
    return OutputFolder(*folder, path.substr(0, path.size() - parts.name.size()));
}

OutputFolder::OutputFolder(OutputFolder&& other) noexcept : fd_(other.fd_), prefix_(std::move(other.prefix_)) {
    other.fd_ = -1;
}

OutputFolder::~OutputFolder() {
    if (fd_ >= 0) ::close(fd_);
}

std::string OutputFolder::pathOf(const std::string& name) const {
    return prefix_ + name;
}

Status OutputFolder::check(const std::string& name, Existing existing) const {
    return checkTarget(pathOf(name), fd_, name, existing);
}

Status OutputFolder::write(const std::string& name, const OutputFiller& fill, Existing existing,
                           const std::function<void()>& placed) const {
    const std::string path = pathOf(name);
    const Status checked = checkTarget(path, fd_, name, existing);
    if (!checked) return checked;
    return writeInFolder(path, fd_, name, fill, existing, placed);
}

bool OutputFolder::remove(const std::string& name) const {
    return ::unlinkat(fd_, name.c_str(), 0) == 0;
}

bool OutputFolder::isRegularFile(const std::string& name) const {
    struct stat info {};
    return ::fstatat(fd_, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode);
}

Status checkOutputPath(const std::string& path, Existing existing) {
    if (path == standardOutputName) return Done{};
    const Result<OutputFolder> folder = OutputFolder::open(path);
    if (!folder) return folder.error();
    return folder->check(split(path).name, existing);
}

Status writeOutputFile(const std::string& path, const OutputFiller& fill, Existing existing) {
    if (path == standardOutputName) {
        const Status written = fill(STDOUT_FILENO);
        if (!written) return failure(tr("standard output"), 0, written.error().what);
        return Done{};
    }
    const Result<OutputFolder> folder = OutputFolder::open(path);
    if (!folder) return folder.error();
    return folder->write(split(path).name, fill, existing);
}

Status writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return failure(pd::fill(tr("cannot be written: {1}"), {errnoText()}));
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return Done{};
}

Status writeFileAtomically(const std::string& path, std::string_view bytes, Existing existing) {
    return writeOutputFile(path, [bytes](int fd) { return writeAll(fd, bytes); }, existing);
}

void useNamedTemporaries(bool named) { namedTemporaries = named; }

Result<std::string> writeNewFile(const std::string& stem, const std::string& ending, const OutputFiller& fill) {
    for (int n = 1; n < 100000; ++n) {
        const std::string name = n == 1 ? stem + ending : stem + "-" + std::to_string(n) + ending;
        // A name seen taken is passed over unwritten; one taken meanwhile
        // fails the write with alreadyExists, and the next name is tried.
        Status written = checkOutputPath(name, Existing::Keep);
        if (written) written = writeOutputFile(name, fill, Existing::Keep);
        if (written) return name;
        if (written.error().what != tr(alreadyExists)) return written.error();
    }
    return failure(stem + ending, 0, pd::fill(tr("every name up to {1} is taken"), {stem + "-99999" + ending}));
}

}  // namespace pd
