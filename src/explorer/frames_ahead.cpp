#include "explorer/frames_ahead.h"

#include <chrono>
#include <utility>

#include "explorer/unfold_view.h"

namespace pd {

FramesAhead::~FramesAhead() {
    if (job_.valid()) job_.wait();
}

double FramesAhead::waitForJob(MorphStore& morphs) {
    if (!job_.valid()) return 0.0;
    const auto start = std::chrono::steady_clock::now();
    Built built = job_.get();
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (built.stage) morphs.adopt(jobView_.model, jobView_.morph, std::move(*built.stage), std::move(built.stageLine));
    built_ = std::move(built.frame);
    return waited;
}

void FramesAhead::beginStep(bool late) {
    late_ = late;
    prepared_.reset();
    stepFrame_.reset();
    plan_.reset();
}

void FramesAhead::takeForStep(const ViewState& view, std::uint64_t before, std::uint64_t version) {
    if (built_ && planVersion_ == before && view.model == jobView_.model && view.morph == jobView_.morph &&
        view.unfold == jobView_.unfold && !view.spinning) {
        stepFrame_ = std::move(built_);
        stepVersion_ = version;
    }
    built_.reset();
}

void FramesAhead::plan(std::optional<ViewState> next, std::uint64_t version) {
    plan_ = std::move(next);
    planVersion_ = version;
}

std::optional<ViewState> FramesAhead::takePlan(std::uint64_t version) {
    std::optional<ViewState> next = std::move(plan_);
    plan_.reset();
    if (planVersion_ != version) return std::nullopt;  // the view moved since the plan
    return next;
}

void FramesAhead::start(const ViewState& view, Job job) {
    jobView_ = view;
    job_ = startInBackground(std::move(job));
}

std::optional<Frame> FramesAhead::takeStepFrame(std::uint64_t version) {
    std::optional<Frame> frame;
    if (stepFrame_ && stepVersion_ == version) frame = std::move(stepFrame_);
    stepFrame_.reset();
    return frame;
}

void FramesAhead::keepPrepared(Frame frame, std::uint64_t version) {
    prepared_ = std::move(frame);
    preparedVersion_ = version;
}

std::optional<Frame> FramesAhead::takePrepared(std::uint64_t version) {
    std::optional<Frame> frame;
    if (prepared_ && preparedVersion_ == version) frame = std::move(prepared_);
    prepared_.reset();
    return frame;
}

FramesAhead::Job foldJob(std::vector<ShownShell> shells, std::vector<SharedNet> nets, std::string modelName,
                         const ViewState& next, FramePanels panels, ThreadPriority priority) {
    return [shells = std::move(shells), nets = std::move(nets), name = std::move(modelName), next,
            panels = std::move(panels), priority] {
        lowerThreadPriority(priority);
        FramesAhead::Built built;
        built.frame = buildUnfoldFrame(shells, nets, name, next, FrameTarget::Raster, panels);
        return built;
    };
}

FramesAhead::Job morphJob(std::function<Result<Model>()> buildStage, const Model& shown, const ViewState& next,
                          std::vector<std::string> help, std::vector<std::string> counts,
                          ThreadPriority priority) {
    return [build = std::move(buildStage), &shown, next, help = std::move(help), lines = std::move(counts),
            priority] {
        lowerThreadPriority(priority);
        FramesAhead::Built built;
        Result<Model> staged = build();
        if (!staged) return built;
        FramePanels withCounts;
        withCounts.help = help;
        if (next.info) {
            built.stageLine = MorphStore::stageLine(*staged);
            withCounts.info = lines;
            withCounts.info.push_back(built.stageLine);
        }
        built.frame = buildFrame(shownShells(shown, &*staged, next), next, FrameTarget::Raster, withCounts);
        built.stage = std::move(*staged);
        return built;
    };
}

}  // namespace pd
