#include "webgl/frame_mesh.h"

#include <algorithm>
#include <cmath>

#include "draw/bitmap_font.h"
#include "draw/face_shading.h"

namespace pd {

namespace {

// A point of the frame where the renderer puts it: its pixel and depth.
struct Placed {
    double x, y;
    float depth;
};

class Builder {
public:
    Builder(const Frame& frame, MeshShape shape) : frame_(frame), shape_(shape) {}

    Placed place(double x, double y, double z) const {
        const PixelPosition p = pixelOf(frame_.camera, frame_.projection, float(x), float(y));
        const double depth = frame_.depthRange > 0.0 ? -z / frame_.depthRange : 0.0;
        return {p.x, p.y, float(std::clamp(depth, -1.0, 1.0))};
    }

    static MeshVertex vertex(double x, double y, float depth, const Rgb& c, float alpha, float dash) {
        return {float(x), float(y), depth, c.red, c.green, c.blue, alpha, dash};
    }

    // Two triangles: a b c, a c d.
    static void quad(std::vector<MeshVertex>& out, const MeshVertex& a, const MeshVertex& b,
                     const MeshVertex& c, const MeshVertex& d) {
        out.insert(out.end(), {a, b, c, a, c, d});
    }

    // A rectangle in pixels, at one depth.
    static void rect(std::vector<MeshVertex>& out, double x, double y, double w, double h, float depth,
                     const Rgb& c) {
        quad(out, vertex(x, y, depth, c, 1.0f, -1.0f), vertex(x + w, y, depth, c, 1.0f, -1.0f),
             vertex(x + w, y + h, depth, c, 1.0f, -1.0f), vertex(x, y + h, depth, c, 1.0f, -1.0f));
    }

    void polygons(const FramePolygons& f, float alpha, std::vector<MeshVertex>& out) const {
        for (std::size_t p = 0; p + 1 < f.start.size() && p < f.colour.size(); ++p) {
            const std::uint32_t first = f.start[p], end = f.start[p + 1];
            if (end > f.xyz.size() / 3) break;
            auto corner = [&](std::uint32_t k) {
                const Placed at = place(f.xyz[3 * k], f.xyz[3 * k + 1], f.xyz[3 * k + 2]);
                return vertex(at.x, at.y, at.depth, f.colour[p], alpha, -1.0f);
            };
            for (std::uint32_t k = first + 1; k + 1 < end; ++k)
                out.insert(out.end(), {corner(first), corner(k), corner(k + 1)});
        }
    }

    void segments(const FrameShell& shell, const std::vector<Placed>& points,
                  const std::vector<std::uint32_t>& pairs, bool dashed, std::vector<MeshVertex>& out) const {
        const double half = frame_.lineWidth / 2.0;
        const double stretch = std::max(1.0, std::round(frame_.lineWidth));
        for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
            if (pairs[i] >= points.size() || pairs[i + 1] >= points.size()) continue;
            const Placed& a = points[pairs[i]];
            const Placed& b = points[pairs[i + 1]];
            const double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
            if (!(length > 0.0)) continue;
            // As GL widens a line: across its shorter axis on screen.
            const bool xMajor = std::fabs(dx) >= std::fabs(dy);
            const double nx = xMajor ? 0.0 : half, ny = xMajor ? half : 0.0;
            // GL counts the pattern from the segment's first pixel: from 0
            // at its start, one a pixel along the longer axis.
            const float dashEnd = dashed ? float(std::max(std::fabs(dx), std::fabs(dy)) / stretch) : -1.0f;
            const float dashStart = dashed ? 0.0f : -1.0f;
            if (shape_ == MeshShape::LinesAndPoints) {
                out.push_back(vertex(a.x, a.y, a.depth, shell.colour, 1.0f, dashStart));
                out.push_back(vertex(b.x, b.y, b.depth, shell.colour, 1.0f, dashEnd));
                continue;
            }
            quad(out, vertex(a.x + nx, a.y + ny, a.depth, shell.colour, 1.0f, dashStart),
                 vertex(b.x + nx, b.y + ny, b.depth, shell.colour, 1.0f, dashEnd),
                 vertex(b.x - nx, b.y - ny, b.depth, shell.colour, 1.0f, dashEnd),
                 vertex(a.x - nx, a.y - ny, a.depth, shell.colour, 1.0f, dashStart));
        }
    }

    ShellMesh shell(const FrameShell& shell) const {
        const bool threeD = frame_.depthTested || frame_.faceStyle != FaceStyle::Off;
        std::vector<Placed> points(shell.xy.size() / 2);
        for (std::size_t i = 0; i < points.size(); ++i)
            points[i] = place(shell.xy[2 * i], shell.xy[2 * i + 1],
                              threeD && i < shell.z.size() ? shell.z[i] : 0.0f);
        ShellMesh out;
        segments(shell, points, shell.lines, false, out.lines);
        segments(shell, points, shell.dashed, true, out.dashed);
        const double side = shell.markSize > 0.0 ? shell.markSize : frame_.markSize;
        out.markSize = side;
        out.onTop = shell.onTop;
        for (std::uint32_t v : shell.marks) {
            if (v >= points.size()) continue;
            const Placed& p = points[v];
            if (shape_ == MeshShape::LinesAndPoints) {
                out.marks.push_back(vertex(p.x, p.y, p.depth, shell.colour, 1.0f, -1.0f));
                continue;
            }
            rect(out.marks, p.x - side / 2.0, p.y - side / 2.0, side, side, p.depth, shell.colour);
        }
        return out;
    }

    // As glBitmap places an unscaled text (its raster position, counted
    // from the bottom, taken down to whole pixels) and glRectd an enlarged
    // one: glyph row r's top at y - (glyphRows - r) * scale.
    static void text(const FrameText& t, std::vector<MeshVertex>& out) {
        const double s = std::max(1, t.scale);
        double left = t.scale > 1 ? t.x : std::floor(t.x);
        const double base = t.scale > 1 ? t.y : std::ceil(t.y);
        for (const Glyph* g : textGlyphs(t.text)) {
            for (int r = 0; r < glyphRows; ++r)
                for (int col = 0; col < glyphWidth; ++col)
                    if (g->row(r) & (1 << (glyphWidth - 1 - col)))
                        rect(out, left + col * s, base - (glyphRows - r) * s, s, s, 0.0f, t.colour);
            left += glyphAdvance * s;
        }
    }

private:
    const Frame& frame_;
    MeshShape shape_;
};

}  // namespace

FrameMesh buildFrameMesh(const Frame& frame, MeshShape shape) {
    const Builder build(frame, shape);
    FrameMesh mesh;
    mesh.shape = shape;
    if (frame.depthTested || frame.faceStyle != FaceStyle::Off)
        build.polygons(frame.faces, frame.faceStyle == FaceStyle::Translucent ? translucentAlpha : 1.0f, mesh.faces);
    build.polygons(frame.lit, 1.0f, mesh.lit);
    for (const FrameShell& shell : frame.shells) mesh.shells.push_back(build.shell(shell));
    for (const FrameBox& b : frame.boxes)
        Builder::rect(mesh.overlay, b.x, b.y, b.width, b.height, 0.0f, b.colour);
    for (const FrameText& t : frame.texts)
        for (const FrameText& painted : paintedTexts(t)) Builder::text(painted, mesh.overlay);
    return mesh;
}

bool dashOn(double count) {
    if (!(count >= 0.0)) return true;
    return std::fmod(std::floor(count), 8.0) < 4.0;
}

}  // namespace pd
