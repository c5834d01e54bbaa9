#define GL_GLEXT_PROTOTYPES 1
#include "gl/renderer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "explorer/bitmap_font.h"

namespace {

// Four pixels on, four off, restarting at each segment's start.
constexpr GLushort dashPattern = 0x0F0F;

void drawIndexed(GLenum mode, const std::vector<std::uint32_t>& indices) {
    if (indices.empty()) return;
    glDrawElements(mode, GLsizei(indices.size()), GL_UNSIGNED_INT, indices.data());
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

void drawShell(const FrameShell& shell, const float* xy) {
    glColor3f(shell.colour.red, shell.colour.green, shell.colour.blue);
    glVertexPointer(2, GL_FLOAT, 0, xy);
    drawIndexed(GL_LINES, shell.lines);
    if (!shell.dashed.empty()) {
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(1, dashPattern);
        drawIndexed(GL_LINES, shell.dashed);
        glDisable(GL_LINE_STIPPLE);
    }
    drawIndexed(GL_POINTS, shell.marks);
}

// glBitmap wants rows from the bottom, each row's left pixel in the high bit.
std::array<GLubyte, glyphHeight> bitmapOf(const Glyph& g) {
    std::array<GLubyte, glyphHeight> rows{};
    for (int r = 0; r < glyphHeight; ++r)
        rows[glyphHeight - 1 - r] = GLubyte(g.rows[r] << (8 - glyphWidth));
    return rows;
}

void drawText(const FrameText& t, int windowHeight) {
    glColor3f(t.colour.red, t.colour.green, t.colour.blue);
    // Window positions count rows from the bottom; the colour is taken for
    // the raster position when it is set, so after glColor.
    glWindowPos2d(t.x, double(windowHeight) - t.y);
    for (char c : t.text) {
        const std::array<GLubyte, glyphHeight> bits = bitmapOf(glyphFor(c));
        glBitmap(glyphWidth, glyphHeight, 0.0f, 0.0f, float(glyphAdvance), 0.0f, bits.data());
    }
}

}  // namespace

Status renderFrame(const Frame& frame) {
    glErrors("draw");  // what an earlier caller left is not this picture's
    const Projection& p = frame.projection;
    glViewport(0, 0, p.viewportWidth, p.viewportHeight);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_POINT_SMOOTH);
    glClearColor(frame.background.red, frame.background.green, frame.background.blue, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    const Camera& camera = frame.camera;
    const bool rescaled = camera.distance > 0.0f && camera.distance < smallestDirectDistance;
    const double unit = rescaled ? double(camera.distance) : 1.0;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(p.fovY, p.aspect, p.zNear / unit, p.zFar / unit);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (rescaled)
        glTranslatef(0.0f, 0.0f, -1.0f);
    else
        glTranslatef(-camera.cx, -camera.cy, -camera.distance);

    glLineWidth(1.0f);
    glPointSize(float(endMarkSize));
    glEnableClientState(GL_VERTEX_ARRAY);
    std::vector<float> scaled;
    for (const FrameShell& shell : frame.shells) {
        if (!rescaled) {
            drawShell(shell, shell.xy.data());
            continue;
        }
        scaled.resize(shell.xy.size());
        for (std::size_t i = 0; i + 1 < shell.xy.size(); i += 2) {
            scaled[i] = float((double(shell.xy[i]) - camera.cx) / unit);
            scaled[i + 1] = float((double(shell.xy[i + 1]) - camera.cy) / unit);
        }
        drawShell(shell, scaled.data());
    }
    glDisableClientState(GL_VERTEX_ARRAY);

    if (!frame.boxes.empty()) {
        // Boxes in window pixels, y down like the frame's.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0.0, double(p.viewportWidth), double(p.viewportHeight), 0.0, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        for (const FrameBox& b : frame.boxes) {
            glColor3f(b.colour.red, b.colour.green, b.colour.blue);
            glRectd(b.x, b.y, b.x + b.width, b.y + b.height);
        }
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (const FrameText& t : frame.texts) drawText(t, p.viewportHeight);
    glFlush();
    return glErrors("draw the picture");
}

Status readPixelRows(int width, int height, int top, int count, std::uint8_t* out) {
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // GL counts rows from the bottom: the band's lowest row comes first and
    // the rows are turned in place after.
    glReadPixels(0, height - top - count, width, count, GL_RGB, GL_UNSIGNED_BYTE, out);
    const Status read = glErrors("read the picture back");
    if (!read) return read;
    const std::size_t row = std::size_t(width) * 3;
    for (int y = 0; y < count / 2; ++y)
        std::swap_ranges(out + row * std::size_t(y), out + row * std::size_t(y + 1),
                         out + row * std::size_t(count - 1 - y));
    return Done{};
}
