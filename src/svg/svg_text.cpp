#include "svg/svg_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace pd {

namespace {

int channel(float c) {
    const float v = std::floor(c * 255.0f + 0.5f);
    return v < 0.0f ? 0 : v > 255.0f ? 255 : int(v);
}

}  // namespace

std::string svgNumber(double v, int decimals) {
    if (!std::isfinite(v)) v = 0;
    char text[400];
#ifdef __EMSCRIPTEN__
    // Emscripten's C++ library writes no floating-point numbers with
    // to_chars; printf's digits are the same (both exact, ties to even).
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    std::string s = text;
#else
    // A picture writes hundreds of thousands of these: to_chars is several
    // times quicker than printf, with the same digits.
    const std::to_chars_result end = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, decimals);
    std::string s(text, end.ptr);
#endif
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

std::string svgColour(const Rgb& c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", channel(c.red), channel(c.green), channel(c.blue));
    return text;
}

std::string svgEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace pd
