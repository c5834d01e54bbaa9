// Any bytes as an OFF file, shown by the explorer's session as the headless
// outputs show it (frame, SVG, a small EGL picture, the CPU's line picture)
// in each back-edge style and choice of shells, with faces; then through
// the option combinations
// that drive the morph and the fold together (an animation of stages, each
// folded half open), and as the OFF file and the nets it would write;
// and its faces, copied past 2000, through the face order of many faces;
// and as a window morphs it, each step's frame built ahead.
// Besides crashes it catches index lists pointing past a frame's vertices.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <sanitizer/lsan_interface.h>

#include "draw/frame.h"
#include "explorer/actions.h"
#include "hidden/depth_order.h"
#include "view/highlight.h"
#include "explorer/session.h"
#include "gl/line_picture.h"
#include "gl/offscreen.h"
#include "gl/renderer.h"
#include "gl/smooth_target.h"
#include "explorer/net_pages.h"
#include "svg/svg_writer.h"
#include "polyhedra/model.h"
#include "io/off_reader.h"

namespace pd {

namespace {

// The face order of many faces, in halves on two threads, in pieces and in
// groups: the model's faces copied side by side past 2000 (for one input
// in eight: it takes milliseconds), a third of them in no group. Checks
// that the polygons' lists hold together.
void orderManyFaces(const Polyhedron& p, std::size_t inputSize) {
    if (p.faceCount() == 0 || p.vertices.empty() || inputSize % 8 != 0) return;
    std::vector<Vec3> points;
    std::vector<std::int32_t> corners, faceStart{0}, groups;
    const int copies = 2100 / p.faceCount() + 1;
    for (int c = 0; c < copies && points.size() < 200000; ++c) {
        const std::int32_t base = std::int32_t(points.size());
        for (const Vec3& v : p.vertices) points.push_back({v.x + 0.37f * float(c), v.y, v.z - 0.11f * float(c % 5)});
        for (int f = 0; f < p.faceCount(); ++f) {
            for (int k = 0; k < p.faceSize(f); ++k) corners.push_back(base + p.face(f)[k]);
            faceStart.push_back(std::int32_t(corners.size()));
            groups.push_back(f % 3 == 0 ? -1 : c % 2);
        }
    }
    const PaintOrder order = paintOrder(points, corners, faceStart, groups);
    if (order.start.size() != order.face.size() + 1 || std::size_t(order.start.back()) * 3 != order.xyz.size()) std::abort();
    for (std::size_t i = 0; i < order.face.size(); ++i)
        if (order.start[i] > order.start[i + 1] || order.face[i] < 0 || order.face[i] + 1 >= std::int32_t(faceStart.size()))
            std::abort();
}

void expectIndicesInside(const Frame& frame) {
    for (const FrameShell& shell : frame.shells)
        for (const auto* list : {&shell.lines, &shell.dashed, &shell.marks})
            for (std::uint32_t i : *list)
                if (2 * std::size_t(i) + 1 >= shell.xy.size()) {
                    std::fprintf(stderr, "frame index %u past %zu vertices\n", i, shell.xy.size() / 2);
                    std::abort();
                }
}

// The window's morph, each step's stage and picture built ahead on a second
// thread (for one input in four that has a morph): each frame must be the
// very frame a session builds when asked for the view shown. (The fold's
// pictures built ahead are drawn by the same code as the fold below, which
// the harness runs on every input.)
void animateAhead(const LoadedModels& loaded, const ViewState& state, std::size_t inputSize) {
    if (inputSize % 4 != 1) return;
    Session screen(LoadedModels(loaded), state, Session::Work::InBackground, 0.0);
    if (!screen.morphAvailable()) return;
    double now = 0.0;
    auto step = [&] {
        screen.advance(now += 0.7);
        const Frame shown = screen.screenFrame();
        expectIndicesInside(shown);
        ViewState still = screen.view();
        still.morphing = false;
        const Frame asked = Session(LoadedModels(loaded), still).frame();
        bool same = shown.shells.size() == asked.shells.size() && shown.faces.xyz == asked.faces.xyz;
        for (std::size_t k = 0; same && k < shown.shells.size(); ++k)
            same = shown.shells[k].xy == asked.shells[k].xy && shown.shells[k].lines == asked.shells[k].lines;
        if (!same) {
            std::fprintf(stderr, "the frame built ahead is not the frame of the view shown\n");
            std::abort();
        }
    };
    screen.perform(ActionId::ToggleMorph, now);
    for (int k = 0; k < 3; ++k) step();
}

}  // namespace

}  // namespace pd

using namespace pd;

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
    LoadedModels loaded;
    loaded.models.push_back(buildModel("fuzz", std::move(*solid), 0, 0));
    ViewState state = initialViewState(true);
    state.width = context->width();
    state.height = context->height();
    state.numbers = true;
    state.dualNumbers = true;
    Session session(std::move(loaded), state);
    // Smooth frames through the multisampled framebuffer, as pictures are
    // drawn; it lives as long as the context.
    static SmoothTarget* const smooth = new SmoothTarget;
    auto draw = [&](const Frame& frame) {
        expectIndicesInside(frame);
        // The CPU's lines, which GL takes over only for big models.
        const std::size_t pixels = std::size_t(frame.projection.viewportWidth) * std::size_t(frame.projection.viewportHeight);
        for (const bool smooth : {false, true})
            if (drawLinePicture(frame, smooth).size() != (isFlatLineDrawing(frame) ? 4 * pixels : 0)) std::abort();
        __lsan::ScopedDisabler mesa;
        if (!smooth->draw(frame)) std::abort();
    };
    for (BackEdges back : {BackEdges::Drawn, BackEdges::Dashed, BackEdges::Hidden})
        for (ShowMode show : {ShowMode::Both, ShowMode::Dual}) {
            ViewState s = state;
            s.back = back;
            s.show = show;
            s.dual = show == ShowMode::Dual ? DualKind::Program : DualKind::Reciprocal;
            // Faces with hidden parts, and both targets: the SVG's cuts and
            // face order run on whatever the file holds.
            s.faces = back == BackEdges::Hidden ? FaceStyle::Shaded : FaceStyle::Translucent;
            // Lit: face 0, vertex 0 or edge 0, drawn, and what lies under
            // the middle and a corner named.
            s.lit = Lit{LitKind(1 + int(back)), 0};
            Session shown(LoadedModels(session.loaded()), s);
            (void)litText(shown.model(), shown.partAt(s.width / 2.0, s.height / 2.0));
            (void)shown.partAt(0.0, 0.0);
            (void)shown.title();
            const Frame vector = shown.frame(FrameTarget::Vector);
            expectIndicesInside(vector);
            if (formatSvg(vector).find("</svg>") == std::string::npos) std::abort();
            draw(shown.frame());
        }
    // Folded half open, then the morph's stages each folded open: the nets
    // of stages that come and go.
    ViewState open = state;
    open.unfold = 0.5;
    open.back = BackEdges::Hidden;
    open.faces = FaceStyle::Shaded;
    open.style = Style::Print;  // margins and haloed numbers over the folds
    Session folding(LoadedModels(session.loaded()), open);
    for (int k = 0; k < 3; ++k) {
        folding.showFrame(Animation::Both, k, 3);
        if (folding.stage()) draw(folding.frame());
    }
    orderManyFaces(session.model().solid, size);
    animateAhead(session.loaded(), state, size);
    (void)session.offText();
    (void)session.countLines();  // the shells named by their shapes
    // The paper net laid out on pages: flaps, numbers, the footer.
    const Session::NetShells net = session.netShells();
    if (!net.shells.empty()) {
        NetSettings paper;
        (void)layOutNet(paper, PaletteKind::Classic, net.shells, *net.model);
        paper.edgeMm = 120.0;  // pieces cut smaller to fit the pages
        (void)layOutNet(paper, PaletteKind::Classic, net.shells, *net.model);
    }
    __lsan::ScopedDisabler mesa;
    static std::uint8_t rgb[48 * 32 * 3];
    if (!readPixelRows(48, 32, 0, 32, 3, rgb)) std::abort();
    return 0;
}
