#include "explorer/frame.h"

#include <algorithm>
#include <cstdio>

#include "explorer/bitmap_font.h"
#include "model/back_edges.h"
#include "model/model.h"
#include "view/rotation.h"
#include "view/solid_drawing.h"

namespace {

// One shell to draw, before turning.
struct ShellSource {
    const Polyhedron* shape;
    const std::vector<Edge>* edges;
    const std::vector<Vec3>* normals;
    Rgb colour;
};

// How much of a shell's own colour shows in its faint version, over the
// background: enough to see where the morph started and is going, little
// enough not to be taken for it.
constexpr float faintShare = 0.3f;

Rgb faint(Rgb colour, Rgb background) {
    auto mix = [](float c, float b) { return faintShare * c + (1.0f - faintShare) * b; };
    return {mix(colour.red, background.red), mix(colour.green, background.green),
            mix(colour.blue, background.blue)};
}

// The dual the state asks for; null when the model has none (not closed).
// A missing reciprocal falls back to the program's dual.
bool pickDual(const Model& model, DualKind kind, ShellSource& out) {
    if (!model.closed) return false;
    if (kind == DualKind::Reciprocal && model.hasReciprocal)
        out = {&model.reciprocalDual, &model.reciprocalDualEdges, &model.reciprocalDualNormals,
               *colourFor(dualColour)};
    else
        out = {&model.programDual, &model.programDualEdges, &model.programDualNormals,
               *colourFor(dualColour)};
    return true;
}

struct Box {
    Point min{0.0f, 0.0f, 9};
    Point max{0.0f, 0.0f, 9};
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
        // The program's order: about x, stored as float, then about y.
        const Point seen = projectVertex(rotateVec3(ry, rotateVec3(rx, v)));
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

// Lines of text on a pale box, 10 pixels in from the left border and from
// the top border, or from the bottom one when `atBottom`.
void addPanel(const std::vector<std::string>& help, bool atBottom, Frame& frame) {
    constexpr double left = 10.0;
    constexpr double padding = 8.0;
    std::size_t longest = 0;
    for (const std::string& line : help) longest = std::max(longest, line.size());
    FrameBox box;
    box.x = left;
    box.width = double(longest) * glyphAdvance + 2 * padding;
    box.height = double(help.size()) * textLineHeight + 2 * padding - (textLineHeight - glyphHeight);
    box.y = atBottom ? frame.height - 10.0 - box.height : 10.0;
    const double top = box.y;
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

Rgb morphColour(double t) {
    const float k = float(std::clamp(t, 0.0, 1.0));
    const Rgb blue = *colourFor(solidColour), red = *colourFor(dualColour);
    return {blue.red + (red.red - blue.red) * k, blue.green + (red.green - blue.green) * k,
            blue.blue + (red.blue - blue.blue) * k};
}

Frame buildFrame(const Model& model, const ViewState& state, const std::vector<std::string>& help,
                 const Model* morph, const std::vector<std::string>& info) {
    Frame frame;
    frame.width = std::max(state.width, 1);
    frame.height = std::max(state.height, 1);

    std::vector<ShellSource> sources;
    const Model* numbered = nullptr;  // whose vertices are numbered, in shell numberedShell
    std::size_t numberedShell = 0;
    ShellSource dual{};
    if (morph != nullptr && state.morph > 0.0) {
        sources.push_back({&model.solid, &model.edges, &model.solidNormals,
                           faint(*colourFor(solidColour), frame.background)});
        if (pickDual(model, state.dual, dual)) {
            dual.colour = faint(dual.colour, frame.background);
            sources.push_back(dual);
        }
        if (state.show != ShowMode::Dual) {
            numbered = morph;
            numberedShell = sources.size();
            sources.push_back({&morph->solid, &morph->edges, &morph->solidNormals, morphColour(state.morph)});
        }
        if (state.show != ShowMode::Solid && pickDual(*morph, DualKind::Reciprocal, dual)) sources.push_back(dual);
    } else {
        if (state.show != ShowMode::Dual) {
            numbered = &model;
            sources.push_back({&model.solid, &model.edges, &model.solidNormals, *colourFor(solidColour)});
        }
        if (state.show != ShowMode::Solid && pickDual(model, state.dual, dual)) sources.push_back(dual);
    }

    const Mat3 rx = rotationAboutX(state.a);
    const Mat3 ry = rotationAboutY(state.b);
    Box box;
    for (const ShellSource& src : sources)
        frame.shells.push_back(turnShell(src, rx, ry, state.back, box));

    if (box.empty) {
        // Nothing to draw: the program's empty scene, background only.
        box.min = {1024.0f, 700.0f, 9};
        box.max = {0.0f, 0.0f, 9};
    }
    frame.camera = cameraFor(box.min, box.max);
    Point viewMin = box.min;
    Point viewMax = box.max;
    if (state.zoom != 1.0 && state.zoom > 0.0) {
        // Framing a box 1/zoom the size around the same centre scales the
        // picture by zoom.
        const double cx = (double(box.min.x) + box.max.x) / 2, cy = (double(box.min.y) + box.max.y) / 2;
        const double hx = (double(box.max.x) - box.min.x) / 2 / state.zoom;
        const double hy = (double(box.max.y) - box.min.y) / 2 / state.zoom;
        viewMin = {float(cx - hx), float(cy - hy), 9};
        viewMax = {float(cx + hx), float(cy + hy), 9};
    }
    frame.projection = projectionFor(frame.camera, viewMin, viewMax, frame.width, frame.height);

    if (state.numbers && numbered != nullptr) {
        const FrameShell& solid = frame.shells[numberedShell];
        for (std::uint32_t v : solid.marks) {
            const PixelPosition at =
                pixelOf(frame.camera, frame.projection, solid.xy[2 * v], solid.xy[2 * v + 1]);
            FrameText t;
            t.text = std::to_string(std::int64_t(v) + numbered->numberBase);
            t.x = at.x + labelOffsetX;
            t.y = at.y + labelOffsetY;
            frame.texts.push_back(t);
        }
    }
    if (state.help && !help.empty()) addPanel(help, false, frame);
    if (state.info && !info.empty()) addPanel(info, true, frame);
    return frame;
}

std::string frameTitle(const std::string& modelName, const ViewState& state) {
    char angles[64];
    std::snprintf(angles, sizeof angles, "  x %g  y %g", double(state.a), double(state.b));
    std::string title = modelName + angles;
    if (state.morph > 0.0) {
        char stage[32];
        std::snprintf(stage, sizeof stage, "  t %.3g", state.morph);
        title += stage;
    }
    return title;
}
