#include "svg/svg_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <future>

#include "base/background.h"
#include "base/huge_pages.h"
#include "draw/face_shading.h"
#include "svg/svg_text.h"

namespace pd {

namespace {

std::string number(double v) { return svgNumber(v, 2); }

// From this many polygons the faces are written on a thread of their own.
constexpr std::size_t besideFromPolygons = 4096;

class ShellPixels {
public:
    ShellPixels(const Frame& frame, const FrameShell& shell) : frame_(frame), shell_(shell) {}

    // The vertex's pixel; false when it is not finite.
    bool at(std::uint32_t vertex, PixelPosition& p) const {
        if (2 * std::size_t(vertex) + 1 >= shell_.xy.size()) return false;
        p = pixelOf(frame_.camera, frame_.projection, shell_.xy[2 * vertex], shell_.xy[2 * vertex + 1]);
        return std::isfinite(p.x) && std::isfinite(p.y);
    }

    // "M x y L x y" for pair `i` of `pairs`, appended to `d`; nothing when
    // an end is not finite.
    bool addSegment(std::string& d, const std::vector<std::uint32_t>& pairs, std::size_t i) const {
        PixelPosition p, q;
        if (!at(pairs[i], p) || !at(pairs[i + 1], q)) return false;
        d += 'M';
        appendSvgNumber(d, p.x, 2);
        d += ' ';
        appendSvgNumber(d, p.y, 2);
        d += 'L';
        appendSvgNumber(d, q.x, 2);
        d += ' ';
        appendSvgNumber(d, q.y, 2);
        return true;
    }

    // Every pair of `pairs`, one after the other, appended to `d`; false
    // when none is drawn.
    bool addSegments(std::string& d, const std::vector<std::uint32_t>& pairs) const {
        const std::size_t first = d.size();
        for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
            const std::size_t before = d.size();
            if (before > first) d += ' ';
            if (!addSegment(d, pairs, i)) d.resize(before);
        }
        return d.size() > first;
    }

    // A square of the frame's mark size centred on each marked vertex, as
    // GL draws a point of that size.
    std::string marks() const {
        std::string d;
        const double size = shell_.markSize > 0.0 ? shell_.markSize : frame_.markSize, half = size / 2.0;
        const std::string sides = "h" + number(size) + "v" + number(size) + "h-" + number(size) + "z";
        d.reserve(shell_.marks.size() * (16 + sides.size()));
        for (std::uint32_t v : shell_.marks) {
            PixelPosition p;
            if (!at(v, p)) continue;
            if (!d.empty()) d += ' ';
            d += 'M';
            appendSvgNumber(d, p.x - half, 2);
            d += ' ';
            appendSvgNumber(d, p.y - half, 2);
            d += sides;
        }
        return d;
    }

private:
    const Frame& frame_;
    const FrameShell& shell_;
};

// The group that holds the filled polygons, translucent ones with their
// opacity.
void openPolygons(std::string& svg, bool translucent) {
    svg += "<g stroke=\"none\"";
    if (translucent) svg += " fill-opacity=\"" + number(translucentAlpha) + "\"";
    svg += ">\n";
}

// Polygons `from` .. `to` - 1 of `f`, each a path.
void addPolygonRange(std::string& svg, const Frame& frame, const FramePolygons& f, std::size_t from, std::size_t to) {
    for (std::size_t p = from; p < to; ++p) {
        const std::size_t before = svg.size();
        svg += "<path fill=\"";
        appendSvgColour(svg, f.colour[p]);
        svg += "\" d=\"";
        bool kept = f.start[p] < f.start[p + 1];
        for (std::uint32_t k = f.start[p]; k < f.start[p + 1]; ++k) {
            const PixelPosition at = pixelOf(frame.camera, frame.projection, f.xyz[3 * k], f.xyz[3 * k + 1]);
            if (!std::isfinite(at.x) || !std::isfinite(at.y)) {
                kept = false;  // a polygon with a corner off to infinity is left out
                break;
            }
            svg += k == f.start[p] ? 'M' : 'L';
            appendSvgNumber(svg, at.x, 2);
            svg += ' ';
            appendSvgNumber(svg, at.y, 2);
        }
        if (!kept) {
            svg.resize(before);
            continue;
        }
        svg += "z\"/>\n";
    }
}

std::size_t polygonCount(const FramePolygons& f) { return f.start.empty() ? 0 : f.start.size() - 1; }

// Filled polygons, in the frame's order (farthest first), in their group,
// appended to `svg`.
void addPolygons(std::string& svg, const Frame& frame, const FramePolygons& f, bool translucent) {
    openPolygons(svg, translucent);
    addPolygonRange(svg, frame, f, 0, polygonCount(f));
    svg += "</g>\n";
}

// Where the faces are cut in two for two threads: the first share of the
// polygons on one, the rest with the lines on the other, so that both
// have about as many points to write (a polygon counting one more).
std::size_t polygonsBeside(const Frame& frame) {
    const FramePolygons& f = frame.faces;
    std::size_t work = f.xyz.size() / 3 + polygonCount(f);
    for (const FrameShell& shell : frame.shells) work += shell.lines.size() + shell.dashed.size() + shell.marks.size();
    std::size_t p = 0;
    for (std::size_t done = 0; p < polygonCount(f) && 2 * done < work; ++p) done += f.start[p + 1] - f.start[p] + 1;
    return p;
}

// A shell's lines (its dashed pieces `dashes` long) and marks, `width`
// wide, as a group of paths.
void addShell(std::string& svg, const Frame& frame, const FrameShell& shell, const std::string& width,
              const std::string& dashes) {
    const ShellPixels pixels(frame, shell);
    const std::string colour = svgColour(shell.colour);
    svg += "<g stroke=\"" + colour + "\" stroke-width=\"" + width + "\" fill=\"none\">\n";
    const std::size_t before = svg.size();
    svg += "<path d=\"";
    if (pixels.addSegments(svg, shell.lines))
        svg += "\"/>\n";
    else
        svg.resize(before);
    // One path per dashed piece: some readers (ImageMagick's) join the
    // pieces of one dashed path with lines of their own.
    for (std::size_t i = 0; i + 1 < shell.dashed.size(); i += 2) {
        const std::size_t piece = svg.size();
        svg += "<path stroke-dasharray=\"" + dashes + " " + dashes + "\" d=\"";
        if (pixels.addSegment(svg, shell.dashed, i))
            svg += "\"/>\n";
        else
            svg.resize(piece);
    }
    const std::string marks = pixels.marks();
    if (!marks.empty()) svg += "<path stroke=\"none\" fill=\"" + colour + "\" d=\"" + marks + "\"/>\n";
    svg += "</g>\n";
}

// The frame's boxes, and its texts with their halos.
void addBoxesAndTexts(std::string& svg, const Frame& frame) {
    for (const FrameBox& box : frame.boxes)
        svg += "<rect x=\"" + number(box.x) + "\" y=\"" + number(box.y) + "\" width=\"" +
               number(box.width) + "\" height=\"" + number(box.height) + "\" fill=\"" +
               svgColour(box.colour) + "\"/>\n";
    for (const FrameText& text : frame.texts) {
        if (!std::isfinite(text.x) || !std::isfinite(text.y)) continue;
        svg += "<text x=\"" + number(text.x) + "\" y=\"" + number(text.y) +
               "\" font-family=\"monospace\" font-size=\"" + std::to_string(10 * std::max(1, text.scale)) +
               "\" fill=\"" + svgColour(text.colour) + "\"";
        // The halo: a stroke a font pixel wide either side of the outlines,
        // painted under the fill.
        if (text.halo)
            svg += " stroke=\"" + svgColour(*text.halo) + "\" stroke-width=\"" +
                   std::to_string(2 * std::max(1, text.scale)) + "\" stroke-linejoin=\"round\" paint-order=\"stroke\"";
        svg += ">" + svgEscaped(text.text) + "</text>\n";
    }
}

}  // namespace

std::vector<std::string> formatSvgParts(const Frame& frame) {
    const std::string w = std::to_string(frame.width < 1 ? 1 : frame.width);
    const std::string h = std::to_string(frame.height < 1 ? 1 : frame.height);
    std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
                       "\" viewBox=\"0 0 " + w + " " + h + "\">\n";
    if (!frame.transparent)
        head += "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"" + svgColour(frame.background) +
                "\"/>\n";
    // The faces, after the head, in parts of their own: some 30 bytes a
    // polygon and 14 a corner, each part in one buffer made ready at once,
    // not a copy at each doubling (every copy also lands on new pages,
    // which the kernel must clear). Many of them are written on a second
    // thread, the rest and the lines on this one.
    const FramePolygons& f = frame.faces;
    const bool faces = frame.faceStyle != FaceStyle::Off;
    const std::size_t count = polygonCount(f);
    const std::size_t beside = faces && count >= besideFromPolygons ? polygonsBeside(frame) : count;
    const auto bytesFor = [&f](std::size_t from, std::size_t to) {
        return 30 * (to - from) + 14 * (f.start[to] - f.start[from]);
    };
    std::string first = std::move(head);
    const auto writeFirst = [&] {
        if (faces) {
            reservePopulated(first, bytesFor(0, beside));
            openPolygons(first, frame.faceStyle == FaceStyle::Translucent);
            addPolygonRange(first, frame, f, 0, beside);
        }
    };
    std::future<void> firstWritten;
    if (beside < count)
        firstWritten = std::async(aThreadIfAny, writeFirst);
    else
        writeFirst();
    std::string rest;
    if (faces) {
        reservePopulated(rest, bytesFor(beside, count));
        addPolygonRange(rest, frame, f, beside, count);
        rest += "</g>\n";
    }
    if (!frame.lit.colour.empty()) addPolygons(rest, frame, frame.lit, false);
    std::string svg;
    std::size_t bytes = 1024;
    for (const FrameShell& shell : frame.shells)
        bytes += 16 * (shell.lines.size() + shell.dashed.size()) + 40 * shell.marks.size();
    reservePopulated(svg, bytes);
    const std::string width = number(frame.lineWidth);
    const std::string dashes = number(4.0 * std::max(1.0, std::round(frame.lineWidth)));
    for (const FrameShell& shell : frame.shells) addShell(svg, frame, shell, width, dashes);
    addBoxesAndTexts(svg, frame);
    svg += "</svg>\n";
    if (firstWritten.valid()) firstWritten.get();
    std::vector<std::string> parts;
    parts.push_back(std::move(first));
    parts.push_back(std::move(rest));
    parts.push_back(std::move(svg));
    return parts;
}

std::string formatSvg(const Frame& frame) {
    std::vector<std::string> parts = formatSvgParts(frame);
    std::string svg = std::move(parts[0]);
    for (std::size_t i = 1; i < parts.size(); ++i) svg += parts[i];
    return svg;
}

}  // namespace pd
