#define GL_GLEXT_PROTOTYPES 1
#include "gl/smooth_target.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

#include "gl/renderer.h"

namespace pd {

SmoothTarget::~SmoothTarget() { release(); }

void SmoothTarget::forget() {
    framebuffer_ = colour_ = depth_ = 0;
    width_ = height_ = 0;
}

void SmoothTarget::release() {
    if (framebuffer_) glDeleteFramebuffers(1, &framebuffer_);
    if (colour_) glDeleteRenderbuffers(1, &colour_);
    if (depth_) glDeleteRenderbuffers(1, &depth_);
    framebuffer_ = colour_ = depth_ = 0;
    width_ = height_ = 0;
}

// The framebuffer made (or kept) for width x height, with a depth buffer
// when `depth` (made the first time a frame needs one: the program's
// picture needs none, and at 1024 x 700 it is 11 MB); false when the
// driver has none to give.
bool SmoothTarget::ready(int width, int height, bool depth) {
    if (unavailable_) return false;
    if (!framebuffer_ || width != width_ || height != height_) {
        release();
        GLint most = 0;
        glGetIntegerv(GL_MAX_SAMPLES, &most);
        if (most < 2) {
            unavailable_ = true;
            return false;
        }
        samples_ = std::min<GLint>(4, most);
        glGenRenderbuffers(1, &colour_);
        glBindRenderbuffer(GL_RENDERBUFFER, colour_);
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples_, GL_RGBA8, width, height);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glGenFramebuffers(1, &framebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        width_ = width;
        height_ = height;
    }
    if (depth && !depth_) {
        glGenRenderbuffers(1, &depth_);
        glBindRenderbuffer(GL_RENDERBUFFER, depth_);
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples_, GL_DEPTH_COMPONENT24, width, height);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    while (glGetError() != GL_NO_ERROR) {}
    if (!complete) {
        release();
        unavailable_ = true;
        return false;
    }
    return true;
}

Status SmoothTarget::draw(const Frame& frame) {
    const int w = frame.projection.viewportWidth, h = frame.projection.viewportHeight;
    const bool depth = frame.depthTested || frame.faceStyle != FaceStyle::Off;
    if (!frame.smooth || w < 1 || h < 1 || drawsLinesOnCpu(frame) || !ready(w, h, depth)) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return renderFrame(frame);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glEnable(GL_MULTISAMPLE);
    const Status drawn = renderFrame(frame);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return drawn;
}

}  // namespace pd
