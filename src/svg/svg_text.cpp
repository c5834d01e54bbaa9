#include "svg/svg_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "base/printable.h"

namespace pd {

namespace {

int channel(float c) {
    const float v = std::floor(c * 255.0f + 0.5f);
    return v < 0.0f ? 0 : v > 255.0f ? 255 : int(v);
}

}  // namespace

void appendSvgNumber(std::string& out, double v, int decimals) {
    if (!std::isfinite(v)) v = 0;
    char text[400];
#ifdef __EMSCRIPTEN__
    // Emscripten's C++ library writes no floating-point numbers with
    // to_chars; printf's digits are the same (both exact, ties to even).
    const int written = std::snprintf(text, sizeof text, "%.*f", decimals, v);
    char* end = text + std::clamp(written, 0, int(sizeof text) - 1);
#else
    // to_chars is several times quicker than printf, with the same digits.
    char* end = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, decimals).ptr;
#endif
    if (std::find(text, end, '.') != end) {
        while (end[-1] == '0') --end;
        if (end[-1] == '.') --end;
    }
    if (end - text == 2 && text[0] == '-' && text[1] == '0') {
        out += '0';
        return;
    }
    out.append(text, std::size_t(end - text));
}

std::string svgNumber(double v, int decimals) {
    std::string s;
    appendSvgNumber(s, v, decimals);
    return s;
}

void appendSvgColour(std::string& out, const Rgb& c) {
    static const char hex[] = "0123456789abcdef";
    out += '#';
    for (const float f : {c.red, c.green, c.blue}) {
        const int v = channel(f);
        out += hex[v >> 4];
        out += hex[v & 15];
    }
}

std::string svgColour(const Rgb& c) {
    std::string s;
    appendSvgColour(s, c);
    return s;
}

std::string svgEscaped(const std::string& text) {
    // XML takes no control character but tab and the line breaks (a
    // document with one does not parse; a one-line text wants none of those
    // either) and only UTF-8, as the declaration says.
    const std::string shown = displayable(text);
    std::string out;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const char c = shown[i];
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            // U+FFFE and U+FFFF, the two characters XML shuts out besides.
            if (shown.compare(i, 2, "\xef\xbf") == 0 && static_cast<unsigned char>(shown[i + 2]) >= 0xbe) {
                out += "\xef\xbf\xbd";
                i += 2;
            } else {
                out += c;
            }
        }
    }
    return out;
}

}  // namespace pd
