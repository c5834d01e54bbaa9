// morph-bench: how long the morph's stages take to build, and whether the
// explorer's animated morph keeps the renderer's frame rate.
//
//   morph-bench [--reps R] [--seconds S] K...
//
// For each geodesic sphere of frequency K (default 22 and 71: 9 680 and
// 100 820 faces; construct/geodesic_sphere.h), printed as medians of R runs
// (default 5), wall and CPU milliseconds:
//   family   morphFamily: the centre, the ends of the family and the
//            convexity check (the convex hull of the vertices), once per model;
//   stage    morphAt at t = 0.1, 0.25, 0.5, 0.75 and 1: each face from its
//            neighbourhood, checked whole (the explorer's way);
//   whole    the same stage from all planes at once (intersectHalfSpaces),
//            which the explorer falls back on;
//   model    buildModel of the stage: its edges, normals and duals, what a
//            picture of it needs besides.
// Then, in an offscreen 1024x700 context, alternated over R rounds: frames
// per second of the window's spin of the sphere with its reciprocal dual
// and of the morph's picture at t = 1/2 (S seconds each, default 1); then
// the two animations, each one whole cycle a round: the morph (its 8 s
// cycle in 100 steps of 0.08 s) and the fold (2 s each way, 100 steps of
// 0.04 s, open and shut). Each is run as the window runs it, by a session
// working in the background that builds the next step's picture on a
// second thread while this one is drawn, and compared with the same 100
// pictures recorded once and only drawn: the renderer's own rate for
// exactly those pictures. With each, how many cores the process kept busy
// drawing the recorded pictures and animating, the CPU time a frame's
// drawing leaves of the machine, and the CPU time a step's own work takes
// (a session building each step's picture when asked, nothing drawn).
// Last, the fold's recorded pictures drawn beside a helper that only keeps
// a core busy for 0 to 10 ms of CPU a step: what a step may cost.
// Exit status 2 for bad arguments or no context.

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "base/background.h"
#include "explorer/actions.h"
#include "view/frame_builder.h"
#include "gl/offscreen.h"
#include "gl/renderer.h"
#include "explorer/morph_store.h"
#include "explorer/session.h"
#include "construct/geodesic_sphere.h"
#include "morph/morph.h"

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

// Frames a second, and how many of the machine's cores the process kept
// busy meanwhile (its CPU time over the wall time).
struct Rate {
    double perSecond = 0.0;
    double cores = 0.0;
};

// The median of one field of some rates.
double median(const std::vector<Rate>& rates, double Rate::*field) {
    std::vector<double> v;
    for (const Rate& r : rates) v.push_back(r.*field);
    return median(v);
}

// The rate of `next` (which builds and returns the next frame) drawn for
// `seconds`; with `count` > 0, for exactly that many frames instead: an
// animation's whole cycle, so that the frames built beforehand and the
// animated ones are the same pictures, whatever part of the cycle each loop
// begins at.
template <class Next>
Rate framesPerSecond(double seconds, Next next, int count = 0) {
    int frames = 0;
    const double c0 = cpuMs();
    const auto t0 = Clock::now();
    while (count > 0 ? frames < count : wallMs(t0) < 1000.0 * seconds || frames < 3) {
        renderFrame(next());
        glFinish();
        ++frames;
    }
    const double wall = wallMs(t0);
    return {frames / (wall / 1000.0), (cpuMs() - c0) / wall};
}

// The window's clock for the benchmark: the morph's cycle (8 s) in 100
// steps, the fold (2 s each way) in 50.
constexpr double morphFrameSeconds = 0.08;
constexpr int morphFrames = 100;
constexpr double foldFrameSeconds = 0.04;
constexpr int foldFrames = 100;

// An animation run as the window runs it: a session working in the
// background, `action` pressed at the start, then step after step of
// `frameSeconds`, each step's picture asked for as the window asks. The
// fold is pressed again whenever it is all open or all shut.
class Animated {
public:
    Animated(const std::vector<Model>& models, const ViewState& state, ActionId action, double frameSeconds,
             Session::Work work = Session::Work::InBackground)
        : session_(loadedOf(models), state, work, 0.0), action_(action),
          frameSeconds_(frameSeconds) {
        session_.perform(action, 0.0);
    }
    // The next step's picture.
    Frame next() {
        now_ += frameSeconds_;
        session_.advance(now_);
        Frame frame = session_.screenFrame();
        const ViewState& v = session_.view();
        if (action_ == ActionId::ToggleUnfold && (v.netOpen ? v.unfold >= 1.0 : v.unfold <= 0.0))
            session_.perform(action_, now_);
        return frame;
    }
    // Steps until the fold has begun (its nets made on the second thread,
    // waited for in real time), then `steps` more.
    void catchUp(int steps) {
        for (int waited = 0; action_ == ActionId::ToggleUnfold && session_.view().unfold <= 0.0 && waited < 20000;
             ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            next();
        }
        for (int i = 0; i < steps; ++i) next();
    }

private:
    static LoadedModels loadedOf(const std::vector<Model>& models) {
        LoadedModels loaded;
        loaded.models = models;
        return loaded;
    }
    Session session_;
    ActionId action_;
    double frameSeconds_;
    double now_ = 0.0;
};

// The frames of `count` steps of an animation, recorded.
struct Recorded {
    std::vector<Frame> frames;
    int steps = 0;
};

// CPU milliseconds a step of an animation takes on its own: a session
// that builds each step's picture when asked, no drawing, `count` steps.
double stepCpuMs(const std::vector<Model>& models, const ViewState& state, ActionId action, double frameSeconds,
                 int count) {
    Animated alone(models, state, action, frameSeconds, Session::Work::Waited);
    alone.catchUp(1);
    const double c0 = cpuMs();
    for (int i = 0; i < count; ++i) alone.next();
    return (cpuMs() - c0) / count;
}

// Thread CPU milliseconds since some fixed point.
double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return 1000.0 * double(t.tv_sec) + double(t.tv_nsec) / 1e6;
}

// Frames per second of `frames` drawn as the window draws an animation's,
// beside a helper started as its helper is (a thread of its own each step,
// giving way as it does) that does nothing but keep a core busy for
// `helperMs` of CPU time, waited for before the next step: what a step's
// work of that much CPU costs the drawing, whatever the work is. With
// `helperMs` below zero, no helper at all.
double beside(const std::vector<Frame>& frames, double helperMs) {
    std::future<void> helper;
    std::size_t shown = 0;
    const Rate rate = framesPerSecond(0.0, [&]() -> const Frame& {
        if (helper.valid()) helper.get();
        if (helperMs >= 0.0) helper = startInBackground([helperMs] {
            lowerThreadPriority(ThreadPriority::Lowest);
            const double start = threadCpuMs();
            volatile double sink = 0;
            while (threadCpuMs() - start < helperMs)
                for (int i = 0; i < 1000; ++i) sink = sink + 1.0;
        });
        return frames[shown++];
    }, int(frames.size()));
    if (helper.valid()) helper.get();
    return rate.perSecond;
}

Recorded record(const std::vector<Model>& models, const ViewState& state, ActionId action, double frameSeconds,
                int count) {
    Animated animated(models, state, action, frameSeconds);
    Recorded recorded;
    animated.catchUp(0);
    for (int i = 0; i < count; ++i) recorded.frames.push_back(animated.next());
    recorded.steps = count;
    return recorded;
}

// The morph's family and its stages at a few t, each timed `reps` times:
// the stage, its half-space intersection alone, and the model made of it.
void timeStages(const Model& model, int reps) {
    timeIt("family", reps, [&] { morphFamily(model); });
    const MorphFamily family = *morphFamily(model);
    for (double t : {0.1, 0.25, 0.5, 0.75, 1.0}) {
        char label[64];
        Polyhedron stage;
        std::snprintf(label, sizeof label, "stage t %g", t);
        timeIt(label, reps, [&] { stage = *morphAt(family, t); });
        std::snprintf(label, sizeof label, "  whole t %g", t);
        timeIt(label, reps, [&] {
            intersectHalfSpaces(morphHalfSpaces(family, t), family.centre, family.size, morphTolerance);
        });
        std::snprintf(label, sizeof label, "  model t %g (%d faces)", t, stage.faceCount());
        timeIt(label, reps, [&] { buildModel("stage", stage, 0, 0); });
    }
}

// The fold's recorded frames beside a helper of so many milliseconds of
// CPU a step, against the same frames drawn alone (the first), alternated
// over the rounds: what a step may cost.
void reportBeside(const Recorded& folding, int reps) {
    const std::vector<double> costs{-1.0, 0.0, 1.0, 2.5, 5.0, 10.0};
    std::vector<std::vector<double>> besideRates(costs.size());
    for (int r = 0; r < reps; ++r)
        for (std::size_t c = 0; c < costs.size(); ++c)
            besideRates[c].push_back(beside(folding.frames, costs[c]));
    std::printf("  the fold's frames beside a helper of so much CPU a step:");
    for (std::size_t c = 1; c < costs.size(); ++c)
        std::printf(" %.1f ms %.2f%s", costs[c], median(besideRates[c]) / median(besideRates[0]),
                    c + 1 < costs.size() ? "," : "\n");
}

// The frames per second of the spin, and of the morph and the fold as the
// window runs them, each `seconds` long, `reps` times; false when the
// animations gave no frames.
bool timeAnimations(const std::vector<Model>& models, int reps, double seconds) {
    const Model& model = models.front();
    MorphStore store(models);
    ViewState state;
    state.dual = DualKind::Reciprocal;
    // The animations as the window runs them: a session working in
    // the background, moved on by a clock of frameSeconds a frame,
    // each step's frame asked for as the window asks (screenFrame),
    // and the same steps' frames recorded once and only drawn.
    const Recorded morphing = record(models, state, ActionId::ToggleMorph, morphFrameSeconds, morphFrames);
    const Recorded folding = record(models, state, ActionId::ToggleUnfold, foldFrameSeconds, foldFrames);
    if (morphing.frames.empty() || folding.frames.empty()) {
        return false;
    }
    std::vector<double> spin, still;
    std::vector<Rate> morphReplay, morph, foldReplay, fold;
    std::size_t shownMorph = 0, shownFold = 0;
    Animated liveMorph(models, state, ActionId::ToggleMorph, morphFrameSeconds);
    Animated liveFold(models, state, ActionId::ToggleUnfold, foldFrameSeconds);
    liveFold.catchUp(folding.steps);  // its nets made, as the recording's were
    for (int r = 0; r < reps; ++r) {
        spin.push_back(framesPerSecond(seconds, [&] {
            state.angleY += 3.0f;
            return buildFrame(model, state);
        }).perSecond);
        still.push_back(framesPerSecond(seconds, [&] {
            ViewState s = state;
            s.angleY += 3.0f;
            s.morph = 0.5;
            return buildFrame(model, s, {}, FrameTarget::Raster, *store.stage(0, 0.5));
        }).perSecond);
        morphReplay.push_back(framesPerSecond(seconds, [&]() -> const Frame& {
            shownMorph = (shownMorph + 1) % morphing.frames.size();
            return morphing.frames[shownMorph];
        }, morphFrames));
        morph.push_back(framesPerSecond(seconds, [&] { return liveMorph.next(); }, morphFrames));
        foldReplay.push_back(framesPerSecond(seconds, [&]() -> const Frame& {
            shownFold = (shownFold + 1) % folding.frames.size();
            return folding.frames[shownFold];
        }, foldFrames));
        fold.push_back(framesPerSecond(seconds, [&] { return liveFold.next(); }, foldFrames));
    }
    std::printf("  frames per second: spin %.1f, spin at t 1/2 %.1f\n", median(spin), median(still));
    const double cores = double(std::max(1u, std::thread::hardware_concurrency()));
    const auto report = [&](const char* what, const std::vector<Rate>& replay, const std::vector<Rate>& live,
                            std::size_t frames, double stepMs) {
        const auto rate = [](const std::vector<Rate>& v) { return median(v, &Rate::perSecond); };
        const auto busy = [](const std::vector<Rate>& v) { return median(v, &Rate::cores); };
        std::printf("  %s (%zu frames): its frames built beforehand %.1f, animated %.1f (%.2f)\n", what,
                    frames, rate(replay), rate(live), rate(live) / rate(replay));
        // What the drawing leaves of the machine a frame, against
        // what a step costs on its own: the animation can keep the
        // drawing's rate only where the second is well inside the first.
        const double frameMs = 1000.0 / rate(replay);
        std::printf("    cores busy: drawing %.2f, animated %.2f; a frame's drawing leaves %.1f ms of %.0f"
                    " cores, a step's own work takes %.1f ms of CPU\n",
                    busy(replay), busy(live), (cores - busy(replay)) * frameMs, cores, stepMs);
    };
    reportBeside(folding, reps);
    report("the morph, a cycle", morphReplay, morph, morphing.frames.size(),
           stepCpuMs(models, state, ActionId::ToggleMorph, morphFrameSeconds, morphFrames));
    report("the fold, open and shut", foldReplay, fold, folding.frames.size(),
           stepCpuMs(models, state, ActionId::ToggleUnfold, foldFrameSeconds, foldFrames));
    return true;
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
            timeStages(model, reps);
            if (!timeAnimations(models, reps, seconds)) {
                std::fprintf(stderr, "morph-bench: the animations gave no frames\n");
                return 2;
            }
        }
    }
    return 0;
}
