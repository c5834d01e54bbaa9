#include "view/frame_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <future>
#include <memory>
#include <numeric>
#include <unordered_map>

#include "base/background.h"
#include "base/huge_pages.h"
#include "base/translate.h"
#include "draw/bitmap_font.h"
#include "hidden/back_edges.h"
#include "hidden/depth_order.h"
#include "view/highlight.h"
#include "hidden/self_hidden_faces.h"
#include "draw/face_shading.h"
#include "hidden/visibility.h"
#include "polyhedra/model.h"

namespace pd {

namespace {

// From this many faces a vector picture's convex shells are found on a
// thread of their own.
constexpr std::size_t cullBesideFromFaces = 4096;

// Why a vector picture's hidden parts were not worked out.
constexpr const char* tooManyInTheWay = N_("too many faces in the way of too many edges to find their hidden parts");

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

// Every shown shell turned, and their faces numbered one after the other
// (the dual's after the solid's), as the visibility and the face order take
// them.
struct TurnedShells {
    std::vector<Vec3> points;  // only where faces are painted or hide edges: the shells hold them too
    std::vector<std::int32_t> corners, faceStart{0};
    std::vector<Rgb> faceColour;
    std::vector<std::uint8_t> facingAway;  // per face: its outward normal turned from the viewer
    std::vector<std::int32_t> pointStart{0}, faceOffset{0};  // per shell
};

void addShell(const ShownShell& src, const VertexTurn& turn, bool withFaces, TurnedShells& turned, FrameShell& shell,
              std::vector<std::uint8_t>& onEdge, Box& box) {
    const Polyhedron& p = *src.shape;
    shell.colour = src.edgeColour;
    verticesWithDrawnEdge(*src.edges, std::vector<std::uint8_t>(src.edges->size(), 0),
                          p.vertexCount(), onEdge);
    reserveHuge(shell.xy, 2 * p.vertices.size());
    reserveHuge(shell.z, p.vertices.size());
    const auto offset = std::int32_t(turned.points.size());
    for (std::size_t v = 0; v < p.vertices.size(); ++v) {
        const Vec3 seen = turnVertex(turn, p.vertices[v]);
        shell.xy.push_back(seen.x);
        shell.xy.push_back(seen.y);
        shell.z.push_back(seen.z);
        if (withFaces) turned.points.push_back(seen);
        // A vertex in no edge (in no face) is left out of the picture.
        if (onEdge[v]) box.add(seen.x, seen.y);
    }
    for (int f = 0; f < p.faceCount() && !src.faint && withFaces; ++f) {
        for (int k = 0; k < p.faceSize(f); ++k) turned.corners.push_back(offset + p.face(f)[k]);
        turned.faceStart.push_back(std::int32_t(turned.corners.size()));
        const Vec3 normal = f < int(src.normals->size()) ? turnVertex(turn, (*src.normals)[std::size_t(f)]) : Vec3{};
        turned.faceColour.push_back(shadedColour(src.faceColour, normal));
        turned.facingAway.push_back(f < int(src.normals->size()) && !(normal.z > 0.0f));
    }
    turned.pointStart.push_back(std::int32_t(turned.points.size()));
    turned.faceOffset.push_back(std::int32_t(turned.faceStart.size() - 1));
}

// Index of a point on the edge from a to b at parameter t, appended to the
// shell when it is not an end.
std::uint32_t pointOnEdge(FrameShell& shell, std::uint32_t a, std::uint32_t b, double t) {
    if (t <= 0.0) return a;
    if (t >= 1.0) return b;
    for (int k = 0; k < 2; ++k)
        shell.xy.push_back(float(shell.xy[2 * a + k] + t * (double(shell.xy[2 * b + k]) - shell.xy[2 * a + k])));
    shell.z.push_back(float(shell.z[a] + t * (double(shell.z[b]) - shell.z[a])));
    return std::uint32_t(shell.z.size() - 1);
}

// The edges of one shell cut where they pass behind faces: the parts in
// front as lines, the parts behind dashed (or left out).
void cutEdges(const std::vector<Edge>& edges, std::int32_t faceOffset, bool ownFaces,
              const Occluders& occluders, BackEdges back, FrameShell& shell) {
    std::vector<Span> hidden;
    for (const Edge& e : edges) {
        const auto a = std::uint32_t(e.a), b = std::uint32_t(e.b);
        const Vec3 p{shell.xy[2 * a], shell.xy[2 * a + 1], shell.z[a]};
        const Vec3 q{shell.xy[2 * b], shell.xy[2 * b + 1], shell.z[b]};
        occluders.hiddenSpans(p, q, ownFaces ? faceOffset + e.faces[0] : -1,
                              !ownFaces || e.faces[1] < 0 ? -1 : faceOffset + e.faces[1], hidden);
        for (const Span& s : visibleSpans(hidden)) {
            shell.lines.push_back(pointOnEdge(shell, a, b, s.from));
            shell.lines.push_back(pointOnEdge(shell, a, b, s.to));
        }
        if (back != BackEdges::Dashed) continue;
        for (const Span& s : hidden) {
            shell.dashed.push_back(pointOnEdge(shell, a, b, s.from));
            shell.dashed.push_back(pointOnEdge(shell, a, b, s.to));
        }
    }
}

void addPolygon(FramePolygons& polygons, const Vec3* corners, std::size_t count, Rgb colour) {
    for (std::size_t k = 0; k < count; ++k) {
        polygons.xyz.push_back(corners[k].x);
        polygons.xyz.push_back(corners[k].y);
        polygons.xyz.push_back(corners[k].z);
    }
    polygons.start.push_back(std::uint32_t(polygons.xyz.size() / 3));
    polygons.colour.push_back(colour);
}

// The faces for a renderer with a depth buffer: whole, farthest (by the
// mean depth of the corners) first when they are translucent.
FramePolygons rasterFaces(const TurnedShells& turned, bool sorted) {
    const int faceCount = int(turned.faceStart.size()) - 1;
    std::vector<int> order(std::size_t(std::max(faceCount, 0)));
    std::iota(order.begin(), order.end(), 0);
    if (sorted) {
        std::vector<double> depth(order.size(), 0.0);
        for (int f = 0; f < faceCount; ++f) {
            for (int k = turned.faceStart[f]; k < turned.faceStart[f + 1]; ++k)
                depth[std::size_t(f)] += turned.points[std::size_t(turned.corners[k])].z;
            depth[std::size_t(f)] /= std::max(1, turned.faceStart[f + 1] - turned.faceStart[f]);
        }
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return depth[a] < depth[b]; });
    }
    FramePolygons polygons;
    std::vector<Vec3> corners;
    for (int f : order) {
        if (turned.faceStart[f + 1] - turned.faceStart[f] < 3) continue;
        corners.clear();
        for (int k = turned.faceStart[f]; k < turned.faceStart[f + 1]; ++k)
            corners.push_back(turned.points[std::size_t(turned.corners[k])]);
        addPolygon(polygons, corners.data(), corners.size(), turned.faceColour[std::size_t(f)]);
    }
    return polygons;
}

// Faces for SVG: cut where they pass through each other and ordered,
// farthest first (hidden/depth_order.h). Faces of the shells `culled`
// names that face away from the viewer are left out: their own shell's
// faces hide them (hidden/self_hidden_faces.h).
FramePolygons vectorFaces(const TurnedShells& turned, const std::vector<bool>& culled, std::string& unfinished) {
    // The faces a convex shell turns to the viewer never hide one another:
    // one group each.
    std::vector<std::int32_t> corners, faceStart{0}, original, groups;
    corners.reserve(turned.corners.size());
    for (std::size_t i = 0; i + 1 < turned.faceOffset.size(); ++i)
        for (std::int32_t f = turned.faceOffset[i]; f < turned.faceOffset[i + 1]; ++f) {
            if (culled[i] && turned.facingAway[std::size_t(f)]) continue;
            corners.insert(corners.end(), turned.corners.begin() + turned.faceStart[f],
                           turned.corners.begin() + turned.faceStart[f + 1]);
            faceStart.push_back(std::int32_t(corners.size()));
            original.push_back(f);
            groups.push_back(culled[i] ? std::int32_t(i) : -1);
        }
    PaintOrder order = paintOrder(turned.points, corners, faceStart, groups);
    if (!order.unfinished.empty()) unfinished = order.unfinished;
    FramePolygons polygons;
    polygons.xyz = std::move(order.xyz);
    polygons.start = std::move(order.start);
    polygons.colour.reserve(order.face.size());
    for (const std::int32_t f : order.face)
        polygons.colour.push_back(turned.faceColour[std::size_t(original[std::size_t(f)])]);
    return polygons;
}

// Lines of text on a pale box, 10 pixels in from the left border and from
// the top border, or from the bottom one when `atBottom`.
void addPanel(const std::vector<std::string>& lines, bool atBottom, Frame& frame) {
    constexpr double left = 10.0;
    constexpr double padding = 8.0;
    std::size_t longest = 0;
    for (const std::string& line : lines) longest = std::max(longest, glyphCount(line));
    FrameBox box;
    box.x = left;
    box.width = double(longest) * glyphAdvance + 2 * padding;
    box.height = double(lines.size()) * textLineHeight + 2 * padding - (textLineHeight - glyphHeight);
    box.y = atBottom ? frame.height - 10.0 - box.height : 10.0;
    box.colour = {1.0f, 1.0f, 0.95f};
    frame.boxes.push_back(box);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        FrameText t;
        t.text = lines[i];
        t.x = left + padding;
        t.y = box.y + padding + glyphHeight + double(i) * textLineHeight;
        frame.texts.push_back(t);
    }
}

// Places numbers beside their points: of four places around each (right
// above first, as the program's neighbours would expect, then right below,
// left above, left below), the first that overlaps no number placed before;
// the first place when all do. Placed boxes are kept in a coarse grid.
class LabelPlacer {
public:
    explicit LabelPlacer(int scale) : scale_(scale), cell_(48.0 * scale) {}

    FrameText place(std::string text, PixelPosition at, Rgb colour) {
        const double s = scale_;
        const double w = double(glyphCount(text)) * glyphAdvance * s - s, h = glyphHeight * s;
        const double off = labelOffsetX * s;
        const double places[4][2] = {{at.x + off, at.y - off}, {at.x + off, at.y + off + h},
                                     {at.x - off - w, at.y - off}, {at.x - off - w, at.y + off + h}};
        int chosen = 0;
        for (int k = 0; k < 4; ++k)
            if (free(places[k][0], places[k][1] - h, w, h)) {
                chosen = k;
                break;
            }
        FrameText t;
        t.text = std::move(text);
        t.x = places[chosen][0];
        t.y = places[chosen][1];
        t.colour = colour;
        t.scale = scale_;
        occupy(t.x, t.y - h, w, h);
        return t;
    }

private:
    struct Rect {
        double x, y, w, h;
    };
    long long key(long long cx, long long cy) const { return cx * 1000003LL + cy; }
    template <typename F>
    void forCells(double x, double y, double w, double h, F f) const {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        const double lo = -1e15, hi = 1e15;
        const auto x0 = (long long)std::floor(std::clamp(x, lo, hi) / cell_), x1 = (long long)std::floor(std::clamp(x + w, lo, hi) / cell_);
        const auto y0 = (long long)std::floor(std::clamp(y, lo, hi) / cell_), y1 = (long long)std::floor(std::clamp(y + h, lo, hi) / cell_);
        for (long long cx = x0; cx <= x1 && cx <= x0 + 4; ++cx)
            for (long long cy = y0; cy <= y1 && cy <= y0 + 4; ++cy) f(key(cx, cy));
    }
    bool free(double x, double y, double w, double h) const {
        bool clear = true;
        forCells(x, y, w, h, [&](long long k) {
            const auto found = cells_.find(k);
            if (found == cells_.end()) return;
            for (std::size_t i : found->second) {
                const Rect& r = placed_[i];
                if (x < r.x + r.w && r.x < x + w && y < r.y + r.h && r.y < y + h) clear = false;
            }
        });
        return clear;
    }
    void occupy(double x, double y, double w, double h) {
        placed_.push_back({x, y, w, h});
        forCells(x, y, w, h, [&](long long k) { cells_[k].push_back(placed_.size() - 1); });
    }

    int scale_;
    double cell_;
    std::vector<Rect> placed_;
    std::unordered_map<long long, std::vector<std::size_t>> cells_;
};

// The sizes of lines, marks and numbers: given, or grown with the
// picture (the program's at its window's size, whole multiples above).
// Gives the numbers' font scale. A classroom screen doubles them all.
int setSizes(const ViewState& state, Frame& frame) {
    const int enlarged = state.presenting ? 2 : 1;
    frame.width = std::max(state.width, 1);
    frame.height = std::max(state.height, 1);
    frame.background = state.background;
    frame.transparent = state.transparent;
    frame.smooth = !state.aliased;
    const int sizeScale = std::max(1, int(std::lround(std::min(frame.width / double(programWindowWidth),
                                                               frame.height / double(programWindowHeight)))));
    const bool print = state.style == Style::Print;
    // For print, lines half as heavy again, and digits at least 12 pixels
    // tall a thousand pixels of height (the font grows by whole steps).
    frame.lineWidth = enlarged * (state.lineWidth > 0.0 ? state.lineWidth : print ? 1.5 * sizeScale : sizeScale);
    frame.markSize = std::max(endMarkSize, std::round(endMarkSize * frame.lineWidth));
    if (state.fontPx > 0) return enlarged * std::max(1, int(std::lround(state.fontPx / double(glyphHeight))));
    if (!print) return enlarged * sizeScale;
    const int printScale = int(std::ceil(12.0 * frame.height / 1000.0 / glyphHeight - 1e-9));
    return enlarged * std::max(sizeScale, printScale);
}

// Each shell's lines (cut where they pass behind faces for a vector
// picture), dashed lines and marks; false when the hidden parts would run
// past their bound, which frame.unfinished then says.
bool addEdges(const std::vector<ShownShell>& shells, const ViewState& state, FrameTarget target,
              const TurnedShells& turned, const std::vector<std::vector<std::uint8_t>>& onEdge, Frame& frame) {
    const bool occluded = state.back != BackEdges::Drawn;
    const bool cut = occluded && target == FrameTarget::Vector;
    const bool numbered = (state.numbers && state.show != ShowMode::Dual) || state.dualNumbers;
    // The CPU's answer for what is hidden, where the depth buffer cannot
    // give it: vector pictures, and which marks (and their numbers) to keep.
    std::unique_ptr<Occluders> occluders;
    if (cut || (occluded && state.back == BackEdges::Hidden && numbered))
        occluders = std::make_unique<Occluders>(turned.points, turned.corners, turned.faceStart);
    if (cut) {
        // Told before the work is done where it would run past its bound.
        std::vector<Vec3> ends;
        for (std::size_t i = 0; i < shells.size(); ++i)
            for (const Edge& e : *shells[i].edges)
                for (const std::int32_t v : {e.a, e.b})
                    ends.push_back(turned.points[std::size_t(turned.pointStart[i] + v)]);
        if (occluders->wouldExhaust(ends)) {
            frame.unfinished = tr(tooManyInTheWay);
            return false;
        }
    }
    for (std::size_t i = 0; i < shells.size(); ++i) {
        FrameShell& shell = frame.shells[i];
        const std::vector<Edge>& edges = *shells[i].edges;
        if (cut) {
            cutEdges(edges, turned.faceOffset[i], !shells[i].faint, *occluders, state.back, shell);
        } else {
            reserveHuge(shell.lines, 2 * edges.size());
            for (const Edge& e : edges) {
                shell.lines.push_back(std::uint32_t(e.a));
                shell.lines.push_back(std::uint32_t(e.b));
            }
            if (state.back == BackEdges::Dashed) shell.dashed = shell.lines;
        }
        // A mark wherever an edge ends, as the program marks both ends of
        // every segment; with hidden back edges, only where in front.
        for (std::size_t v = 0; v < onEdge[i].size(); ++v) {
            if (!onEdge[i][v]) continue;
            if (state.back == BackEdges::Hidden && occluders &&
                occluders->hides(turned.points[std::size_t(turned.pointStart[i]) + v]))
                continue;
            shell.marks.push_back(std::uint32_t(v));
        }
    }
    if (occluders && occluders->exhausted()) frame.unfinished = tr(tooManyInTheWay);
    frame.depthTested = occluded && !cut;
    frame.marksDepthTested = frame.depthTested && state.back == BackEdges::Hidden && !occluders;
    return true;
}

// Camera and projection around `box`, narrowed by the zoom around its
// centre (framing a box 1/zoom the size scales the picture by zoom); with
// a margin (a share of the picture's shorter side), the fitted box then
// shrunk so that it keeps that far from every border. Gives the zoom it
// framed the box at, its centre staying at the picture's.
double frameAround(Box box, double zoom, double margin, Frame& frame) {
    if (box.empty) {
        // Nothing to draw: the program's empty scene, background only.
        box.min = {float(programWindowWidth), float(programWindowHeight)};
        box.max = {0.0f, 0.0f};
    }
    frame.camera = cameraFor(box.min, box.max);
    PlanePoint viewMin = box.min;
    PlanePoint viewMax = box.max;
    if (zoom != 1.0 && zoom > 0.0) {
        const double cx = (double(box.min.x) + box.max.x) / 2, cy = (double(box.min.y) + box.max.y) / 2;
        const double hx = (double(box.max.x) - box.min.x) / 2 / zoom;
        const double hy = (double(box.max.y) - box.min.y) / 2 / zoom;
        viewMin = {float(cx - hx), float(cy - hy)};
        viewMax = {float(cx + hx), float(cy + hy)};
    }
    frame.projection = projectionFor(frame.camera, viewMin, viewMax, frame.width, frame.height);
    if (margin <= 0.0 || box.empty) return zoom;
    const PixelPosition low = pixelOf(frame.camera, frame.projection, box.min.x, box.min.y);
    const PixelPosition high = pixelOf(frame.camera, frame.projection, box.max.x, box.max.y);
    const double across = std::fabs(high.x - low.x), down = std::fabs(high.y - low.y);
    const double border = margin * std::min(frame.width, frame.height);
    const double room = std::min((frame.width - 2.0 * border) / std::max(across, 1e-9),
                                 (frame.height - 2.0 * border) / std::max(down, 1e-9));
    if (!(room > 0.0 && std::isfinite(room))) return zoom;
    frameAround(box, zoom * room, 0.0, frame);
    return zoom * room;
}

// A number placed beside its mark: the mark's pixel and the box the number
// covers with its halo, if any.
struct PlacedNumber {
    PixelPosition at;
    double left, top, right, bottom;
};

// The numbers beside each numbered shell's marks. A dual vertex is
// numbered by the face of the solid it comes from, counted as the solid's
// files count. Gives where each went.
std::vector<PlacedNumber> addNumbers(const std::vector<ShownShell>& shells, const ViewState& state, int fontScale,
                                     Frame& frame) {
    std::vector<PlacedNumber> placed;
    LabelPlacer labels(fontScale);
    for (std::size_t i = 0; i < shells.size(); ++i) {
        const bool dual = shells[i].dual();
        if (shells[i].faint || !(dual ? state.dualNumbers : state.numbers)) continue;
        const FrameShell& shell = frame.shells[i];
        for (std::uint32_t v : shell.marks) {
            const PixelPosition at = pixelOf(frame.camera, frame.projection, shell.xy[2 * v], shell.xy[2 * v + 1]);
            FrameText text =
                labels.place(std::to_string(std::int64_t(v) + shells[i].numberBase), at, shells[i].textColour);
            // For print, a halo in the background's colour, so the number
            // reads over lines and faces.
            if (state.style == Style::Print && !frame.transparent) text.halo = frame.background;
            const double s = text.scale, rim = text.halo ? s : 0.0;
            placed.push_back({at, text.x - rim, text.y - glyphHeight * s - rim,
                              text.x + double(glyphCount(text.text)) * glyphAdvance * s - s + rim, text.y + rim});
            frame.texts.push_back(std::move(text));
        }
    }
    return placed;
}

// How much smaller than now the picture must be drawn, about its centre,
// for every number to keep `border` pixels from the borders (1 when they
// do). A number keeps its place beside its mark, which moves.
double numbersRoom(const std::vector<PlacedNumber>& numbers, double border, const Frame& frame) {
    const double cx = frame.width / 2.0, cy = frame.height / 2.0;
    double room = 1.0;
    // The share f of its distance from the centre a mark at `from` may
    // keep, its number reaching `reach` past it, for the number to stay
    // within `limit` of the centre.
    const auto fit = [&room](double from, double reach, double limit) {
        if (from > 1e-9 && from + reach > limit) room = std::min(room, std::max(0.0, (limit - reach) / from));
    };
    for (const PlacedNumber& n : numbers) {
        fit(n.at.x - cx, n.right - n.at.x, cx - border);
        fit(cx - n.at.x, n.at.x - n.left, cx - border);
        fit(n.at.y - cy, n.bottom - n.at.y, cy - border);
        fit(cy - n.at.y, n.at.y - n.top, cy - border);
    }
    return room;
}

}  // namespace

Frame buildFrame(const std::vector<ShownShell>& shells, const ViewState& state, FrameTarget target,
                 const FramePanels& panels, const std::vector<const Polyhedron*>& framedToo) {
    Frame frame;
    const int fontScale = setSizes(state, frame);
    const VertexTurn turn = vertexTurnOf(orientationOf(state));
    Box box;
    TurnedShells turned;
    std::vector<std::vector<std::uint8_t>> onEdge(shells.size());
    // The faces are painted, or decide what is behind; else only the
    // points are needed (the program's picture of a big model).
    const bool withFaces = state.faces != FaceStyle::Off || state.back != BackEdges::Drawn;
    std::size_t points = 0, faces = 0;
    for (const ShownShell& s : shells) points += s.shape->vertices.size(), faces += std::size_t(s.shape->faceCount());
    if (withFaces) reserveHuge(turned.points, points);
    // Opaque faces of a convex shell: those facing away are hidden. Which
    // shells are so is worked out beside the shells' lines when there are
    // many faces.
    std::vector<bool> culled(shells.size(), false);
    const auto findCulled = [&shells, &culled] {
        for (std::size_t i = 0; i < shells.size(); ++i)
            culled[i] = !shells[i].faint && shells[i].normals &&
                        hidesOwnBackFaces(*shells[i].shape, *shells[i].edges, *shells[i].normals);
    };
    std::future<void> culledFound;
    if (state.faces == FaceStyle::Shaded && target == FrameTarget::Vector) {
        if (faces >= cullBesideFromFaces)
            culledFound = std::async(aThreadIfAny, findCulled);
        else
            findCulled();
    }
    for (std::size_t i = 0; i < shells.size(); ++i) {
        frame.shells.emplace_back();
        addShell(shells[i], turn, withFaces, turned, frame.shells.back(), onEdge[i], box);
    }
    for (const Polyhedron* p : framedToo)
        for (const Vec3& v : p->vertices) {
            const Vec3 seen = turnVertex(turn, v);
            box.add(seen.x, seen.y);
        }
    // The depth buffer's steps are a fixed share of the range, so the range
    // follows the model's own size: a fixed floor would leave a model 1e-10
    // across all in one step.
    double deepest = 0.0;
    for (const FrameShell& shell : frame.shells)
        for (const float z : shell.z) deepest = std::max(deepest, std::fabs(double(z)));
    frame.depthRange = deepest > 0.0 ? 1.001 * deepest : 1.0;

    const bool edgesAdded = addEdges(shells, state, target, turned, onEdge, frame);
    if (culledFound.valid()) culledFound.get();
    if (!edgesAdded) return frame;
    frame.faceStyle = state.faces;
    if (state.faces != FaceStyle::Off && target == FrameTarget::Vector) {
        if (frame.unfinished.empty()) frame.faces = vectorFaces(turned, culled, frame.unfinished);
    } else if (state.faces != FaceStyle::Off || frame.depthTested)
        frame.faces = rasterFaces(turned, state.faces == FaceStyle::Translucent);
    // Paper and a classroom screen keep the numbers off the edge: on the
    // screen numbers beside the outline may be cut, but doubled ones would
    // lose whole digits.
    const double margin = state.style == Style::Print || state.presenting ? 0.05 : 0.0;
    double zoom = frameAround(box, state.zoom, margin, frame);
    // A lit part belongs to the model, not to a morph's stage.
    if (std::none_of(shells.begin(), shells.end(), [](const ShownShell& s) { return s.faint; }))
        addLit(shells, state.lit, paletteOf(state.palette), frame);
    std::vector<PlacedNumber> numbers = addNumbers(shells, state, fontScale, frame);
    // The margin holds the numbers too: the picture drawn smaller until
    // they keep out of it (a few rounds, as numbers drawn closer together
    // may take other places beside their marks).
    const double border = margin * std::min(frame.width, frame.height);
    for (int round = 0; margin > 0.0 && round < 8; ++round) {
        const double room = numbersRoom(numbers, border, frame);
        if (room >= 1.0 || room <= 0.0) break;
        zoom = frameAround(box, zoom * room, 0.0, frame);
        frame.texts.clear();
        numbers = addNumbers(shells, state, fontScale, frame);
    }
    if (state.help && !panels.help.empty()) addPanel(panels.help, false, frame);
    std::vector<std::string> bottom = panels.notes;
    if (state.info) bottom.insert(bottom.end(), panels.info.begin(), panels.info.end());
    if (!bottom.empty()) addPanel(bottom, true, frame);
    return frame;
}

Frame buildFrame(const Model& model, const ViewState& state, const std::vector<std::string>& help,
                 FrameTarget target, const Model* morph, const std::vector<std::string>& info) {
    FramePanels panels;
    panels.help = help;
    panels.info = info;
    return buildFrame(shownShells(model, morph, state), state, target, panels);
}

std::string frameTitle(const std::string& modelName, const ViewState& state) {
    std::string title = tr(modelName.c_str()) + std::string("  ") + orientationText(orientationOf(state));
    if (state.morph > 0.0) {
        char stage[32];
        std::snprintf(stage, sizeof stage, "  t %.3g", state.morph);
        title += stage;
    }
    return title;
}

}  // namespace pd
