#include "view/view_title.h"

#include <cstdio>

#include "base/translate.h"
#include "view/frame_builder.h"

namespace pd {

std::string viewTitle(const std::string& name, const ViewState& state, const ViewState& opening,
                      const std::string& note, const std::string& lit) {
    std::string title = frameTitle(name, state);
    if (state.dual != opening.dual)
        title += std::string("  ") + (state.dual == DualKind::Reciprocal ? tr("reciprocal dual") : tr("program's dual"));
    if (state.back != opening.back) {
        const char* words[] = {tr("back drawn"), tr("back dashed"), tr("back hidden")};
        title += std::string("  ") + words[int(state.back)];
    }
    if (state.zoom != opening.zoom) {
        char zoom[32];
        std::snprintf(zoom, sizeof zoom, "%.3g", state.zoom);
        title += "  " + fill(tr("zoom {1}"), {zoom});
    }
    if (!lit.empty()) title += "  " + lit;
    if (!note.empty()) title += " - " + note;
    return title;
}

std::string reciprocalNote(const Model& model) {
    if (!model.closed) return fill(tr("no dual: {1}"), {model.openEdgeMessage});
    if (!model.hasReciprocal) return fill(tr("no reciprocal dual: {1}"), {model.reciprocalMessage});
    return "";
}

}  // namespace pd
