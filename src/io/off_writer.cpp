#include "io/off_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/translate.h"
#include "geometry/edges.h"
#include "io/off_reader.h"

namespace pd {

namespace {

#ifdef __EMSCRIPTEN__
// Emscripten's C++ library writes no floating-point numbers with to_chars:
// the same text made from printf's digits. The fewest significant digits
// that read back as the same float or double, then the shorter of the
// fixed and the scientific form (the fixed one on a tie), as to_chars
// chooses.
template <typename Number>
void appendShortest(std::string& text, Number value) {
    if (!std::isfinite(value)) {
        text += std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan") : (value < 0 ? "-inf" : "inf");
        return;
    }
    if (value == Number(0)) {
        text += std::signbit(value) ? "-0" : "0";
        return;
    }
    char buffer[48];
    constexpr bool single = sizeof(Number) == sizeof(float);
    for (int precision = 0; precision < (single ? 9 : 17); ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*e", precision, double(value));
        if ((single ? Number(std::strtof(buffer, nullptr)) : Number(std::strtod(buffer, nullptr))) == value) break;
    }
    // buffer: [-]d[.ddd]e(+|-)XX
    std::string s = buffer;
    const bool negative = s[0] == '-';
    if (negative) s.erase(0, 1);
    const std::size_t e = s.find('e');
    const int exponent = std::atoi(s.c_str() + e + 1);
    std::string digits = s.substr(0, e);
    digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
    const int count = int(digits.size());
    std::string scientific = digits.substr(0, 1) + (count > 1 ? "." + digits.substr(1) : "");
    char tail[8];
    std::snprintf(tail, sizeof tail, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    scientific += tail;
    std::string fixed;
    if (exponent < 0) {
        fixed = "0." + std::string(std::size_t(-exponent - 1), '0') + digits;
    } else if (exponent + 1 >= count) {
        // A whole number: to_chars writes its exact digits, not the
        // shortest padded with zeros.
        std::snprintf(buffer, sizeof buffer, "%.0f", std::fabs(double(value)));
        fixed = buffer;
    } else {
        fixed = digits.substr(0, std::size_t(exponent + 1)) + "." + digits.substr(std::size_t(exponent + 1));
    }
    text += negative ? "-" : "";
    text += fixed.size() <= scientific.size() ? fixed : scientific;
}
#endif

// The shortest text that reads back as the same float (a coordinate the
// program holds as one) or double (one it made in double): exact, and the
// same bytes on every run.
template <typename Number>
void appendNumber(std::string& text, Number value) {
#ifdef __EMSCRIPTEN__
    appendShortest(text, value);
#else
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, static_cast<std::size_t>(result.ptr - digits));
#endif
}

template <>
void appendNumber(std::string& text, long long value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, static_cast<std::size_t>(result.ptr - digits));
}

}  // namespace

Status offWritable(const Polyhedron& shell) {
    for (int v = 0; v < shell.vertexCount(); ++v) {
        const Vec3& p = shell.vertices[std::size_t(v)];
        for (const float c : {p.x, p.y, p.z})
            if (!std::isfinite(c) || std::fabs(c) > maxCoordinate) {
                std::string text;
                appendNumber(text, c);
                return failure(fill(tr("vertex {1} has the coordinate {2}, outside -1e30..1e30"), {std::to_string(v), text}));
            }
    }
    std::vector<int> seenIn(std::size_t(shell.vertexCount()), -1);
    for (int f = 0; f < shell.faceCount(); ++f) {
        if (shell.faceSize(f) == 0) continue;  // left out of the text
        if (shell.faceSize(f) < 3)
            return failure(fill(tr("face {1} has {2} corners; a face needs at least 3"),
                                {std::to_string(f), std::to_string(shell.faceSize(f))}));
        for (int k = 0; k < shell.faceSize(f); ++k) {
            const std::int32_t v = shell.face(f)[k];
            if (v < 0 || v >= shell.vertexCount())
                return failure(fill(tr("face {1} names vertex {2}, which it does not have"), {std::to_string(f), std::to_string(v)}));
            int& seen = seenIn[std::size_t(v)];
            if (seen == f)
                return failure(fill(tr("face {1} names vertex {2} twice"), {std::to_string(f), std::to_string(shell.face(f)[k])}));
            seen = f;
        }
    }
    return Done{};
}

Result<std::string> formatOff(const std::vector<const Polyhedron*>& shells,
                              const std::vector<const std::vector<Vec3d>*>& exact) {
    bool anyFace = false;
    for (std::size_t i = 0; i < shells.size(); ++i) {
        const Status writable = offWritable(*shells[i]);
        if (!writable)
            return failure(shells.size() > 1 ? fill(tr("shell {1}: {2}"), {std::to_string(i + 1), writable.error().what})
                                             : writable.error().what);
        for (int f = 0; f < shells[i]->faceCount() && !anyFace; ++f)
            anyFace = shells[i]->faceSize(f) > 0;
    }
    if (!anyFace) return failure(tr("there is no face to write"));
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
    const auto appendVertex = [&text](const auto& v) {
        appendNumber(text, v.x);
        text += ' ';
        appendNumber(text, v.y);
        text += ' ';
        appendNumber(text, v.z);
        text += '\n';
    };
    for (std::size_t i = 0; i < shells.size(); ++i) {
        const std::vector<Vec3d>* held = i < exact.size() ? exact[i] : nullptr;
        if (held && held->size() == shells[i]->vertices.size())
            for (const Vec3d& v : *held) appendVertex(v);
        else
            for (const Vec3& v : shells[i]->vertices) appendVertex(v);
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

}  // namespace pd
