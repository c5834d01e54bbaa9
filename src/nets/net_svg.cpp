#include "nets/net_svg.h"

#include <cmath>
#include <cstdio>

#include "nets/net_style.h"
#include "svg/svg_text.h"

namespace pd {

namespace {

std::string number(double v) { return svgNumber(v, 3); }

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
        svg += "<g fill=\"" + svgColour(flapFill) + "\" stroke=\"" + svgColour(flapLine) +
               "\" stroke-width=\"" + number(flapLineWidth) + "\" stroke-linejoin=\"round\">\n";
        for (const std::vector<P2>& flap : page.flaps) svg += "<path d=\"" + polygonPath(flap) + "\"/>\n";
        svg += "</g>\n<g stroke=\"none\">\n";
        for (const PagePolygon& face : page.faces) {
            const Rgb fill = face.shell >= 0 && std::size_t(face.shell) < fills.size() ? fills[std::size_t(face.shell)]
                                                                                     : Rgb{1, 1, 1};
            svg += "<path fill=\"" + svgColour(fill) + "\" d=\"" + polygonPath(face.points) + "\"/>\n";
        }
        std::string cuts, folds;
        for (const PageLine& line : page.lines)
            (line.fold ? folds : cuts) += "M" + number(line.a.x) + " " + number(line.a.y) + "L" + number(line.b.x) +
                                          " " + number(line.b.y);
        svg += "</g>\n<g fill=\"none\" stroke=\"" + svgColour(inkColour) + "\" stroke-linecap=\"round\">\n";
        if (!cuts.empty()) svg += "<path stroke-width=\"" + number(cutLineWidth) + "\" d=\"" + cuts + "\"/>\n";
        if (!folds.empty())
            svg += "<path stroke-width=\"" + number(foldLineWidth) + "\" stroke-dasharray=\"" + number(foldDash[0]) +
                   " " + number(foldDash[1]) + "\" d=\"" + folds + "\"/>\n";
        svg += "</g>\n<g font-family=\"" + std::string(netFont) + "\" text-anchor=\"middle\" fill=\"" +
               svgColour(inkColour) + "\">\n";
        for (const PageLabel& label : page.labels)
            svg += "<text x=\"" + number(label.at.x) + "\" y=\"" + number(label.at.y + digitMiddle * label.size) +
                   "\" font-size=\"" + number(label.size) + "\">" + svgEscaped(label.text) + "</text>\n";
        svg += "</g>\n<g font-family=\"" + std::string(netFont) + "\" font-size=\"" + number(footerSize) +
               "\" fill=\"" + svgColour(footerColour) + "\">\n";
        for (std::size_t i = 0; i < page.footer.size(); ++i)
            svg += "<text x=\"" + number(layout.footerAt.x) + "\" y=\"" +
                   number(layout.footerAt.y + double(i) * footerLeading) + "\">" + svgEscaped(page.footer[i]) + "</text>\n";
        svg += "</g>\n</svg>\n";
        pages.push_back(std::move(svg));
    }
    return pages;
}

}  // namespace pd
