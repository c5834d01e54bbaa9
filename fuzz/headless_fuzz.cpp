// Any bytes as an OFF file, drawn as the headless output draws it (frame,
// SVG, a small EGL picture) in each back-edge style and choice of shells,
// with faces, and folded half open into its net.
// Besides crashes it catches index lists pointing past a frame's vertices.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <sanitizer/lsan_interface.h>

#include "explorer/frame.h"
#include "explorer/unfold_view.h"
#include "gl/offscreen.h"
#include "gl/renderer.h"
#include "output/svg_writer.h"
#include "mesh/model.h"
#include "mesh/off_reader.h"

namespace {

void expectIndicesInside(const Frame& frame) {
    for (const FrameShell& shell : frame.shells)
        for (const auto* list : {&shell.lines, &shell.dashed, &shell.marks})
            for (std::uint32_t i : *list)
                if (2 * std::size_t(i) + 1 >= shell.xy.size()) {
                    std::fprintf(stderr, "frame index %u past %zu vertices\n", i, shell.xy.size() / 2);
                    std::abort();
                }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One context for the run: EGL costs far more than a picture this small.
    // What Mesa keeps for the process is its business, not the leak check's.
    static const std::unique_ptr<OffscreenContext> context = [] {
        __lsan::ScopedDisabler mesa;
        Result<std::unique_ptr<OffscreenContext>> made = OffscreenContext::create(48, 32);
        if (!made) {
            std::fprintf(stderr, "%s\n", made.error().text().c_str());
            std::abort();
        }
        return std::move(*made);
    }();
    Result<Polyhedron> solid = readOff({reinterpret_cast<const char*>(data), size}, "fuzz.off");
    if (!solid) return 0;
    const Model model = buildModel("fuzz", std::move(*solid), 0, 0);
    ViewState state = initialViewState(true);
    state.width = context->width();
    state.height = context->height();
    state.numbers = true;
    state.dualNumbers = true;
    for (BackEdges back : {BackEdges::Drawn, BackEdges::Dashed, BackEdges::Hidden})
        for (ShowMode show : {ShowMode::Both, ShowMode::Dual}) {
            state.back = back;
            state.show = show;
            state.dual = show == ShowMode::Dual ? DualKind::Program : DualKind::Reciprocal;
            // Faces with hidden parts, and both targets: the SVG's cuts and
            // face order run on whatever the file holds.
            state.faces = back == BackEdges::Hidden ? FaceStyle::Shaded : FaceStyle::Translucent;
            const Frame frame = buildFrame(model, state);
            expectIndicesInside(frame);
            const Frame vector = buildFrame(model, state, {}, FrameTarget::Vector);
            expectIndicesInside(vector);
            if (formatSvg(vector).find("</svg>") == std::string::npos) std::abort();
            __lsan::ScopedDisabler mesa;
            if (!renderFrame(frame)) std::abort();
        }
    // Half folded open: the net's picture, or the model with why it has none.
    state.unfold = 0.5;
    NetCache nets;
    const Frame unfolded = buildUnfoldFrame(model, state, nets);
    expectIndicesInside(unfolded);
    __lsan::ScopedDisabler mesa;
    if (!renderFrame(unfolded)) std::abort();
    static std::uint8_t rgb[48 * 32 * 3];
    if (!readPixelRows(48, 32, 0, 32, 3, rgb)) std::abort();
    return 0;
}
