#include "solid_model.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "model/model_loading.h"
#include "view/rotation.h"

namespace e2e {

bool loadTurnedSolids(const std::string& dir, float xDegrees, float yDegrees,
                      VertexArrays& arrays, std::string& error) {
    // The explorer's directory models are read with the program's own
    // readers and carry the program's dual vertices: the arrays as a run
    // holds them, without writing the run's output files.
    std::vector<Model> models;
    if (!loadDirectoryModels(dir, models, error)) return false;
    arrays = VertexArrays{};
    for (const SolidInfo& info : solidTable) {
        const Model& m = models[info.kind - 1];
        std::copy(m.solid.vertices.begin(), m.solid.vertices.end(), solidVerts(arrays, info.kind).begin());
        std::copy(m.programDual.vertices.begin(), m.programDual.vertices.end(),
                  dualVerts(arrays, info.kind).begin());
    }
    rotateSolids(xDegrees, yDegrees, arrays);
    return true;
}

bool scaleVertexFiles(const std::string& dir, double factor, std::string& error) {
    for (const SolidInfo& info : solidTable) {
        const std::string path = dir + "/" + info.vertexFile;
        std::ifstream in(path);
        std::vector<double> numbers;
        for (double v; in >> v;) numbers.push_back(v * factor);
        std::ofstream out(path);
        out.precision(17);
        for (std::size_t i = 0; i < numbers.size(); ++i) out << numbers[i] << (i % 3 == 2 ? "\n" : " ");
        if (!in.eof() || !out) {
            error = "cannot rescale " + path;
            return false;
        }
    }
    return true;
}

}  // namespace e2e
