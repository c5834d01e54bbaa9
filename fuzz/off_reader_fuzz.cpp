// Any bytes as an OFF file; what reads builds a whole model. Besides crashes
// it catches a writer and a reader that disagree: the solid, which was
// read, must be written; each dual may be refused by the writer (a flat
// model's dual has faces of two corners), but what the writer writes must
// read back and write again to the same text. A model
// with a morph gives, at every stage, a refusal or a closed model.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "mesh/model.h"
#include "mesh/morph.h"
#include "mesh/off_reader.h"
#include "mesh/off_writer.h"

namespace {

void expectRoundTrip(const Polyhedron& p, bool mustWrite) {
    const Result<std::string> text = formatOff({&p});
    if (!text && !mustWrite) return;
    Polyhedron again;
    std::string error = text ? "" : text.error().what;
    if (!text || !readOff(*text, "written", again, error) || formatOff({&again}).value() != *text) {
        std::fprintf(stderr, "OFF round trip failed: %s\n%s\n", error.c_str(), text ? text->c_str() : "");
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Polyhedron solid;
    std::string error;
    if (!readOff({reinterpret_cast<const char*>(data), size}, "fuzz.off", solid, error)) return 0;
    const Model m = buildModel("fuzz", std::move(solid), 0, 0);
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
    return 0;
}
