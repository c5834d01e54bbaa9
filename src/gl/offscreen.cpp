#include "gl/offscreen.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <cstring>

namespace {

std::string eglErrorText(const char* step) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(eglGetError()));
    return std::string("offscreen OpenGL: ") + step + " failed (EGL error " + code + ")";
}

// The surfaceless platform needs no device and no display server; it is
// reached through eglGetPlatformDisplayEXT, which only exists as an
// extension entry point.
EGLDisplay surfacelessDisplay() {
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (clientExtensions == nullptr ||
        std::strstr(clientExtensions, "EGL_MESA_platform_surfaceless") == nullptr)
        throw OffscreenError(
            "offscreen OpenGL: EGL offers no surfaceless platform (EGL_MESA_platform_surfaceless)");
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr)
        throw OffscreenError("offscreen OpenGL: eglGetPlatformDisplayEXT is missing");
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) throw OffscreenError(eglErrorText("eglGetPlatformDisplayEXT"));
    return display;
}

}  // namespace

OffscreenContext::OffscreenContext(int width, int height) : width_(width), height_(height) {
    if (width < 1 || height < 1)
        throw OffscreenError("offscreen OpenGL: a picture of " + std::to_string(width) + "x" +
                             std::to_string(height) + " pixels has no pixels");
    EGLDisplay display = surfacelessDisplay();
    EGLint major = 0, minor = 0;
    if (!eglInitialize(display, &major, &minor)) throw OffscreenError(eglErrorText("eglInitialize"));
    display_ = display;
    try {
        // The window asks GLUT for RGB with depth and no multisampling;
        // asking for the same here keeps the rasterisation identical. Alpha
        // besides, for pictures without a background; a 24-bit depth buffer
        // as the window gets, so both hide the same pixels.
        const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,
                                           EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                           EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8,
                                           EGL_ALPHA_SIZE, 8, EGL_DEPTH_SIZE, 24,
                                           EGL_SAMPLE_BUFFERS, 0,
                                           EGL_NONE};
        EGLConfig config = nullptr;
        EGLint found = 0;
        if (!eglChooseConfig(display, configAttributes, &config, 1, &found) || found < 1)
            throw OffscreenError(eglErrorText("eglChooseConfig (8-bit RGB pbuffer for desktop OpenGL)"));
        if (!eglBindAPI(EGL_OPENGL_API)) throw OffscreenError(eglErrorText("eglBindAPI(EGL_OPENGL_API)"));

        const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
        surface_ = eglCreatePbufferSurface(display, config, surfaceAttributes);
        if (surface_ == EGL_NO_SURFACE)
            throw OffscreenError(eglErrorText(("eglCreatePbufferSurface of " + std::to_string(width) +
                                               "x" + std::to_string(height)).c_str()));
        // A compatibility context: the renderer uses the fixed pipeline, as
        // the window does.
        context_ = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
        if (context_ == EGL_NO_CONTEXT) throw OffscreenError(eglErrorText("eglCreateContext"));
        if (!eglMakeCurrent(display, surface_, surface_, context_))
            throw OffscreenError(eglErrorText("eglMakeCurrent"));
    } catch (...) {
        release();
        throw;
    }
}

OffscreenContext::~OffscreenContext() { release(); }

void OffscreenContext::release() {
    if (display_ == nullptr) return;
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_ != nullptr) eglDestroyContext(display_, context_);
    if (surface_ != nullptr) eglDestroySurface(display_, surface_);
    eglTerminate(display_);
    eglReleaseThread();
    display_ = context_ = surface_ = nullptr;
}
