// Any bytes as an OFF file; what reads builds a whole model. Besides crashes
// it catches a writer and a reader that disagree: the solid, which was
// read, must be written; each dual may be refused by the writer (a flat
// model's dual has faces of two corners), but what the writer writes must
// read back and write again to the same text.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "mesh/model.h"
#include "mesh/off_reader.h"
#include "mesh/off_writer.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Result<Polyhedron> solid = readOff({reinterpret_cast<const char*>(data), size}, "fuzz.off");
    if (!solid) return 0;
    const Model m = buildModel("fuzz", std::move(*solid), 0, 0);
    expectRoundTrip(m.solid, true);
    if (m.closed) expectRoundTrip(m.programDual, false);
    if (m.hasReciprocal) expectRoundTrip(m.reciprocalDual, false);
    return 0;
}
