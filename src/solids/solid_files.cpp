#include "solids/solid_files.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <unistd.h>

#include "base/input_file.h"
#include "solids/solid_reader.h"

namespace {

// Opens an input file for the readers. Null, silently, when it cannot be
// opened; null after one line on standard error when it is not a regular
// file: a folder cannot be read, a FIFO without a writer would hang the run
// and a device such as /dev/zero would never end.
std::FILE* openInput(const char* name) {
    const int fd = openForReading(name);
    if (fd < 0) return nullptr;
    const Status regular = requireRegularFile(fd);
    std::FILE* in = regular ? fdopen(fd, "r") : nullptr;
    if (!in) {
        if (!regular) std::fprintf(stderr, "%s: cannot be read: %s\n", name, regular.error().what.c_str());
        close(fd);
    }
    return in;
}

// True when reading `in` met an error of the system rather than the end or
// text that is not a number: a name that opens but cannot be read (a
// folder, say). Says so on standard error, naming the file.
bool readFailed(std::FILE* in, const char* name) {
    if (!std::ferror(in)) return false;
    const int error = errno;
    std::fprintf(stderr, "%s: cannot be read: %s\n", name, std::strerror(error));
    return true;
}

}  // namespace

bool loadSolids(SolidFileSet& files, VertexArrays& arrays) {
    // Every open is tested right after it is made, so a missing file ends the
    // load before anything is created.
    for (const SolidInfo& info : solidTable) {
        std::FILE* in = openInput(info.vertexFile);
        if (!in) return false;
        files.vertexFiles[info.kind - 1] = in;
        errno = 0;
        if (info.kind == Tetrahedron)
            readFixedVertices(in, arrays.tetraVerts);
        else
            readVerticesToEnd(in, solidVerts(arrays, info.kind));
        if (readFailed(in, info.vertexFile)) return false;
    }
    for (const SolidInfo& info : solidTable)
        files.pairFiles[info.kind - 1] = createOutputFile(info.pairFile);
    return true;
}

bool readFaceRows(SolidKind kind, SolidFileSet& files, FaceColumns& columns) {
    const SolidInfo& info = solidInfo(kind);
    std::FILE* in = openInput(info.faceFile);
    if (!in) return false;
    files.faceFiles[kind - 1] = in;

    // A number outside the solid's vertices would make the sums read outside
    // the vertex array, so the run cannot go on with it.
    errno = 0;
    const std::string problem = readFaceColumns(in, kind, columns);
    if (problem.empty()) return true;
    std::fprintf(stderr, "%s: %s\n", info.faceFile, problem.c_str());
    return false;
}

namespace {

void closeInputs(std::array<std::FILE*, solidKindCount>& group) {
    for (std::FILE*& f : group) {
        if (f) std::fclose(f);
        f = nullptr;
    }
}

// Output is mostly still buffered here, so this is where a full disk shows.
// A stream that already failed while writing was reported then.
void closeOutputs(std::array<std::FILE*, solidKindCount>& group,
                  const char* SolidInfo::*name) {
    for (const SolidInfo& info : solidTable) {
        std::FILE*& f = group[info.kind - 1];
        if (!f) continue;
        const bool reported = std::ferror(f) != 0;
        errno = 0;
        if (std::fclose(f) != 0 && !reported) reportWriteError(info.*name, errno);
        f = nullptr;
    }
}

}  // namespace

void closeSolidFiles(SolidFileSet& files) {
    closeInputs(files.vertexFiles);
    closeInputs(files.faceFiles);
    closeOutputs(files.dualFiles, &SolidInfo::dualFile);
    closeOutputs(files.pairFiles, &SolidInfo::pairFile);
}

void reportWriteError(const char* name, int error) {
    std::fprintf(stderr, "%s: cannot be written: %s\n", name, std::strerror(error));
}

std::FILE* createOutputFile(const char* name) {
    std::FILE* out = std::fopen(name, "w");
    if (!out) {
        const int error = errno;
        std::fprintf(stderr, "%s: cannot be created: %s\n", name, std::strerror(error));
    }
    return out;
}
