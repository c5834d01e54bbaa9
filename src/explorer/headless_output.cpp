#include "explorer/headless_output.h"

#include "explorer/net_output.h"
#include "explorer/output_file.h"
#include "explorer/svg_writer.h"
#include "explorer/turntable.h"
#include "explorer/unfold_view.h"
#include "model/off_writer.h"

namespace {

std::string modelNames(const LoadedModels& loaded) {
    std::string names;
    for (const Model& m : loaded.models) names += (names.empty() ? "" : ", ") + m.name;
    return names;
}

// The model index the options pick; -1 with `error` when they pick none.
int chosenModel(const ExplorerOptions& options, const LoadedModels& loaded, std::string& error) {
    if (options.solid != 0) {
        if (!loaded.directory) {
            error = "--solid " + std::to_string(options.solid) +
                    " picks one of the ten files' solids, but the inputs are OFF files (use --model NAME)";
            return -1;
        }
        for (std::size_t i = 0; i < loaded.models.size(); ++i)
            if (loaded.models[i].solidKind == options.solid) return int(i);
        error = "--solid " + std::to_string(options.solid) + ": no such solid was loaded";
        return -1;
    }
    if (!options.model.empty()) {
        for (std::size_t i = 0; i < loaded.models.size(); ++i)
            if (loaded.models[i].name == options.model) return int(i);
        error = "--model " + options.model + ": no model of that name; the models are " +
                modelNames(loaded);
        return -1;
    }
    return loaded.models.empty() ? -1 : 0;
}

}  // namespace

bool stateFromOptions(const ExplorerOptions& options, const LoadedModels& loaded, ViewState& state,
                      std::string& error) {
    state = initialViewState(!loaded.directory);
    const int model = chosenModel(options, loaded, error);
    if (model < 0) {
        if (error.empty()) error = "no model to show";
        return false;
    }
    state.model = model;
    state.a = options.a;
    state.b = options.b;
    state.width = options.width;
    state.height = options.height;
    state.show = options.show;
    if (options.dual) state.dual = *options.dual;
    state.back = options.back;
    state.numbers = options.numbers;
    state.unfold = options.unfold;
    state.netOpen = options.unfold >= 0.5;
    return true;
}

bool offOfState(const Model& model, const ViewState& state, std::string& text, std::string& error) {
    std::vector<const Polyhedron*> shells;
    if (state.show != ShowMode::Dual) shells.push_back(&model.solid);
    if (state.show != ShowMode::Solid) {
        if (!model.closed) {
            if (state.show == ShowMode::Dual) {
                error = model.name + " has no dual to write: " + model.openEdgeMessage;
                return false;
            }
        } else if (state.dual == DualKind::Reciprocal && model.hasReciprocal) {
            shells.push_back(&model.reciprocalDual);
        } else {
            shells.push_back(&model.programDual);
        }
    }
    text = formatOff(shells);
    return true;
}

bool writeHeadlessOutput(const ExplorerOptions& options, const LoadedModels& loaded,
                         const PictureWriter& writePng, std::string& error) {
    ViewState state;
    if (!stateFromOptions(options, loaded, state, error)) return false;
    const Model& model = loaded.models[std::size_t(state.model)];
    error = outputPathProblem(options.outputPath);
    if (!error.empty()) return false;
    try {
        if (options.output == OutputKind::Off) {
            std::string text;
            if (!offOfState(model, state, text, error)) return false;
            writeFileAtomically(options.outputPath, text);
            return true;
        }
        if (options.output == OutputKind::Net) return writeNetOutput(options, model, state, error);
        NetCache nets;
        const int count = options.frames > 0 ? options.frames : 1;
        for (int i = 0; i < count; ++i) {
            ViewState turned = state;
            std::string path = options.outputPath;
            if (options.frames > 0) {
                if (options.animate == Animation::Unfold)
                    turned.unfold = count > 1 ? double(i) / (count - 1) : 0.0;
                else
                    turned.b = frameAngle(state.b, i, count);
                path = frameFileName(options.outputPath, i, count);
            }
            const Frame frame = buildUnfoldFrame(model, turned, nets);
            if (options.output == OutputKind::Svg)
                writeFileAtomically(path, formatSvg(frame));
            else
                writeThroughTemporary(path, [&](const std::string& temporary) { writePng(frame, temporary); });
        }
    } catch (const OutputError& e) {
        error = e.what();
        return false;
    }
    return true;
}
