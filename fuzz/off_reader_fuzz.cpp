// Any bytes as an OFF file; what reads builds a whole model. Besides crashes
// it catches a writer and a reader that disagree: the solid and each dual,
// written, read back and written again, must give the same text. A model
// with a morph gives, at every stage, a refusal or a closed model.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "mesh/morph.h"
#include "model/model.h"
#include "model/off_reader.h"
#include "model/off_writer.h"

namespace {

void expectRoundTrip(const Polyhedron& p) {
    const std::string text = formatOff({&p});
    Polyhedron again;
    std::string error;
    if (!readOff(text, "written", again, error) || formatOff({&again}) != text) {
        std::fprintf(stderr, "OFF round trip failed: %s\n%s\n", error.c_str(), text.c_str());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Polyhedron solid;
    std::string error;
    if (!readOff({reinterpret_cast<const char*>(data), size}, "fuzz.off", solid, error)) return 0;
    const Model m = buildModel("fuzz", std::move(solid), 0, 0);
    expectRoundTrip(m.solid);
    if (m.closed) expectRoundTrip(m.programDual);
    if (m.hasReciprocal) expectRoundTrip(m.reciprocalDual);
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
