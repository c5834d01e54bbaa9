#include "explorer/gestures.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace pd;

namespace {

// Plays `events` ("p X,Y" press, "m X,Y" move, "r" release, "w N" wheel,
// "s"/"t" touch start/move with fingers "X,Y;X,Y", "e" end, "c" cancel, "h"
// time passing; a touch's or h's "@T" its time) and tells what each meant:
// "-", "dX,Y" drag, "cX,Y" click, "zN" zoom, "u" unlight.
std::string play(const std::string& events) {
    Gestures gestures;
    std::istringstream in(events);
    std::string event, said;
    while (in >> event) {
        const std::size_t timed = event.find('@');
        const double when = timed == std::string::npos ? 0.0 : std::stod(event.substr(timed + 1));
        event = event.substr(0, timed);
        std::vector<TouchPoint> fingers;
        std::istringstream points(event.substr(1));
        TouchPoint p;
        char comma = 0;
        while (points >> p.x >> comma >> p.y) {
            fingers.push_back(p);
            points >> comma;
        }
        const TouchPoint at = fingers.empty() ? TouchPoint{} : fingers[0];
        Gesture g;
        switch (event[0]) {
        case 'p': g = gestures.press(at.x, at.y); break;
        case 'm': g = gestures.move(at.x, at.y); break;
        case 'r': g = gestures.release(); break;
        case 'w': g = gestures.wheel(std::stod(event.substr(1))); break;
        case 's': g = gestures.touch(TouchPhase::Start, fingers, when); break;
        case 't': g = gestures.touch(TouchPhase::Move, fingers, when); break;
        case 'e': g = gestures.touch(TouchPhase::End, fingers, when); break;
        case 'h': g = gestures.hold(when); break;
        default: g = gestures.touch(TouchPhase::Cancel, fingers, when); break;
        }
        const std::string xy = std::to_string(g.x) + "," + std::to_string(g.y);
        said += said.empty() ? "" : " ";
        said += g.kind == Gesture::Kind::Drag    ? "d" + xy
                : g.kind == Gesture::Kind::Click ? "c" + xy
                : g.kind == Gesture::Kind::Zoom  ? "z" + std::to_string(g.notches)
                : g.kind == Gesture::Kind::Unlight ? "u"
                                                 : "-";
    }
    return said;
}

TEST(Gestures, EventsMeanWhatTheWindowAndThePageDo) {
    const std::pair<const char*, const char*> cases[] = {
        {"p5,6 r", "- c5,6"},                          // a click where it went down
        {"p5,6 m5,6 r", "- - c5,6"},                   // a move to the same pixel drags nothing
        {"p5,6 m7,3 m7,3 m8,3 r", "- d2,-3 - d1,0 -"},  // dragged: no click
        {"m3,3 r", "- -"},                             // no button down
        {"w120 w-0.5 w0", "z1 z-1 -"},                 // a notch whatever the size
        {"s10,10 t18,2 e", "- - c10,10"},              // a tap: the finger within reach
        {"s10,10 t19,10 t20,12 e", "- d9,0 d1,2 -"},   // out of reach: turns from where it went down
        {"s10,10 c e", "- - -"},                       // cancelled: no tap
        {"s0,0;100,0 t0,0;125,0 t0,0;160,0 t0,0;60,0 e", "- z1 z1 z-4 -"},  // a notch per 1.25
        {"s0,0;100,0 t50,50 t52,50 e", "- - d2,0 -"},  // the finger a pinch leaves drags at once
        // Held still 0.6 s: a long press, told by the timer or the lifting, once.
        {"s10,10@1 h@1.5 t14,12@1.7 e@1.7", "- - - u"},
        {"s10,10@1 h@1.6 e@2", "- u -"},
        {"s10,10@1 t30,10@1.2 h@1.7 e@1.8", "- d20,0 - -"},  // moved: no long press
        {"p5,6 h@9 r", "- - c5,6"},                          // a mouse button is no finger
        {"s0,0;100,0@1 e@2", "- -"},                         // nor a pinch
    };
    for (const auto& [events, meant] : cases) EXPECT_EQ(play(events), meant) << events;
}

}  // namespace
