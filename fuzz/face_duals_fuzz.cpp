// Any bytes as a face file, with the dual construction and both output
// texts behind it, as the program runs them once the row check has passed.
//
// Input: the first byte picks the solid ('1' to '5' give 1 to 5, any other
// byte one of them too). If the rest holds a '#', the text before it is the
// solid's vertex file and the text after it the face file; otherwise all of
// it is the face file, against the shipped vertices of data/.
//
// Every array lives on the heap on its own, so a vertex number that slipped
// past the row check shows as an out-of-bounds read.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "shipped_solids.h"
#include "solids/dual.h"
#include "solids/solid_reader.h"

namespace pd {

namespace {

constexpr Vec3 sentinel{-7.25e-30f, 3.5e29f, -1.0e-3f};

void fail(const char* what, const std::string& text = "") {
    std::fprintf(stderr, "face duals: %s\n%s\n", what, text.c_str());
    std::abort();
}

std::FILE* openBytes(const char* data, std::size_t size) {
    std::FILE* in = fmemopen(const_cast<char*>(data), size, "r");
    if (!in) std::abort();
    return in;
}

// Both output texts hold one line per face, whatever the rows held.
void checkLines(const std::string& text, int faceCount, const char* what) {
    long lines = 0;
    for (char c : text) lines += c == '\n';
    if (lines != faceCount || (!text.empty() && text.back() != '\n')) fail(what, text);
}

}  // namespace

}  // namespace pd

using namespace pd;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const SolidKind kind = static_cast<SolidKind>(1 + (data[0] + 1) % solidKindCount);
    const SolidInfo& info = solidInfo(kind);
    const char* text = reinterpret_cast<const char*>(data + 1);
    const std::size_t textSize = size - 1;
    const char* split = static_cast<const char*>(std::memchr(text, '#', textSize));

    auto verts = std::make_unique<VertexArray>();
    const char* faces = text;
    std::size_t facesSize = textSize;
    if (split) {
        std::FILE* in = openBytes(text, std::size_t(split - text));
        readSolidVertices(in, kind, *verts);
        std::fclose(in);
        faces = split + 1;
        facesSize = textSize - std::size_t(split - text) - 1;
    } else {
        *verts = solidVerts(shippedSolids(), kind);
    }

    auto columns = std::make_unique<FaceColumns>();
    std::FILE* in = openBytes(faces, facesSize);
    const std::string problem = readFaceColumns(in, kind, *columns);
    std::fclose(in);
    // The program ends the run at a bad row; nothing below may see one.
    if (!problem.empty()) return 0;

    auto dual = std::make_unique<VertexArray>();
    dual->fill(sentinel);
    computeDualVerts(kind, *verts, *columns, *dual);
    for (int p = info.faceCount; p < maxVertices; ++p)
        if (std::memcmp(&(*dual)[p], &sentinel, sizeof sentinel) != 0)
            fail("the dual was written past faceCount");
    checkLines(formatDualVerts(kind, *dual), info.faceCount, "the dual vertex text has the wrong lines");

    auto records = std::make_unique<FaceRecords>();
    fillFaceRecords(kind, *verts, *columns, *records);
    checkLines(formatPairs(kind, *records), info.faceCount, "the pair text has the wrong lines");
    return 0;
}
