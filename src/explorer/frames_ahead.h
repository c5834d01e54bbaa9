#pragma once

#include <cstdint>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "base/background.h"
#include "draw/frame.h"
#include "explorer/morph_store.h"
#include "explorer/net_store.h"
#include "polyhedra/model.h"
#include "view/frame_builder.h"
#include "view/shown_shells.h"
#include "view/view_state.h"

namespace pd {

// The screen pictures a session builds before they are asked for. A
// window's morph and fold build each step's frame on a second thread
// while the step before is drawn: a step plans the next step's view (the
// morph's stage or the fold's share one step on), the screen picture
// starts building it once its own is out, and the next step shows that
// very view and takes the frame over. A window being made may also have
// its first picture built while it waits (see keepPrepared). Views are
// told apart by the session's count of changes (`version`).
class FramesAhead {
public:
    // What a job built ahead gives.
    struct Built {
        std::optional<Frame> frame;  // none when the stage could not be built
        std::optional<Model> stage;  // the morph's stage it was built on, if it built one
        std::string stageLine;       // that stage's counts line, when the counts panel is up
    };
    using Job = std::function<Built()>;

    FramesAhead() = default;
    // Waits for the job running: it reads the session's models.
    ~FramesAhead();
    FramesAhead(const FramesAhead&) = delete;
    FramesAhead& operator=(const FramesAhead&) = delete;

    // Waits for the job running, if any, and keeps its frame until the
    // step it was built for; its stage goes to `morphs`, as if built
    // there. Gives how long it waited, in seconds (0 with no job).
    double waitForJob(MorphStore& morphs);
    // A new step begins: the last step's frames and plan are dropped.
    // `late`: the last step waited for its frame, so the next job gives
    // way less (see ThreadPriority).
    void beginStep(bool late);
    // The step's view is `view`, at `version`, and was at `before` when
    // the step began: the frame built ahead becomes the step's when it was
    // built for that view and nothing but the clock moved the view since
    // it was planned. The frame is dropped either way.
    void takeForStep(const ViewState& view, std::uint64_t before, std::uint64_t version);
    // The view the next step will show, to be built ahead (none for no
    // plan), made at `version`.
    void plan(std::optional<ViewState> next, std::uint64_t version);
    // The plan to build now, when the view is still at the version it was
    // made at; the plan is used up either way.
    std::optional<ViewState> takePlan(std::uint64_t version);
    // Starts `job`, which builds the picture of `view`, on a second thread.
    void start(const ViewState& view, Job job);
    // How far the next job gives way to the drawing.
    ThreadPriority priority() const { return late_ ? ThreadPriority::Lowered : ThreadPriority::Lowest; }
    // The frame of the step at `version`, when one was built ahead for it;
    // the step's frame is used up either way.
    std::optional<Frame> takeStepFrame(std::uint64_t version);
    // A screen picture built before it was asked for, of the view at
    // `version`; takePrepared hands it over while the view is still there,
    // and drops it either way.
    void keepPrepared(Frame frame, std::uint64_t version);
    std::optional<Frame> takePrepared(std::uint64_t version);
    // Forgets the picture kept ahead, if any.
    void dropPrepared() { prepared_.reset(); }

private:
    std::optional<ViewState> plan_;   // the next step's view, to be built ahead
    std::uint64_t planVersion_ = 0;   // the version when plan_ was made
    std::future<Built> job_;
    ViewState jobView_;               // the view being (or last) built ahead
    bool late_ = false;               // the last step waited for its frame
    std::optional<Frame> built_;      // the job's frame, kept until the step it shows
    std::optional<Frame> stepFrame_;  // the frame of the view the step set, built ahead
    std::uint64_t stepVersion_ = 0;   // that view's version
    std::optional<Frame> prepared_;   // keepPrepared's
    std::uint64_t preparedVersion_ = 0;
};

// A job drawing the fold at `next`: `shells` of `modelName` with their
// `nets`, all made, and `panels`; it runs at `priority`.
FramesAhead::Job foldJob(std::vector<ShownShell> shells, std::vector<SharedNet> nets, std::string modelName,
                         const ViewState& next, FramePanels panels, ThreadPriority priority);

// A job building the morph's stage at `next` with `buildStage` (from
// MorphStore::stageJob) on `shown` and then its picture, with the key
// list `help` and, when `next` shows the counts, `counts` and the stage's
// own line. It gives no frame when the stage cannot be built. `shown`
// must outlive the job.
FramesAhead::Job morphJob(std::function<Result<Model>()> buildStage, const Model& shown, const ViewState& next,
                          std::vector<std::string> help, std::vector<std::string> counts,
                          ThreadPriority priority);

}  // namespace pd
