#include "explorer/animation_clocks.h"

#include <algorithm>
#include <cmath>

#include "explorer/actions.h"

namespace pd {

namespace {

// Stage t of the morph at a point of its cycle: 0 -> 1 -> 0.
double stageAt(double phase) {
    phase -= std::floor(phase);
    return phase < 0.5 ? 2.0 * phase : 2.0 - 2.0 * phase;
}

}  // namespace

void AnimationClocks::startSpin(const ViewState& view, double now) {
    spinFrom_ = orientationOf(view);
    spinSince_ = now;
}

void AnimationClocks::spin(ViewState& view, double now) const {
    setOrientation(view, spinFrom_);
    applySpin(view, float(std::fmod(spinDegreesPerSecond * (now - spinSince_), 360.0)));
    if (view.angleY >= 360.0f) view.angleY -= 360.0f;
}

void AnimationClocks::startMorph(double stage, double now) {
    morphPhase_ = stage / 2.0;
    morphSince_ = lastStep_ = now;
    nextMorph_ = -1.0;
}

double AnimationClocks::morphStage(double now) {
    // One cycle in morphCycleSeconds; a step ahead is as long as the last.
    const double phase = morphPhase_ + (now - morphSince_) / morphCycleSeconds;
    const double step = (now - lastStep_) / morphCycleSeconds;
    const double shown = nextMorph_ >= 0.0 ? nextMorph_ : stageAt(phase);
    nextMorph_ = stageAt(phase + step);
    return shown;
}

void AnimationClocks::startFold(const ViewState& view, double now) {
    foldFrom_ = view.unfold;
    foldSince_ = lastStep_ = now;
    nextUnfold_ = -1.0;
    folding_ = view.unfold != (view.netOpen ? 1.0 : 0.0);
}

void AnimationClocks::holdFold(double unfold, double now) {
    foldFrom_ = unfold;
    foldSince_ = now;
    nextUnfold_ = -1.0;
}

double AnimationClocks::foldShare(const ViewState& view, double now, bool ahead) {
    const auto shareAt = [this, &view](double at) {
        const double moved = (at - foldSince_) / unfoldSeconds;
        return view.netOpen ? std::min(1.0, foldFrom_ + moved) : std::max(0.0, foldFrom_ - moved);
    };
    const double share = nextUnfold_ >= 0.0 ? nextUnfold_ : shareAt(now);
    folding_ = share != (view.netOpen ? 1.0 : 0.0);
    nextUnfold_ = folding_ && ahead ? shareAt(now + (now - lastStep_)) : -1.0;
    return share;
}

}  // namespace pd
