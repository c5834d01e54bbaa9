// geodesic-off: writes the geodesic sphere of frequency K as an OFF file,
// the big models the explorer's benchmarks open.
//
//   geodesic-off K FILE
//
// The sphere is the one the morph's tests and benchmarks build
// (construct/geodesic_sphere.h): 10*K*K + 2 vertices and 20*K*K triangles, each
// point once, every face counter-clockwise seen from outside. Exit status
// 2 with a one-line message for a bad K or an unwritable FILE.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "construct/geodesic_sphere.h"
#include "io/off_writer.h"

namespace pd {


}  // namespace pd

using namespace pd;

int main(int argc, char** argv) {
    char* end = nullptr;
    const long k = argc == 3 ? std::strtol(argv[1], &end, 10) : 0;
    if (argc != 3 || *end != '\0' || k < 1 || k > 2000) {
        std::fprintf(stderr, "usage: geodesic-off K FILE   (K a frequency from 1 to 2000)\n");
        return 2;
    }
    const Polyhedron sphere = geodesicSphere(int(k));
    const Result<std::string> text = formatOff({&sphere});
    if (!text) {
        std::fprintf(stderr, "geodesic-off: %s\n", text.error().text().c_str());
        return 2;
    }
    std::FILE* out = std::fopen(argv[2], "w");
    if (!out) {
        std::fprintf(stderr, "geodesic-off: cannot create %s\n", argv[2]);
        return 2;
    }
    const bool written = std::fwrite(text->data(), 1, text->size(), out) == text->size();
    if (std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "geodesic-off: cannot write %s\n", argv[2]);
        return 2;
    }
    return 0;
}
