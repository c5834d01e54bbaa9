#pragma once

#include "geometry/orientation.h"
#include "view/view_state.h"

namespace pd {

// The clocks of a session's animations, each a function of time from
// where it started: the spin, the morph through its cycle and the fold.
// A window asks for each step's frame a step ahead (see FramesAhead), so
// the morph and the fold also give the stage or share one more step on;
// a step then shows what the step before asked for. Times in seconds,
// never going back.
class AnimationClocks {
public:
    // The spin starts again from where `view` stands at `now`.
    void startSpin(const ViewState& view, double now);
    // Turns `view` to where the spin has it at `now`: by elapsed time, so
    // the speed does not depend on how fast frames come.
    void spin(ViewState& view, double now) const;

    // The morph runs on from `stage` (on the way to the dual) at `now`.
    void startMorph(double stage, double now);
    // The stage to show at `now`: the one asked for at the last step, if
    // any, else where the cycle stands; asks for the stage one more such
    // step on (nextMorph).
    double morphStage(double now);
    // The stage asked for ahead (-1 for none).
    double nextMorph() const { return nextMorph_; }

    // The fold starts again from `unfold`, where the net stands, at `now`,
    // on its way to open or shut as `view` says; it moves while it is not
    // there.
    void startFold(const ViewState& view, double now);
    // While its nets are being made, the fold waits where it stands.
    void holdFold(double unfold, double now);
    // The fold's share at `now` for `view` (open or shutting): the one
    // asked for at the last step, if any, else where the clock has it. It
    // stops when there, and asks for the share a step on when `ahead`.
    double foldShare(const ViewState& view, double now, bool ahead);
    // The fold stops where the view stands (a slider put it there).
    void stopFold() {
        folding_ = false;
        nextUnfold_ = -1.0;
    }
    // `u` set the fold moving, and it is not there yet.
    bool folding() const { return folding_; }
    // The share asked for ahead (-1 for none).
    double nextUnfold() const { return nextUnfold_; }

    // A step of the morph or the fold was shown at `now`: the next asks
    // for what lies as far on again.
    void stepped(double now) { lastStep_ = now; }

private:
    Orientation spinFrom_;
    double spinSince_ = 0.0;
    double morphPhase_ = 0.0;  // through one cycle 0 -> 1 -> 0, in [0, 1), at morphSince_
    double morphSince_ = 0.0;
    double lastStep_ = 0.0;    // the last step's time, to ask for the next one ahead
    double nextMorph_ = -1.0;
    bool folding_ = false;
    double foldFrom_ = 0.0;
    double foldSince_ = 0.0;
    double nextUnfold_ = -1.0;
};

}  // namespace pd
