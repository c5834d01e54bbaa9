#pragma once

#include "base/result.h"
#include "draw/frame.h"

namespace pd {

// Draws frames into the WebGL2 context current on this thread, as the GL
// renderer (gl/renderer.h) draws them in a window: the same pixels for
// points, faces into a depth buffer, lines in front and dashed behind, end
// marks, boxes and texts. Lines and marks are quads (see webgl/frame_mesh.h):
// WebGL has no wide lines, points of a set size or line stipple.
class WebGlRenderer {
public:
    // Compiles the shaders in the current context; an error naming the
    // shader and the driver's complaint when one does not compile or link.
    static Result<WebGlRenderer> create();
    WebGlRenderer(WebGlRenderer&& other) noexcept;
    WebGlRenderer& operator=(WebGlRenderer&&) = delete;
    ~WebGlRenderer();

    // Draws `frame` over the whole viewport it names, its pixels scaled by
    // `pixelRatio` (a screen's device pixels per CSS pixel: lines, marks
    // and text grow with it), and sets every state it relies on. A smooth
    // frame is drawn multisampled (4 samples, or what the browser has) and
    // resolved into the canvas, an aliased one straight into it. An error
    // when WebGL reports one.
    Status draw(const Frame& frame, double pixelRatio = 1.0);

private:
    WebGlRenderer() = default;
    unsigned program_ = 0;
    unsigned buffer_ = 0;
    unsigned vertexArray_ = 0;
    int sizeUniform_ = -1;
    int pointSizeUniform_ = -1;
    float largestPoint_ = 1.0f;  // the driver's largest point, in pixels
    // Where smooth frames are drawn: a multisampled framebuffer of the
    // drawing's size, resolved into the canvas (0 while there is none).
    bool smoothTarget(int width, int height);
    unsigned smoothFramebuffer_ = 0;
    unsigned smoothColour_ = 0;
    unsigned smoothDepth_ = 0;
    int smoothWidth_ = 0;
    int smoothHeight_ = 0;
};

}  // namespace pd
