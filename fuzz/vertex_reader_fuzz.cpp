// Any bytes as a vertex file, read both ways the program reads one: the
// tetrahedron's twelve fixed reads and the read-to-end loop of the others.
// Besides crashes and hangs it catches a reader that writes a position it
// did not read into.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "solids/solid_reader.h"

namespace pd {

namespace {

// A value no position takes unless a read stores into it; compared bit for
// bit, so NaNs read from the input cannot pass for it.
constexpr Vec3 sentinel{-7.25e-30f, 3.5e29f, -1.0e-3f};

bool isSentinel(const Vec3& v) { return std::memcmp(&v, &sentinel, sizeof v) == 0; }

std::unique_ptr<VertexArray> sentinelArray() {
    auto verts = std::make_unique<VertexArray>();
    verts->fill(sentinel);
    return verts;
}

std::FILE* openBytes(const std::uint8_t* data, std::size_t size) {
    std::FILE* in = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
    if (!in) std::abort();
    return in;
}

void fail(const char* what) {
    std::fprintf(stderr, "vertex reader: %s\n", what);
    std::abort();
}

}  // namespace

}  // namespace pd

using namespace pd;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The other four solids' loop.
    auto verts = sentinelArray();
    std::FILE* in = openBytes(data, size);
    const int reads = readVerticesToEnd(in, *verts);
    std::fclose(in);
    if (reads < 1 || reads > maxVertices) fail("read count outside 1 to 49");
    for (int p = reads; p < maxVertices; ++p)
        if (!isSentinel((*verts)[p])) fail("a position past the last read was written");

    // The tetrahedron's twelve reads fill positions 0 to 3 at most.
    auto tetra = sentinelArray();
    in = openBytes(data, size);
    readFixedVertices(in, *tetra);
    std::fclose(in);
    for (int p = 4; p < maxVertices; ++p)
        if (!isSentinel((*tetra)[p])) fail("the fixed reads wrote past position 3");
    return 0;
}
