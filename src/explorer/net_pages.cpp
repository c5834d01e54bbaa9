#include "explorer/net_pages.h"

#include <cstdio>

#include "draw/palette.h"
#include "polyhedra/solid_names.h"
#include "nets/net_style.h"

namespace pd {

namespace {

std::string dualName(const ShownShell& shell) {
    return shell.kind == ShellKind::ReciprocalDual ? "reciprocal dual" : "program dual";
}

// The shell's own name after `lead`, unless it is no more than that:
// "heksaedar, the cube", "truncated icosahedron", "its reciprocal dual".
std::string named(const std::string& lead, const ShownShell& shell) {
    const std::string name = shell.shape && shell.edges ? solidName(*shell.shape, *shell.edges) : "";
    return name.empty() || name == lead ? lead : lead + ", the " + name;
}

}  // namespace

std::string netTitle(const std::vector<ShownShell>& shells, const Model& model) {
    std::string title;
    for (const ShownShell& shell : shells) {
        if (!shell.dual()) title = named(model.name, shell) + " (blue)";
        else if (title.empty()) title = named("the " + dualName(shell) + " of " + model.name, shell) + " (red)";
        else title += " and " + named("its " + dualName(shell), shell) + " (red)";
    }
    return title;
}

Result<NetPages> layOutNet(const NetSettings& settings, PaletteKind palette, const std::vector<ShownShell>& shells,
                           const Model& model) {
    if (shells.empty()) {
        return failure(model.name + " has no dual to unfold: " + model.openEdgeMessage);
    }
    std::vector<Result<Net>> nets;
    nets.reserve(shells.size());
    std::vector<LayoutShell> layoutShells;
    std::vector<ShownShell> kept;
    std::vector<Rgb> fills;
    std::vector<std::string> notes;
    for (const ShownShell& shell : shells) {
        UnfoldOptions unfoldOptions;
        unfoldOptions.numberBase = shell.numberBase;
        const Result<Net>& net = nets.emplace_back(unfold(*shell.shape, unfoldOptions));
        if (!net) {
            notes.push_back((shell.dual() ? "the " + dualName(shell) + " of " + model.name : model.name) +
                            " has no net: " + net.error().text());
            continue;
        }
        kept.push_back(shell);
        layoutShells.push_back({shell.shape, &*net});
        // The palette's own colours: a stage's solid is tinted as the solid is.
        const Palette& colours = paletteOf(palette);
        fills.push_back(tintOf(shell.dual() ? colours.dualEdge : colours.solidEdge));
    }
    if (kept.empty()) return failure(notes.front());
    for (std::string& note : notes) note += "; it is left out of the net";
    NetLayoutOptions layoutOptions;
    layoutOptions.page = settings.page;
    layoutOptions.edgeMm = settings.edgeMm;
    layoutOptions.title = netTitle(kept, model);
    Result<NetLayout> layout = layOutNets(layoutShells, layoutOptions);
    if (!layout) {
        char given[32];
        std::snprintf(given, sizeof given, "%g", settings.edgeMm);
        return failure((settings.edgeMm > 0 ? "--edge-mm " + std::string(given) + ": " : "") + layout.error().text());
    }
    return NetPages{std::move(*layout), std::move(fills), layoutOptions.title, std::move(notes)};
}

}  // namespace pd
