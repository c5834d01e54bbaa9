#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// A desktop OpenGL context with no window and no X server: EGL's surfaceless
// platform, a pbuffer of a fixed size as the drawing surface. On a machine
// without a GPU Mesa serves it with its software renderer, the same one the
// window gets under a virtual X server, so both draw the same pixels.

class OffscreenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class OffscreenContext {
public:
    // Opens a context drawing into a width x height pbuffer (both at least 1)
    // and makes it current on this thread. Throws OffscreenError, saying
    // which EGL step failed, when there is no such context to be had.
    OffscreenContext(int width, int height);
    ~OffscreenContext();
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }

    // The finished picture, 8-bit RGB, rows from the top, each row from the
    // left (GL counts rows from the bottom; they are turned here).
    std::vector<std::uint8_t> readRgb() const;
    // The same with alpha, 8-bit RGBA.
    std::vector<std::uint8_t> readRgba() const;

private:
    void release();

    void* display_ = nullptr;  // EGLDisplay
    void* context_ = nullptr;  // EGLContext
    void* surface_ = nullptr;  // EGLSurface
    int width_ = 0;
    int height_ = 0;
};
