#include "mesh/off_writer.h"

#include <charconv>

#include "mesh/edges.h"

namespace {

void appendNumber(std::string& text, float value) {
    char digits[32];
    // The shortest text that reads back as the same float: exact, and the
    // same bytes on every run.
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, static_cast<std::size_t>(result.ptr - digits));
}

void appendNumber(std::string& text, long long value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, static_cast<std::size_t>(result.ptr - digits));
}

}  // namespace

std::string formatOff(const std::vector<const Polyhedron*>& shells) {
    long long vertices = 0, faces = 0, edges = 0;
    std::string sizes;
    for (const Polyhedron* shell : shells) {
        vertices += shell->vertexCount();
        long long shellFaces = 0;
        for (int f = 0; f < shell->faceCount(); ++f) shellFaces += shell->faceSize(f) > 0;
        faces += shellFaces;
        // Shells share no vertex, so no edge is counted twice.
        edges += static_cast<long long>(deriveEdges(*shell).size());
        sizes += (sizes.empty() ? " " : ", ") + std::to_string(shell->vertexCount()) +
                 " vertices and " + std::to_string(shellFaces) + " faces";
    }
    std::string text;
    // Room for short numbers, so the text rarely has to move while growing.
    text.reserve(static_cast<std::size_t>(40 * vertices + 24 * faces) + 200);
    text += "OFF\n# " + std::to_string(shells.size()) +
                       (shells.size() == 1 ? " shell:" : " shells:") + sizes + "\n";
    appendNumber(text, vertices);
    text += ' ';
    appendNumber(text, faces);
    text += ' ';
    appendNumber(text, edges);
    text += '\n';
    for (const Polyhedron* shell : shells)
        for (const Vec3& v : shell->vertices) {
            appendNumber(text, v.x);
            text += ' ';
            appendNumber(text, v.y);
            text += ' ';
            appendNumber(text, v.z);
            text += '\n';
        }
    long long offset = 0;
    for (const Polyhedron* shell : shells) {
        for (int f = 0; f < shell->faceCount(); ++f) {
            if (shell->faceSize(f) == 0) continue;  // a dual's face of a vertex in no face
            appendNumber(text, static_cast<long long>(shell->faceSize(f)));
            for (int k = 0; k < shell->faceSize(f); ++k) {
                text += ' ';
                appendNumber(text, offset + shell->face(f)[k]);
            }
            text += '\n';
        }
        offset += shell->vertexCount();
    }
    return text;
}
