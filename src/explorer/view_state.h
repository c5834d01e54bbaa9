#pragma once

// What the explorer shows, as one plain value: the window, its input and the
// headless output all read and change only this. Angles are floats because
// the program's rotation functions take float degrees: the same float gives
// the same turned vertices, so "x 30 y 45" here is the program's "30 45".

// Which shells are drawn.
enum class ShowMode { Both, Solid, Dual };

// Which dual is drawn: the program's (face corner sums times its factors) or
// the reciprocal about the midsphere.
enum class DualKind { Program, Reciprocal };

// How edges facing away from the viewer are drawn.
enum class BackEdges { Drawn, Dashed, Hidden };

constexpr float startAngleX = 30.0f;  // the README's typical run
constexpr float startAngleY = 45.0f;
constexpr int startWidth = 1024;      // the program's window
constexpr int startHeight = 700;

struct ViewState {
    int model = 0;            // index into the loaded models
    float a = startAngleX;    // turn about x, degrees, applied first
    float b = startAngleY;    // turn about y, degrees, applied second
    double zoom = 1.0;        // 1 = fitted like the program; 2 = twice as large
    ShowMode show = ShowMode::Both;
    DualKind dual = DualKind::Program;
    BackEdges back = BackEdges::Drawn;  // as the program draws them
    bool numbers = false;     // vertex numbers beside the solid's vertices
    bool spinning = false;    // turning about y by elapsed time
    bool help = false;        // the key list over the picture
    double unfold = 0.0;      // folded open: 0 the model, 1 its net laid flat facing the viewer
    bool netOpen = false;     // where `u` is taking it: open (towards 1) or closed (towards 0)
    int width = startWidth;   // window or picture size, pixels
    int height = startHeight;
};

// The state the explorer opens in: the first model at the typical run's
// angles; models from OFF files start with the reciprocal dual (they have no
// program of their own), the directory's solids with the program's.
inline ViewState initialViewState(bool offModels) {
    ViewState s;
    if (offModels) s.dual = DualKind::Reciprocal;
    return s;
}
