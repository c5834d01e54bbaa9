// Any bytes as an OFF file; what reads builds a whole model. Besides crashes
// it catches a writer and a reader that disagree: the solid, which was
// read, must be written; each dual may be refused by the writer (a flat
// model's dual has faces of two corners), but what the writer writes must
// read back and write again to the same text.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/model.h"
#include "model/off_reader.h"
#include "model/off_writer.h"

namespace {

void expectRoundTrip(const Polyhedron& p, bool mustWrite) {
    const Result<std::string> text = formatOff({&p});
    if (!text) {
        if (!mustWrite) return;
        std::fprintf(stderr, "a model that was read cannot be written: %s\n", text.error().what.c_str());
        std::abort();
    }
    Polyhedron again;
    std::string error;
    if (!readOff(*text, "written", again, error)) {
        std::fprintf(stderr, "OFF round trip failed: %s\n%s\n", error.c_str(), text->c_str());
        std::abort();
    }
    const Result<std::string> textAgain = formatOff({&again});
    if (!textAgain || *textAgain != *text) {
        std::fprintf(stderr, "OFF written again differs:\n%s\n", text->c_str());
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
    return 0;
}
