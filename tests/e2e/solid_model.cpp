#include "solid_model.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "solids/dual.h"
#include "solids/solid_reader.h"
#include "view/rotation.h"

namespace e2e {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File open(const std::string& path, const char* mode) { return File(std::fopen(path.c_str(), mode)); }

}  // namespace

bool loadTurnedSolids(const std::string& dir, float xDegrees, float yDegrees,
                      VertexArrays& arrays, std::string& error) {
    arrays = VertexArrays{};
    FaceColumns columns{};
    for (const SolidInfo& info : solidTable) {
        const File vertices = open(dir + "/" + info.vertexFile, "r");
        if (!vertices) {
            error = std::string("cannot open ") + info.vertexFile;
            return false;
        }
        if (info.kind == Tetrahedron)
            readFixedVertices(vertices.get(), solidVerts(arrays, info.kind));
        else
            readVerticesToEnd(vertices.get(), solidVerts(arrays, info.kind));

        const File faces = open(dir + "/" + info.faceFile, "r");
        if (!faces) {
            error = std::string("cannot open ") + info.faceFile;
            return false;
        }
        const std::string problem = readFaceColumns(faces.get(), info.kind, columns);
        if (!problem.empty()) {
            error = std::string(info.faceFile) + ": " + problem;
            return false;
        }
        computeDualVerts(info.kind, solidVerts(arrays, info.kind), columns,
                         dualVerts(arrays, info.kind));
    }
    rotateSolids(xDegrees, yDegrees, arrays);
    return true;
}

bool scaleVertexFiles(const std::string& dir, double factor, std::string& error) {
    for (const SolidInfo& info : solidTable) {
        const std::string path = dir + "/" + info.vertexFile;
        std::vector<double> numbers;
        {
            const File in = open(path, "r");
            if (!in) {
                error = "cannot read " + path;
                return false;
            }
            double v = 0.0;
            while (std::fscanf(in.get(), "%lf", &v) == 1) numbers.push_back(v * factor);
        }
        const File out = open(path, "w");
        if (!out) {
            error = "cannot write " + path;
            return false;
        }
        for (std::size_t i = 0; i < numbers.size(); ++i)
            std::fprintf(out.get(), "%.9g%c", numbers[i], i % 3 == 2 ? '\n' : ' ');
        if (numbers.size() % 3 != 0) std::fputc('\n', out.get());
        if (std::fflush(out.get()) != 0) {
            error = "cannot write " + path;
            return false;
        }
    }
    return true;
}

}  // namespace e2e
