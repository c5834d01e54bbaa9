#include "explorer/gestures.h"

#include <cmath>
#include <cstdlib>

#include "explorer/actions.h"

namespace pd {

namespace {

Gesture drag(long dx, long dy) { return {Gesture::Kind::Drag, int(dx), int(dy), 0}; }

}  // namespace

Gesture Gestures::press(long x, long y) {
    down_ = true;
    touched_ = false;
    dragged_ = false;
    pressX_ = lastX_ = x;
    pressY_ = lastY_ = y;
    return {};
}

Gesture Gestures::move(long x, long y) {
    if (!down_ || (x == lastX_ && y == lastY_)) return {};
    const Gesture moved = drag(x - lastX_, y - lastY_);
    dragged_ = true;
    lastX_ = x;
    lastY_ = y;
    return moved;
}

Gesture Gestures::release() {
    const bool click = down_ && !dragged_;
    down_ = false;
    if (!click) return {};
    return {Gesture::Kind::Click, int(pressX_), int(pressY_), 0};
}

Gesture Gestures::wheel(double away) {
    if (away == 0.0) return {};
    return {Gesture::Kind::Zoom, 0, 0, away > 0.0 ? 1 : -1};
}

Gesture Gestures::hold(double at) {
    if (!down_ || !touched_ || dragged_ || at - touchAt_ < longPressSeconds) return {};
    down_ = false;  // taken: the lifting is no tap
    return {Gesture::Kind::Unlight, 0, 0, 0};
}

Gesture Gestures::touch(TouchPhase phase, const std::vector<TouchPoint>& fingers, double at) {
    if (phase == TouchPhase::End || phase == TouchPhase::Cancel || fingers.empty()) {
        pinchFrom_ = 0.0;
        const Gesture held = hold(at);
        if (held.kind != Gesture::Kind::None) return phase == TouchPhase::End ? held : Gesture{};
        if (phase == TouchPhase::End) return release();
        down_ = false;
        return {};
    }
    if (fingers.size() >= 2) {
        down_ = false;
        const double apart = std::hypot(double(fingers[1].x - fingers[0].x), double(fingers[1].y - fingers[0].y));
        if (pinchFrom_ <= 0.0 || phase == TouchPhase::Start) {
            pinchFrom_ = apart;
        } else if (apart > 0.0) {
            const int notches = int(std::trunc(std::log(apart / pinchFrom_) / std::log(zoomStep)));
            if (notches != 0) {
                pinchFrom_ *= std::pow(zoomStep, notches);
                return {Gesture::Kind::Zoom, 0, 0, notches};
            }
        }
        return {};
    }
    const TouchPoint& finger = fingers[0];
    if (phase == TouchPhase::Start) {
        const Gesture pressed = press(finger.x, finger.y);
        touched_ = true;
        touchAt_ = at;
        return pressed;
    }
    if (!down_) {  // the finger a pinch left: no tap, and the turn starts here
        down_ = dragged_ = true;
    } else if (!dragged_ && std::abs(finger.x - pressX_) <= tapReachPixels &&
               std::abs(finger.y - pressY_) <= tapReachPixels) {
        return {};  // still a tap: the turn waits, from where the finger went down
    } else if (finger.x != lastX_ || finger.y != lastY_) {
        return move(finger.x, finger.y);
    }
    lastX_ = finger.x;
    lastY_ = finger.y;
    return {};
}

}  // namespace pd
