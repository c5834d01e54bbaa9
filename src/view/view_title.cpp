#include "view/view_title.h"

#include <cstdio>

#include "view/frame_builder.h"

namespace pd {

std::string viewTitle(const std::string& name, const ViewState& state, const ViewState& opening,
                      const std::string& note, const std::string& lit) {
    std::string title = frameTitle(name, state);
    if (state.dual != opening.dual)
        title += state.dual == DualKind::Reciprocal ? "  reciprocal dual" : "  program's dual";
    if (state.back != opening.back) {
        const char* words[] = {"  back drawn", "  back dashed", "  back hidden"};
        title += words[int(state.back)];
    }
    if (state.zoom != opening.zoom) {
        char zoom[32];
        std::snprintf(zoom, sizeof zoom, "  zoom %.3g", state.zoom);
        title += zoom;
    }
    if (!lit.empty()) title += "  " + lit;
    if (!note.empty()) title += " - " + note;
    return title;
}

std::string reciprocalNote(const Model& model) {
    if (!model.closed) return "no dual: " + model.openEdgeMessage;
    if (!model.hasReciprocal) return "no reciprocal dual: " + model.reciprocalMessage;
    return "";
}

}  // namespace pd
