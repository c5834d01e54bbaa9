#include "output/svg_writer.h"

#include <cmath>
#include <cstdio>

namespace {

// Two decimals, trailing zeros dropped, never "-0": short and the same on
// every machine (the program sets no locale, so the point is a point).
std::string number(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", v);
    std::string s = text;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

// As GL stores a float colour in an 8-bit channel, in float arithmetic:
// 0.9 becomes 230 there (0.9f * 255 rounds up to 229.5f), not 229.
int channel(float c) {
    const float v = std::floor(c * 255.0f + 0.5f);
    return v < 0.0f ? 0 : v > 255.0f ? 255 : int(v);
}

std::string colourText(const Rgb& c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", channel(c.red), channel(c.green),
                  channel(c.blue));
    return text;
}

std::string escaped(const std::string& text) {
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

class ShellPixels {
public:
    ShellPixels(const Frame& frame, const FrameShell& shell) : frame_(frame), shell_(shell) {}

    // The vertex's pixel; false when it is not finite.
    bool at(std::uint32_t vertex, PixelPosition& p) const {
        if (2 * std::size_t(vertex) + 1 >= shell_.xy.size()) return false;
        p = pixelOf(frame_.camera, frame_.projection, shell_.xy[2 * vertex], shell_.xy[2 * vertex + 1]);
        return std::isfinite(p.x) && std::isfinite(p.y);
    }

    // "M x y L x y" for every pair of `pairs`.
    std::string segments(const std::vector<std::uint32_t>& pairs) const {
        std::string d;
        for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
            PixelPosition p, q;
            if (!at(pairs[i], p) || !at(pairs[i + 1], q)) continue;
            if (!d.empty()) d += ' ';
            d += "M" + number(p.x) + " " + number(p.y) + "L" + number(q.x) + " " + number(q.y);
        }
        return d;
    }

    // A 4 x 4 pixel square centred on each marked vertex, as GL draws a
    // point of that size.
    std::string marks() const {
        std::string d;
        const double half = endMarkSize / 2.0;
        for (std::uint32_t v : shell_.marks) {
            PixelPosition p;
            if (!at(v, p)) continue;
            if (!d.empty()) d += ' ';
            d += "M" + number(p.x - half) + " " + number(p.y - half) + "h" + number(endMarkSize) +
                 "v" + number(endMarkSize) + "h-" + number(endMarkSize) + "z";
        }
        return d;
    }

private:
    const Frame& frame_;
    const FrameShell& shell_;
};

}  // namespace

std::string formatSvg(const Frame& frame) {
    const std::string w = std::to_string(frame.width < 1 ? 1 : frame.width);
    const std::string h = std::to_string(frame.height < 1 ? 1 : frame.height);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
                      "\" viewBox=\"0 0 " + w + " " + h + "\" shape-rendering=\"crispEdges\">\n";
    svg += "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"" + colourText(frame.background) +
           "\"/>\n";
    for (const FrameShell& shell : frame.shells) {
        const ShellPixels pixels(frame, shell);
        const std::string colour = colourText(shell.colour);
        svg += "<g stroke=\"" + colour + "\" stroke-width=\"1\" fill=\"none\">\n";
        const std::string lines = pixels.segments(shell.lines);
        if (!lines.empty()) svg += "<path d=\"" + lines + "\"/>\n";
        const std::string dashed = pixels.segments(shell.dashed);
        if (!dashed.empty()) svg += "<path stroke-dasharray=\"4 4\" d=\"" + dashed + "\"/>\n";
        const std::string marks = pixels.marks();
        if (!marks.empty()) svg += "<path stroke=\"none\" fill=\"" + colour + "\" d=\"" + marks + "\"/>\n";
        svg += "</g>\n";
    }
    for (const FrameBox& box : frame.boxes)
        svg += "<rect x=\"" + number(box.x) + "\" y=\"" + number(box.y) + "\" width=\"" +
               number(box.width) + "\" height=\"" + number(box.height) + "\" fill=\"" +
               colourText(box.colour) + "\"/>\n";
    for (const FrameText& text : frame.texts) {
        if (!std::isfinite(text.x) || !std::isfinite(text.y)) continue;
        svg += "<text x=\"" + number(text.x) + "\" y=\"" + number(text.y) +
               "\" font-family=\"monospace\" font-size=\"10\" fill=\"" + colourText(text.colour) +
               "\">" + escaped(text.text) + "</text>\n";
    }
    svg += "</svg>\n";
    return svg;
}
