// morph-bench: how long the morph's stages take to build, and whether the
// explorer's animated morph keeps the renderer's frame rate.
//
//   morph-bench [--reps R] [--seconds S] K...
//
// For each geodesic sphere of frequency K (default 22 and 71: 9 680 and
// 100 820 faces; mesh/geodesic_sphere.h), printed as medians of R runs
// (default 5), wall and CPU milliseconds:
//   family   morphFamily: the centre, the ends of the family and the
//            convexity check (qhull's hull of the vertices), once per model;
//   stage    morphAt at t = 0.1, 0.25, 0.5, 0.75 and 1: each face from its
//            neighbourhood, checked whole (the explorer's way);
//   qhull    the same stage from all planes at once (intersectHalfSpaces),
//            which the explorer falls back on;
//   model    buildModel of the stage: its edges, normals and duals, what a
//            picture of it needs besides.
// Then, in an offscreen 1024x700 context, frames per second of four loops
// of S seconds each (default 1), alternated over R rounds: "spin", the
// window's spin of the sphere with its reciprocal dual (today's picture);
// "spin at t 1/2", the morph's picture at t = 1/2 (the stage and its dual
// besides the faint solid and dual); the animated morph's own frames with
// their stages built beforehand (the renderer's rate for exactly those
// pictures); and "morph", the animated morph, a new stage every frame, as
// the window runs it: the stage for the next frame built on a second thread
// while this one is drawn (then the frame, the drawing, glFinish), with the
// milliseconds per frame spent waiting for stages. Then two loops more
// for the unfold: its 49 frames (u = 0.02 .. 0.98) as the session builds
// them while the nets fold out, the nets made before the clock starts (as
// the window makes them before the fold begins), against the same frames
// built beforehand and only drawn. Exit status 2 for bad arguments or no
// context.

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "explorer/frame_builder.h"
#include "gl/offscreen.h"
#include "gl/renderer.h"
#include "explorer/morph_store.h"
#include "explorer/session.h"
#include "mesh/geodesic_sphere.h"
#include "mesh/morph.h"

namespace pd {

namespace {

using Clock = std::chrono::steady_clock;

double wallMs(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return 1000.0 * double(t.tv_sec) + double(t.tv_nsec) / 1e6;
}

// The animated morph's stages: t = 0.01, 0.01 + step / 100, ... up to 0.99.
constexpr int stageStep = 2;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Median wall and CPU milliseconds of `reps` runs of `work`.
template <class Work>
void timeIt(const char* label, int reps, Work work) {
    std::vector<double> wall, cpu;
    for (int r = 0; r < reps; ++r) {
        const double c0 = cpuMs();
        const auto t0 = Clock::now();
        work();
        wall.push_back(wallMs(t0));
        cpu.push_back(cpuMs() - c0);
    }
    std::printf("  %-22s %9.1f ms wall %9.1f ms CPU\n", label, median(wall), median(cpu));
}

// Frames per second of `frame` (which builds and returns the next frame)
// drawn for `seconds`.
template <class Next>
double framesPerSecond(double seconds, Next next) {
    int frames = 0;
    const auto t0 = Clock::now();
    while (wallMs(t0) < 1000.0 * seconds || frames < 3) {
        renderFrame(next());
        glFinish();
        ++frames;
    }
    return frames / (wallMs(t0) / 1000.0);
}

}  // namespace

}  // namespace pd

using namespace pd;

int main(int argc, char** argv) {
    int reps = 5;
    double seconds = 1.0;
    std::vector<int> frequencies;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--reps") == 0 && i + 1 < argc) reps = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) seconds = std::atof(argv[++i]);
        else if (std::atoi(argv[i]) >= 1) frequencies.push_back(std::atoi(argv[i]));
        else {
            std::fprintf(stderr, "usage: morph-bench [--reps R] [--seconds S] K...\n");
            return 2;
        }
    }
    if (reps < 1 || !(seconds > 0)) return 2;
    if (frequencies.empty()) frequencies = {22, 71};
    const Result<std::unique_ptr<OffscreenContext>> context = OffscreenContext::create(startWidth, startHeight);
    if (!context) {
        std::fprintf(stderr, "morph-bench: %s\n", context.error().text().c_str());
        return 2;
    }
    {
        for (int k : frequencies) {
            const std::vector<Model> models{buildModel("sphere", geodesicSphere(k), 0, 0)};
            const Model& model = models.front();
            std::printf("geodesic sphere, frequency %d: %d faces, %d vertices\n", k, model.solid.faceCount(),
                        model.solid.vertexCount());
            timeIt("family", reps, [&] { morphFamily(model); });
            const MorphFamily family = *morphFamily(model);
            for (double t : {0.1, 0.25, 0.5, 0.75, 1.0}) {
                char label[64];
                Polyhedron stage;
                std::snprintf(label, sizeof label, "stage t %g", t);
                timeIt(label, reps, [&] { stage = *morphAt(family, t); });
                std::snprintf(label, sizeof label, "  qhull t %g", t);
                timeIt(label, reps, [&] {
                    intersectHalfSpaces(morphHalfSpaces(family, t), family.centre, family.size, morphTolerance);
                });
                std::snprintf(label, sizeof label, "  model t %g (%d faces)", t, stage.faceCount());
                timeIt(label, reps, [&] { buildModel("stage", stage, 0, 0); });
            }

            MorphStore store(models);
            ViewState state;
            state.dual = DualKind::Reciprocal;
            // The morph's own pictures, their stages built beforehand: the
            // renderer's rate for exactly the frames the animation draws.
            std::vector<Model> built;
            for (int k = 1; k <= 99; k += stageStep) {
                const Result<const Model*> stage = store.stage(0, k / 100.0);
                if (!stage) {
                    std::fprintf(stderr, "morph-bench: %s\n", stage.error().text().c_str());
                    return 2;
                }
                built.push_back(**stage);
            }
            std::vector<double> spin, still, replay, morph, building;
            std::size_t next = 0;
            int step = 0;
            for (int r = 0; r < reps; ++r) {
                spin.push_back(framesPerSecond(seconds, [&] {
                    state.angleY += 3.0f;
                    return buildFrame(model, state);
                }));
                still.push_back(framesPerSecond(seconds, [&] {
                    ViewState s = state;
                    s.angleY += 3.0f;
                    s.morph = 0.5;
                    return buildFrame(model, s, {}, FrameTarget::Raster, *store.stage(0, 0.5));
                }));
                replay.push_back(framesPerSecond(seconds, [&] {
                    ViewState s = state;
                    next = (next + 1) % built.size();
                    s.morph = (1 + int(next) * stageStep) / 100.0;
                    return buildFrame(model, s, {}, FrameTarget::Raster, &built[next]);
                }));
                double stageMs = 0.0;
                int frames = 0;
                morph.push_back(framesPerSecond(seconds, [&] {
                    // As the window's morph: a new stage every frame, the
                    // next one built on a second thread while this one is
                    // drawn.
                    ViewState s = state;
                    step = (step + 1) % int(built.size());
                    s.morph = (1 + step * stageStep) / 100.0;
                    const auto t0 = Clock::now();
                    const Model* stage = *store.stage(0, s.morph);
                    store.prefetch(0, (1 + (step + 1) % int(built.size()) * stageStep) / 100.0);
                    stageMs += wallMs(t0);
                    ++frames;
                    return buildFrame(model, s, {}, FrameTarget::Raster, stage);
                }));
                building.push_back(stageMs / frames);
            }
            // The unfold: the session's frames as the fold moves on,
            // against the same frames built beforehand.
            LoadedModels loaded;
            loaded.models = models;
            Session session(std::move(loaded), state);
            constexpr int unfoldFrames = 51;
            std::vector<Frame> unfolded;
            for (int i = 1; i + 1 < unfoldFrames; ++i) {
                session.showFrame(Animation::Unfold, i, unfoldFrames);
                unfolded.push_back(session.frame(FrameTarget::Raster, false));
            }
            std::vector<double> unfoldReplay, unfold;
            std::size_t shown = 0;
            for (int r = 0; r < reps; ++r) {
                unfoldReplay.push_back(framesPerSecond(seconds, [&]() -> const Frame& {
                    shown = (shown + 1) % unfolded.size();
                    return unfolded[shown];
                }));
                unfold.push_back(framesPerSecond(seconds, [&] {
                    shown = (shown + 1) % unfolded.size();
                    session.showFrame(Animation::Unfold, 1 + int(shown), unfoldFrames);
                    return session.frame(FrameTarget::Raster, false);
                }));
            }
            std::printf("  frames per second: spin %.1f, spin at t 1/2 %.1f, the morph's frames from stages built"
                        " beforehand %.1f, morph %.1f (%.2f of those frames built beforehand, %.2f of the spin at t"
                        " 1/2; %.1f ms a frame waiting for the stage)\n",
                        median(spin), median(still), median(replay), median(morph), median(morph) / median(replay),
                        median(morph) / median(still), median(building));
            std::printf("  frames per second of the unfold: built beforehand %.1f, as the session builds them %.1f"
                        " (%.2f)\n",
                        median(unfoldReplay), median(unfold), median(unfold) / median(unfoldReplay));
        }
    }
    return 0;
}
