#include "output/svg_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "explorer/face_shading.h"

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

    // "M x y L x y" for pair `i` of `pairs`; empty when an end is not finite.
    std::string segment(const std::vector<std::uint32_t>& pairs, std::size_t i) const {
        PixelPosition p, q;
        if (!at(pairs[i], p) || !at(pairs[i + 1], q)) return "";
        return "M" + number(p.x) + " " + number(p.y) + "L" + number(q.x) + " " + number(q.y);
    }

    // Every pair of `pairs`, one after the other.
    std::string segments(const std::vector<std::uint32_t>& pairs) const {
        std::string d;
        for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
            const std::string one = segment(pairs, i);
            if (one.empty()) continue;
            if (!d.empty()) d += ' ';
            d += one;
        }
        return d;
    }

    // A square of the frame's mark size centred on each marked vertex, as
    // GL draws a point of that size.
    std::string marks() const {
        std::string d;
        const double size = frame_.markSize, half = size / 2.0;
        for (std::uint32_t v : shell_.marks) {
            PixelPosition p;
            if (!at(v, p)) continue;
            if (!d.empty()) d += ' ';
            d += "M" + number(p.x - half) + " " + number(p.y - half) + "h" + number(size) +
                 "v" + number(size) + "h-" + number(size) + "z";
        }
        return d;
    }

private:
    const Frame& frame_;
    const FrameShell& shell_;
};

// The faces as filled polygons, in the frame's order (farthest first),
// translucent ones with their opacity.
std::string faces(const Frame& frame) {
    std::string svg = "<g stroke=\"none\"";
    if (frame.faceStyle == FaceStyle::Translucent) svg += " fill-opacity=\"" + number(translucentAlpha) + "\"";
    svg += ">\n";
    const FramePolygons& f = frame.faces;
    for (std::size_t p = 0; p + 1 < f.start.size(); ++p) {
        std::string d;
        for (std::uint32_t k = f.start[p]; k < f.start[p + 1]; ++k) {
            const PixelPosition at = pixelOf(frame.camera, frame.projection, f.xyz[3 * k], f.xyz[3 * k + 1]);
            if (!std::isfinite(at.x) || !std::isfinite(at.y)) {
                d.clear();
                break;
            }
            d += (d.empty() ? "M" : "L") + number(at.x) + " " + number(at.y);
        }
        if (!d.empty()) svg += "<path fill=\"" + colourText(f.colour[p]) + "\" d=\"" + d + "z\"/>\n";
    }
    return svg + "</g>\n";
}

}  // namespace

std::string formatSvg(const Frame& frame) {
    const std::string w = std::to_string(frame.width < 1 ? 1 : frame.width);
    const std::string h = std::to_string(frame.height < 1 ? 1 : frame.height);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
                      "\" viewBox=\"0 0 " + w + " " + h + "\" shape-rendering=\"crispEdges\">\n";
    if (!frame.transparent)
        svg += "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"" + colourText(frame.background) +
               "\"/>\n";
    if (frame.faceStyle != FaceStyle::Off) svg += faces(frame);
    const std::string width = number(frame.lineWidth);
    const std::string dashes = number(4.0 * std::max(1.0, std::round(frame.lineWidth)));
    for (const FrameShell& shell : frame.shells) {
        const ShellPixels pixels(frame, shell);
        const std::string colour = colourText(shell.colour);
        svg += "<g stroke=\"" + colour + "\" stroke-width=\"" + width + "\" fill=\"none\">\n";
        const std::string lines = pixels.segments(shell.lines);
        if (!lines.empty()) svg += "<path d=\"" + lines + "\"/>\n";
        // One path per dashed piece: some readers (ImageMagick's) join the
        // pieces of one dashed path with lines of their own.
        for (std::size_t i = 0; i + 1 < shell.dashed.size(); i += 2) {
            const std::string piece = pixels.segment(shell.dashed, i);
            if (!piece.empty())
                svg += "<path stroke-dasharray=\"" + dashes + " " + dashes + "\" d=\"" + piece + "\"/>\n";
        }
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
               "\" font-family=\"monospace\" font-size=\"" + std::to_string(10 * std::max(1, text.scale)) +
               "\" fill=\"" + colourText(text.colour) +
               "\">" + escaped(text.text) + "</text>\n";
    }
    svg += "</svg>\n";
    return svg;
}
