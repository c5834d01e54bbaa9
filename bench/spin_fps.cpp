// spin-fps: frames per second of the explorer's spin, headless, beside the
// ceiling of the GL renderer underneath.
//
//   spin-fps [--seconds S] [--rounds R] FILE.off...
//
// For each model, in an offscreen 1024x700 context, in the state an OFF
// model opens in (solid and reciprocal dual, every edge drawn):
//   explorer  what one spin step of the window costs: the frame built for
//             the next angle (buildFrame) and drawn (renderFrame), to the
//             end of rasterisation (glFinish stands for the window's swap);
//   ceiling   the same lines and marks from GL buffers uploaded once, the
//             turn left to GL's matrices: no work but the renderer's own.
// Both turn 3 degrees about y per frame, over the same angles. Each round
// runs each loop for S seconds (default 1, at least 3 frames); R rounds
// (default 5) alternate the two, so a busy machine slows both alike, and the
// medians are printed, one line per model: faces, the
// milliseconds the explorer took to read the file and to build the model
// (edges, duals, normals) before its first frame, the explorer's and the
// ceiling's frames per second and their ratio, the explorer's milliseconds
// per frame spent building and drawing, and the CPU milliseconds per frame
// of each loop (all threads, the renderer's included: on a busy machine the
// steadier figure). Exit status 2 for bad
// arguments, a model that cannot be read or no offscreen context.

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "view/frame_builder.h"
#include "gl/offscreen.h"
#include "gl/renderer.h"
#include "polyhedra/model.h"
#include "io/off_reader.h"

namespace pd {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// CPU milliseconds used so far by the whole process, every thread.
double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return 1000.0 * double(t.tv_sec) + double(t.tv_nsec) / 1e6;
}

constexpr float degreesPerFrame = 3.0f;

struct Rate {
    double fps = 0.0;
    double buildMs = 0.0;  // explorer only: per frame
    double drawMs = 0.0;
    double cpuMs = 0.0;  // per frame
};

// The explorer's spin: build and draw a frame per step.
Rate explorerLoop(const Model& model, ViewState state, double seconds) {
    int frames = 0;
    double build = 0.0, draw = 0.0;
    const double cpu0 = processCpuMs();
    const auto t0 = Clock::now();
    while (secondsSince(t0) < seconds || frames < 3) {
        state.angleY += degreesPerFrame;
        const auto t1 = Clock::now();
        const Frame frame = buildFrame(model, state);
        const auto t2 = Clock::now();
        renderFrame(frame);
        glFinish();
        build += std::chrono::duration<double>(t2 - t1).count();
        draw += secondsSince(t2);
        ++frames;
    }
    return {frames / secondsSince(t0), 1000.0 * build / frames, 1000.0 * draw / frames,
            (processCpuMs() - cpu0) / frames};
}

// One shell in GL buffers: its unturned vertices, its edges as index pairs,
// then its marks, drawn in its colour.
struct BufferedShell {
    GLuint vertices = 0;
    GLuint indices = 0;
    GLsizei lineIndices = 0;
    GLsizei markIndices = 0;
    Rgb colour;
};

BufferedShell upload(const Polyhedron& shape, const FrameShell& shell) {
    BufferedShell b;
    b.colour = shell.colour;
    std::vector<GLuint> indices(shell.lines.begin(), shell.lines.end());
    indices.insert(indices.end(), shell.marks.begin(), shell.marks.end());
    b.lineIndices = GLsizei(shell.lines.size());
    b.markIndices = GLsizei(shell.marks.size());
    glGenBuffers(1, &b.vertices);
    glBindBuffer(GL_ARRAY_BUFFER, b.vertices);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(shape.vertices.size() * sizeof(Vec3)),
                 shape.vertices.data(), GL_STATIC_DRAW);
    glGenBuffers(1, &b.indices);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, b.indices);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(GLuint)),
                 indices.data(), GL_STATIC_DRAW);
    return b;
}

// The ceiling: the first frame's camera and projection kept, the shells
// drawn from buffers, turned by GL and flattened onto z = 0 as the explorer
// flattens them.
Rate ceilingLoop(const std::vector<BufferedShell>& shells, const Frame& first, ViewState state,
                 double seconds) {
    const Projection& p = first.projection;
    glViewport(0, 0, p.viewportWidth, p.viewportHeight);
    glDisable(GL_DEPTH_TEST);
    glClearColor(first.background.red, first.background.green, first.background.blue, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(p.fovY, p.aspect, p.zNear, p.zFar);
    glLineWidth(1.0f);
    glPointSize(float(endMarkSize));
    glEnableClientState(GL_VERTEX_ARRAY);
    int frames = 0;
    const double cpu0 = processCpuMs();
    const auto t0 = Clock::now();
    while (secondsSince(t0) < seconds || frames < 3) {
        state.angleY += degreesPerFrame;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(-first.camera.cx, -first.camera.cy, -first.camera.distance);
        glScalef(1.0f, 1.0f, 0.0f);
        glRotatef(state.angleY, 0.0f, 1.0f, 0.0f);
        glRotatef(state.angleX, 1.0f, 0.0f, 0.0f);
        for (const BufferedShell& s : shells) {
            glColor3f(s.colour.red, s.colour.green, s.colour.blue);
            glBindBuffer(GL_ARRAY_BUFFER, s.vertices);
            glVertexPointer(3, GL_FLOAT, sizeof(Vec3), nullptr);
            glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, s.indices);
            glDrawElements(GL_LINES, s.lineIndices, GL_UNSIGNED_INT, nullptr);
            glDrawElements(GL_POINTS, s.markIndices, GL_UNSIGNED_INT,
                           reinterpret_cast<const void*>(std::size_t(s.lineIndices) * sizeof(GLuint)));
        }
        glFinish();
        ++frames;
    }
    const Rate rate{frames / secondsSince(t0), 0.0, 0.0, (processCpuMs() - cpu0) / frames};
    glDisableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    return rate;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Measures one model; false (with a message) when its shells cannot be
// matched to the frame's. `readMs` and `modelMs` are printed with it.
bool measure(const Model& model, double readMs, double modelMs, double seconds, int rounds) {
    const ViewState start = initialViewState(true);
    const Frame first = buildFrame(model, start);
    std::vector<const Polyhedron*> shapes{&model.solid};
    if (model.closed) shapes.push_back(model.hasReciprocal ? &model.reciprocalDual : &model.programDual);
    if (shapes.size() != first.shells.size()) {
        std::fprintf(stderr, "spin-fps: %s: the frame shows %zu shells, expected %zu\n",
                     model.name.c_str(), first.shells.size(), shapes.size());
        return false;
    }
    std::vector<BufferedShell> shells;
    for (std::size_t i = 0; i < shapes.size(); ++i) shells.push_back(upload(*shapes[i], first.shells[i]));

    // One unmeasured frame of each, so the driver has built its code.
    explorerLoop(model, start, 0.0);
    ceilingLoop(shells, first, start, 0.0);
    std::vector<double> explorer, ceiling, build, draw, explorerCpu, ceilingCpu;
    for (int r = 0; r < rounds; ++r) {
        const Rate e = explorerLoop(model, start, seconds);
        explorer.push_back(e.fps);
        build.push_back(e.buildMs);
        draw.push_back(e.drawMs);
        explorerCpu.push_back(e.cpuMs);
        const Rate c = ceilingLoop(shells, first, start, seconds);
        ceiling.push_back(c.fps);
        ceilingCpu.push_back(c.cpuMs);
    }
    for (BufferedShell& s : shells) {
        glDeleteBuffers(1, &s.vertices);
        glDeleteBuffers(1, &s.indices);
    }
    const double e = median(explorer), c = median(ceiling);
    std::printf("%9d %8.1f %8.1f %8.1f %8.1f %5.2f %8.2f %8.2f %8.2f %8.2f\n",
                model.solid.faceCount(), readMs, modelMs, e, c, e / c, median(build), median(draw),
                median(explorerCpu), median(ceilingCpu));
    std::fflush(stdout);
    return true;
}

}  // namespace

}  // namespace pd

using namespace pd;

int main(int argc, char** argv) {
    double seconds = 1.0;
    int rounds = 5;
    int i = 1;
    for (; i + 1 < argc && argv[i][0] == '-'; i += 2) {
        if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atof(argv[i + 1]);
        else if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::atoi(argv[i + 1]);
        else break;
    }
    if (i >= argc || argv[i][0] == '-' || seconds <= 0.0 || rounds < 1) {
        std::fprintf(stderr, "usage: spin-fps [--seconds S] [--rounds R] FILE.off...\n");
        return 2;
    }
    // Made current on this thread, where every frame is drawn.
    const Result<std::unique_ptr<OffscreenContext>> context = OffscreenContext::create(startWidth, startHeight);
    if (!context) {
        std::fprintf(stderr, "spin-fps: %s\n", context.error().text().c_str());
        return 2;
    }
    std::printf("%9s %8s %8s %8s %8s %5s %8s %8s %8s %8s\n", "faces", "read ms", "model ms",
                "exp fps", "ceil fps", "ratio", "build ms", "draw ms", "exp cpu", "ceil cpu");
    for (; i < argc; ++i) {
        // What loadOffModel does, in its two steps, each timed.
        const auto t0 = Clock::now();
        Result<Polyhedron> solid = loadOffFile(argv[i]);
        if (!solid) {
            std::fprintf(stderr, "spin-fps: %s\n", solid.error().text().c_str());
            return 2;
        }
        const auto t1 = Clock::now();
        const Model model = buildModel(argv[i], std::move(*solid), 0, 0);
        const auto t2 = Clock::now();
        const double readMs = std::chrono::duration<double, std::milli>(t1 - t0).count();
        const double modelMs = std::chrono::duration<double, std::milli>(t2 - t1).count();
        if (!measure(model, readMs, modelMs, seconds, rounds)) return 2;
    }
    return 0;
}
