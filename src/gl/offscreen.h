#pragma once

#include <memory>
#include <string>

#include "base/result.h"

namespace pd {

// A desktop OpenGL context with no window and no X server: EGL's surfaceless
// platform, a pbuffer of a fixed size as the drawing surface. On a machine
// without a GPU Mesa serves it with its software renderer, the same one the
// window gets under a virtual X server, so both draw the same pixels.

class OffscreenContext {
public:
    // Opens a context drawing into a width x height pbuffer (both at least 1)
    // and makes it current on this thread. An error saying which EGL step
    // failed (or that the size has no pixels) when there is no such context
    // to be had.
    static Result<std::unique_ptr<OffscreenContext>> create(int width, int height);
    ~OffscreenContext();
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }

private:
    OffscreenContext(int width, int height) : width_(width), height_(height) {}
    void release();

    void* display_ = nullptr;  // EGLDisplay
    void* context_ = nullptr;  // EGLContext
    void* surface_ = nullptr;  // EGLSurface
    int width_ = 0;
    int height_ = 0;
};

}  // namespace pd
