#pragma once

#include <vector>

namespace pd {

// What a pointer, a finger or a wheel means to the explorer, worked out in
// one place for the window and the page, which only forward their events.
// A button or finger lifted where it went down is a click; moved, it drags;
// two fingers moving apart or together zoom as the wheel does; a finger
// held still a while puts out what is lit.

// One meaning of the events so far. A tap is a click: both light what lies
// under the point where the press began. Unlight: a long press.
struct Gesture {
    enum class Kind { None, Drag, Click, Zoom, Unlight };
    Kind kind = Kind::None;
    int x = 0, y = 0;  // Drag: the motion in pixels (y down); Click: the pixel
    int notches = 0;   // Zoom: wheel notches, away from the user (larger) positive
};

// A point in the drawing's pixels, from its top left.
struct TouchPoint {
    long x = 0, y = 0;
};

enum class TouchPhase { Start, Move, End, Cancel };

// A finger held this long within tapReachPixels of where it went down is a
// long press, not a tap: long enough that no tap is taken for one.
constexpr double longPressSeconds = 0.6;

// The interpreter: it remembers what is pressed and where, nothing else.
class Gestures {
public:
    // The (left) button went down at (x, y).
    Gesture press(long x, long y);
    // The pointer is at (x, y): a drag by the motion since the last one,
    // while the button is down and it moved.
    Gesture move(long x, long y);
    // The button came up: a click where it went down, if it never dragged.
    Gesture release();
    // The wheel turned by `away` (any size, away from the user positive):
    // a notch in its direction, none for 0.
    Gesture wheel(double away);
    // The fingers on the drawing after a touch event. One finger drags once
    // it leaves tapReachPixels of where it went down (the turn then counts
    // from there), and lifted before, it clicks there. Two (or more: the
    // first two count) zoom a notch each time their distance grows or
    // shrinks by the wheel's step; a finger a pinch leaves drags at once.
    // `at`: the event's time in seconds; one finger lifted longPressSeconds
    // or more after it went down, never out of reach, is a long press.
    Gesture touch(TouchPhase phase, const std::vector<TouchPoint>& fingers, double at = 0.0);
    // Time passing without a touch event at `at` seconds (a driver's timer,
    // due longPressSeconds after a finger went down): the long press once
    // the one finger down has stayed within reach that long, else nothing.
    // The finger's lifting then means nothing more.
    Gesture hold(double at);

private:
    bool down_ = false;     // a button or one finger is down
    bool dragged_ = false;  // it moved since it went down
    long pressX_ = 0, pressY_ = 0;
    long lastX_ = 0, lastY_ = 0;
    double pinchFrom_ = 0.0;  // the fingers' distance at the last notch; 0: no pinch
    bool touched_ = false;    // the button down is a finger
    double touchAt_ = 0.0;    // when it went down
};

}  // namespace pd
