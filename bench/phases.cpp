// phases: where the explorer's first frame of a big model goes, phase by
// phase, one thread, with the peak memory after each.
//
//   phases [--rounds R] [--aliased] FILE.off...
//
// For each model, in an offscreen 1024x700 context, the medians of R
// rounds (default 5) of each step the window takes before its first frame
// is on the screen, each timed alone in the order the explorer runs them:
//   read        the OFF file into its arrays (io/off_reader.h)
//   topology    the edges and the faces beside them (geometry/edges.h)
//   normals     the solid's outward face normals
//   program     the program's dual vertices (face corner sums)
//   rings       the faces around each vertex, the duals' faces
//   reciprocal  the reciprocal dual's vertices, about the sphere the edges
//               best touch (the default) or the vertices' mean
//   duals       both duals' faces and normals from the rings
//   model       the whole model as the explorer builds it (parts on two
//               threads), for comparison with the sum of the above
//   frame       the picture's lists (frame_builder.h), solid and dual
//   draw 1      the first drawing, into the multisampled buffer and
//               resolved, to glFinish: GL's copies of the arrays, binning
//               and rasterising
//   draw 2      the same frame drawn again
// with the first round's own time (the first drawing of a process also
// compiles the renderer's shaders), and the peak resident memory (VmHWM)
// after the first round's steps.
// --aliased draws as --aliased does: one sample a pixel, no multisampled
// buffer.
// Exit status 2 for bad arguments or a model that cannot be read.

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "view/frame_builder.h"
#include "gl/offscreen.h"
#include "gl/smooth_target.h"
#include "io/off_reader.h"
#include "geometry/face_plane.h"
#include "polyhedra/model.h"
#include "polyhedra/program_dual.h"
#include "polyhedra/reciprocal_dual.h"
#include "geometry/vertex_rings.h"

using namespace pd;

namespace {

using Clock = std::chrono::steady_clock;

// The process's peak resident memory so far, MiB.
double peakMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0.0;
}

struct Phase {
    const char* name;
    std::vector<double> ms;
    double peak = 0.0;
};

}  // namespace

int main(int argc, char** argv) {
    int rounds = 5;
    bool aliased = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            rounds = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--aliased") == 0)
            aliased = true;
        else
            files.push_back(argv[i]);
    }
    if (rounds < 1 || files.empty()) {
        std::fprintf(stderr, "usage: phases [--rounds R] FILE.off...\n");
        return 2;
    }
    Result<std::unique_ptr<OffscreenContext>> context = OffscreenContext::create(1024, 700);
    if (!context) {
        std::fprintf(stderr, "phases: %s\n", context.error().text().c_str());
        return 2;
    }
    SmoothTarget smooth;
    for (const std::string& file : files) {
        std::vector<Phase> phases;
        const char* names[] = {"read", "topology", "normals", "program", "rings", "reciprocal",
                               "duals", "model", "frame", "draw 1", "draw 2"};
        for (const char* n : names) phases.push_back({n, {}, 0.0});
        int faces = 0;
        for (int round = 0; round < rounds; ++round) {
            std::size_t at = 0;
            Clock::time_point t0 = Clock::now();
            auto lap = [&] {
                const Clock::time_point t = Clock::now();
                phases[at].ms.push_back(std::chrono::duration<double, std::milli>(t - t0).count());
                if (round == 0) phases[at].peak = peakMiB();
                ++at;
                t0 = Clock::now();
            };
            Result<Polyhedron> read = loadOffFile(file);
            if (!read) {
                std::fprintf(stderr, "phases: %s\n", read.error().text().c_str());
                return 2;
            }
            const Polyhedron& solid = *read;
            faces = solid.faceCount();
            lap();
            const EdgeTopology topology = edgeTopology(solid);
            lap();
            const std::vector<Vec3> normals = outwardNormals(solid);
            lap();
            std::vector<Vec3> program = programDualVertices(solid, 0);
            lap();
            VertexRings rings;
            (void)buildVertexRings(solid, topology, rings, 0);
            lap();
            Result<std::vector<Vec3>> reciprocal =
                reciprocalDualVertices(solid, topology.edges, 0, DualSphere{DualCentre::Midsphere});
            lap();
            const Polyhedron programDual = dualFromRings(std::move(program), rings);
            const std::vector<Vec3> programNormals = outwardNormals(programDual);
            const Polyhedron reciprocalDual = dualFromRings(reciprocal ? std::move(*reciprocal) : std::vector<Vec3>{}, rings);
            const std::vector<Vec3> reciprocalNormals = outwardNormals(reciprocalDual);
            lap();
            const Model model = buildModel("m", *read, 0, 0, DualSphere{DualCentre::Midsphere});
            lap();
            ViewState state = initialViewState(true);
            state.aliased = aliased;
            const Frame frame = buildFrame(model, state);
            lap();
            if (!smooth.draw(frame)) return 2;
            glFinish();
            lap();
            if (!smooth.draw(frame)) return 2;
            glFinish();
            lap();
        }
        std::printf("%s: %d faces, medians of %d rounds\n", file.c_str(), faces, rounds);
        double sum = 0.0;
        for (Phase& p : phases) {
            const double first = p.ms.front();
            std::sort(p.ms.begin(), p.ms.end());
            const double median = p.ms[p.ms.size() / 2];
            if (std::strcmp(p.name, "model") != 0 && std::strcmp(p.name, "draw 2") != 0) sum += median;
            std::printf("  %-11s %9.1f ms (first %9.1f)   peak %7.1f MiB\n", p.name, median, first, p.peak);
        }
        std::printf("  (read + parts one by one + frame + first draw: %.1f ms)\n", sum);
    }
    return 0;
}
