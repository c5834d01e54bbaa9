#include "solids/solid_files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "base/translate.h"
#include "io/input_file.h"
#include "solids/solid_reader.h"

namespace pd {

namespace {

// Opens an input file for the readers. An error with nothing to say when
// it cannot be opened; "NAME: cannot be read: REASON" when it is not a
// regular file: a folder cannot be read, a FIFO without a writer would hang
// the run and a device such as /dev/zero would never end.
Result<std::FILE*> openInput(const char* name) {
    const int fd = openForReading(name);
    if (fd < 0) return failure(name, 0, "");
    const Status regular = requireRegularFile(fd);
    std::FILE* in = regular ? fdopen(fd, "r") : nullptr;
    if (in) return in;
    close(fd);
    return failure(name, 0, regular ? "" : fill(tr("cannot be read: {1}"), {regular.error().what}));
}

// Done unless reading `in` met an error of the system rather than the end
// or text that is not a number: a name that opens but cannot be read (a
// folder, say), which gives "NAME: cannot be read: REASON".
Status readState(std::FILE* in, const char* name) {
    if (!std::ferror(in)) return Done{};
    return failure(name, 0, fill(tr("cannot be read: {1}"), {std::strerror(errno)}));
}

}  // namespace

Status loadSolids(SolidFileSet& files, VertexArrays& arrays, std::vector<Error>& warnings) {
    // Every open is tested right after it is made, so a missing file ends the
    // load before anything is created.
    for (const SolidInfo& info : solidTable) {
        const Result<std::FILE*> opened = openInput(info.vertexFile);
        if (!opened) return opened.error();
        std::FILE* in = *opened;
        files.vertexFiles[info.kind - 1] = in;
        errno = 0;
        readSolidVertices(in, info.kind, solidVerts(arrays, info.kind));
        if (Status read = readState(in, info.vertexFile); !read) return read;
    }
    for (const SolidInfo& info : solidTable) {
        const Result<std::FILE*> created = createOutputFile(info.pairFile);
        if (!created) warnings.push_back(created.error());
        files.pairFiles[info.kind - 1] = created ? *created : nullptr;
    }
    return Done{};
}

Status readFaceRows(SolidKind kind, SolidFileSet& files, FaceColumns& columns) {
    const SolidInfo& info = solidInfo(kind);
    const Result<std::FILE*> opened = openInput(info.faceFile);
    if (!opened) return opened.error();
    std::FILE* in = *opened;
    files.faceFiles[kind - 1] = in;

    // A number outside the solid's vertices would make the sums read outside
    // the vertex array, so the run cannot go on with it.
    errno = 0;
    const std::string problem = readFaceColumns(in, kind, columns);
    if (problem.empty()) return Done{};
    return failure(info.faceFile, 0, problem);
}

namespace {

void closeInputs(std::array<std::FILE*, solidKindCount>& group) {
    for (std::FILE*& f : group) {
        if (f) std::fclose(f);
        f = nullptr;
    }
}

// Output is mostly still buffered here, so this is where a full disk shows.
// A stream that already failed while writing was reported then. A file
// whose writing failed in any way is emptied: a cut-off list of vertices
// would pass for a whole one, an empty file cannot. The descriptor is kept
// past fclose for that, so the file is never looked up by name again.
void closeOutputs(std::array<std::FILE*, solidKindCount>& group,
                  const char* SolidInfo::*name, std::vector<Error>& warnings) {
    for (const SolidInfo& info : solidTable) {
        std::FILE*& f = group[info.kind - 1];
        if (!f) continue;
        const bool reported = std::ferror(f) != 0;
        const int kept = ::dup(fileno(f));
        errno = 0;
        const bool closed = std::fclose(f) == 0;
        if (!closed && !reported) warnings.push_back(writeFailure(info.*name, errno));
        if (kept >= 0) {
            if (!closed || reported) (void)::ftruncate(kept, 0);
            ::close(kept);
        }
        f = nullptr;
    }
}

}  // namespace

void closeSolidFiles(SolidFileSet& files, std::vector<Error>& warnings) {
    closeInputs(files.vertexFiles);
    closeInputs(files.faceFiles);
    closeOutputs(files.dualFiles, &SolidInfo::dualFile, warnings);
    closeOutputs(files.pairFiles, &SolidInfo::pairFile, warnings);
}

Error writeFailure(const char* name, int error) {
    return failure(name, 0, fill(tr("cannot be written: {1}"), {std::strerror(error)}));
}

Result<std::FILE*> createOutputFile(const char* name) {
    const auto refuse = [name](const std::string& why) -> Result<std::FILE*> {
        return failure(name, 0, fill(tr("cannot be created: {1}"), {why}));
    };
    // Never through a link (which could point anywhere, /dev/full or a
    // file of another user), and never waiting on a FIFO: a name taken by
    // anything but a regular file is left as it is.
    const int fd = ::open(name, O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int error = errno;
        struct stat taken {};
        if (::lstat(name, &taken) != 0 || S_ISREG(taken.st_mode)) return refuse(std::strerror(error));
        return refuse(S_ISLNK(taken.st_mode) ? tr("Is a symbolic link") : fileKindProblem(taken.st_mode));
    }
    const Status regular = requireRegularFile(fd);
    if (!regular || ::ftruncate(fd, 0) != 0) {
        const std::string why = regular ? std::strerror(errno) : regular.error().what;
        ::close(fd);
        return refuse(why);
    }
    std::FILE* out = ::fdopen(fd, "w");
    if (!out) {
        const int error = errno;
        ::close(fd);
        return refuse(std::strerror(error));
    }
    return out;
}

}  // namespace pd
