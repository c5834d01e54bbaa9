#include "explorer/frame.h"

#include <algorithm>
#include <cstdio>

#include "explorer/bitmap_font.h"
#include "explorer/back_edges.h"
#include "mesh/model.h"
#include "geometry/rotation.h"

namespace {

// One shell to draw, before turning.
struct ShellSource {
    const Polyhedron* shape;
    const std::vector<Edge>* edges;
    const std::vector<Vec3>* normals;
    Rgb colour;
};

struct Box {
    PlanePoint min;
    PlanePoint max;
    bool empty = true;

    void add(float x, float y) {
        if (empty) {
            min.x = max.x = x;
            min.y = max.y = y;
            empty = false;
            return;
        }
        min.x = std::min(min.x, x);
        min.y = std::min(min.y, y);
        max.x = std::max(max.x, x);
        max.y = std::max(max.y, y);
    }
};

FrameShell turnShell(const ShellSource& src, const Mat3& rx, const Mat3& ry, BackEdges back,
                     Box& box) {
    FrameShell shell;
    shell.colour = src.colour;
    const Polyhedron& p = *src.shape;
    shell.xy.reserve(2 * p.vertices.size());
    for (const Vec3& v : p.vertices) {
        // The program's order: about x, stored as float, then about y; seen
        // along z.
        const Vec3 seen = rotateVec3(ry, rotateVec3(rx, v));
        shell.xy.push_back(seen.x);
        shell.xy.push_back(seen.y);
        box.add(seen.x, seen.y);
    }

    const std::vector<Edge>& edges = *src.edges;
    std::vector<std::uint8_t> isBack;
    if (back == BackEdges::Drawn)
        isBack.assign(edges.size(), 0);
    else
        classifyBackEdges(*src.normals, edges, rx, ry, isBack);

    shell.lines.reserve(2 * edges.size());
    for (std::size_t i = 0; i < edges.size(); ++i) {
        std::vector<std::uint32_t>* list = &shell.lines;
        if (isBack[i]) {
            if (back == BackEdges::Hidden) continue;
            if (back == BackEdges::Dashed) list = &shell.dashed;
        }
        list->push_back(std::uint32_t(edges[i].a));
        list->push_back(std::uint32_t(edges[i].b));
    }

    // A mark wherever a drawn edge ends, as the program marks both ends of
    // every segment.
    std::vector<std::uint8_t> hidden(edges.size(), 0);
    if (back == BackEdges::Hidden) hidden = isBack;
    std::vector<std::uint8_t> marked;
    verticesWithDrawnEdge(edges, hidden, p.vertexCount(), marked);
    for (std::size_t v = 0; v < marked.size(); ++v)
        if (marked[v]) shell.marks.push_back(std::uint32_t(v));
    return shell;
}

void addHelp(const std::vector<std::string>& help, Frame& frame) {
    constexpr double left = 10.0;
    constexpr double top = 10.0;
    constexpr double padding = 8.0;
    std::size_t longest = 0;
    for (const std::string& line : help) longest = std::max(longest, line.size());
    FrameBox box;
    box.x = left;
    box.y = top;
    box.width = double(longest) * glyphAdvance + 2 * padding;
    box.height = double(help.size()) * textLineHeight + 2 * padding - (textLineHeight - glyphHeight);
    box.colour = {1.0f, 1.0f, 0.95f};
    frame.boxes.push_back(box);
    for (std::size_t i = 0; i < help.size(); ++i) {
        FrameText t;
        t.text = help[i];
        t.x = left + padding;
        t.y = top + padding + glyphHeight + double(i) * textLineHeight;
        frame.texts.push_back(t);
    }
}

}  // namespace

Frame buildFrame(const Model& model, const ViewState& state, const std::vector<std::string>& help) {
    Frame frame;
    frame.width = std::max(state.width, 1);
    frame.height = std::max(state.height, 1);

    std::vector<ShellSource> sources;
    if (state.show != ShowMode::Dual)
        sources.push_back({&model.solid, &model.edges, &model.solidNormals, solidBlue});
    if (state.show != ShowMode::Solid) {
        const ShownDual dual = shownDual(model, state.dual);
        if (dual.shape) sources.push_back({dual.shape, dual.edges, dual.normals, dualRed});
    }

    const Mat3 rx = rotationAboutX(state.a);
    const Mat3 ry = rotationAboutY(state.b);
    Box box;
    for (const ShellSource& src : sources)
        frame.shells.push_back(turnShell(src, rx, ry, state.back, box));

    if (box.empty) {
        // Nothing to draw: the program's empty scene, background only.
        box.min = {float(programWindowWidth), float(programWindowHeight)};
        box.max = {0.0f, 0.0f};
    }
    frame.camera = cameraFor(box.min, box.max);
    PlanePoint viewMin = box.min;
    PlanePoint viewMax = box.max;
    if (state.zoom != 1.0 && state.zoom > 0.0) {
        // Framing a box 1/zoom the size around the same centre scales the
        // picture by zoom.
        const double cx = (double(box.min.x) + box.max.x) / 2, cy = (double(box.min.y) + box.max.y) / 2;
        const double hx = (double(box.max.x) - box.min.x) / 2 / state.zoom;
        const double hy = (double(box.max.y) - box.min.y) / 2 / state.zoom;
        viewMin = {float(cx - hx), float(cy - hy)};
        viewMax = {float(cx + hx), float(cy + hy)};
    }
    frame.projection = projectionFor(frame.camera, viewMin, viewMax, frame.width, frame.height);

    if (state.numbers && state.show != ShowMode::Dual && !frame.shells.empty()) {
        const FrameShell& solid = frame.shells.front();
        for (std::uint32_t v : solid.marks) {
            const PixelPosition at =
                pixelOf(frame.camera, frame.projection, solid.xy[2 * v], solid.xy[2 * v + 1]);
            FrameText t;
            t.text = std::to_string(std::int64_t(v) + model.numberBase);
            t.x = at.x + labelOffsetX;
            t.y = at.y + labelOffsetY;
            frame.texts.push_back(t);
        }
    }
    if (state.help && !help.empty()) addHelp(help, frame);
    return frame;
}

ShownDual shownDual(const Model& model, DualKind kind) {
    if (!model.closed) return {};
    if (kind == DualKind::Reciprocal && model.hasReciprocal)
        return {&model.reciprocalDual, &model.reciprocalDualEdges, &model.reciprocalDualNormals};
    return {&model.programDual, &model.programDualEdges, &model.programDualNormals};
}

std::string frameTitle(const std::string& modelName, const ViewState& state) {
    char angles[64];
    std::snprintf(angles, sizeof angles, "  x %g  y %g", double(state.a), double(state.b));
    return modelName + angles;
}
