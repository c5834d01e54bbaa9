#include "explorer/exports.h"

#include <cmath>

#include "base/translate.h"
#include "io/file_series.h"
#include "nets/net_svg.h"
#ifdef PD_PRINT_JOINS
#include "print/print_geometry.h"
#endif

namespace pd {

Status exportable(Session& session, bool animatesMorph) {
    if (session.view().morph > 0.0 || animatesMorph) return session.morphAvailable();
    return Done{};
}

Result<Frame> exportedFrame(Session& session, FrameTarget target) {
    const Result<const Model*> stage = session.stage();
    if (!stage) return stage.error();
    Result<Frame> frame = session.frame(target, false);
    if (!frame->unfinished.empty()) return failure(frame->unfinished);
    return frame;
}

std::string exportName(const Session& session, const std::string& ending) { return session.saveStem() + ending; }

Result<NetPages> exportedNet(Session& session) {
    const Session::NetShells net = session.netShells();
    return layOutNet(session.netSettings(), session.view().palette, net.shells, *net.model);
}

Result<PrintModel> exportedPrint(Session& session, const PrintSettings& settings, std::vector<std::string>* notes) {
    const Session::NetShells shown = session.netShells();
    const Model& model = *shown.model;
    if (!model.closed)
        return failure(fill(tr("{1} is not closed, so it cannot be printed: {2}"), {tr(model.name.c_str()), model.openEdgeMessage}));
    std::vector<PrintShell> shells;
    for (const ShownShell& shell : shown.shells)
        shells.push_back({shell.shape, shell.normals, shell.edgeColour, shell.dual() ? "dual" : "solid"});
    const Result<double> scale = printScale(shells, settings);
    if (!scale) return scale.error();
    if (settings.kind == PrintKind::Frame || shells.size() > 1) {
#ifdef PD_PRINT_JOINS
        if (settings.kind == PrintKind::Frame) {
            const double node = settings.nodeMm > 0.0 ? settings.nodeMm : nodePerStrut * settings.strutMm;
            const Status fits = frameFits(shells, settings, *scale);
            if (!fits) return fits.error();
            Result<FramePrint> frame = frameOf(shells, settings.strutMm, node, *scale);
            if (!frame) return frame.error();
            if (frame->pieces > 1 && notes)
                notes->push_back(fill(trn("the frame is {1} piece: the solid's struts and the dual's do not meet",
                                          "the frame is {1} pieces: the solid's struts and the dual's do not meet",
                                          static_cast<unsigned long>(frame->pieces)),
                                      {std::to_string(frame->pieces)}));
            return std::move(frame->model);
        }
        Result<CompoundPrint> both =
            solidCompound(*shells[0].shape, shells[0].colour, *shells[1].shape, shells[1].colour, *scale);
        if (!both) return both.error();
        return settings.oneSurface ? std::move(both->whole) : std::move(both->coloured);
#else
        // The page's build has no exact arithmetic to join surfaces with.
        (void)notes;
        return failure(settings.kind == PrintKind::Frame
                           ? tr("a frame print is made by the command line and the window")
                           : tr("a print of both shells is made by the command line and the window; "
                                "--show solid or --show dual prints one"));
#endif
    }
    PrintModel print = shellsAsPrint(shells, *scale);
    // A shell as flat as a sheet (two faces back to back) is closed, yet
    // there is nothing in it to print; the size asked for bounds its cube.
    const double cube = std::pow(settings.edgeMm > 0.0 ? settings.edgeMm : settings.sizeMm, 3.0);
    for (std::size_t i = 0; i < print.parts.size(); ++i)
        if (!(enclosedVolume(print.parts[i]) > 1e-9 * cube))
            return failure(fill(tr("{1} encloses no volume, so it cannot be printed"), {shellName(shown.shells[i], model.name)}));
    return print;
}

std::vector<NamedPage> netSvgPages(const NetPages& net, const std::string& path) {
    const std::vector<std::string> pages = formatNetSvg(net.layout, net.fills);
    std::vector<NamedPage> named;
    for (std::size_t i = 0; i < pages.size(); ++i)
        named.push_back({pages.size() == 1 ? path : frameFileName(path, int(i), int(pages.size())), pages[i]});
    return named;
}

}  // namespace pd
