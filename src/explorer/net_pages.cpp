#include "explorer/net_pages.h"

#include <cstdio>

#include "base/translate.h"
#include "draw/palette.h"
#include "polyhedra/solid_names.h"
#include "nets/net_style.h"

namespace pd {

namespace {

// "the reciprocal dual of {1}" or "its reciprocal dual", by `of`.
std::string dualName(const ShownShell& shell, const char* of) {
    const bool reciprocal = shell.kind == ShellKind::ReciprocalDual;
    if (!of) return reciprocal ? tr("its reciprocal dual") : tr("its program dual");
    return fill(reciprocal ? tr("the reciprocal dual of {1}") : tr("the program dual of {1}"), {tr(of)});
}

// The shell's own name after `lead`, unless it is no more than that:
// "heksaedar, the cube", "truncated icosahedron", "its reciprocal dual".
std::string named(const std::string& lead, const ShownShell& shell) {
    const std::string name = shell.shape && shell.edges ? solidName(*shell.shape, *shell.edges) : "";
    // TRANSLATORS: a shell's name in the net's footer, then the solid it is.
    return name.empty() || name == lead ? lead : fill(tr("{1}, the {2}"), {lead, name});
}

}  // namespace

std::string netTitle(const std::vector<ShownShell>& shells, const Model& model) {
    std::string title;
    for (const ShownShell& shell : shells) {
        if (!shell.dual()) title = fill(tr("{1} (blue)"), {named(tr(model.name.c_str()), shell)});
        else if (title.empty()) title = fill(tr("{1} (red)"), {named(dualName(shell, model.name.c_str()), shell)});
        else title = fill(tr("{1} and {2}"), {title, fill(tr("{1} (red)"), {named(dualName(shell, nullptr), shell)})});
    }
    return title;
}

Result<NetPages> layOutNet(const NetSettings& settings, PaletteKind palette, const std::vector<ShownShell>& shells,
                           const Model& model) {
    if (shells.empty()) {
        return failure(fill(tr("{1} has no dual to unfold: {2}"), {tr(model.name.c_str()), model.openEdgeMessage}));
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
            notes.push_back(fill(tr("{1} has no net: {2}"),
                                 {shell.dual() ? dualName(shell, model.name.c_str()) : tr(model.name.c_str()), net.error().text()}));
            continue;
        }
        kept.push_back(shell);
        layoutShells.push_back({shell.shape, &*net});
        // The palette's own colours: a stage's solid is tinted as the solid is.
        const Palette& colours = paletteOf(palette);
        fills.push_back(tintOf(shell.dual() ? colours.dualEdge : colours.solidEdge));
    }
    if (kept.empty()) return failure(notes.front());
    for (std::string& note : notes) note = fill(tr("{1}; it is left out of the net"), {note});
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
