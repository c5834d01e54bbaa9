#include "io/stl_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <unordered_map>
#include <vector>

#include "base/translate.h"
#include "io/input_file.h"

namespace pd {

namespace {

// Merges corners that are the same point, exactly.
class CornerMerger {
public:
    // The vertex at `p`, new when no corner was there before.
    std::int32_t at(Vec3 p) {
        // -0 and 0 are one point.
        p = {p.x + 0.0f, p.y + 0.0f, p.z + 0.0f};
        std::array<std::uint32_t, 3> key;
        std::memcpy(key.data(), &p, sizeof key);
        const auto [it, added] = index_.try_emplace(key, std::int32_t(points.size()));
        if (added) points.push_back(p);
        return it->second;
    }
    std::vector<Vec3> points;

private:
    struct Hash {
        std::size_t operator()(const std::array<std::uint32_t, 3>& k) const {
            return std::size_t((std::uint64_t(k[0]) * 0x9E3779B97F4A7C15ull) ^ (std::uint64_t(k[1]) * 0xC2B2AE3D27D4EB4Full) ^
                               (std::uint64_t(k[2]) * 0x165667B19E3779F9ull));
        }
    };
    std::unordered_map<std::array<std::uint32_t, 3>, std::int32_t, Hash> index_;
};

using Triangle = std::array<std::int32_t, 3>;

// What is wrong with a corner's coordinate, or "".
std::string coordinateProblem(float v) {
    return std::isfinite(v) && std::fabs(v) <= maxCoordinate
               ? ""
               : tr("a coordinate is not a finite number within -1e30..1e30");
}

// Whose two triangles' planes are one: their unit normals agree to far
// less than any real model's bend, and to far more than a float's rounding
// of a face cut into triangles.
constexpr double samePlane = 1e-5;

Vec3d unitNormal(const std::vector<Vec3>& points, const Triangle& t) {
    const Vec3d a = widen(points[t[0]]);
    const Vec3d n = cross(widen(points[t[1]]) - a, widen(points[t[2]]) - a);
    const double len = length(n);
    return len > 0.0 ? n / len : Vec3d{0.0, 0.0, 0.0};
}

std::int32_t findRoot(std::vector<std::int32_t>& parent, std::int32_t i) {
    while (parent[i] != i) i = parent[i] = parent[parent[i]];
    return i;
}

// The ring around a group of triangles, or empty when their outline is not
// one ring (a hole, or a corner the outline passes twice).
std::vector<std::int32_t> outline(const std::vector<Triangle>& triangles, const std::vector<std::int32_t>& group) {
    std::vector<std::pair<std::int32_t, std::int32_t>> inner, sides;
    for (std::int32_t t : group)
        for (int k = 0; k < 3; ++k) inner.emplace_back(triangles[t][k], triangles[t][(k + 1) % 3]);
    std::sort(inner.begin(), inner.end());
    for (const auto& [a, b] : inner)
        if (!std::binary_search(inner.begin(), inner.end(), std::pair{b, a})) sides.emplace_back(a, b);
    std::vector<std::int32_t> ring;
    if (sides.size() < 3) return ring;
    // sides is sorted by its first corner: each corner must start one side.
    for (std::size_t i = 1; i < sides.size(); ++i)
        if (sides[i].first == sides[i - 1].first) return {};
    std::int32_t corner = sides[0].first;
    for (std::size_t i = 0; i < sides.size(); ++i) {
        ring.push_back(corner);
        const auto next = std::lower_bound(sides.begin(), sides.end(), std::pair{corner, INT32_MIN});
        if (next == sides.end() || next->first != corner) return {};
        corner = next->second;
        if (corner == ring[0] && i + 1 < sides.size()) return {};
    }
    return corner == ring[0] ? ring : std::vector<std::int32_t>{};
}

// The triangles over `points` as a polyhedron, those in one plane joined.
Polyhedron joinedFaces(std::vector<Vec3> points, const std::vector<Triangle>& triangles) {
    const std::int32_t count = std::int32_t(triangles.size());
    std::vector<Vec3d> normals(count);
    for (std::int32_t t = 0; t < count; ++t) normals[t] = unitNormal(points, triangles[t]);
    // Each side a triangle has, to find the triangle on its other side.
    std::unordered_map<std::uint64_t, std::int32_t> sideOf;
    sideOf.reserve(std::size_t(count) * 3);
    auto key = [](std::int32_t a, std::int32_t b) { return (std::uint64_t(std::uint32_t(a)) << 32) | std::uint32_t(b); };
    for (std::int32_t t = 0; t < count; ++t)
        for (int k = 0; k < 3; ++k) sideOf.emplace(key(triangles[t][k], triangles[t][(k + 1) % 3]), t);
    std::vector<std::int32_t> parent(count);
    std::iota(parent.begin(), parent.end(), 0);
    for (std::int32_t t = 0; t < count; ++t)
        for (int k = 0; k < 3; ++k) {
            const auto other = sideOf.find(key(triangles[t][(k + 1) % 3], triangles[t][k]));
            if (other == sideOf.end()) continue;
            const Vec3d n = normals[t], m = normals[other->second];
            if (dot(n, m) > 0.0 && length(cross(n, m)) < samePlane)
                parent[findRoot(parent, t)] = findRoot(parent, other->second);
        }
    std::vector<std::vector<std::int32_t>> groups(count);
    for (std::int32_t t = 0; t < count; ++t) groups[findRoot(parent, t)].push_back(t);
    Polyhedron out;
    out.vertices = std::move(points);
    // Faces in the order of their first triangle.
    for (std::int32_t t = 0; t < count; ++t) {
        const std::vector<std::int32_t>& group = groups[findRoot(parent, t)];
        if (group.front() != t) continue;
        const std::vector<std::int32_t> ring = group.size() > 1 ? outline(triangles, group) : std::vector<std::int32_t>{};
        if (!ring.empty()) {
            out.addFace(ring.data(), int(ring.size()));
            continue;
        }
        for (std::int32_t u : group) out.addFace(triangles[u].data(), 3);
    }
    return out;
}

std::uint32_t readU32(const char* p) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | std::uint8_t(p[i]);
    return v;
}

float readFloat(const char* p) {
    const std::uint32_t bits = readU32(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

Result<Polyhedron> readBinary(std::string_view bytes, const std::string& fileName, std::uint32_t count) {
    CornerMerger merger;
    std::vector<Triangle> triangles;
    triangles.reserve(count);
    for (std::uint32_t t = 0; t < count; ++t) {
        const char* record = bytes.data() + 84 + std::size_t(t) * 50;
        Triangle corners;
        for (int k = 0; k < 3; ++k) {
            const Vec3 p{readFloat(record + 12 + 12 * k), readFloat(record + 16 + 12 * k),
                         readFloat(record + 20 + 12 * k)};
            for (float v : {p.x, p.y, p.z})
                if (const std::string problem = coordinateProblem(v); !problem.empty())
                    return failure(fileName, 0, fill(tr("triangle {1}: {2}"), {std::to_string(t + 1), problem}));
            corners[k] = merger.at(p);
        }
        if (corners[0] == corners[1] || corners[1] == corners[2] || corners[0] == corners[2])
            return failure(fileName, 0, fill(tr("triangle {1}: two corners are one point"), {std::to_string(t + 1)}));
        triangles.push_back(corners);
    }
    return joinedFaces(std::move(merger.points), triangles);
}

// The words of an ASCII STL file, each with its line.
class Words {
public:
    explicit Words(std::string_view text) : text_(text) {}
    // The next word, empty at the end of the text (whose line is then the
    // last word's).
    std::string_view next() {
        long line = line_;
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
            if (text_[pos_] == '\n') ++line;
            ++pos_;
        }
        const std::size_t begin = pos_;
        while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
        if (pos_ > begin) line_ = line;
        return text_.substr(begin, pos_ - begin);
    }
    // Skips the rest of the line (a solid's name).
    void skipLine() {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
    }
    long line() const { return line_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    long line_ = 1;
};

bool sameWord(std::string_view word, const char* expected) {
    const std::size_t n = std::strlen(expected);
    if (word.size() != n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(word[i])) != expected[i]) return false;
    return true;
}

// The word as it is shown in a message: quoted, cut short when long.
std::string shown(std::string_view word) {
    if (word.empty()) return tr("the end of the file");
    return "'" + std::string(word.substr(0, 40)) + (word.size() > 40 ? "...'" : "'");
}

class AsciiReader {
public:
    AsciiReader(std::string_view text, const std::string& fileName) : words_(text), file_(fileName) {}

    Result<Polyhedron> run() {
        std::string_view word = words_.next();
        if (!sameWord(word, "solid")) return fail(fill(tr("expected 'solid', found {1}"), {shown(word)}));
        while (!word.empty()) {
            if (!sameWord(word, "solid")) return fail(fill(tr("expected 'solid' or the end of the file, found {1}"), {shown(word)}));
            words_.skipLine();
            for (word = words_.next(); sameWord(word, "facet"); word = words_.next())
                if (const Status read = facet(); !read) return read.error();
            if (!sameWord(word, "endsolid")) return fail(fill(tr("expected 'facet' or 'endsolid', found {1}"), {shown(word)}));
            words_.skipLine();
            word = words_.next();
        }
        if (triangles_.empty()) return failure(file_, 0, tr("the file holds no triangles"));
        return joinedFaces(std::move(merger_.points), triangles_);
    }

private:
    Error fail(const std::string& what) const { return failure(file_, words_.line(), what); }

    // Inside a facet, a file that ends says which.
    Error ended() const { return fail(fill(tr("the file ends inside facet {1}"), {std::to_string(triangles_.size() + 1)})); }

    Status expect(const char* keyword) {
        const std::string_view word = words_.next();
        if (word.empty()) return ended();
        if (!sameWord(word, keyword)) return fail(fill(tr("expected '{1}', found {2}"), {keyword, shown(word)}));
        return Done{};
    }

    Status number(float& value) {
        const std::string_view word = words_.next();
        if (word.empty()) return ended();
        const std::string text(word.substr(0, 64));
        char* end = nullptr;
        const double v = std::strtod(text.c_str(), &end);
        if (word.empty() || word.size() > 64 || end != text.c_str() + text.size())
            return fail(fill(tr("{1} is not a number"), {shown(word)}));
        value = float(v);
        if (const std::string problem = coordinateProblem(value); !problem.empty()) return fail(problem);
        return Done{};
    }

    Status facet() {
        if (triangles_.size() >= std::size_t(maxOffCount))
            return fail(fill(tr("more than {1} triangles"), {std::to_string(maxOffCount)}));
        float normal[3];
        Status read = expect("normal");
        for (float& n : normal)
            if (read) read = number(n);
        if (read) read = expect("outer");
        if (read) read = expect("loop");
        Triangle corners;
        for (int k = 0; k < 3 && read; ++k) {
            Vec3 p;
            read = expect("vertex");
            if (read) read = number(p.x);
            if (read) read = number(p.y);
            if (read) read = number(p.z);
            if (read) corners[k] = merger_.at(p);
        }
        if (read) read = expect("endloop");
        if (read) read = expect("endfacet");
        if (!read) return read;
        if (corners[0] == corners[1] || corners[1] == corners[2] || corners[0] == corners[2])
            return fail(fill(tr("triangle {1}: two corners are one point"), {std::to_string(triangles_.size() + 1)}));
        triangles_.push_back(corners);
        return Done{};
    }

    Words words_;
    const std::string& file_;
    CornerMerger merger_;
    std::vector<Triangle> triangles_;
};

}  // namespace

Result<Polyhedron> readStl(std::string_view bytes, const std::string& fileName) {
    const std::uint32_t count = bytes.size() >= 84 ? readU32(bytes.data() + 80) : 0;
    const bool binary = bytes.size() >= 84 && bytes.size() == 84 + 50 * std::uint64_t(count);
    std::size_t start = 0;
    while (start < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[start]))) ++start;
    if (!binary && sameWord(bytes.substr(start, 5), "solid")) return AsciiReader(bytes, fileName).run();
    if (bytes.size() < 84)
        return failure(fileName, 0,
                       fill(tr("not an STL file: {1} bytes are too few for binary STL, and it does not start with 'solid'"),
                            {std::to_string(bytes.size())}));
    if (!binary)
        return failure(fileName, 0,
                       fill(tr("not an STL file: binary STL of {1} triangles is {2} bytes long, not {3}"),
                            {std::to_string(count), std::to_string(84 + 50 * std::uint64_t(count)), std::to_string(bytes.size())}));
    if (count > maxOffCount)
        return failure(fileName, 0,
                       fill(tr("{1} triangles: more than {2}"), {std::to_string(count), std::to_string(maxOffCount)}));
    if (count == 0) return failure(fileName, 0, tr("the file holds no triangles"));
    return readBinary(bytes, fileName, count);
}

Result<Polyhedron> loadStlFile(const std::string& path) {
    const Result<std::string> bytes = readRegularFile(path, maxOffFileBytes, "STL");
    if (!bytes) return bytes.error();
    return readStl(*bytes, path);
}

bool isStlName(const std::string& path) {
    return path.size() >= 4 && sameWord(std::string_view(path).substr(path.size() - 4), ".stl");
}

Result<Polyhedron> loadShapeFile(const std::string& path) {
    return isStlName(path) ? loadStlFile(path) : loadOffFile(path);
}

}  // namespace pd
