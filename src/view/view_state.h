#pragma once

#include "draw/frame.h"
#include "draw/palette.h"
#include "geometry/orientation.h"
#include "geometry/program_window.h"

namespace pd {

// What the explorer shows, as one plain value, held by the session (see
// session.h): every front end reads and changes it only through the session. Angles are floats because
// the program's rotation functions take float degrees: the same float gives
// the same turned vertices, so "x 30 y 45" here is the program's "30 45".

// Which shells are drawn.
enum class ShowMode { Both, Solid, Dual };

// Which dual is drawn: the program's (face corner sums times its factors) or
// the reciprocal about the midsphere.
enum class DualKind { Program, Reciprocal };

// A picture's look in one word: the program's (Screen), or what a printed
// page wants (Print: a margin, heavier lines, larger numbers with a halo
// of the background; the options set the white background).
enum class Style { Screen, Print };

// How edges (or parts of edges) behind a face are drawn.
enum class BackEdges { Drawn, Dashed, Hidden };

// What a click lit, in the solid's own numbering (from 0): a face with its
// dual vertex, a vertex with its dual face, or an edge with the dual edge
// that crosses it.
enum class LitKind { None, Face, Vertex, Edge };
struct Lit {
    LitKind kind = LitKind::None;
    int index = 0;
    bool operator==(const Lit& o) const { return kind == o.kind && index == o.index; }
};

constexpr float startAngleX = 30.0f;  // the README's typical run
constexpr float startAngleY = 45.0f;
constexpr int startWidth = programWindowWidth;
constexpr int startHeight = programWindowHeight;

struct ViewState {
    int model = 0;            // index into the loaded models
    float angleX = startAngleX;  // turn about x, degrees, applied first
    float angleY = startAngleY;  // turn about y, degrees, applied second
    Mat3d turn;               // then this, in screen space (see geometry/orientation.h)
    bool turntable = false;   // spin turns about the model's own up axis
    double zoom = 1.0;        // 1 = fitted like the program; 2 = twice as large
    ShowMode show = ShowMode::Both;
    DualKind dual = DualKind::Program;
    BackEdges back = BackEdges::Drawn;  // as the program draws them
    bool numbers = false;     // vertex numbers beside the solid's vertices
    bool dualNumbers = false; // and beside the dual's, numbered by their faces
    FaceStyle faces = FaceStyle::Off;
    bool spinning = false;    // turning about y by elapsed time
    bool help = false;        // the key list over the picture
    double morph = 0.0;       // the stage t of the morph to the dual, 0..1 (0: the solid itself)
    bool morphing = false;    // t running 0 -> 1 -> 0 by elapsed time
    bool info = false;        // the counts panel
    double unfold = 0.0;      // folded open: 0 the model, 1 its net laid flat facing the viewer
    bool netOpen = false;     // where `u` is taking it: open (towards 1) or closed (towards 0)
    int width = startWidth;   // window or picture size, pixels
    int height = startHeight;
    // For print: 0 lets the line width and the numbers' size grow with the
    // picture (1 pixel and the 7-pixel font at 1024 x 700).
    double lineWidth = 0.0;   // pixels
    int fontPx = 0;           // pixels, the font scaled by whole factors
    Rgb background = programBackground;
    bool transparent = false; // no background at all (PNG alpha, SVG without its rectangle)
    PaletteKind palette = PaletteKind::Classic;
    bool aliased = false;     // raster pictures without anti-aliasing: the program's very pixels
    Style style = Style::Screen;
    bool presenting = false;  // a classroom screen: numbers twice their size, lines twice as heavy
    Lit lit;                  // drawn only on the model itself, not on a morph's stage or a net
};

// The state's orientation, read and set as one value.
inline Orientation orientationOf(const ViewState& s) { return {s.angleX, s.angleY, s.turn}; }
inline void setOrientation(ViewState& s, const Orientation& o) {
    s.angleX = o.angleX;
    s.angleY = o.angleY;
    s.turn = o.turn;
}

// The state the explorer opens in at the typical run's angles (startState
// picks the model: the cube of the ten files, else the first); models from OFF files start with the reciprocal dual (they have no
// program of their own), the directory's solids with the program's.
inline ViewState initialViewState(bool offModels) {
    ViewState s;
    if (offModels) s.dual = DualKind::Reciprocal;
    return s;
}

}  // namespace pd
