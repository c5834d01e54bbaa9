#include "view/highlight.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/translate.h"
#include "polyhedra/solid_names.h"

namespace pd {

namespace {

// A part within this share of the frame's depth range of the front face at
// a pixel is in front: the face it lies on, or an edge of it, is not
// above it.
constexpr double inFrontShare = 1e-5;

const char* const kindWords[] = {"", "face", "vertex", "edge"};

// How many parts of that kind the solid has.
int partCount(const Model& model, LitKind kind) {
    switch (kind) {
    case LitKind::Face: return model.solid.faceCount();
    case LitKind::Vertex: return model.solid.vertexCount();
    case LitKind::Edge: return int(model.edges.size());
    case LitKind::None: break;
    }
    return 0;
}

// Point `v` of frame shell `s` in pixels.
PixelPosition pixel(const Frame& frame, const FrameShell& s, std::size_t v) {
    return pixelOf(frame.camera, frame.projection, s.xy[2 * v], s.xy[2 * v + 1]);
}

// Copies point `v` of `from` into the overlay, giving its index there.
std::uint32_t copyPoint(const FrameShell& from, std::size_t v, FrameShell& overlay) {
    overlay.xy.push_back(from.xy[2 * v]);
    overlay.xy.push_back(from.xy[2 * v + 1]);
    overlay.z.push_back(from.z[v]);
    return std::uint32_t(overlay.z.size() - 1);
}

// Face f of `shape` (drawn as frame shell `from`): filled and outlined.
void lightFace(const Polyhedron& shape, int f, const FrameShell& from, Rgb fill, Frame& frame,
               FrameShell& overlay) {
    if (f < 0 || f >= shape.faceCount() || shape.faceSize(f) < 3) return;
    const std::uint32_t first = std::uint32_t(overlay.z.size());
    for (int k = 0; k < shape.faceSize(f); ++k) {
        const std::uint32_t at = copyPoint(from, std::size_t(shape.face(f)[k]), overlay);
        for (int c = 0; c < 2; ++c) frame.lit.xyz.push_back(overlay.xy[2 * at + c]);
        frame.lit.xyz.push_back(overlay.z[at]);
        overlay.lines.push_back(at);
        overlay.lines.push_back(k + 1 < shape.faceSize(f) ? at + 1 : first);
    }
    frame.lit.start.push_back(std::uint32_t(frame.lit.xyz.size() / 3));
    frame.lit.colour.push_back(fill);
}

// The depth of face f of shell `s` at pixel p when p lies inside its
// picture, else nothing (-infinity). Pixels are an affine image of the
// turned x and y, so depth is affine in them across a flat face.
double depthInside(const Polyhedron& shape, int f, const Frame& frame, const FrameShell& s, PixelPosition p) {
    const int n = shape.faceSize(f);
    const double none = -std::numeric_limits<double>::infinity();
    if (n < 3) return none;
    bool inside = false;
    PixelPosition best[3] = {{0, 0}, {0, 0}, {0, 0}};
    double bestArea = 0.0, bestZ[3] = {0, 0, 0};
    const PixelPosition a = pixel(frame, s, std::size_t(shape.face(f)[0]));
    for (int k = 0; k < n; ++k) {
        const std::size_t u = std::size_t(shape.face(f)[k]), w = std::size_t(shape.face(f)[(k + 1) % n]);
        const PixelPosition pu = pixel(frame, s, u), pw = pixel(frame, s, w);
        if ((pu.y > p.y) != (pw.y > p.y) && p.x < pu.x + (p.y - pu.y) * (pw.x - pu.x) / (pw.y - pu.y))
            inside = !inside;
        // The fan triangle of largest area from the first corner fixes the
        // face's plane in pixels most surely.
        const double area = std::fabs((pu.x - a.x) * (pw.y - a.y) - (pu.y - a.y) * (pw.x - a.x));
        if (k > 0 && area > bestArea) {
            bestArea = area;
            best[0] = a, best[1] = pu, best[2] = pw;
            bestZ[0] = s.z[std::size_t(shape.face(f)[0])], bestZ[1] = s.z[u], bestZ[2] = s.z[w];
        }
    }
    if (!inside || !(bestArea > 0.0)) return none;
    // Barycentric weights of p in the best triangle.
    const double d = (best[1].x - best[0].x) * (best[2].y - best[0].y) - (best[1].y - best[0].y) * (best[2].x - best[0].x);
    const double l1 = ((p.x - best[0].x) * (best[2].y - best[0].y) - (p.y - best[0].y) * (best[2].x - best[0].x)) / d;
    const double l2 = ((best[1].x - best[0].x) * (p.y - best[0].y) - (best[1].y - best[0].y) * (p.x - best[0].x)) / d;
    return bestZ[0] + l1 * (bestZ[1] - bestZ[0]) + l2 * (bestZ[2] - bestZ[0]);
}

// The solid's part that a part of shell `shell` stands for.
Lit solidPartOf(const ShownShell& shell, LitKind kind, int index) {
    if (!shell.dual() || kind == LitKind::Edge) return {kind, index};
    return {kind == LitKind::Face ? LitKind::Vertex : LitKind::Face, index};
}

}  // namespace

std::string litText(const Model& model, Lit lit) {
    if (lit.kind == LitKind::None || lit.index < 0 || lit.index >= partCount(model, lit.kind)) return tr("nothing");
    const int base = model.numberBase;
    const std::string n = std::to_string(lit.index + base);
    std::string text;
    if (lit.kind == LitKind::Face) {
        const int corners = model.solid.faceSize(lit.index);
        text = fill(tr("face {1} ({2})"), {n, faceShapeName(corners, faceShape(model.solid, lit.index))});
    } else if (lit.kind == LitKind::Edge) {
        const Edge& e = model.edges[std::size_t(lit.index)];
        // TRANSLATORS: edge {1} between vertices {2} and {3}.
        text = fill(tr("edge {1} ({2}-{3})"), {n, std::to_string(e.a + base), std::to_string(e.b + base)});
    } else {
        text = fill(tr("vertex {1}"), {n});
    }
    if (!model.closed) return text;
    // TRANSLATORS: the lit part, then the part of the dual that answers it.
    const char* dualWords[] = {"", tr("{1} - dual vertex {2}"), tr("{1} - dual face {2}"), tr("{1} - dual edge {2}")};
    return fill(dualWords[int(lit.kind)], {text, n});
}

Result<Lit> readLit(const std::string& text, const Model& model) {
    const std::size_t colon = text.find(':');
    const std::string kind = text.substr(0, colon), number = colon == std::string::npos ? "" : text.substr(colon + 1);
    Lit lit;
    for (int k = 1; k < 4; ++k)
        if (kind == kindWords[k]) lit.kind = LitKind(k);
    if (lit.kind == LitKind::None)
        return failure(fill(tr("--highlight: '{1}' is not face:N, vertex:N or edge:N"), {text}));
    if (number.empty() || number.size() > 9 || !std::all_of(number.begin(), number.end(), [](char c) {
            return c >= '0' && c <= '9';
        }))
    {
        const char* notNumber[] = {"", tr("--highlight: '{1}' is not a face number"), tr("--highlight: '{1}' is not a vertex number"),
                                   tr("--highlight: '{1}' is not an edge number")};
        return failure(fill(notNumber[int(lit.kind)], {number}));
    }
    const int count = partCount(model, lit.kind), base = model.numberBase;
    lit.index = std::stoi(number) - base;
    if (lit.index < 0 || lit.index >= count)
    {
        const unsigned long many = static_cast<unsigned long>(count);
        const char* has[] = {"", trn("{1} face", "{1} faces", many), trn("{1} vertex", "{1} vertices", many),
                             trn("{1} edge", "{1} edges", many)};
        const std::string parts = fill(has[int(lit.kind)], {std::to_string(count)});
        if (count == 0) return failure(fill(tr("--highlight {1}: {2} has {3}"), {text, tr(model.name.c_str()), parts}));
        return failure(fill(tr("--highlight {1}: {2} has {3}, numbered {4} to {5}"),
                            {text, tr(model.name.c_str()), parts, std::to_string(base), std::to_string(count - 1 + base)}));
    }
    return lit;
}

void addLit(const std::vector<ShownShell>& shells, Lit lit, const Palette& palette, Frame& frame) {
    if (lit.kind == LitKind::None) return;
    FrameShell overlay;
    overlay.colour = palette.litEdge;
    overlay.onTop = true;
    overlay.markSize = 2.0 * frame.markSize;
    for (std::size_t i = 0; i < shells.size() && i < frame.shells.size(); ++i) {
        const ShownShell& shell = shells[i];
        const FrameShell& drawn = frame.shells[i];
        const Polyhedron& shape = *shell.shape;
        // What this shell shows of the lit part: the solid's own, or the
        // dual's counterpart.
        const bool dual = shell.dual();
        if (lit.kind == LitKind::Edge) {
            if (lit.index >= int(shell.edges->size())) continue;
            const Edge& e = (*shell.edges)[std::size_t(lit.index)];
            overlay.lines.push_back(copyPoint(drawn, std::size_t(e.a), overlay));
            overlay.lines.push_back(copyPoint(drawn, std::size_t(e.b), overlay));
        } else if ((lit.kind == LitKind::Face) != dual) {
            lightFace(shape, lit.index, drawn, palette.litFace, frame, overlay);
        } else if (lit.index < shape.vertexCount()) {
            overlay.marks.push_back(copyPoint(drawn, std::size_t(lit.index), overlay));
        }
    }
    frame.shells.push_back(std::move(overlay));
}

Lit litAt(const std::vector<ShownShell>& shells, const Frame& frame, double x, double y) {
    const PixelPosition p{x, y};
    const double markReach = std::max(5.0, frame.markSize), lineReach = std::max(3.0, frame.lineWidth / 2.0 + 2.0);
    // Behind opaque faces, or where back edges are dashed or hidden, a
    // part counts only where it is in front: no face lies above it there.
    const bool occluded = frame.faceStyle == FaceStyle::Shaded || frame.depthTested;
    const double eps = inFrontShare * frame.depthRange;
    auto frontDepth = [&](PixelPosition at) {
        double front = -std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < shells.size() && i < frame.shells.size(); ++i)
            for (int f = 0; !shells[i].faint && f < shells[i].shape->faceCount(); ++f)
                front = std::max(front, depthInside(*shells[i].shape, f, frame, frame.shells[i], at));
        return front;
    };
    // Every mark and edge within reach, nearest first; the first in front wins.
    struct Candidate {
        double distance, z;
        PixelPosition at;
        Lit lit;
    };
    std::vector<Candidate> marks, edges;
    for (std::size_t i = 0; i < shells.size() && i < frame.shells.size(); ++i) {
        if (shells[i].faint) continue;
        const FrameShell& s = frame.shells[i];
        for (const std::uint32_t v : s.marks) {
            const PixelPosition at = pixel(frame, s, v);
            const double d = std::hypot(at.x - p.x, at.y - p.y);
            if (d <= markReach) marks.push_back({d, s.z[v], at, solidPartOf(shells[i], LitKind::Vertex, int(v))});
        }
        const std::vector<Edge>& all = *shells[i].edges;
        for (std::size_t e = 0; e < all.size(); ++e) {
            const PixelPosition a = pixel(frame, s, std::size_t(all[e].a)), b = pixel(frame, s, std::size_t(all[e].b));
            const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
            const double t = std::clamp(len2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0, 0.0, 1.0);
            const PixelPosition at{a.x + t * dx, a.y + t * dy};
            const double d = std::hypot(p.x - at.x, p.y - at.y);
            const double z = s.z[std::size_t(all[e].a)] + t * (double(s.z[std::size_t(all[e].b)]) - s.z[std::size_t(all[e].a)]);
            if (d <= lineReach) edges.push_back({d, z, at, solidPartOf(shells[i], LitKind::Edge, int(e))});
        }
    }
    for (std::vector<Candidate>* list : {&marks, &edges}) {
        std::stable_sort(list->begin(), list->end(), [](const Candidate& a, const Candidate& b) {
            return a.distance < b.distance || (a.distance == b.distance && a.z > b.z);
        });
        for (const Candidate& c : *list)
            if (!occluded || frontDepth(c.at) <= c.z + eps) return c.lit;
    }
    Lit found;
    double front = -std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < shells.size() && i < frame.shells.size(); ++i) {
        if (shells[i].faint) continue;
        for (int f = 0; f < shells[i].shape->faceCount(); ++f) {
            const double z = depthInside(*shells[i].shape, f, frame, frame.shells[i], p);
            if (z > front) front = z, found = solidPartOf(shells[i], LitKind::Face, f);
        }
    }
    return found;
}

}  // namespace pd
