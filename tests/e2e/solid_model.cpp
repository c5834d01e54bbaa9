#include "solid_model.h"

#include <fstream>
#include <vector>

#include "program_arrays.h"
#include "view/rotation.h"

namespace e2e {

bool loadTurnedSolids(const std::string& dir, float xDegrees, float yDegrees,
                      VertexArrays& arrays, std::string& error) {
    if (!loadProgramArrays(dir, arrays, error)) return false;
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
