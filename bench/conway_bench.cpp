// conway-bench: Conway's operators and the canonical form at size.
//
//   conway-bench [--reps R] [K]
//
// On the geodesic sphere of frequency K (default 22: 9 680 faces;
// construct/geodesic_sphere.h), the median of R runs (default 7) of each
// operator as `--conway xM` runs it (the notation read, the operator
// built and checked), in wall milliseconds; then the canonical form of
// tI, of the sphere and of its dual, with their steps and the largest
// error left. Last, the convex hull (hull/convex_hull.h) of the vertices
// of the spheres of frequency 42 and 100 (17 642 and 100 002 points, none
// in a plane with three others), triangulated as the convexity check asks
// for it and merged as the morph does, and of the points of a cube's
// faces cut into a grid of the same number (nearly all in a facet or on an
// edge). Exit status 2 for bad arguments.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "geometry/edges.h"
#include "construct/canonical_form.h"
#include "construct/conway.h"
#include "construct/geodesic_sphere.h"
#include "hull/convex_hull.h"

#include "bench_timing.h"

using namespace pd;

namespace {

void canonical(const char* what, const Polyhedron& p, int reps) {
    const std::vector<Edge> edges = deriveEdges(p);
    CanonicalForm form;
    const double ms = median(reps, [&] { form = canonicalForm(p, edges); });
    std::printf("canonical %-28s %6d faces  %3d steps  worst %.1e  %s  %8.1f ms\n", what, p.faceCount(),
                form.iterations, form.worst, form.converged ? "converged" : "NOT converged", ms);
}

void hull(const char* what, const std::vector<Vec3d>& points, int reps) {
    for (const bool triangulated : {true, false}) {
        int facets = 0;
        const double ms = median(reps, [&] {
            const Result<ConvexHull> built = convexHull(points, triangulated);
            facets = built ? built->facetCount() : -1;
        });
        std::printf("hull %-20s %7zu points  %-12s %6d facets  %8.1f ms\n", what, points.size(),
                    triangulated ? "triangulated" : "merged", facets, ms);
    }
}

// The points of a cube's six faces, each cut into n x n squares.
std::vector<Vec3d> cubeGrid(int n) {
    std::vector<Vec3d> points;
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j)
            for (int side = 0; side < 6; ++side) {
                const double a = 2.0 * i / n - 1.0, b = 2.0 * j / n - 1.0, c = side % 2 ? 1.0 : -1.0;
                points.push_back(side < 2 ? Vec3d{a, b, c} : side < 4 ? Vec3d{b, c, a} : Vec3d{c, a, b});
            }
    return points;
}

}  // namespace

int main(int argc, char** argv) {
    int reps = 7, k = 22;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--reps") == 0 && i + 1 < argc)
            reps = std::atoi(argv[++i]);
        else
            k = std::atoi(argv[i]);
    }
    if (reps < 1 || k < 1 || k > 400) {
        std::fprintf(stderr, "usage: conway-bench [--reps R] [K]\n");
        return 2;
    }
    const Polyhedron sphere = geodesicSphere(k);
    std::printf("geodesic sphere k %d: %d faces, %d runs each, medians\n", k, sphere.faceCount(), reps);
    for (const char* op : {"d", "a", "t", "k", "j", "e", "o", "b", "g", "s", "n", "z", "m", "k3", "t6"}) {
        int faces = 0;
        const double ms = median(reps, [&] {
            const Result<Polyhedron> built = conwayModel(std::string(op) + "M", &sphere);
            faces = built ? built->faceCount() : -1;
        });
        std::printf("operator %-3s %8d faces  %7.2f ms\n", op, faces, ms);
    }
    canonical("tI (from the operators)", *conwayModel("tI", nullptr), reps);
    canonical("the sphere", sphere, reps);
    canonical("the sphere's dual", *conwayModel("dM", &sphere), reps);
    for (const int frequency : {42, 100}) {
        std::vector<Vec3d> points;
        for (const Vec3& v : geodesicSphere(frequency).vertices) points.push_back(widen(v));
        hull(frequency == 42 ? "sphere k 42" : "sphere k 100", points, reps);
        hull(frequency == 42 ? "cube grid 54" : "cube grid 129", cubeGrid(frequency == 42 ? 54 : 129), reps);
    }
    return 0;
}
