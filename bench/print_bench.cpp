// print-bench: the surfaces of prints, timed.
//
//   print-bench [--reps R]
//
// The solid compound (the union, and the dual's colour outside the solid)
// of every catalogue solid with its reciprocal dual, the slowest named;
// then the frame, struts of 2 mm and balls of 3.2 mm, of the tetrahedron
// alone, of the cube with the octahedron, and of the truncated icosahedron
// with the pentakis dodecahedron (180 struts, 92 balls), each with how many
// pieces it makes. Everything at a 60 mm extent; medians of R runs
// (default 3) in wall milliseconds. Exit status 2 for bad arguments, 1 when
// a print fails.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "explorer/model_inputs.h"
#include "geometry/edges.h"
#include "print/print_geometry.h"

#include "bench_timing.h"

using namespace pd;

namespace {

// Millimetres per unit that give the model and its dual a 60 mm extent.
double scaleFor(const Model& m) {
    double extent = 0;
    for (const Polyhedron* p : {&m.solid, &m.reciprocalDual})
        for (const Vec3& v : p->vertices)
            extent = std::max({extent, double(std::fabs(v.x)), double(std::fabs(v.y)), double(std::fabs(v.z))});
    return 30.0 / extent;
}

}  // namespace

int main(int argc, char** argv) {
    int reps = 3;
    if (argc == 3 && std::strcmp(argv[1], "--reps") == 0 && std::atoi(argv[2]) > 0) {
        reps = std::atoi(argv[2]);
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: print-bench [--reps R]\n");
        return 2;
    }
    ModelRequest request;
    request.catalogue = "all";
    request.inputsNamed = false;
    Result<LoadedModels> loaded = loadModels(request);
    if (!loaded) {
        std::fprintf(stderr, "print-bench: %s\n", loaded.error().text().c_str());
        return 1;
    }
    const Rgb red{1, 0, 0}, blue{0, 0, 1};
    double slowest = 0, total = 0;
    std::string slowestName;
    for (const Model& m : loaded->models) {
        bool ok = true;
        std::size_t triangles = 0;
        const double ms = median(reps, [&] {
            const Result<CompoundPrint> print = solidCompound(m.solid, red, m.reciprocalDual, blue, scaleFor(m));
            ok = print.ok();
            if (!ok) std::fprintf(stderr, "print-bench: %s: %s\n", m.name.c_str(), print.error().text().c_str());
            else triangles = print->whole.parts[0].triangles.size();
        });
        if (!ok) return 1;
        std::printf("compound %-32s %6zu triangles %8.1f ms\n", m.name.c_str(), triangles, ms);
        total += ms;
        if (ms > slowest) slowest = ms, slowestName = m.name;
    }
    std::printf("compound: all %zu in %.0f ms, slowest %s %.1f ms\n", loaded->models.size(), total,
                slowestName.c_str(), slowest);
    for (const char* name : {"tetrahedron", "cube", "truncated icosahedron"}) {
        const int index = findModel(*loaded, name);
        if (index < 0) return 1;
        const Model& m = loaded->models[std::size_t(index)];
        std::vector<PrintShell> shells{{&m.solid, nullptr, red, "solid"}};
        if (m.solid.vertexCount() > 4) shells.push_back({&m.reciprocalDual, nullptr, blue, "dual"});
        int pieces = 0;
        std::size_t struts = 0, triangles = 0;
        for (const PrintShell& s : shells) struts += deriveEdges(*s.shape).size();
        bool ok = true;
        const double ms = median(reps, [&] {
            const Result<FramePrint> frame = frameOf(shells, 2.0, 3.2, scaleFor(m));
            ok = frame.ok();
            if (!ok) std::fprintf(stderr, "print-bench: %s: %s\n", name, frame.error().text().c_str());
            else pieces = frame->pieces, triangles = frame->model.parts[0].triangles.size();
        });
        if (!ok) return 1;
        std::printf("frame %-24s %s %4zu struts %6zu triangles %d piece(s) %8.1f ms\n", name,
                    shells.size() > 1 ? "+ dual" : "      ", struts, triangles, pieces, ms);
    }
    return 0;
}
