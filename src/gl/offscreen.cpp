#include "gl/offscreen.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <cstring>

namespace pd {

namespace {

std::string eglErrorText(const char* step) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(eglGetError()));
    return std::string("offscreen OpenGL: ") + step + " failed (EGL error " + code + ")";
}

// The surfaceless platform needs no device and no display server; it is
// reached through eglGetPlatformDisplayEXT, which only exists as an
// extension entry point.
Result<EGLDisplay> surfacelessDisplay() {
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (clientExtensions == nullptr ||
        std::strstr(clientExtensions, "EGL_MESA_platform_surfaceless") == nullptr)
        return failure("offscreen OpenGL: EGL offers no surfaceless platform (EGL_MESA_platform_surfaceless)");
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) return failure("offscreen OpenGL: eglGetPlatformDisplayEXT is missing");
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) return failure(eglErrorText("eglGetPlatformDisplayEXT"));
    return display;
}

}  // namespace

Result<std::unique_ptr<OffscreenContext>> OffscreenContext::create(int width, int height) {
    if (width < 1 || height < 1)
        return failure("offscreen OpenGL: a picture of " + std::to_string(width) + "x" + std::to_string(height) +
                       " pixels has no pixels");
    const Result<EGLDisplay> display = surfacelessDisplay();
    if (!display) return display.error();
    EGLint major = 0, minor = 0;
    if (!eglInitialize(*display, &major, &minor)) return failure(eglErrorText("eglInitialize"));
    // From here on a failure releases what was made, as the context goes.
    std::unique_ptr<OffscreenContext> made(new OffscreenContext(width, height));
    made->display_ = *display;
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
    if (!eglChooseConfig(*display, configAttributes, &config, 1, &found) || found < 1)
        return failure(eglErrorText("eglChooseConfig (8-bit RGB pbuffer for desktop OpenGL)"));
    if (!eglBindAPI(EGL_OPENGL_API)) return failure(eglErrorText("eglBindAPI(EGL_OPENGL_API)"));

    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    made->surface_ = eglCreatePbufferSurface(*display, config, surfaceAttributes);
    if (made->surface_ == EGL_NO_SURFACE)
        return failure(eglErrorText(("eglCreatePbufferSurface of " + std::to_string(width) + "x" +
                                     std::to_string(height)).c_str()));
    // A compatibility context: the renderer uses the fixed pipeline, as
    // the window does.
    made->context_ = eglCreateContext(*display, config, EGL_NO_CONTEXT, nullptr);
    if (made->context_ == EGL_NO_CONTEXT) return failure(eglErrorText("eglCreateContext"));
    if (!eglMakeCurrent(*display, made->surface_, made->surface_, made->context_))
        return failure(eglErrorText("eglMakeCurrent"));
    return made;
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

}  // namespace pd
