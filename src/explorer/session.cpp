#include "explorer/session.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <limits>

#include "base/background.h"
#include "base/translate.h"
#include "view/highlight.h"
#include "hidden/mark_thinning.h"
#include "explorer/unfold_view.h"
#include "view/view_title.h"
#include "io/off_writer.h"

namespace pd {

namespace {

constexpr double noteSeconds = 3.0;   // how long a message stays in the title
constexpr double tickSeconds = 0.015; // an animation's step
constexpr double pollSeconds = 0.05;  // how often to look for nets being made
constexpr double lateSeconds = 0.001; // a step that waited longer for its frame built ahead

std::string modelNames(const LoadedModels& loaded) {
    std::string names;
    for (const Model& m : loaded.models) names += (names.empty() ? "" : ", ") + m.name;
    return names;
}

int modelOfKind(const LoadedModels& loaded, int kind) {
    for (std::size_t i = 0; i < loaded.models.size(); ++i)
        if (kind != 0 && loaded.models[i].solidKind == kind) return int(i);
    return -1;
}

// The model index the options pick, or why they pick none. With nothing
// asked for, the cube of the ten files, as the typical run answers.
Result<int> chosenModel(const ExplorerOptions& options, const LoadedModels& loaded) {
    if (loaded.models.empty()) return failure(tr("no model to show"));
    if (options.solid != 0) {
        // With only built models shown, --solid chose what M stands for.
        if (loaded.solidIsM) return 0;
        const bool built = !options.conway.empty() || !options.catalogue.empty();
        if (!loaded.directory)
            return failure(fill(built ? tr("--solid {1} picks one of the ten files' solids, but none of them is shown and no "
                                           "notation takes one for M (use --model NAME)")
                                        : tr("--solid {1} picks one of the ten files' solids, but the inputs are OFF files (use "
                                             "--model NAME)"),
                                {std::to_string(options.solid)}));
        const int found = modelOfKind(loaded, options.solid);
        if (found < 0) return failure(fill(tr("--solid {1}: no such solid was loaded"), {std::to_string(options.solid)}));
        return found;
    }
    if (!options.model.empty()) {
        const int found = findModel(loaded, options.model);
        if (found >= 0) return found;
        return failure(fill(tr("--model {1}: no model of that name; the models are {2}"), {options.model, modelNames(loaded)}));
    }
    const int cube = loaded.directory ? modelOfKind(loaded, 2) : -1;
    return cube >= 0 ? cube : 0;
}

}  // namespace

Result<ViewState> startState(const ExplorerOptions& options, const LoadedModels& loaded) {
    const Result<int> model = chosenModel(options, loaded);
    if (!model) return model.error();
    ViewState state = options.view;
    state.model = *model;
    // The models' own default: the program's dual for the ten files' solids.
    state.dual = options.dual ? *options.dual
                              : initialViewState(loaded.models[std::size_t(state.model)].solidKind == 0).dual;
    if (state.turntable) setOrientation(state, turntableOrientation(state.angleX, state.angleY));
    state.netOpen = state.unfold >= 0.5;
    if (!options.highlight.empty()) {
        const Result<Lit> lit = readLit(options.highlight, loaded.models[std::size_t(state.model)]);
        if (!lit) return lit.error();
        state.lit = *lit;
    }
    return state;
}

Session::Session(LoadedModels loaded, const ViewState& start, Work work, double now)
    : loaded_(std::move(loaded)), view_(start), opening_(start), work_(work), morphs_(loaded_.models) {
    context_.modelCount = int(loaded_.models.size());
    context_.directory = loaded_.directory;
    keys_ = helpLines(context_);
    view_.model = std::clamp(view_.model, 0, std::max(context_.modelCount - 1, 0));
    // A stage the model cannot have is refused when first drawn, by the
    // window in its title, by a file run as its error.
    now_ = now;
}

void Session::leaveOutQuit() {
    context_.quits = false;
    keys_ = helpLines(context_);
}

void Session::languageChanged() {
    keys_ = helpLines(context_);
    morphs_.forgetTexts();
    ahead_.dropPrepared();
}

void Session::leaveTabToFocus() {
    context_.tabKeys = false;
    keys_ = helpLines(context_);
}

Session::~Session() = default;

void Session::startFrameAhead() {
    const std::optional<ViewState> next = ahead_.takePlan(version_);
    if (!next) return;
    ensureDual();  // read there, so made here
    if (next->unfold > 0.0) {
        // The fold: the same shells as now, their nets all made.
        const Result<const Model*> staged = stage();
        std::vector<ShownShell> shells;
        std::vector<SharedNet> nets;
        if (!staged || !openNets(*staged, shells, nets)) return;
        ahead_.start(*next, foldJob(std::move(shells), std::move(nets), (*staged ? **staged : model()).name, *next,
                                    framePanels(true), ahead_.priority()));
        return;
    }
    // The morph: the next stage, then its picture.
    std::function<Result<Model>()> build = morphs_.stageJob(next->model, next->morph);
    if (!build) return;
    ViewState unmorphed = *next;
    unmorphed.morph = 0.0;
    std::vector<std::string> lines;
    if (next->info) {
        const Result<std::vector<std::string>> known = morphs_.countLines(next->model, unmorphed);
        if (known) lines = *known;
    }
    ViewState drawn = *next;
    if (panelsOut_) drawn.info = false;
    ahead_.start(*next, morphJob(std::move(build), model(), drawn, panelsOut_ ? std::vector<std::string>{} : keys_,
                                 std::move(lines), ahead_.priority()));
}

void Session::ensureDual() {
    if (view_.dual == DualKind::Program) completeProgramDual(loaded_.models[std::size_t(view_.model)]);
}

void Session::note(const std::string& text, double now) {
    now_ = std::max(now_, now);
    note_ = text;
    noteModel_ = view_.model;
    noteUntil_ = now + noteSeconds;
}

// Starts the clocks of what the change from `before` set running; a model
// without a morph never keeps one asked for.
void Session::startClocks(const ViewState& before, double now) {
    if (view_.morph > 0.0 || view_.morphing) {
        const Status available = morphs_.available(view_.model);
        if (!available) {
            view_.morph = 0.0;
            view_.morphing = false;
            note(available.error().what, now);
        }
    }
    if (view_.spinning) clocks_.startSpin(view_, now);
    // On from the stage shown, on the way to the dual.
    if (view_.morphing && !before.morphing) clocks_.startMorph(view_.morph, now);
    // The fold's clock starts again from where the net stands whenever the
    // action moved it or its way (`r` midway stops it where it put it).
    if (view_.netOpen != before.netOpen || view_.unfold != before.unfold) clocks_.startFold(view_, now);
}

ActionEffect Session::perform(ActionId id, double now) {
    waitForFrameAhead();
    now_ = std::max(now_, now);
    if (!actionAvailable(id, context_)) {
        const int solid = int(id) - int(ActionId::Solid1);
        if (solid >= 0 && solid < 5 && !context_.directory)
            note(tr("keys 1 to 5 pick the ten files' solids; these models are OFF files (Tab goes through them)"), now);
        return ActionEffect::Redraw;
    }
    const ViewState before = view_;
    const ActionEffect effect = applyAction(id, view_, context_);
    if (effect != ActionEffect::Redraw) return effect;
    ++version_;
    // What was lit belongs to the model it was lit on.
    if (view_.model != before.model) view_.lit = {};
    if (id == ActionId::CycleDual) {
        // A model without a reciprocal dual looks the same either way: say so.
        const std::string why = reciprocalNote(model());
        if (!why.empty()) note(why, now);
    }
    startClocks(before, now);
    return effect;
}

void Session::change(const std::function<void(ViewState&)>& edit, double now) {
    waitForFrameAhead();
    now_ = std::max(now_, now);
    const ViewState before = view_;
    edit(view_);
    view_.model = std::clamp(view_.model, 0, context_.modelCount - 1);
    ++version_;
    if (view_.model != before.model) view_.lit = {};
    startClocks(before, now);
}

void Session::setMorph(double t, double now) {
    change([t](ViewState& v) {
        v.morph = std::clamp(t, 0.0, 1.0);
        v.morphing = false;
    }, now);
}

void Session::setFold(double t, double now) {
    waitForFrameAhead();
    now_ = std::max(now_, now);
    view_.unfold = std::clamp(t, 0.0, 1.0);
    view_.netOpen = view_.unfold >= 0.5;
    ++version_;
    clocks_.stopFold();
}

void Session::drag(int dx, int dy, double now) {
    waitForFrameAhead();
    now_ = std::max(now_, now);
    applyDrag(view_, dx, dy);
    ++version_;
    if (view_.spinning) clocks_.startSpin(view_, now);
}

Lit Session::partAt(double x, double y) {
    waitForFrameAhead();
    ensureDual();
    if (view_.morph > 0.0 || view_.unfold > 0.0) return {};
    const std::vector<ShownShell> shells = shownShells(model(), nullptr, view_);
    ViewState unlit = view_;
    unlit.lit = {};
    return litAt(shells, buildFrame(shells, unlit, FrameTarget::Raster), x, y);
}

void Session::click(int x, int y, double now) {
    waitForFrameAhead();
    now_ = std::max(now_, now);
    if (view_.morph > 0.0 || view_.unfold > 0.0 || view_.morphing || clocks_.folding()) {
        note(tr("a click lights a part of the model itself, not of its morph or its net"), now);
        return;
    }
    // A second click (or tap) on the part lit puts the light out.
    const Lit found = partAt(x, y);
    view_.lit = found == view_.lit ? Lit{} : found;
    ++version_;
}

void Session::wheel(int notches, double now) {
    for (int k = 0; k < std::min(std::abs(notches), 64); ++k)
        perform(notches > 0 ? ActionId::ZoomIn : ActionId::ZoomOut, now);
}

bool Session::apply(const Gesture& gesture, double now) {
    switch (gesture.kind) {
    case Gesture::Kind::None: return false;
    case Gesture::Kind::Drag: drag(gesture.x, gesture.y, now); break;
    case Gesture::Kind::Click: click(gesture.x, gesture.y, now); break;
    case Gesture::Kind::Zoom: wheel(gesture.notches, now); break;
    case Gesture::Kind::Unlight:
        if (view_.lit.kind == LitKind::None) return false;
        change([](ViewState& v) { v.lit = {}; }, now);
        break;
    }
    return true;
}

std::vector<std::size_t> Session::actionsHere() const {
    std::vector<std::size_t> here;
    for (std::size_t i = 0; i < actionTable().size(); ++i)
        if (actionAvailable(actionTable()[i].id, context_)) here.push_back(i);
    return here;
}

void Session::resize(int width, int height) {
    waitForFrameAhead();
    if (width != view_.width || height != view_.height) ++version_;
    view_.width = width;
    view_.height = height;
}

void Session::advance(double now) {
    // A frame that kept its step waiting (a morph's stage is more work than
    // the drawing leaves time for, or other programs hold the cores) is
    // built the next time at a priority that finishes it under load.
    ahead_.beginStep(waitForFrameAhead() > lateSeconds);
    const std::uint64_t before = version_;
    now_ = std::max(now_, now);
    if (!note_.empty() && (now >= noteUntil_ || noteModel_ != view_.model)) note_.clear();
    if (view_.spinning || view_.morphing || clocks_.folding()) ++version_;
    if (view_.spinning) clocks_.spin(view_, now);
    // A window's morph and fold build the next step's frame while this
    // one is drawn; the spin, cheap to draw, is drawn as it stands.
    const bool ahead = work_ == Work::InBackground && threadsAvailable && !view_.spinning;
    if (view_.morphing) {
        // Each step shows the stage asked for at the last one (built
        // meanwhile, on a second thread, while that one was drawn).
        view_.morph = clocks_.morphStage(now);
        if (!ahead || view_.unfold > 0.0) morphs_.prefetch(view_.model, clocks_.nextMorph());
    }
    if (clocks_.folding()) {
        ensureDual();
        std::vector<ShownShell> shells;
        Result<const Model*> shown = stage();
        const bool ready = work_ == Work::Waited || (shown && *shown) ||
                           nets_.prepare(wantedNets(nullptr, shells));
        // The fold starts once the nets are made; then, as the morph, it
        // shows the share asked for at the last step.
        if (!ready)
            clocks_.holdFold(view_.unfold, now);
        else
            view_.unfold = clocks_.foldShare(view_, now, ahead && !view_.morphing);
    }
    if (view_.morphing || clocks_.folding()) clocks_.stepped(now);
    // The frame built ahead shows this step when nothing but the clock
    // moved the view since it was planned.
    ahead_.takeForStep(view_, before, version_);
    std::optional<ViewState> plan;
    if (ahead && view_.morphing && view_.unfold <= 0.0) {
        plan = view_;
        plan->morph = clocks_.nextMorph();
    } else if (clocks_.nextUnfold() >= 0.0) {
        plan = view_;
        plan->unfold = clocks_.nextUnfold();
    }
    ahead_.plan(std::move(plan), version_);
}

double Session::nextChange(double now) const {
    double next = std::numeric_limits<double>::infinity();
    if (view_.spinning || view_.morphing || clocks_.folding()) next = tickSeconds;
    if (nets_.building()) next = std::min(next, pollSeconds);
    if (smoothFrameDue_) next = 0.0;
    if (!note_.empty()) next = std::min(next, std::max(0.0, noteUntil_ - now));
    return next;
}

Result<const Model*> Session::stage() {
    waitForFrameAhead();
    if (view_.morph <= 0.0) return static_cast<const Model*>(nullptr);
    return morphs_.stage(view_.model, view_.morph);
}

std::vector<NetStore::Wanted> Session::wantedNets(const Model* stage, std::vector<ShownShell>& shells) {
    shells = solidAndDualShells(model(), stage, view_);
    std::vector<NetStore::Wanted> wanted;
    for (const ShownShell& s : shells)
        wanted.push_back({{view_.model, stage ? view_.morph : 0.0, s.kind}, s.shape, s.numberBase});
    return wanted;
}

bool Session::openNets(const Model* stage, std::vector<ShownShell>& shells, std::vector<SharedNet>& nets) {
    const std::vector<NetStore::Wanted> wanted = wantedNets(stage, shells);
    // A window draws the model folded until its nets are made; a stage's
    // nets are made at once, as the stage itself is.
    if (work_ == Work::InBackground && !stage && !nets_.prepare(wanted)) return false;
    for (const NetStore::Wanted& w : wanted) nets.push_back(nets_.net(w.key, *w.shape, w.numberBase));
    return true;
}

Frame Session::unfoldFrame(const Model& shown, const Model* stage, FrameTarget target, const FramePanels& panels) {
    std::vector<ShownShell> shells;
    std::vector<SharedNet> nets;
    if (!openNets(stage, shells, nets)) {
        ViewState folded = view_;
        folded.unfold = 0.0;
        return buildFrame(shownShells(model(), stage, folded), folded, target, panels);
    }
    return buildUnfoldFrame(shells, nets, shown.name, view_, target, panels);
}

FramePanels Session::framePanels(bool withHelp) {
    FramePanels panels;
    if (panelsOut_) return panels;
    if (withHelp) panels.help = keys_;
    if (view_.info) {
        const Result<std::vector<std::string>> lines = countLines();
        if (lines) panels.info = *lines;
    }
    return panels;
}

Frame Session::frame(FrameTarget target, bool withHelp) {
    waitForFrameAhead();
    ensureDual();
    const Result<const Model*> built = stage();
    if (!built) {
        view_.morph = 0.0;
        view_.morphing = false;
        note(built.error().what, now_);
    }
    const Model* staged = built ? *built : nullptr;
    const FramePanels panels = framePanels(withHelp);
    if (view_.unfold > 0.0) return unfoldFrame(staged ? *staged : model(), staged, target, panels);
    return buildFrame(shownShells(model(), staged, view_), view_, target, panels);
}

void Session::prepareScreenFrame() {
    ahead_.keepPrepared(screenFrame(), version_);
}

Frame Session::screenFrame() {
    waitForFrameAhead();
    if (std::optional<Frame> ready = ahead_.takePrepared(version_)) return std::move(*ready);
    std::optional<Frame> step = ahead_.takeStepFrame(version_);
    Frame shown = step ? std::move(*step) : frame();
    startFrameAhead();
    std::size_t primitives = shown.faces.colour.size();
    for (const FrameShell& s : shown.shells) primitives += (s.lines.size() + s.dashed.size()) / 2 + s.marks.size();
    if (work_ != Work::InBackground || !shown.smooth || primitives < quickPrimitives) {
        smoothFrameDue_ = false;
        return shown;
    }
    const bool animating = view_.spinning || view_.morphing || clocks_.folding();
    if (animating || version_ != quickVersion_) {
        // The view moved since the last quick picture: another quick one,
        // and, once it stands still, the smooth one.
        shown.smooth = false;
        thinMarks(shown);
        quickVersion_ = version_;
        smoothFrameDue_ = !animating;
        return shown;
    }
    smoothFrameDue_ = false;
    return shown;
}

std::string Session::title() const {
    const bool lit = view_.lit.kind != LitKind::None && view_.morph <= 0.0 && view_.unfold <= 0.0;
    return viewTitle(model().name, view_, opening_, noteModel_ == view_.model ? note_ : "",
                     lit ? litText(model(), view_.lit) : "");
}

Result<std::vector<std::string>> Session::countLines() {
    waitForFrameAhead();
    ensureDual();
    return morphs_.countLines(view_.model, view_);
}

std::string Session::saveStem() const {
    return model().name + "-" + orientationFileText(orientationOf(view_));
}

void Session::showFrame(Animation animation, int index, int count) {
    waitForFrameAhead();
    view_ = opening_;
    const double k = count > 1 ? double(index) / (count - 1) : 0.0;
    // About the screen's vertical while the view is the program's, about
    // the model's up axis on a turntable (a is 0 there): either way a turn
    // of b alone.
    if (animation == Animation::Turn || animation == Animation::Both)
        view_.angleY = float(double(opening_.angleY) + 360.0 * index / count);
    if (animation == Animation::Morph || animation == Animation::Both) view_.morph = k;
    if (animation == Animation::Unfold) view_.unfold = k;
}

Status Session::morphAvailable() {
    waitForFrameAhead();
    return morphs_.available(view_.model);
}

Result<std::string> Session::offText() {
    waitForFrameAhead();
    ensureDual();
    const Result<const Model*> built = stage();
    if (!built) return built.error();
    const Model& shown = *built ? **built : model();
    const std::vector<ShownShell> shells = solidAndDualShells(model(), *built, view_);
    if (shells.empty()) return failure(fill(tr("{1} has no dual to write: {2}"), {tr(shown.name.c_str()), shown.openEdgeMessage}));
    std::vector<const Polyhedron*> shapes;
    for (const ShownShell& shell : shells) {
        const Status writable = offWritable(*shell.shape);
        if (!writable)
            return failure(fill(tr("{1} cannot be written as OFF: {2}"), {shellName(shell, shown.name), writable.error().what}));
        shapes.push_back(shell.shape);
    }
    // A canonical model and its reciprocal as made in double, not as the
    // floats drawn hold them; a stage of the morph has only floats.
    const Model& m = model();
    std::vector<Vec3d> poles;
    std::vector<const std::vector<Vec3d>*> exact;
    for (const ShownShell& shell : shells) {
        const bool held = !*built && !m.exactVertices.empty();
        if (held && shell.shape == &m.reciprocalDual) poles = unitSpherePoles(m.solid, m.exactVertices);
        exact.push_back(!held                           ? nullptr
                        : shell.shape == &m.solid        ? &m.exactVertices
                        : shell.shape == &m.reciprocalDual ? &poles
                                                           : nullptr);
    }
    return formatOff(shapes, exact);
}

Session::NetShells Session::netShells() {
    waitForFrameAhead();
    ensureDual();
    const Result<const Model*> built = stage();
    const Model* staged = built ? *built : nullptr;
    return {solidAndDualShells(model(), staged, view_), staged ? staged : &model()};
}

}  // namespace pd
