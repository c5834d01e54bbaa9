#include "io/off_reader.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

#include "base/huge_pages.h"
#include "base/translate.h"
#include "io/input_file.h"

namespace pd {

namespace {

// Walks the text line by line and each line token by token; a token ends at
// white space or at a '#', which hides the rest of its line. Working on the
// buffer itself keeps reading linear and free of per-token allocations.
class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    // Moves to the next line holding a token; false at the end of the text.
    bool nextLine() {
        while (next_ < text_.size()) {
            const std::size_t begin = next_;
            const void* nl = std::memchr(text_.data() + begin, '\n', text_.size() - begin);
            const std::size_t end =
                nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - text_.data())
                   : text_.size();
            next_ = nl ? end + 1 : text_.size() + 1;
            ++line_;
            const void* hash = std::memchr(text_.data() + begin, '#', end - begin);
            lineEnd_ = hash ? static_cast<std::size_t>(static_cast<const char*>(hash) - text_.data())
                            : end;
            pos_ = begin;
            skipBlanks();
            if (pos_ < lineEnd_) return true;
        }
        return false;
    }

    // The next token of the current line, empty when the line has no more.
    std::string_view token() {
        skipBlanks();
        const std::size_t begin = pos_;
        while (pos_ < lineEnd_ && !isBlank(text_[pos_])) ++pos_;
        return text_.substr(begin, pos_ - begin);
    }

    // Whether the current line holds another token.
    bool hasToken() {
        skipBlanks();
        return pos_ < lineEnd_;
    }

    // The next token wherever it is, on this line or a later one; empty at
    // the end of the text.
    std::string_view anyToken() {
        if (!hasToken() && !nextLine()) return {};
        return token();
    }

    // The number of the line last moved to (counting from 1), or of the last
    // line once the text is used up.
    long long line() const { return line_ > 0 ? line_ : 1; }

    // Bytes after the current line: the room left for what it announces.
    std::size_t bytesLeft() const { return next_ >= text_.size() ? 0 : text_.size() - next_; }

private:
    static bool isBlank(char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
    }
    void skipBlanks() {
        while (pos_ < lineEnd_ && isBlank(text_[pos_])) ++pos_;
    }

    std::string_view text_;
    std::size_t next_ = 0;
    std::size_t pos_ = 0;
    std::size_t lineEnd_ = 0;
    long long line_ = 0;
};

// Long tokens are cut in messages so one line stays one line, and bytes a
// terminal would act on are shown escaped (\x1b, \0; a backslash as \\),
// so a file cannot move the cursor, recolour the terminal or end the line
// early through its messages.
std::string quoted(std::string_view token) {
    const std::size_t shown = token.size() > 40 ? 40 : token.size();
    std::string out = "'";
    for (const char c : token.substr(0, shown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0) {
            out += "\\0";
        } else if (byte == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte == 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out + (shown < token.size() ? "...'" : "'");
}

#ifdef __EMSCRIPTEN__
// Emscripten's C++ library reads no floating-point numbers with
// from_chars: the same from strtof and strtod (whose locale is always "C"
// there), taking only what from_chars takes: no '+', no space, no hex.
template <class Number>
std::from_chars_result readNumber(const char* first, const char* last, Number& value) {
    const std::string text(first, last);
    const std::size_t sign = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == sign || text.find_first_of("xX") != std::string::npos ||
        !(std::isdigit(static_cast<unsigned char>(text[sign])) || text[sign] == '.' ||
          std::isalpha(static_cast<unsigned char>(text[sign]))))
        return {first, std::errc::invalid_argument};
    char* end = nullptr;
    errno = 0;
    const Number read = sizeof(Number) == sizeof(float) ? Number(std::strtof(text.c_str(), &end))
                                                        : Number(std::strtod(text.c_str(), &end));
    const char* stop = first + (end - text.c_str());
    if (stop == first) return {first, std::errc::invalid_argument};
    if (errno == ERANGE) return {stop, std::errc::result_out_of_range};
    value = read;
    return {stop, std::errc()};
}
#else
template <class Number>
std::from_chars_result readNumber(const char* first, const char* last, Number& value) {
    return std::from_chars(first, last, value);
}
#endif

bool parseWhole(std::string_view token, long long& value) {
    const char* first = token.data();
    const char* last = first + token.size();
    if (first != last && *first == '+') ++first;
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && first != last;
}

// A coordinate as a float, rounded once from the text. Values too small for
// a float become zero; too large ones become infinite (and are refused by
// the caller). False when the token is not a number at all.
bool parseCoordinate(std::string_view token, float& value) {
    const char* first = token.data();
    const char* last = first + token.size();
    if (first != last && *first == '+') ++first;
    if (first == last) return false;
    const auto [end, ec] = readNumber(first, last, value);
    if (end != last) return false;
    if (ec == std::errc()) return true;
    if (ec != std::errc::result_out_of_range) return false;
    double wide = 0.0;
    const auto [wideEnd, wideEc] = readNumber(first, last, wide);
    if (wideEc == std::errc()) {
        value = static_cast<float>(wide);
        return wideEnd == last;
    }
    // Beyond even a double: tiny when its exponent is negative.
    const bool negativeExponent = token.find("e-") != std::string_view::npos ||
                                  token.find("E-") != std::string_view::npos;
    const float magnitude = negativeExponent ? 0.0f : INFINITY;
    value = *first == '-' ? -magnitude : magnitude;
    return true;
}

class OffParser {
public:
    OffParser(std::string_view text, const std::string& fileName, Polyhedron& out)
        : scan_(text), file_(fileName), out_(out) {}

    // The error of the last failing step, once run() gave false.
    Error error() const { return error_; }

    bool run() {
        out_ = Polyhedron{};
        if (!scan_.nextLine()) return fail(tr("the file holds no OFF header or counts"));
        std::string_view first = scan_.token();
        if (!first.empty() && (std::isalpha(static_cast<unsigned char>(first[0])) != 0)) {
            if (first != "OFF" && first != "COFF" && first != "NOFF" && first != "CNOFF")
                return fail(fill(tr("{1} is not an OFF header (OFF, COFF, NOFF or CNOFF)"), {quoted(first)}));
            // What follows x y z in a file with no line structure: a normal
            // (3 numbers), a colour (4) or both.
            extraPerVertex_ = (first[0] == 'C' ? 4 : 0) + (first.find('N') != std::string_view::npos ? 3 : 0);
            first = scan_.token();
            if (first == "BINARY") return fail(tr("binary OFF files are not read"));
            if (first.empty()) {
                if (!scan_.nextLine()) return fail(tr("the file ends before the counts line"));
                first = scan_.token();
            }
        }
        return counts(first) && vertices() && faces();
    }

private:
    bool fail(const std::string& what) {
        error_ = failure(file_, static_cast<long>(scan_.line()), what);
        return false;
    }

    bool counts(std::string_view first) {
        long long values[2] = {0, 0};
        std::string_view tokens[2] = {first, scan_.token()};
        for (int k = 0; k < 2; ++k) {
            if (tokens[k].empty())
                return fail(tr("the counts line needs the numbers of vertices and faces"));
            if (!parseWhole(tokens[k], values[k]) || values[k] < 0)
                return fail(fill(tr("bad counts: {1} is not a count"), {quoted(tokens[k])}));
        }
        const std::string_view edges = scan_.token();
        long long ignored = 0;
        if (!edges.empty() && !parseWhole(edges, ignored))
            return fail(fill(tr("bad counts: {1} is not a count"), {quoted(edges)}));
        vertexCount_ = values[0];
        faceCount_ = values[1];
        // Data on the counts line itself: a file written on one line (or
        // with no line structure at all), read token by token, the edge
        // count taken as given.
        streamed_ = !edges.empty() && scan_.hasToken();
        if (faceCount_ == 0) return fail(tr("the file declares no faces"));
        if (vertexCount_ > maxOffCount || faceCount_ > maxOffCount)
            return fail(fill(tr("counts of {1} vertices and {2} faces are above the limit of {3}"),
                             {std::to_string(vertexCount_), std::to_string(faceCount_), std::to_string(maxOffCount)}));
        return true;
    }

    // Room for what the counts announce, but no more than the text could
    // hold (a vertex takes at least "0 0 0 ", a face "3 0 1 2 "): a short
    // file claiming millions allocates little, and says where it ends.
    std::size_t roomFor(long long count, long long bytesEach) const {
        const long long fits = static_cast<long long>(scan_.bytesLeft()) / bytesEach + 1;
        return static_cast<std::size_t>(count < fits ? count : fits);
    }

    bool endsAfterVertex(long long v) {
        const std::string read = std::to_string(v), of = std::to_string(vertexCount_);
        if (v == 0) return fail(fill(tr("the file ends after the counts: {1} of {2} vertices read"), {read, of}));
        return fail(fill(tr("the file ends after vertex {1}: {2} of {3} vertices read"), {std::to_string(v - 1), read, of}));
    }

    bool endsAfterFace(long long f) {
        const std::string read = std::to_string(f), of = std::to_string(faceCount_);
        if (f == 0)
            return fail(fill(tr("the file ends after vertex {1}: {2} of {3} faces read"), {std::to_string(vertexCount_ - 1), read, of}));
        return fail(fill(tr("the file ends after face {1}: {2} of {3} faces read"), {std::to_string(f - 1), read, of}));
    }

    // The next token of a vertex or face: on its line, or anywhere in a
    // streamed file.
    std::string_view next() { return streamed_ ? scan_.anyToken() : scan_.token(); }

    bool vertices() {
        reserveHuge(out_.vertices, roomFor(vertexCount_, 6));
        for (long long v = 0; v < vertexCount_; ++v) {
            if (streamed_ ? !scan_.hasToken() && !scan_.nextLine() : !scan_.nextLine()) return endsAfterVertex(v);
            float xyz[3];
            for (float& c : xyz) {
                const std::string_view t = next();
                if (t.empty() && streamed_) return endsAfterVertex(v);
                if (t.empty()) return fail(fill(tr("vertex {1} needs x, y and z"), {std::to_string(v)}));
                if (!parseCoordinate(t, c)) return fail(fill(tr("{1} is not a number"), {quoted(t)}));
                if (!std::isfinite(c))
                    return fail(fill(tr("vertex {1}: {2} is not a finite coordinate"), {std::to_string(v), quoted(t)}));
                if (std::fabs(c) > maxCoordinate)
                    return fail(fill(tr("vertex {1}: {2} is outside -1e30..1e30"), {std::to_string(v), quoted(t)}));
            }
            out_.vertices.push_back(Vec3{xyz[0], xyz[1], xyz[2]});
            for (int k = 0; streamed_ && k < extraPerVertex_; ++k)
                if (next().empty()) return endsAfterVertex(v);
        }
        return true;
    }

    bool faces() {
        reserveHuge(out_.faceStart, roomFor(faceCount_, 8) + 1);
        reserveHuge(out_.corners, roomFor(faceCount_, 8) * 3);
        // The last face each vertex was seen in (+1), to find a repeated
        // corner without searching the face.
        std::vector<std::int32_t> seenIn(static_cast<std::size_t>(vertexCount_), 0);
        for (long long f = 0; f < faceCount_; ++f) {
            if (streamed_ ? !scan_.hasToken() && !scan_.nextLine() : !scan_.nextLine()) return endsAfterFace(f);
            const std::string_view t = next();
            long long n = 0;
            if (!parseWhole(t, n)) return fail(fill(tr("{1} is not a whole number"), {quoted(t)}));
            if (n < 3)
                return fail(fill(tr("face {1} has {2} corners; a face needs at least 3"), {std::to_string(f), std::to_string(n)}));
            const auto stamp = static_cast<std::int32_t>(f + 1);
            for (long long k = 0; k < n; ++k) {
                const std::string_view c = next();
                if (c.empty())
                    return fail(fill(tr("face {1} lists {2} of its {3} corners"), {std::to_string(f), std::to_string(k), std::to_string(n)}));
                long long index = 0;
                if (!parseWhole(c, index)) return fail(fill(tr("{1} is not a whole number"), {quoted(c)}));
                if (index < 0 || index >= vertexCount_)
                    return fail(fill(tr("face {1}: vertex index {2} is outside 0..{3}"),
                                     {std::to_string(f), std::to_string(index), std::to_string(vertexCount_ - 1)}));
                if (seenIn[static_cast<std::size_t>(index)] == stamp)
                    return fail(fill(tr("face {1} names vertex {2} twice"), {std::to_string(f), std::to_string(index)}));
                seenIn[static_cast<std::size_t>(index)] = stamp;
                if (out_.corners.size() >= static_cast<std::size_t>(INT32_MAX))
                    return fail(tr("the faces hold more corners than can be kept"));
                out_.corners.push_back(static_cast<std::int32_t>(index));
            }
            out_.faceStart.push_back(static_cast<std::int32_t>(out_.corners.size()));
        }
        return true;
    }

    Scanner scan_;
    const std::string& file_;
    Polyhedron& out_;
    Error error_;
    long long vertexCount_ = 0;
    long long faceCount_ = 0;
    bool streamed_ = false;
    int extraPerVertex_ = 0;
};

}  // namespace

Result<Polyhedron> readOff(std::string_view text, const std::string& fileName) {
    Polyhedron out;
    OffParser parser(text, fileName, out);
    if (!parser.run()) return parser.error();
    return out;
}

Result<Polyhedron> loadOffFile(const std::string& path) {
    const Result<std::string> text = readRegularFile(path, maxOffFileBytes, "OFF");
    if (!text) return text.error();
    return readOff(*text, path);
}

}  // namespace pd
