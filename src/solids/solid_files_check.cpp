#include "solids/solid_files_check.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "base/translate.h"
#include "io/input_file.h"
#include "solids/solid_check.h"
#include "solids/solid_reader.h"
#include "solids/solid_table.h"

namespace pd {

namespace {

// An input stream of `path`, closed on every way out; null with the reason
// in `unreadable` when the file cannot be read.
struct InputStream {
    std::FILE* in = nullptr;
    InputStream(const std::string& path, std::vector<Error>& unreadable) {
        const Result<int> fd = openRegularFile(path);
        in = fd ? fdopen(*fd, "r") : nullptr;
        if (!fd) {
            unreadable.push_back(fd.error());
        } else if (!in) {
            unreadable.push_back(failure(path, 0, fill(tr("cannot be read: {1}"), {std::strerror(errno)})));
            close(*fd);
        }
    }
    ~InputStream() {
        if (in) std::fclose(in);
    }
    InputStream(const InputStream&) = delete;
    InputStream& operator=(const InputStream&) = delete;
};

SolidFilesFinding checkOneSolid(const std::string& dir, const SolidInfo& info) {
    SolidFilesFinding found;
    // Vertices a file does not supply stay NaN, so the check can name
    // them instead of measuring a vertex at the origin.
    VertexArray verts;
    verts.fill(Vec3{NAN, NAN, NAN});
    FaceColumns columns{};

    const std::string vertexPath = dir + "/" + info.vertexFile;
    const std::string facePath = dir + "/" + info.faceFile;
    const InputStream vertexIn(vertexPath, found.unreadable);
    const InputStream faceIn(facePath, found.unreadable);
    if (!vertexIn.in || !faceIn.in) return found;
    errno = 0;
    readSolidVertices(vertexIn.in, info.kind, verts);
    const int vertexError = std::ferror(vertexIn.in) ? errno : 0;
    const std::string faceProblem = readFaceColumns(faceIn.in, info.kind, columns);
    if (vertexError != 0)
        found.unreadable.push_back(failure(vertexPath, 0, fill(tr("cannot be read: {1}"), {std::strerror(vertexError)})));
    else if (!faceProblem.empty())
        found.unreadable.push_back(failure(facePath, 0, faceProblem));
    else
        found.problems = checkSolid(info.kind, verts, columns);
    return found;
}

}  // namespace

Result<std::vector<SolidFilesFinding>> checkSolidFiles(const std::string& dir) {
    if (dir.empty()) return failure(tr("the folder name is empty (use . for the current folder)"));
    std::vector<SolidFilesFinding> findings;
    for (const SolidInfo& info : solidTable) findings.push_back(checkOneSolid(dir, info));
    return findings;
}

}  // namespace pd
