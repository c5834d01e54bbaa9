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

// The dual vertex text: faceCount lines of three numbers.
void checkDualText(const std::string& text, int faceCount) {
    int lines = 0;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = text.substr(start, end - start);
        float x, y, z;
        char extra;
        if (std::sscanf(line.c_str(), "%f %f %f %c", &x, &y, &z, &extra) != 3)
            fail("a dual vertex line is not three numbers", line);
        ++lines;
    }
    if (start != text.size()) fail("the dual vertex text does not end with a line end", text);
    if (lines != faceCount) fail("the dual vertex text has the wrong number of lines", text);
}

// Reads the decimal number at `pos`, moving past it; -1 when none stands there.
int numberAt(const std::string& text, std::size_t& pos) {
    int n = -1;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && n < 100000)
        n = (n < 0 ? 0 : n * 10) + (text[pos++] - '0');
    return n;
}

// The pair text: faceCount lines, line i holding " i-j " entries with j
// rising within 1 to faceCount.
void checkPairText(const std::string& text, int faceCount) {
    int line = 1;
    int lastJ = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == '\n') {
            ++line;
            lastJ = 0;
            ++pos;
            continue;
        }
        if (text[pos++] != ' ') fail("a pair entry does not start with a blank", text);
        const int i = numberAt(text, pos);
        if (pos >= text.size() || text[pos++] != '-') fail("a pair entry has no hyphen", text);
        const int j = numberAt(text, pos);
        if (pos >= text.size() || text[pos++] != ' ') fail("a pair entry does not end with a blank", text);
        if (i != line || j <= lastJ || j > faceCount) fail("a pair entry is out of place", text);
        lastJ = j;
    }
    if (line - 1 != faceCount || (!text.empty() && text.back() != '\n'))
        fail("the pair text has the wrong number of lines", text);
}

}  // namespace

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
        if (kind == Tetrahedron)
            readFixedVertices(in, *verts);
        else
            readVerticesToEnd(in, *verts);
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
    checkDualText(formatDualVerts(kind, *dual), info.faceCount);

    auto records = std::make_unique<FaceRecords>();
    fillFaceRecords(kind, *verts, *columns, *records);
    checkPairText(formatPairs(kind, *records), info.faceCount);
    return 0;
}
