#include "output/net_output.h"

#include <cstdio>
#include <stdexcept>

#include "output/output_file.h"
#include "output/turntable.h"
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
    if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".pdf") == 0) {
        const Status written = writeOutputFile(
            path, [&](int fd) { return writeNetPdf(*layout, fills, fd, layoutOptions.title); });
        return written;
    }
    const std::vector<std::string> pages = formatNetSvg(*layout, fills);
    std::vector<std::string> done;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string name = pages.size() == 1 ? path : frameFileName(path, int(i), int(pages.size()));
        const Status written = writeFileAtomically(name, pages[i]);
        if (!written) {
            // The pages of one net go together: those written go again.
            for (const std::string& page : done) std::remove(page.c_str());
            return written;
        }
        done.push_back(name);
    }
    return Done{};
}
