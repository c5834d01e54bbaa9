#include "view/shown_shells.h"

#include <algorithm>

#include "base/translate.h"
#include "draw/palette.h"

namespace pd {

namespace {

// How much of a shell's own colour shows in its faint version, over the
// background: enough to see where the morph started and is going, little
// enough not to be taken for it.
constexpr float faintShare = 0.3f;

Rgb mix(Rgb from, Rgb to, float k) {
    return {from.red + (to.red - from.red) * k, from.green + (to.green - from.green) * k,
            from.blue + (to.blue - from.blue) * k};
}

ShownShell solidShell(const Model& model, const Palette& palette) {
    ShownShell s;
    s.shape = &model.solid;
    s.edges = &model.edges;
    s.normals = &model.solidNormals;
    s.kind = ShellKind::Solid;
    s.numberBase = model.numberBase;
    s.edgeColour = palette.solidEdge;
    s.faceColour = palette.solidFace;
    s.textColour = palette.solidText;
    return s;
}

}  // namespace

ShownShell dualShell(const Model& model, DualKind kind) {
    ShownShell s;
    if (!model.closed) return s;
    s.numberBase = model.numberBase;
    if (kind == DualKind::Reciprocal && model.hasReciprocal) {
        s.shape = &model.reciprocalDual;
        s.edges = &model.dualEdges;
        s.normals = &model.reciprocalDualNormals;
        s.kind = ShellKind::ReciprocalDual;
    } else {
        s.shape = &model.programDual;
        s.edges = &model.dualEdges;
        s.normals = &model.programDualNormals;
        s.kind = ShellKind::ProgramDual;
    }
    return s;
}

std::vector<ShownShell> shownShells(const Model& model, const Model* stage, const ViewState& state) {
    const Palette& palette = paletteOf(state.palette);
    std::vector<ShownShell> shells;
    const bool morphing = stage != nullptr && state.morph > 0.0;
    if (morphing) {
        // Where the morph started and where it is going.
        ShownShell solid = solidShell(model, palette);
        solid.edgeColour = mix(state.background, palette.solidEdge, faintShare);
        solid.faint = true;
        shells.push_back(solid);
        ShownShell dual = dualShell(model, state.dual);
        if (dual.shape) {
            dual.edgeColour = mix(state.background, palette.dualEdge, faintShare);
            dual.faint = true;
            shells.push_back(dual);
        }
    }
    // The stage stands in the solid's place, with its own reciprocal dual.
    const Model& shown = morphing ? *stage : model;
    if (state.show != ShowMode::Dual) {
        ShownShell solid = solidShell(shown, palette);
        if (morphing) solid.edgeColour = morphColour(state.palette, state.morph);
        shells.push_back(solid);
    }
    if (state.show != ShowMode::Solid) {
        ShownShell dual = dualShell(shown, morphing ? DualKind::Reciprocal : state.dual);
        if (dual.shape) {
            dual.edgeColour = palette.dualEdge;
            dual.faceColour = palette.dualFace;
            dual.textColour = palette.dualText;
            shells.push_back(dual);
        }
    }
    return shells;
}

std::vector<ShownShell> solidAndDualShells(const Model& model, const Model* stage, const ViewState& state) {
    std::vector<ShownShell> shells = shownShells(model, stage, state);
    shells.erase(std::remove_if(shells.begin(), shells.end(), [](const ShownShell& s) { return s.faint; }),
                 shells.end());
    return shells;
}

std::string shellName(const ShownShell& shell, const std::string& modelName) {
    switch (shell.kind) {
    case ShellKind::Solid: return tr(modelName.c_str());
    case ShellKind::ProgramDual: return fill(tr("the program's dual of {1}"), {tr(modelName.c_str())});
    case ShellKind::ReciprocalDual: return fill(tr("the reciprocal dual of {1}"), {tr(modelName.c_str())});
    }
    return modelName;
}

Rgb morphColour(PaletteKind kind, double t) {
    const Palette& palette = paletteOf(kind);
    return mix(palette.solidEdge, palette.dualEdge, float(std::clamp(t, 0.0, 1.0)));
}

}  // namespace pd
