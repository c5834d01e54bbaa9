#include "output/net_output.h"

#include <cstdio>

#include "output/file_series.h"
#include "output/output_file.h"
#include "explorer/unfold_view.h"
#include "output/net_pdf.h"
#include "output/net_style.h"
#include "output/net_svg.h"

namespace {

std::string dualName(const Model& model, const ViewState& state) {
    return state.dual == DualKind::Reciprocal && model.hasReciprocal ? "reciprocal dual" : "program dual";
}

}  // namespace

std::string netTitle(const Model& model, const ViewState& state) {
    const std::vector<ShownShell> shells = shownShells(model, state);
    std::string title;
    for (const ShownShell& shell : shells) {
        if (!shell.dual) title = model.name + " (blue)";
        else title += title.empty() ? "the " + dualName(model, state) + " of " + model.name + " (red)"
                                    : " and its " + dualName(model, state) + " (red)";
    }
    return title;
}

Status writeNetOutput(const ExplorerOptions& options, const Model& model, const ViewState& state) {
    const std::vector<ShownShell> shells = shownShells(model, state);
    if (shells.empty()) {
        return failure(model.name + " has no dual to unfold: " + model.openEdgeMessage);
    }
    NetCache nets;
    std::vector<LayoutShell> layoutShells;
    std::vector<Rgb> fills;
    for (const ShownShell& shell : shells) {
        const Result<Net>& net = nets.netOf(*shell.shape, model.numberBase);
        if (!net) {
            return failure((shell.dual ? "the " + dualName(model, state) + " of " + model.name : model.name) +
                    " has no net: " + net.error().text());
        }
        layoutShells.push_back({shell.shape, &*net});
        fills.push_back(tintOf(shell.colour));
    }
    NetLayoutOptions layoutOptions;
    layoutOptions.page = options.page;
    layoutOptions.edgeMm = options.edgeMm;
    layoutOptions.title = netTitle(model, state);
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
