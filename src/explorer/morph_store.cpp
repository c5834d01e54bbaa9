#include "explorer/morph_store.h"

#include <algorithm>
#include <cstdio>

#include "base/background.h"
#include "base/translate.h"
#include "polyhedra/shell_counts.h"

namespace pd {

namespace {

// Enough for the stages a window moves between (the last step back and
// forth, a paused morph), few enough to hold for big models.
constexpr std::size_t keptStages = 4;

std::string withStage(const std::string& text, double t) {
    char stage[32];
    std::snprintf(stage, sizeof stage, " t %g", t);
    return text + stage;
}

// Stage t of a family as a model, named "NAME t T". A stage is drawn with
// its own reciprocal dual (convex, it has one), so the program's dual, a
// fifth of the model's work, is made only where that is missing.
Result<Model> buildStage(const MorphFamily& family, const std::string& name, double t) {
    Result<Polyhedron> shape = morphAt(family, t);
    if (!shape) return shape.error();
    return buildModel(withStage(name, t), std::move(*shape), 0, 0, {}, false);
}

std::string dualLine(const Model& model, DualKind kind) {
    if (!model.closed) return fill(tr("{1}: none ({2})"), {trc("shell", "dual"), model.openEdgeMessage});
    if (kind == DualKind::Reciprocal && model.hasReciprocal)
        return countsLine(trc("shell", "dual"), countShell(model.reciprocalDual, model.dualEdges));
    return countsLine(trc("shell", "dual"), countShell(model.programDual, model.dualEdges));
}

}  // namespace

MorphStore::MorphStore(const std::vector<Model>& models)
    : models_(models), families_(models.size()), lines_(models.size()) {}

const Result<MorphFamily>& MorphStore::family(int index) {
    std::unique_ptr<Result<MorphFamily>>& family = families_[std::size_t(index)];
    if (!family) family = std::make_unique<Result<MorphFamily>>(morphFamily(models_[std::size_t(index)]));
    return *family;
}

Status MorphStore::available(int index) {
    const Result<MorphFamily>& f = family(index);
    if (!f) return failure(fill(tr("{1} has no morph: {2}"), {tr(models_[std::size_t(index)].name.c_str()), f.error().what}));
    return Done{};
}

MorphStore::Stage* MorphStore::find(int index, double t) {
    for (auto s = stages_.begin(); s != stages_.end(); ++s)
        if (s->index == index && s->t == t) {
            stages_.splice(stages_.begin(), stages_, s);
            return &stages_.front();
        }
    const Model& model = models_[std::size_t(index)];
    const Result<MorphFamily>& f = family(index);
    if (!f) return nullptr;
    Result<Model> built = pending_.valid() && pendingIndex_ == index && pendingT_ == t
                              ? pending_.get()
                              : (++built_, buildStage(*f, model.name, t));
    if (!built) return nullptr;
    adopt(index, t, std::move(*built));
    return &stages_.front();
}

void MorphStore::prefetch(int index, double t) {
    for (const Stage& s : stages_)
        if (s.index == index && s.t == t) return;
    if (pending_.valid() && pendingIndex_ == index && pendingT_ == t) return;
    const Result<MorphFamily>& f = family(index);  // worked out here, read there
    if (!f) return;
    // The stage started before is kept, not dropped: a view may still ask
    // for it (the window's step shows the stage prefetched at the last one).
    if (pending_.valid()) {
        Result<Model> done = pending_.get();
        if (done) adopt(pendingIndex_, pendingT_, std::move(*done));
    }
    pendingIndex_ = index;
    pendingT_ = t;
    ++built_;
    pending_ = startInBackground([&f, &model = models_[std::size_t(index)], t] {
        lowerThreadPriority(ThreadPriority::Lowered);  // the window waits for it
        return buildStage(*f, model.name, t);
    });
}

std::function<Result<Model>()> MorphStore::stageJob(int index, double t) {
    const Result<MorphFamily>& f = family(index);  // worked out here, read there
    if (!f) return nullptr;
    return [&f, &model = models_[std::size_t(index)], t, &built = built_] {
        ++built;
        return buildStage(*f, model.name, t);
    };
}

void MorphStore::adopt(int index, double t, Model stage, std::string countLine) {
    for (auto s = stages_.begin(); s != stages_.end(); ++s)
        if (s->index == index && s->t == t) {
            stages_.erase(s);
            break;
        }
    stages_.push_front({index, t, std::move(stage), std::move(countLine)});
    if (stages_.size() > keptStages) stages_.pop_back();
}

std::string MorphStore::stageLine(const Model& stage) {
    return countsLine(trc("shell", "morph"), countShell(stage.solid, stage.edges));
}

Result<const Model*> MorphStore::stage(int index, double t) {
    if (const Stage* s = find(index, t)) return &s->model;
    const Status whole = available(index);
    if (!whole) return whole.error();
    return failure(withStage(fill(tr("{1} has no morph at"), {tr(models_[std::size_t(index)].name.c_str())}), t) + ": " +
                   morphAt(*family(index), t).error().what);
}

void MorphStore::forgetTexts() {
    for (std::vector<std::string>& lines : lines_) lines.clear();
    for (Stage& s : stages_) s.countLine.clear();
    for (std::unique_ptr<Result<MorphFamily>>& f : families_)
        if (f && !f->ok()) f.reset();
}

Result<std::vector<std::string>> MorphStore::countLines(int index, const ViewState& state) {
    const Model& model = models_[std::size_t(index)];
    // Each line when first asked for, not before: a model loaded without
    // the program's dual has it made only once a view shows it.
    std::vector<std::string>& known = lines_[std::size_t(index)];
    if (known.empty()) known.resize(3);
    if (known[0].empty()) known[0] = countsLine(trc("shell", "solid"), countShell(model.solid, model.edges));
    const std::size_t shown = state.dual == DualKind::Reciprocal ? 2 : 1;
    if (known[shown].empty()) known[shown] = dualLine(model, state.dual);
    std::vector<std::string> lines{known[0], known[shown]};
    if (state.morph > 0.0) {
        Stage* s = find(index, state.morph);
        if (!s) return stage(index, state.morph).error();
        if (s->countLine.empty()) s->countLine = stageLine(s->model);
        lines.push_back(s->countLine);
    }
    return lines;
}

}  // namespace pd
