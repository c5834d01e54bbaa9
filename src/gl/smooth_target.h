#pragma once

#include "base/result.h"
#include "draw/frame.h"

namespace pd {

// Where a smooth picture is drawn: a multisampled framebuffer (colour and
// depth, up to 4 samples a pixel) in the GL context current on this thread,
// resolved into the context's own framebuffer afterwards. Made when first
// used and remade when the size changes; it belongs to the context it was
// made in and must be destroyed while that context is current.
class SmoothTarget {
public:
    SmoothTarget() = default;
    SmoothTarget(const SmoothTarget&) = delete;
    SmoothTarget& operator=(const SmoothTarget&) = delete;
    ~SmoothTarget();

    // Draws `frame` with renderFrame: through the multisampled framebuffer
    // when frame.smooth, then resolved into framebuffer 0 (its back buffer
    // in a window), which is left bound for drawing and reading; straight
    // into framebuffer 0 when not, so an aliased frame has renderFrame's
    // very pixels. A driver with no multisampling (GL_MAX_SAMPLES below
    // 2, or an incomplete framebuffer) draws the frame aliased. A frame
    // renderFrame draws on the CPU (drawsLinesOnCpu) goes straight into
    // framebuffer 0, smooth or not, and needs no multisampling. An error
    // when GL reports one.
    Status draw(const Frame& frame);

    // For when the context has gone (a window closed): the framebuffer's
    // names are dropped without a GL call.
    void forget();

private:
    bool ready(int width, int height, bool depth);
    void release();

    unsigned framebuffer_ = 0;
    unsigned colour_ = 0;
    unsigned depth_ = 0;
    int width_ = 0;
    int height_ = 0;
    int samples_ = 0;
    bool unavailable_ = false;  // the driver could not make one
};

}  // namespace pd
