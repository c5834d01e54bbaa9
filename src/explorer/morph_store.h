#pragma once

#include <atomic>
#include <functional>
#include <future>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "base/result.h"
#include "view/view_state.h"
#include "morph/morph.h"
#include "polyhedra/model.h"

namespace pd {

// The morph's stages of the loaded models as models of their own, each
// built once: the family of a model when it is first asked for, a stage
// M(t) when its (model, t) is, and kept while it is among the last few
// used, so a redraw, a turn or a paused morph builds nothing again.
class MorphStore {
public:
    // The store for `models`, which must outlive it and not change.
    explicit MorphStore(const std::vector<Model>& models);

    // Whether model `index` has a morph, or one line why not, as stage()
    // says it; works out the model's family, nothing more.
    Status available(int index);

    // M(t) of model `index` (0 < t <= 1) as a model: its edges, normals and
    // own reciprocal dual (the program's dual is left for
    // completeProgramDual, unless it has no reciprocal one), named
    // "NAME t T". It stays valid until the store builds a further stage
    // (it keeps only the last few). Fails with one line when the model has
    // no morph: "NAME has no morph: it is not convex: ...".
    Result<const Model*> stage(int index, double t);

    // Starts building stage (index, t) on a second thread, for a later
    // stage() of the same (index, t) to take, so an animation builds the
    // next stage while the current one is drawn. Nothing when that stage is
    // kept already or the model has no morph; waits for the one started
    // before, if any, and keeps it.
    void prefetch(int index, double t);

    // A job that builds stage (index, t) as stage() would, on any thread:
    // it reads only the model and its family, which stay put, and nothing
    // of the store. Null when the model has no morph.
    std::function<Result<Model>()> stageJob(int index, double t);

    // Keeps `stage`, made by stageJob(index, t), as if stage() had built
    // it, with its counts line (see stageLine) when one is given.
    void adopt(int index, double t, Model stage, std::string countLine = "");

    // How many stages it has built or started to build, here or on other
    // threads: what an animation's steps cost, for tests and benchmarks.
    int stagesBuilt() const { return built_; }

    // The counts line of a stage, as countLines gives it.
    static std::string stageLine(const Model& stage);

    // The counts lines of model `index`: the solid, the dual `state` shows
    // (or "dual: none (REASON)" for a model that is not closed) and, when
    // state.morph > 0, the morph; as --info prints them and the counts
    // panel shows them. Each line is worked out once, when first asked
    // for: a program's dual `state` shows must be made by then
    // (completeProgramDual). Fails as stage() does.
    Result<std::vector<std::string>> countLines(int index, const ViewState& state);
    // Forgets the count lines and refusals already worked out, so the next
    // ones are in the language chosen since; models and stages are kept.
    void forgetTexts();

private:
    struct Stage {
        int index;
        double t;
        Model model;
        std::string countLine;  // empty until asked for
    };
    Stage* find(int index, double t);
    const Result<MorphFamily>& family(int index);

    const std::vector<Model>& models_;
    std::vector<std::unique_ptr<Result<MorphFamily>>> families_;  // per model, once asked for
    std::vector<std::vector<std::string>> lines_;  // per model: solid, program's dual, reciprocal dual
    std::list<Stage> stages_;                      // the most recently used first
    int pendingIndex_ = -1;                        // the stage prefetch() is building
    double pendingT_ = 0.0;
    std::future<Result<Model>> pending_;
    std::atomic<int> built_{0};
};

}  // namespace pd
