#include "headless/net_output.h"

#include <cstdio>

#include "io/file_series.h"
#include "io/output_file.h"
#include "draw/palette.h"
#include "headless/net_pdf.h"
#include "headless/net_style.h"
#include "headless/net_svg.h"

namespace pd {

namespace {

std::string dualName(const ShownShell& shell) {
    return shell.kind == ShellKind::ReciprocalDual ? "reciprocal dual" : "program dual";
}

}  // namespace

std::string netTitle(const std::vector<ShownShell>& shells, const Model& model) {
    std::string title;
    for (const ShownShell& shell : shells) {
        if (!shell.dual()) title = model.name + " (blue)";
        else title += title.empty() ? "the " + dualName(shell) + " of " + model.name + " (red)"
                                    : " and its " + dualName(shell) + " (red)";
    }
    return title;
}

Status writeNetOutput(const ExplorerOptions& options, const std::vector<ShownShell>& shells, const Model& model) {
    if (shells.empty()) {
        return failure(model.name + " has no dual to unfold: " + model.openEdgeMessage);
    }
    std::vector<Result<Net>> nets;
    nets.reserve(shells.size());
    std::vector<LayoutShell> layoutShells;
    std::vector<Rgb> fills;
    for (const ShownShell& shell : shells) {
        UnfoldOptions unfoldOptions;
        unfoldOptions.numberBase = shell.numberBase;
        const Result<Net>& net = nets.emplace_back(unfold(*shell.shape, unfoldOptions));
        if (!net) {
            return failure((shell.dual() ? "the " + dualName(shell) + " of " + model.name : model.name) +
                    " has no net: " + net.error().text());
        }
        layoutShells.push_back({shell.shape, &*net});
        // The palette's own colours: a stage's solid is tinted as the solid is.
        const Palette& palette = paletteOf(options.view.palette);
        fills.push_back(tintOf(shell.dual() ? palette.dualEdge : palette.solidEdge));
    }
    NetLayoutOptions layoutOptions;
    layoutOptions.page = options.page;
    layoutOptions.edgeMm = options.edgeMm;
    layoutOptions.title = netTitle(shells, model);
    const Result<NetLayout> layout = layOutNets(layoutShells, layoutOptions);
    if (!layout) {
        char given[32];
        std::snprintf(given, sizeof given, "%g", options.edgeMm);
        return failure((options.edgeMm > 0 ? "--edge-mm " + std::string(given) + ": " : "") + layout.error().text());
    }
    const std::string& path = options.outputPath;
    const Existing existing = options.overwrite ? Existing::Replace : Existing::Keep;
    if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".pdf") == 0) {
        const Status written = writeOutputFile(
            path, [&](int fd) { return writeNetPdf(*layout, fills, fd, layoutOptions.title); });
        return written;
    }
    const std::vector<std::string> pages = formatNetSvg(*layout, fills);
    // One page is the file itself, as one picture is; more are numbered
    // pages, all of them or none, in one folder held open. With --overwrite
    // no page of an earlier, longer net is left beside the new ones.
    const bool onePage = pages.size() == 1;
    Result<FileSeries> series = FileSeries::open(path, onePage ? 0 : int(pages.size()), existing);
    if (!series) return series.error();
    if (onePage) {
        const Status written = writeFileAtomically(path, pages[0]);
        if (!written) return written;
    }
    for (std::size_t i = 0; i < pages.size() && !onePage; ++i) {
        const Status written = series->writeNext([&](int fd) { return writeAll(fd, pages[i]); });
        if (!written) {
            Error e = written.error();
            if (e.what == alreadyExists) e.what += "; --overwrite lets --net replace existing pages";
            return e;
        }
    }
    series->finish(options.overwrite);
    return Done{};
}

}  // namespace pd
