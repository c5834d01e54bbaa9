#include "output/headless_output.h"

#include <cctype>
#include <cstdio>
#include <optional>

#include "explorer/morph_store.h"
#include "explorer/unfold_view.h"
#include "mesh/off_writer.h"
#include "output/file_series.h"
#include "output/net_output.h"
#include "output/output_file.h"
#include "output/svg_writer.h"
#include "output/turntable.h"

namespace {

std::string modelNames(const LoadedModels& loaded) {
    std::string names;
    for (const Model& m : loaded.models) names += (names.empty() ? "" : ", ") + m.name;
    return names;
}

// The solid kind (1..5) an English name stands for, 0 for none: the key
// list says "Cube" where the menu word is "heksaedar".
int englishSolid(std::string name) {
    for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
    const char* names[] = {"tetrahedron", "cube", "octahedron", "dodecahedron", "icosahedron"};
    for (int k = 0; k < 5; ++k)
        if (name == names[k]) return k + 1;
    return name == "hexahedron" ? 2 : 0;
}

// The model index the options pick, or why they pick none.
Result<int> chosenModel(const ExplorerOptions& options, const LoadedModels& loaded) {
    if (options.solid != 0) {
        if (!loaded.directory)
            return failure("--solid " + std::to_string(options.solid) +
                           " picks one of the ten files' solids, but the inputs are OFF files (use --model NAME)");
        for (std::size_t i = 0; i < loaded.models.size(); ++i)
            if (loaded.models[i].solidKind == options.solid) return int(i);
        return failure("--solid " + std::to_string(options.solid) + ": no such solid was loaded");
    }
    if (!options.model.empty()) {
        for (std::size_t i = 0; i < loaded.models.size(); ++i)
            if (loaded.models[i].name == options.model) return int(i);
        const int kind = loaded.directory ? englishSolid(options.model) : 0;
        for (std::size_t i = 0; i < loaded.models.size(); ++i)
            if (kind != 0 && loaded.models[i].solidKind == kind) return int(i);
        return failure("--model " + options.model + ": no model of that name; the models are " +
                       modelNames(loaded));
    }
    if (loaded.models.empty()) return failure("no model to show");
    return 0;
}

}  // namespace

Result<ViewState> stateFromOptions(const ExplorerOptions& options, const LoadedModels& loaded) {
    const Result<int> model = chosenModel(options, loaded);
    if (!model) return model.error();
    ViewState state = options.view;
    state.model = *model;
    state.dual = options.dual ? *options.dual : initialViewState(!loaded.directory).dual;
    if (state.turntable) setOrientation(state, turntableOrientation(state.angleX, state.angleY));
    state.netOpen = state.unfold >= 0.5;
    return state;
}

Result<std::string> offOfState(const Model& model, const ViewState& state) {
    std::vector<const Polyhedron*> shells;
    std::vector<std::string> names;
    if (state.show != ShowMode::Dual) {
        shells.push_back(&model.solid);
        names.push_back(model.name);
    }
    if (state.show != ShowMode::Solid) {
        const ShownDual dual = shownDual(model, state.dual);
        if (dual.shape) {
            shells.push_back(dual.shape);
            names.push_back((dual.shape == &model.reciprocalDual ? "the reciprocal dual of "
                                                                  : "the program's dual of ") +
                            model.name);
        } else if (state.show == ShowMode::Dual) {
            return failure(model.name + " has no dual to write: " + model.openEdgeMessage);
        }
    }
    for (std::size_t i = 0; i < shells.size(); ++i) {
        const Status writable = offWritable(*shells[i]);
        if (!writable)
            return failure(names[i] + " cannot be written as OFF: " + writable.error().what);
    }
    return formatOff(shells);
}

Result<std::string> infoText(const ExplorerOptions& options, const LoadedModels& loaded) {
    const Result<ViewState> chosen = stateFromOptions(options, loaded);
    if (!chosen) return chosen.error();
    MorphStore store(loaded.models);
    const Result<std::vector<std::string>> lines = store.countLines(chosen->model, *chosen);
    if (!lines) return failure(lines.error().what);
    std::string text;
    for (const std::string& line : *lines) text += line + "\n";
    return text;
}

Status writeHeadlessOutput(const ExplorerOptions& options, const LoadedModels& loaded,
                           const PictureWriter& writePng) {
    const Result<ViewState> chosen = stateFromOptions(options, loaded);
    if (!chosen) return chosen.error();
    const ViewState& state = *chosen;
    const Model& model = loaded.models[std::size_t(state.model)];
    const int count = options.frames > 0 ? options.frames : 1;
    // Frames are new files unless told otherwise: a second run into the same
    // names would silently replace the first one's pictures.
    const Existing existing =
        options.frames > 0 && !options.overwrite ? Existing::Keep : Existing::Replace;
    const auto fail = [&](Error e) -> Status {
        if (e.what == alreadyExists) e.what += "; --overwrite lets --frames replace existing pictures";
        return e;
    };
    std::optional<FileSeries> series;
    if (options.frames > 0) {
        Result<FileSeries> opened = FileSeries::open(options.outputPath, count, existing);
        if (!opened) return opened.error();
        series.emplace(std::move(*opened));
    }
    const Status checked = series ? series->check(0) : checkOutputPath(options.outputPath, existing);
    if (!checked) return fail(checked.error());

    MorphStore store(loaded.models);
    const bool morphs = state.morph > 0.0 || (options.frames > 1 && (options.animate == Animation::Morph ||
                                                                     options.animate == Animation::Both));
    if (morphs) {
        const Status available = store.available(state.model);
        if (!available) return failure(available.error().what);
    }
    // The stage in the solid's place, none (null) at t = 0.
    auto stageOf = [&](const ViewState& s) -> Result<const Model*> {
        if (s.morph <= 0.0) return static_cast<const Model*>(nullptr);
        const Result<const Model*> built = store.stage(s.model, s.morph);
        if (!built) return failure(built.error().what);
        return built;
    };

    if (options.output == OutputKind::Off || options.output == OutputKind::Net) {
        const Result<const Model*> built = stageOf(state);
        if (!built) return built.error();
        const Model* stage = *built;
        ViewState own = state;
        if (stage) own.dual = DualKind::Reciprocal;  // the stage's own dual
        if (options.output == OutputKind::Net) return writeNetOutput(options, stage ? *stage : model, own);
        const Result<std::string> text = offOfState(stage ? *stage : model, own);
        if (!text) return fail(text.error());
        const Status written = writeFileAtomically(options.outputPath, *text);
        return written ? Status(Done{}) : fail(written.error());
    }
    NetCache nets;
    for (int i = 0; i < count; ++i) {
        ViewState turned = state;
        // About the screen's vertical while the view is the program's,
        // about the model's up axis on a turntable (a is 0 there): either
        // way a turn of b alone.
        if (options.frames > 0) {
            const double k = count > 1 ? double(i) / (count - 1) : 0.0;
            if (options.animate == Animation::Turn || options.animate == Animation::Both)
                turned.angleY = frameAngle(state.angleY, i, count);
            if (options.animate == Animation::Morph || options.animate == Animation::Both) turned.morph = k;
            if (options.animate == Animation::Unfold) turned.unfold = k;
        }
        // Half a turntable is of no use: on any error the series removes
        // the pictures it added (the ones it replaced are gone already).
        const Result<const Model*> built = stageOf(turned);
        if (!built) return built.error();
        const Model* stage = *built;
        const FrameTarget target = options.output == OutputKind::Svg ? FrameTarget::Vector : FrameTarget::Raster;
        ViewState own = turned;
        if (stage && turned.unfold > 0) own.dual = DualKind::Reciprocal;  // the stage's own dual
        const Frame frame = turned.unfold > 0 ? buildUnfoldFrame(stage ? *stage : model, own, nets, {}, target)
                                              : buildFrame(model, turned, {}, target, stage);
        // A picture refused for its size (hidden parts or face order past
        // their bound) is written by no frame: the series removes the rest.
        if (!frame.unfinished.empty()) return failure(frame.unfinished);
        const OutputFiller fill = [&](int fd) {
            return options.output == OutputKind::Svg ? writeAll(fd, formatSvg(frame)) : writePng(frame, fd);
        };
        const Status done = series ? series->writeNext(fill) : writeOutputFile(options.outputPath, fill, existing);
        if (!done) return fail(done.error());
    }
    if (series) series->finish(false);
    return Done{};
}
