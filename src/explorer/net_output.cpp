#include "explorer/net_output.h"

#include <cstdio>
#include <stdexcept>

#include "explorer/output_file.h"
#include "explorer/turntable.h"
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
    const std::vector<ShownShell> shells = shownShells(model, state.show, state.dual);
    std::string title;
    for (const ShownShell& shell : shells) {
        if (!shell.dual) title = model.name + " (blue)";
        else title += title.empty() ? "the " + dualName(model, state) + " of " + model.name + " (red)"
                                    : " and its " + dualName(model, state) + " (red)";
    }
    return title;
}

bool writeNetOutput(const ExplorerOptions& options, const Model& model, const ViewState& state, std::string& error) {
    const std::vector<ShownShell> shells = shownShells(model, state.show, state.dual);
    if (shells.empty()) {
        error = model.name + " has no dual to unfold: " + model.openEdgeMessage;
        return false;
    }
    NetCache nets;
    std::vector<LayoutShell> layoutShells;
    std::vector<Rgb> fills;
    for (const ShownShell& shell : shells) {
        const Result<Net>& net = nets.netOf(*shell.shape, model.numberBase);
        if (!net) {
            error = (shell.dual ? "the " + dualName(model, state) + " of " + model.name : model.name) +
                    " has no net: " + net.error().text();
            return false;
        }
        layoutShells.push_back({shell.shape, &*net});
        fills.push_back(tintOf(*colourFor(shell.colour)));
    }
    NetLayoutOptions layoutOptions;
    layoutOptions.page = options.page;
    layoutOptions.edgeMm = options.edgeMm;
    layoutOptions.title = netTitle(model, state);
    const Result<NetLayout> layout = layOutNets(layoutShells, layoutOptions);
    if (!layout) {
        char given[32];
        std::snprintf(given, sizeof given, "%g", options.edgeMm);
        error = (options.edgeMm > 0 ? "--edge-mm " + std::string(given) + ": " : "") + layout.error().text();
        return false;
    }
    try {
        const std::string& path = options.outputPath;
        if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".pdf") == 0) {
            writeThroughTemporary(path, [&](const std::string& temporary) {
                const Status written = writeNetPdf(*layout, fills, temporary, layoutOptions.title);
                if (!written) throw std::runtime_error(written.error().what);
            });
            return true;
        }
        const std::vector<std::string> pages = formatNetSvg(*layout, fills);
        for (std::size_t i = 0; i < pages.size(); ++i)
            writeFileAtomically(pages.size() == 1 ? path : frameFileName(path, int(i), int(pages.size())), pages[i]);
    } catch (const OutputError& e) {
        error = e.what();
        return false;
    }
    return true;
}
