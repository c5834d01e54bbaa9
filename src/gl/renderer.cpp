#define GL_GLEXT_PROTOTYPES 1
#include "gl/renderer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <cstring>

#include "explorer/bitmap_font.h"

namespace {

// Four pixels on, four off, restarting at each segment's start.
constexpr GLushort dashPattern = 0x0F0F;

void drawIndexed(GLenum mode, const std::vector<std::uint32_t>& indices) {
    if (indices.empty()) return;
    glDrawElements(mode, GLsizei(indices.size()), GL_UNSIGNED_INT, indices.data());
}

void drawShell(const FrameShell& shell) {
    glColor3f(shell.colour.red, shell.colour.green, shell.colour.blue);
    glVertexPointer(2, GL_FLOAT, 0, shell.xy.data());
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

void renderFrame(const Frame& frame) {
    const Projection& p = frame.projection;
    glViewport(0, 0, p.viewportWidth, p.viewportHeight);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_POINT_SMOOTH);
    glClearColor(frame.background.red, frame.background.green, frame.background.blue, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(p.fovY, p.aspect, p.zNear, p.zFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(-frame.camera.cx, -frame.camera.cy, -frame.camera.distance);

    glLineWidth(1.0f);
    glPointSize(float(endMarkSize));
    glEnableClientState(GL_VERTEX_ARRAY);
    for (const FrameShell& shell : frame.shells) drawShell(shell);
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
}

std::vector<std::uint8_t> readPixelsTopDown(int width, int height) {
    const std::size_t row = std::size_t(width) * 3;
    std::vector<std::uint8_t> rgb(row * std::size_t(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    // GL's rows run from the bottom; turned in place, one row at a time, so
    // a big picture is held once.
    std::vector<std::uint8_t> spare(row);
    for (int y = 0; y < height / 2; ++y) {
        std::uint8_t* top = rgb.data() + row * std::size_t(y);
        std::uint8_t* bottom = rgb.data() + row * std::size_t(height - 1 - y);
        std::memcpy(spare.data(), top, row);
        std::memcpy(top, bottom, row);
        std::memcpy(bottom, spare.data(), row);
    }
    return rgb;
}
