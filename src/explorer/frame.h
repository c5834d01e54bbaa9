#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "explorer/view_state.h"
#include "scene/colour.h"
#include "scene/framing.h"

struct Model;

// Everything one picture shows, decided once so the GL renderer and the SVG
// writer draw the same thing: they only follow these lists.
//
// Coordinates are the program's: each vertex turned about x by a, then about
// y by b, with the program's rotation functions, and seen along z (z
// dropped). Camera and projection come from the program's framing code, so a
// renderer that sets up GL as the program's window does gets the program's
// pixels; pixelOf(camera, projection, x, y) gives a vertex's pixel.

// One shell (the solid or its dual) in one colour.
struct FrameShell {
    Rgb colour;
    std::vector<float> xy;              // turned vertex i at xy[2i], xy[2i + 1]
    std::vector<std::uint32_t> lines;   // pairs of vertex indices, solid 1-pixel lines
    std::vector<std::uint32_t> dashed;  // pairs of vertex indices, dashed 1-pixel lines
    std::vector<std::uint32_t> marks;   // vertices with a 4-pixel end mark
};

// A line of text placed in window pixels: x from the left border, y from the
// top border, at the left end of the text's baseline.
struct FrameText {
    std::string text;
    double x = 0.0;
    double y = 0.0;
    Rgb colour{0.0f, 0.0f, 0.0f};
};

// A filled rectangle in window pixels (left, top, width, height), drawn
// before the texts.
struct FrameBox {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    Rgb colour{1.0f, 1.0f, 1.0f};
};

struct Frame {
    int width = startWidth;
    int height = startHeight;
    Rgb background{0.9f, 0.9f, 0.8f};  // the program's clear colour
    Camera camera;
    Projection projection;
    std::vector<FrameShell> shells;  // drawing order: the solid (blue), then the dual (red); see buildFrame
    std::vector<FrameBox> boxes;
    std::vector<FrameText> texts;    // vertex numbers, then the key list if shown
};

// Pixels from a vertex to the baseline start of its number.
constexpr double labelOffsetX = 5.0;
constexpr double labelOffsetY = -5.0;

// Builds the picture of `model` in `state` at state.width x state.height
// (sizes below 1 count as 1). The framing box covers every vertex of the
// shown shells, so switching the back edges never moves the picture; zoom
// narrows the field of view around the same centre. A model without a dual
// (not closed) shows its solid only; a missing reciprocal dual falls back to
// the program's. `help` lines, when state.help is set, come from the caller
// (the action table knows the keys).
//
// With state.morph > 0 and the stage M(t) as `morph`, M(t) takes the
// solid's place: first the solid and its dual, faint, then M(t) (when the
// state shows the solid) in a colour from the solid's blue to the dual's red
// by t, then its own reciprocal dual in red (when it shows the dual); the
// vertex numbers are M(t)'s. `info` lines, when state.info is set, are shown
// in a panel at the bottom left.
Frame buildFrame(const Model& model, const ViewState& state,
                 const std::vector<std::string>& help = {}, const Model* morph = nullptr,
                 const std::vector<std::string>& info = {});

// The colour of the morph's edges at stage t: blue at 0, red at 1.
Rgb morphColour(double t);

// The window title: "NAME  x A  y B", the angles printed like %g, then
// "  t 0.25" (three digits at most, like %.3g) when state.morph > 0.
std::string frameTitle(const std::string& modelName, const ViewState& state);
