#define GL_GLEXT_PROTOTYPES 1
#include "gl/renderer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "draw/bitmap_font.h"
#include "draw/face_shading.h"
#include "gl/line_picture.h"

namespace pd {

namespace {

// Four pixels on, four off, restarting at each segment's start.
constexpr GLushort dashPattern = 0x0F0F;

// Indices handed to GL between flushes. A software renderer bins every
// primitive of a batch before it draws any, in memory of its own: drawn
// whole, a big model with its dual takes much of it and, that memory
// fresh from the kernel, far longer (bench/README.md has the measures).
// Flushed every so many, the same few megabytes serve again and again
// (the picture is the same).
constexpr std::size_t indicesPerFlush = 16384;

void drawIndexed(GLenum mode, const std::vector<std::uint32_t>& indices) {
    for (std::size_t at = 0; at < indices.size(); at += indicesPerFlush) {
        if (at > 0) glFlush();
        const std::size_t count = std::min(indicesPerFlush, indices.size() - at);
        glDrawElements(mode, GLsizei(count), GL_UNSIGNED_INT, indices.data() + at);
    }
}

// GL's vertex and clip arithmetic flushes floats below about 1.2e-38 to
// zero (llvmpipe does), so a model that small would collapse to a point or
// vanish while its SVG shows it. A frame whose camera stands closer than
// this is drawn from coordinates taken relative to the camera and divided
// by its distance, in double, with the camera one unit away: the same
// projection at a scale GL keeps. Larger models are drawn from their own
// coordinates, as the program draws them, so their pixels stay the
// program's.
constexpr float smallestDirectDistance = 1e-30f;

// The frame as it is drawn from such coordinates: every position taken
// relative to the camera and divided by its distance, in double.
Frame scaledForGl(const Frame& frame) {
    Frame out = frame;
    const double cx = frame.camera.cx, cy = frame.camera.cy, unit = frame.camera.distance;
    auto scaleXy = [&](std::vector<float>& xy) {
        for (std::size_t i = 0; i + 1 < xy.size(); i += 2) {
            xy[i] = float((double(xy[i]) - cx) / unit);
            xy[i + 1] = float((double(xy[i + 1]) - cy) / unit);
        }
    };
    for (FrameShell& shell : out.shells) {
        scaleXy(shell.xy);
        for (float& z : shell.z) z = float(double(z) / unit);
    }
    for (FramePolygons* polygons : {&out.faces, &out.lit})
        for (std::size_t i = 0; i + 2 < polygons->xyz.size(); i += 3) {
            polygons->xyz[i] = float((double(polygons->xyz[i]) - cx) / unit);
            polygons->xyz[i + 1] = float((double(polygons->xyz[i + 1]) - cy) / unit);
            polygons->xyz[i + 2] = float(double(polygons->xyz[i + 2]) / unit);
        }
    out.camera = Camera{0.0f, 0.0f, 1.0f};
    out.depthRange = frame.depthRange / unit;
    out.projection.zNear = frame.projection.zNear / unit;
    out.projection.zFar = frame.projection.zFar / unit;
    return out;
}

// GL's first pending error as one line, or Done; drains the rest.
Status glErrors(const char* what) {
    const GLenum first = glGetError();
    if (first == GL_NO_ERROR) return Done{};
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {}
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", unsigned(first));
    const auto* name = reinterpret_cast<const char*>(gluErrorString(first));
    return failure(std::string("OpenGL could not ") + what + ": " + (name ? name : "error") +
                   " (GL error " + code + ")");
}

// Where the frame decides what is behind by depth, the picture keeps the
// program's x and y to the bit: the projection's first rows and its w stay
// those of gluPerspective at z = 0 (w = the camera's distance d for every
// point), and only the depth row is replaced, mapping z from -range..range
// (nearer the viewer is larger z) to 1..-1. So nothing moves on the screen,
// only depth is added.
void loadDepthProjection(const Frame& frame) {
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);  // column by column
    const double d = frame.camera.distance, k = -d / frame.depthRange;
    // z_clip = k (z_eye + d) = k z; w_clip = d.
    m[2] = 0.0, m[6] = 0.0, m[10] = k, m[14] = k * d;
    m[3] = 0.0, m[7] = 0.0, m[11] = 0.0, m[15] = d;
    glLoadMatrixd(m);
}

void drawPolygons(const FramePolygons& faces, float alpha, bool coloured) {
    for (std::size_t p = 0; p + 1 < faces.start.size(); ++p) {
        if (p > 0 && p % (indicesPerFlush / 4) == 0) glFlush();  // as drawIndexed does
        if (coloured) {
            const Rgb& c = faces.colour[p];
            glColor4f(c.red, c.green, c.blue, alpha);
        }
        glBegin(GL_POLYGON);
        for (std::uint32_t k = faces.start[p]; k < faces.start[p + 1]; ++k) glVertex3fv(&faces.xyz[3 * k]);
        glEnd();
    }
}

// The faces, into the depth buffer only, pushed back a little so the edges
// on them stay in front.
void depthOnly(const FramePolygons& faces) {
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    drawPolygons(faces, 1.0f, false);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void drawFaces(const Frame& frame) {
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.5f, 4.0f);
    if (frame.faceStyle == FaceStyle::Shaded) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        drawPolygons(frame.faces, 1.0f, true);
    } else {
        // Translucent faces come farthest first and are blended without
        // depth; behind them the depth buffer still hides edges, if asked.
        if (frame.faceStyle == FaceStyle::Translucent) {
            glDisable(GL_DEPTH_TEST);
            glEnable(GL_BLEND);
            glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
            drawPolygons(frame.faces, translucentAlpha, true);
            glDisable(GL_BLEND);
        }
        if (frame.depthTested) depthOnly(frame.faces);
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
}

void drawShell(const Frame& frame, const FrameShell& shell, bool threeD, std::vector<float>& xyz) {
    glColor3f(shell.colour.red, shell.colour.green, shell.colour.blue);
    if (threeD) {
        xyz.resize(3 * shell.z.size());
        for (std::size_t i = 0; i < shell.z.size(); ++i) {
            xyz[3 * i] = shell.xy[2 * i];
            xyz[3 * i + 1] = shell.xy[2 * i + 1];
            xyz[3 * i + 2] = shell.z[i];
        }
        glVertexPointer(3, GL_FLOAT, 0, xyz.data());
    } else {
        glVertexPointer(2, GL_FLOAT, 0, shell.xy.data());
    }
    if (shell.markSize > 0.0) glPointSize(float(shell.markSize));
    if (frame.depthTested && !shell.onTop) {
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_FALSE);
        glDepthFunc(GL_LEQUAL);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    drawIndexed(GL_LINES, shell.lines);
    if (!shell.dashed.empty()) {
        // With depth, the dashed list repeats the lines: dashed where behind.
        if (frame.depthTested) glDepthFunc(GL_GREATER);
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(GLint(std::max(1.0, std::round(frame.lineWidth))), dashPattern);
        drawIndexed(GL_LINES, shell.dashed);
        glDisable(GL_LINE_STIPPLE);
    }
    if (frame.marksDepthTested && !shell.onTop) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    drawIndexed(GL_POINTS, shell.marks);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glPointSize(float(frame.markSize));
}

// Lit faces over the faces, hiding nothing: the edges still go over them.
// Flat at z = 0 when the picture is.
void drawLit(const FramePolygons& lit, bool threeD) {
    glDisable(GL_DEPTH_TEST);
    for (std::size_t p = 0; p + 1 < lit.start.size(); ++p) {
        const Rgb& c = lit.colour[p];
        glColor3f(c.red, c.green, c.blue);
        glBegin(GL_POLYGON);
        for (std::uint32_t k = lit.start[p]; k < lit.start[p + 1]; ++k)
            glVertex3f(lit.xyz[3 * k], lit.xyz[3 * k + 1], threeD ? lit.xyz[3 * k + 2] : 0.0f);
        glEnd();
    }
}

// glBitmap wants rows from the bottom, each row's left pixel in the high bit.
std::array<GLubyte, glyphRows> bitmapOf(const Glyph& g) {
    std::array<GLubyte, glyphRows> rows{};
    for (int r = 0; r < glyphRows; ++r)
        rows[std::size_t(glyphRows - 1 - r)] = GLubyte(g.row(r) << (8 - glyphWidth));
    return rows;
}

void drawText(const FrameText& t, int windowHeight) {
    glColor3f(t.colour.red, t.colour.green, t.colour.blue);
    if (t.scale > 1) {
        // Enlarged: each pixel of the font a square, in window pixels (the
        // projection is set so, y down).
        const double s = t.scale;
        double left = t.x;
        for (const Glyph* g : textGlyphs(t.text)) {
            for (int r = 0; r < glyphRows; ++r)
                for (int col = 0; col < glyphWidth; ++col)
                    if (g->row(r) & (1 << (glyphWidth - 1 - col))) {
                        const double x = left + col * s, y = t.y - (glyphRows - r) * s;
                        glRectd(x, y, x + s, y + s);
                    }
            left += glyphAdvance * s;
        }
        return;
    }
    // Window positions count rows from the bottom; the colour is taken for
    // the raster position when it is set, so after glColor.
    glWindowPos2d(t.x, double(windowHeight) - t.y);
    for (const Glyph* g : textGlyphs(t.text)) {
        const std::array<GLubyte, glyphRows> bits = bitmapOf(*g);
        glBitmap(glyphWidth, glyphRows, 0.0f, 0.0f, float(glyphAdvance), 0.0f, bits.data());
    }
}

// The boxes and texts over the picture, then a flush.
void drawOverlay(const Frame& frame) {
    const Projection& p = frame.projection;
    // Boxes and enlarged text in window pixels, y down like the frame's.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, double(p.viewportWidth), double(p.viewportHeight), 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (const FrameBox& b : frame.boxes) {
        glColor3f(b.colour.red, b.colour.green, b.colour.blue);
        glRectd(b.x, b.y, b.x + b.width, b.y + b.height);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (const FrameText& t : frame.texts)
        for (const FrameText& painted : paintedTexts(t)) drawText(painted, p.viewportHeight);
    glFlush();
}

void drawFrame(const Frame& frame) {
    const Projection& p = frame.projection;
    glViewport(0, 0, p.viewportWidth, p.viewportHeight);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_BLEND);
    glClearColor(frame.background.red, frame.background.green, frame.background.blue,
                 frame.transparent ? 0.0f : 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(p.fovY, p.aspect, p.zNear, p.zFar);
    // Without faces and hidden parts everything lies in the plane z = 0, as
    // in the program's window.
    const bool threeD = frame.depthTested || frame.faceStyle != FaceStyle::Off;
    if (threeD) loadDepthProjection(frame);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(-frame.camera.cx, -frame.camera.cy, -frame.camera.distance);

    if (threeD) drawFaces(frame);
    drawLit(frame.lit, threeD);
    glLineWidth(float(frame.lineWidth));
    glPointSize(float(frame.markSize));
    glEnableClientState(GL_VERTEX_ARRAY);
    std::vector<float> xyz;
    for (const FrameShell& shell : frame.shells) drawShell(frame, shell, threeD, xyz);
    glDisableClientState(GL_VERTEX_ARRAY);
    drawOverlay(frame);
}

// Lines from which a software GL is slower than drawing them on the CPU
// by a margin worth an upload of the whole picture: the big spheres' first
// frames gain, while an animation's frames, each paying the upload again,
// stay GL's (bench/README.md, "Lines drawn on the CPU" and the morph's
// frames after it, has the measures).
constexpr std::size_t cpuLinesFrom = 131072;

// The frame's lines drawn on the CPU and put in place as pixels, then the
// boxes and texts by GL.
void drawFrameOnCpu(const Frame& frame) {
    const Projection& p = frame.projection;
    const std::vector<std::uint8_t> pixels = drawLinePicture(frame, frame.smooth);
    glViewport(0, 0, p.viewportWidth, p.viewportHeight);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelZoom(1.0f, 1.0f);
    glWindowPos2i(0, 0);
    glDrawPixels(p.viewportWidth, p.viewportHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    drawOverlay(frame);
}

}  // namespace

bool drawsLinesOnCpu(const Frame& frame) {
    if (!isFlatLineDrawing(frame)) return false;
    std::size_t lines = 0;
    for (const FrameShell& shell : frame.shells) lines += shell.lines.size() / 2;
    if (lines < cpuLinesFrom) return false;
    const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (!name) return false;
    const std::string renderer = name;
    for (const char* software : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
        if (renderer.find(software) != std::string::npos) return true;
    return false;
}

Status renderFrame(const Frame& frame) {
    if (drawsLinesOnCpu(frame)) {
        drawFrameOnCpu(frame);
        return glErrors("draw the picture");
    }
    const Camera& camera = frame.camera;
    if (camera.distance > 0.0f && camera.distance < smallestDirectDistance)
        drawFrame(scaledForGl(frame));
    else
        drawFrame(frame);
    return glErrors("draw the picture");
}

Status readPixelRows(int width, int height, int top, int count, int channels, std::uint8_t* out) {
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // GL counts rows from the bottom: the band's lowest row comes first and
    // the rows are turned in place after.
    glReadPixels(0, height - top - count, width, count, channels == 4 ? GL_RGBA : GL_RGB,
                 GL_UNSIGNED_BYTE, out);
    const Status read = glErrors("read the picture back");
    if (!read) return read;
    const std::size_t row = std::size_t(width) * std::size_t(channels == 4 ? 4 : 3);
    for (int y = 0; y < count / 2; ++y)
        std::swap_ranges(out + row * std::size_t(y), out + row * std::size_t(y + 1),
                         out + row * std::size_t(count - 1 - y));
    return Done{};
}

}  // namespace pd
