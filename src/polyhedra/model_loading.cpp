#include "polyhedra/model_loading.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "base/translate.h"
#include "io/input_file.h"
#include "io/off_reader.h"
#include "io/stl_reader.h"
#include "solids/solid_reader.h"

namespace pd {

namespace {

// An input file opened for reading, closed on every way out.
struct InputFile {
    std::FILE* stream = nullptr;
    ~InputFile() {
        if (stream) std::fclose(stream);
    }
};

// Opens `path` for the program's readers; only a regular file is read (a
// folder cannot be, a FIFO could block forever, a device never ends).
Status openInput(const std::string& path, InputFile& file) {
    const Result<int> fd = openRegularFile(path);
    if (!fd) return fd.error();
    file.stream = fdopen(*fd, "r");
    if (file.stream) return Done{};
    const Error error = failure(path, 0, fill(tr("cannot be read: {1}"), {std::strerror(errno)}));
    close(*fd);
    return error;
}

bool withinRange(float c) { return std::isfinite(c) && std::fabs(c) <= maxCoordinate; }
bool withinRange(const Vec3& v) { return withinRange(v.x) && withinRange(v.y) && withinRange(v.z); }

}  // namespace

Result<std::vector<Model>> loadDirectoryModels(const std::string& dir) {
    auto arrays = std::make_unique<VertexArrays>();
    auto columns = std::make_unique<FaceColumns>();
    auto inDir = [&](const char* name) { return (std::filesystem::path(dir) / name).string(); };

    // The vertex files first, then the face files, as the program reads them.
    for (const SolidInfo& info : solidTable) {
        const std::string path = inDir(info.vertexFile);
        InputFile file;
        if (Status opened = openInput(path, file); !opened) return opened.error();
        VertexArray& verts = solidVerts(*arrays, info.kind);
        readSolidVertices(file.stream, info.kind, verts);
        if (std::ferror(file.stream))
            return failure(path, 0, fill(tr("cannot be read: {1}"), {std::strerror(errno)}));
        // The program would draw these as they are; a turn or a dual of an
        // infinite point shows nothing sensible, so they are refused, as in
        // OFF files.
        for (int v = 0; v < info.vertexCount; ++v)
            if (!withinRange(verts[v]))
                return failure(path, 0,
                               fill(tr("vertex {1} has a coordinate that is not a finite number within -1e30..1e30"),
                                    {std::to_string(v + 1)}));
    }

    std::vector<Model> models;
    for (const SolidInfo& info : solidTable) {
        const std::string path = inDir(info.faceFile);
        InputFile file;
        if (Status opened = openInput(path, file); !opened) return opened.error();
        const std::string problem = readFaceColumns(file.stream, info.kind, *columns);
        if (!problem.empty()) return failure(path, 0, problem);
        Polyhedron solid;
        const VertexArray& verts = solidVerts(*arrays, info.kind);
        solid.vertices.assign(verts.begin(), verts.begin() + info.vertexCount);
        for (int r = 0; r < info.faceCount; ++r) {
            std::int32_t corners[maxCorners];
            for (int c = 0; c < info.cornerCount; ++c) corners[c] = (*columns)[c][r] - 1;
            solid.addFace(corners, info.cornerCount);
        }
        models.push_back(buildModel(info.menuWord, std::move(solid), 1, info.kind));
    }
    return models;
}

Result<Model> loadOffModel(const std::string& path, const DualSphere& sphere, bool programDual) {
    Result<Polyhedron> solid = loadShapeFile(path);
    if (!solid) return solid.error();
    return buildModel(std::filesystem::path(path).stem().string(), std::move(*solid), 0, 0, sphere, programDual);
}

}  // namespace pd
