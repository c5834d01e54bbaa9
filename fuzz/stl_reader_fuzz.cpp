// Any bytes as an STL file, binary or ASCII; what reads builds a whole
// model. Besides crashes it catches a writer and a reader that disagree:
// the model written as binary STL (its faces cut into triangles) must read
// back, onto the very same points.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "io/stl_reader.h"
#include "polyhedra/model.h"
#include "print/shell_print.h"
#include "print/stl_file.h"

using namespace pd;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Result<Polyhedron> solid = readStl({reinterpret_cast<const char*>(data), size}, "fuzz.stl");
    if (!solid) return 0;
    const Model m = buildModel("fuzz", *solid, 0, 0);
    const PrintModel print = shellsAsPrint({{&m.solid, &m.solidNormals, {}, "solid"}}, 1.0);
    const Result<std::string> written = formatStl(print);
    const Result<Polyhedron> again = written ? readStl(*written, "written") : Result<Polyhedron>(written.error());
    if (!again || again->vertexCount() != solid->vertexCount()) {
        std::fprintf(stderr, "STL round trip failed: %s, %d points, not %d\n",
                     again ? "" : again.error().text().c_str(), again ? again->vertexCount() : 0,
                     solid->vertexCount());
        std::abort();
    }
    return 0;
}
