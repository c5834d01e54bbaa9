#include "output/net_svg.h"

#include <cmath>
#include <cstdio>

#include "output/net_style.h"

namespace {

// Three decimals (a micrometre), trailing zeros dropped, never "-0".
std::string number(double v) {
    if (!std::isfinite(v)) v = 0;
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", v);
    std::string s = text;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

std::string colourText(const Rgb& c) {
    auto channel = [](float v) { return int(std::lround(std::fmin(std::fmax(v, 0.0f), 1.0f) * 255.0f)); };
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", channel(c.red), channel(c.green), channel(c.blue));
    return text;
}

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string polygonPath(const std::vector<P2>& points) {
    std::string d;
    for (std::size_t i = 0; i < points.size(); ++i)
        d += (i ? "L" : "M") + number(points[i].x) + " " + number(points[i].y);
    return d + "Z";
}

}  // namespace

std::vector<std::string> formatNetSvg(const NetLayout& layout, const std::vector<Rgb>& fills) {
    std::vector<std::string> pages;
    const std::string w = number(layout.format.width), h = number(layout.format.height);
    for (const NetPage& page : layout.pages) {
        std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "mm\" height=\"" + h +
                          "mm\" viewBox=\"0 0 " + w + " " + h + "\">\n"
                          "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"#ffffff\"/>\n";
        svg += "<g fill=\"" + colourText(flapFill) + "\" stroke=\"" + colourText(flapLine) +
               "\" stroke-width=\"" + number(flapLineWidth) + "\" stroke-linejoin=\"round\">\n";
        for (const std::vector<P2>& flap : page.flaps) svg += "<path d=\"" + polygonPath(flap) + "\"/>\n";
        svg += "</g>\n<g stroke=\"none\">\n";
        for (const PagePolygon& face : page.faces) {
            const Rgb fill = face.shell >= 0 && std::size_t(face.shell) < fills.size() ? fills[std::size_t(face.shell)]
                                                                                     : Rgb{1, 1, 1};
            svg += "<path fill=\"" + colourText(fill) + "\" d=\"" + polygonPath(face.points) + "\"/>\n";
        }
        std::string cuts, folds;
        for (const PageLine& line : page.lines)
            (line.fold ? folds : cuts) += "M" + number(line.a.x) + " " + number(line.a.y) + "L" + number(line.b.x) +
                                          " " + number(line.b.y);
        svg += "</g>\n<g fill=\"none\" stroke=\"" + colourText(inkColour) + "\" stroke-linecap=\"round\">\n";
        if (!cuts.empty()) svg += "<path stroke-width=\"" + number(cutLineWidth) + "\" d=\"" + cuts + "\"/>\n";
        if (!folds.empty())
            svg += "<path stroke-width=\"" + number(foldLineWidth) + "\" stroke-dasharray=\"" + number(foldDash[0]) +
                   " " + number(foldDash[1]) + "\" d=\"" + folds + "\"/>\n";
        svg += "</g>\n<g font-family=\"" + std::string(netFont) + "\" text-anchor=\"middle\" fill=\"" +
               colourText(inkColour) + "\">\n";
        for (const PageLabel& label : page.labels)
            svg += "<text x=\"" + number(label.at.x) + "\" y=\"" + number(label.at.y + digitMiddle * label.size) +
                   "\" font-size=\"" + number(label.size) + "\">" + escaped(label.text) + "</text>\n";
        svg += "</g>\n<g font-family=\"" + std::string(netFont) + "\" font-size=\"" + number(footerSize) +
               "\" fill=\"" + colourText(footerColour) + "\">\n";
        for (std::size_t i = 0; i < page.footer.size(); ++i)
            svg += "<text x=\"" + number(layout.footerAt.x) + "\" y=\"" +
                   number(layout.footerAt.y + double(i) * footerLeading) + "\">" + escaped(page.footer[i]) + "</text>\n";
        svg += "</g>\n</svg>\n";
        pages.push_back(std::move(svg));
    }
    return pages;
}
