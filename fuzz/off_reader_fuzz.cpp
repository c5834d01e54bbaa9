// Any bytes as an OFF file; what reads builds a whole model. Besides crashes
// it catches a writer and a reader that disagree: the solid, which was
// read, must be written; each dual may be refused by the writer (a flat
// model's dual has faces of two corners), but what the writer writes must
// read back and write again to the same text. A model
// with a morph gives, at every stage, a refusal or a closed model. And every
// shell's paper net is refused or whole: each face once, no two faces of a
// piece overlapping (every pair of their convex parts tested, without the
// grid the net's own search uses), laid out on pages without a fault.
// Every Conway operator on a closed model gives a closed model with its
// Euler characteristic, or a refusal; its canonical form, found or not,
// has only finite vertices.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "construct/canonical_form.h"
#include "construct/conway.h"
#include "polyhedra/model.h"
#include "morph/morph.h"
#include "nets/net_layout.h"
#include "io/off_reader.h"
#include "io/off_writer.h"
#include "nets/overlap_grid.h"

namespace pd {

namespace {

void expectRoundTrip(const Polyhedron& p, bool mustWrite) {
    const Result<std::string> text = formatOff({&p});
    if (!text && !mustWrite) return;
    const Result<Polyhedron> again = text ? readOff(*text, "written") : Result<Polyhedron>(text.error());
    if (!again || formatOff({&*again}).value() != *text) {
        std::fprintf(stderr, "OFF round trip failed: %s\n%s\n", again ? "" : again.error().text().c_str(),
                     text ? text->c_str() : "");
        std::abort();
    }
}

void expectWholeNet(const Polyhedron& p) {
    const Result<Net> made = unfold(p);
    if (!made) return;
    const Net& net = *made;
    std::vector<int> seen(std::size_t(p.faceCount()), 0);
    for (int f : net.order) ++seen[std::size_t(f)];
    std::vector<std::vector<P2>> parts;
    std::vector<int> partFace;
    for (int f = 0; f < p.faceCount(); ++f) {
        if (seen[std::size_t(f)] != 1) {
            std::fprintf(stderr, "net: face %d laid %d times\n", f, seen[std::size_t(f)]);
            std::abort();
        }
        for (std::int32_t q = net.partStart[f]; q < net.partStart[f + 1]; ++q) {
            parts.emplace_back();
            for (std::int32_t i = net.partCorners[q]; i < net.partCorners[q + 1]; ++i)
                parts.back().push_back(net.corners[net.partSlots[i]]);
            partFace.push_back(f);
        }
    }
    const double tolerance = 1e-9 * meanEdgeLength(p, net.topology);
    for (std::size_t a = 0; a < parts.size(); ++a)
        for (std::size_t b = 0; b < a; ++b)
            if (partFace[a] != partFace[b] && net.piece[partFace[a]] == net.piece[partFace[b]] &&
                convexOverlap(parts[a].data(), int(parts[a].size()), parts[b].data(), int(parts[b].size()), tolerance)) {
                std::fprintf(stderr, "net: faces %d and %d overlap\n", partFace[a], partFace[b]);
                std::abort();
            }
    (void)layOutNets({{&p, &net}}, {});
}

}  // namespace

}  // namespace pd

using namespace pd;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Result<Polyhedron> solid = readOff({reinterpret_cast<const char*>(data), size}, "fuzz.off");
    if (!solid) return 0;
    const Model m = buildModel("fuzz", std::move(*solid), 0, 0);
    expectRoundTrip(m.solid, true);
    if (m.closed) expectRoundTrip(m.programDual, false);
    if (m.hasReciprocal) expectRoundTrip(m.reciprocalDual, false);
    const Result<MorphFamily> family = morphFamily(m);
    for (double t : {0.25, 0.5, 1.0}) {
        if (!family) break;
        const Result<Polyhedron> stage = morphAt(*family, t);
        if (stage && !buildModel("stage", *stage, 0, 0).closed) {
            std::fprintf(stderr, "the morph at t %g is not closed\n", t);
            std::abort();
        }
    }
    expectWholeNet(m.solid);
    if (m.closed) expectWholeNet(m.programDual);
    if (m.hasReciprocal) expectWholeNet(m.reciprocalDual);
    if (!m.closed) return 0;
    const auto euler = [](const Model& b) { return b.solid.vertexCount() - int(b.edges.size()) + b.solid.faceCount(); };
    for (const char op : std::string("datkjeobgsnzm")) {
        const Result<Polyhedron> built = conwayModel(std::string(1, op) + "M", &m.solid);
        if (!built) continue;
        const Model b = buildModel("op", *built, 0, 0);
        if (!b.closed || euler(b) != euler(m)) {
            std::fprintf(stderr, "operator %c: %s, V-E+F %d, not %d\n", op, b.openEdgeMessage.c_str(), euler(b), euler(m));
            std::abort();
        }
    }
    const CanonicalForm form = canonicalForm(m.solid, m.edges, 30);
    for (const Vec3d& v : form.vertices)
        if (form.converged && !(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z))) {
            std::fprintf(stderr, "the canonical form has a vertex that is not finite\n");
            std::abort();
        }
    return 0;
}
