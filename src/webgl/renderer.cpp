#include "webgl/renderer.h"

#include <GLES3/gl3.h>

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "webgl/frame_mesh.h"

namespace pd {

namespace {

// Window pixels (y down) to the viewport; depth as given.
constexpr const char* vertexShader = R"(#version 300 es
uniform vec2 size;
uniform float pointSize;
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 colour;
layout(location = 2) in float dash;
out vec4 vColour;
out float vDash;
void main() {
    gl_Position = vec4(2.0 * position.x / size.x - 1.0, 1.0 - 2.0 * position.y / size.y, position.z, 1.0);
    vColour = colour;
    vDash = dash;
    gl_PointSize = pointSize;
}
)";

// A dashed line's pixel is left out where the pattern is off (see dashOn).
constexpr const char* fragmentShader = R"(#version 300 es
precision highp float;
in vec4 vColour;
in float vDash;
out vec4 colour;
void main() {
    if (vDash >= 0.0 && mod(floor(vDash), 8.0) >= 4.0) discard;
    colour = vColour;
}
)";

Result<GLuint> compile(GLenum kind, const char* source, const char* name) {
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE) return shader;
    char log[512] = "";
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    glDeleteShader(shader);
    return failure(std::string("WebGL could not compile the ") + name + " shader: " + log);
}

Status glErrors(const char* what) {
    const GLenum first = glGetError();
    if (first == GL_NO_ERROR) return Done{};
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {}
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", unsigned(first));
    return failure(std::string("WebGL could not ") + what + " (GL error " + code + ")");
}

// Draws `count` vertices from `first` of the uploaded array.
void drawArrays(GLenum mode, std::size_t first, std::size_t count) {
    if (count > 0) glDrawArrays(mode, GLint(first), GLsizei(count));
}

void triangles(std::size_t first, std::size_t count) { drawArrays(GL_TRIANGLES, first, count); }

// Everything in one array, drawn in ranges: faces, each shell's lines,
// dashes and marks, then the overlay.
std::vector<MeshVertex> oneArray(const FrameMesh& mesh) {
    std::vector<MeshVertex> all(mesh.faces);
    all.insert(all.end(), mesh.lit.begin(), mesh.lit.end());
    for (const ShellMesh& s : mesh.shells)
        for (const std::vector<MeshVertex>* part : {&s.lines, &s.dashed, &s.marks})
            all.insert(all.end(), part->begin(), part->end());
    all.insert(all.end(), mesh.overlay.begin(), mesh.overlay.end());
    return all;
}

// Binds `framebuffer` over width x height and clears it to the frame's
// background, every state the drawing relies on set to its start.
void clearTarget(const Frame& frame, GLuint framebuffer, int width, int height) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width, height);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(frame.background.red, frame.background.green, frame.background.blue,
                 frame.transparent ? 0.0f : 1.0f);
    glClearDepthf(1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// The faces (the array's first `count` vertices), pushed back a little so
// the edges on them stay in front; translucent ones blended without depth,
// farthest first, and then put into the depth buffer alone when what is
// behind is decided by it.
void drawFaces(const Frame& frame, std::size_t count) {
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.5f, 4.0f);
    if (frame.faceStyle == FaceStyle::Shaded) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        triangles(0, count);
    } else {
        if (frame.faceStyle == FaceStyle::Translucent) {
            glEnable(GL_BLEND);
            glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
            triangles(0, count);
            glDisable(GL_BLEND);
        }
        if (frame.depthTested) {
            glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
            glEnable(GL_DEPTH_TEST);
            glDepthFunc(GL_LESS);
            triangles(0, count);
            glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        }
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
}

// One shell's lines, dashes and marks from `at` in the array; gives where
// the next part starts.
std::size_t drawShell(const Frame& frame, const ShellMesh& s, GLenum lineMode, GLenum markMode, std::size_t at) {
    if (frame.depthTested && !s.onTop) {
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_FALSE);
        glDepthFunc(GL_LEQUAL);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    drawArrays(lineMode, at, s.lines.size());
    at += s.lines.size();
    // With depth, the dashed list repeats the lines: dashed where behind.
    if (frame.depthTested) glDepthFunc(GL_GREATER);
    drawArrays(lineMode, at, s.dashed.size());
    at += s.dashed.size();
    if (frame.marksDepthTested && !s.onTop) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    drawArrays(markMode, at, s.marks.size());
    at += s.marks.size();
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    return at;
}

}  // namespace

Result<WebGlRenderer> WebGlRenderer::create() {
    const Result<GLuint> vs = compile(GL_VERTEX_SHADER, vertexShader, "vertex");
    if (!vs) return vs.error();
    const Result<GLuint> fs = compile(GL_FRAGMENT_SHADER, fragmentShader, "fragment");
    if (!fs) return fs.error();
    WebGlRenderer r;
    r.program_ = glCreateProgram();
    glAttachShader(r.program_, *vs);
    glAttachShader(r.program_, *fs);
    glLinkProgram(r.program_);
    glDeleteShader(*vs);
    glDeleteShader(*fs);
    GLint ok = GL_FALSE;
    glGetProgramiv(r.program_, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) return failure("WebGL could not link the shaders");
    r.sizeUniform_ = glGetUniformLocation(r.program_, "size");
    r.pointSizeUniform_ = glGetUniformLocation(r.program_, "pointSize");
    GLfloat pointSizes[2] = {1.0f, 1.0f};
    glGetFloatv(GL_ALIASED_POINT_SIZE_RANGE, pointSizes);
    r.largestPoint_ = pointSizes[1];
    glGenBuffers(1, &r.buffer_);
    glGenVertexArrays(1, &r.vertexArray_);
    glBindVertexArray(r.vertexArray_);
    glBindBuffer(GL_ARRAY_BUFFER, r.buffer_);
    const GLsizei stride = sizeof(MeshVertex);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(MeshVertex, x)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(MeshVertex, red)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 1, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(MeshVertex, dash)));
    glBindVertexArray(0);
    const Status made = glErrors("set up the renderer");
    if (!made) return made.error();
    return r;
}

WebGlRenderer::WebGlRenderer(WebGlRenderer&& other) noexcept
    : program_(other.program_), buffer_(other.buffer_), vertexArray_(other.vertexArray_),
      sizeUniform_(other.sizeUniform_), pointSizeUniform_(other.pointSizeUniform_),
      largestPoint_(other.largestPoint_), smoothFramebuffer_(other.smoothFramebuffer_),
      smoothColour_(other.smoothColour_), smoothDepth_(other.smoothDepth_), smoothWidth_(other.smoothWidth_),
      smoothHeight_(other.smoothHeight_) {
    other.program_ = other.buffer_ = other.vertexArray_ = 0;
    other.smoothFramebuffer_ = other.smoothColour_ = other.smoothDepth_ = 0;
}

// The multisampled framebuffer for width x height, made or remade; false
// when the browser has none to give (the frame is then drawn aliased).
bool WebGlRenderer::smoothTarget(int width, int height) {
    if (smoothFramebuffer_ && width == smoothWidth_ && height == smoothHeight_) return true;
    if (smoothFramebuffer_) glDeleteFramebuffers(1, &smoothFramebuffer_);
    if (smoothColour_) glDeleteRenderbuffers(1, &smoothColour_);
    if (smoothDepth_) glDeleteRenderbuffers(1, &smoothDepth_);
    smoothFramebuffer_ = smoothColour_ = smoothDepth_ = 0;
    GLint most = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &most);
    if (most < 2) return false;
    const GLsizei samples = most < 4 ? most : 4;
    glGenRenderbuffers(1, &smoothColour_);
    glBindRenderbuffer(GL_RENDERBUFFER, smoothColour_);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, width, height);
    glGenRenderbuffers(1, &smoothDepth_);
    glBindRenderbuffer(GL_RENDERBUFFER, smoothDepth_);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH_COMPONENT24, width, height);
    glGenFramebuffers(1, &smoothFramebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, smoothFramebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, smoothColour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, smoothDepth_);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    smoothWidth_ = width;
    smoothHeight_ = height;
    return complete;
}

WebGlRenderer::~WebGlRenderer() {
    if (smoothFramebuffer_) glDeleteFramebuffers(1, &smoothFramebuffer_);
    if (smoothColour_) glDeleteRenderbuffers(1, &smoothColour_);
    if (smoothDepth_) glDeleteRenderbuffers(1, &smoothDepth_);
    if (vertexArray_) glDeleteVertexArrays(1, &vertexArray_);
    if (buffer_) glDeleteBuffers(1, &buffer_);
    if (program_) glDeleteProgram(program_);
}

Status WebGlRenderer::draw(const Frame& frame, double pixelRatio) {
    const double ratio = pixelRatio > 0.0 ? pixelRatio : 1.0;
    // Lines one device pixel wide as WebGL's own lines, marks as points:
    // the pixels GL covers, at a third of the vertices.
    const bool thin = frame.lineWidth * ratio <= 1.0 && frame.markSize * ratio <= largestPoint_;
    const FrameMesh mesh = buildFrameMesh(frame, thin ? MeshShape::LinesAndPoints : MeshShape::Quads);
    const GLenum lineMode = thin ? GL_LINES : GL_TRIANGLES, markMode = thin ? GL_POINTS : GL_TRIANGLES;
    const std::vector<MeshVertex> all = oneArray(mesh);

    const Projection& p = frame.projection;
    // The mesh is in the frame's pixels; the shader maps them onto the
    // viewport, which has pixelRatio times as many.
    const int width = int(std::lround(p.viewportWidth * ratio)), height = int(std::lround(p.viewportHeight * ratio));
    const bool smooth = frame.smooth && width > 0 && height > 0 && smoothTarget(width, height);
    clearTarget(frame, smooth ? smoothFramebuffer_ : 0, width, height);

    glUseProgram(program_);
    glUniform2f(sizeUniform_, float(p.viewportWidth), float(p.viewportHeight));
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(all.size() * sizeof(MeshVertex)), all.data(), GL_STREAM_DRAW);

    drawFaces(frame, mesh.faces.size());
    std::size_t at = mesh.faces.size();
    // Lit faces over the faces, hiding nothing.
    glDisable(GL_DEPTH_TEST);
    triangles(at, mesh.lit.size());
    at += mesh.lit.size();
    for (const ShellMesh& s : mesh.shells) {
        glUniform1f(pointSizeUniform_, float(s.markSize * ratio));
        at = drawShell(frame, s, lineMode, markMode, at);
    }
    triangles(at, mesh.overlay.size());
    glBindVertexArray(0);
    if (smooth) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, smoothFramebuffer_);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    return glErrors("draw the picture");
}

}  // namespace pd
