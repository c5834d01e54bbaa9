#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "geometry/framing.h"
#include "geometry/program_window.h"
#include "geometry/rgb.h"

namespace pd {

// Everything one picture shows, decided once so the GL renderer and the SVG
// writer draw the same thing: they only follow these lists.
//
// Coordinates are the program's: each vertex turned about x by a, then about
// y by b, with the program's rotation functions (and by the state's further
// turn, if any; see geometry/orientation.h), and seen along z (z kept only
// for depth). Camera and projection come from the program's framing code, so
// a renderer that sets up GL as the program's window does gets the program's
// pixels; pixelOf(camera, projection, x, y) gives a vertex's pixel.

// How faces are painted: not at all (the program's picture), flat shaded,
// or shaded and translucent.
enum class FaceStyle { Off, Shaded, Translucent };

// One shell (the solid or its dual) in one colour.
struct FrameShell {
    Rgb colour;
    std::vector<float> xy;              // turned vertex i at xy[2i], xy[2i + 1]; then the
                                        // points where edges pass behind faces (SVG)
    std::vector<float> z;               // the depth of each point, larger toward the viewer
    std::vector<std::uint32_t> lines;   // pairs of point indices, solid lines
    std::vector<std::uint32_t> dashed;  // pairs of point indices, dashed lines
    std::vector<std::uint32_t> marks;   // vertices with an end mark
    double markSize = 0.0;              // pixels; 0: the frame's
    bool onTop = false;                 // drawn over everything, nothing hides it
};

// Convex polygons (faces, or parts of faces) in turned coordinates, in the
// order to paint them, each with its colour.
struct FramePolygons {
    std::vector<float> xyz;                // corner k at xyz[3k] .. xyz[3k + 2]
    std::vector<std::uint32_t> start{0};   // polygon p: corners start[p] .. start[p + 1] - 1
    std::vector<Rgb> colour;
};

// A line of text placed in window pixels: x from the left border, y from the
// top border, at the left end of the text's baseline.
struct FrameText {
    std::string text;
    double x = 0.0;
    double y = 0.0;
    Rgb colour{0.0f, 0.0f, 0.0f};
    int scale = 1;  // the 5 x 7 font enlarged this many times
    // A halo in this colour, a font pixel wide around the text, so it
    // reads over lines and faces (print's numbers); none when empty.
    std::optional<Rgb> halo;
};

// What a raster paints for `t`, in order: with a halo, eight copies of it
// in the halo's colour a font pixel to every side, then `t` itself.
inline std::vector<FrameText> paintedTexts(const FrameText& t) {
    std::vector<FrameText> painted;
    if (t.halo)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                if (dx == 0 && dy == 0) continue;
                FrameText copy = t;
                copy.x += dx * t.scale;
                copy.y += dy * t.scale;
                copy.colour = *t.halo;
                copy.halo.reset();
                painted.push_back(copy);
            }
    painted.push_back(t);
    painted.back().halo.reset();
    return painted;
}

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
    int width = programWindowWidth;
    int height = programWindowHeight;
    Rgb background = programBackground;
    bool transparent = false;        // no background: clear to nothing
    bool smooth = true;              // raster pictures anti-aliased (multisampled)
    Camera camera;
    Projection projection;
    double lineWidth = 1.0;          // pixels
    double markSize = endMarkSize;   // pixels, the side of an end mark
    FaceStyle faceStyle = FaceStyle::Off;
    FramePolygons faces;             // painted as faceStyle says; with Off only held for depth
    // Raster pictures decide what is behind by a depth buffer: the faces go
    // into it first (not painted when faceStyle is Off), then `lines` are
    // drawn where they are in front and `dashed` (the same edges) where they
    // are behind. Marks too are then drawn only where in front when
    // marksDepthTested. Vector pictures get the parts already cut.
    bool depthTested = false;
    bool marksDepthTested = false;
    double depthRange = 1.0;         // every |z| is below it, by a margin in keeping with the model's size
    // Faces filled in the highlight colour over `faces`, hiding nothing
    // (the edges are drawn over them).
    FramePolygons lit;
    std::vector<FrameShell> shells;  // drawing order: the solid (blue), then the dual (red); see buildFrame
    std::vector<FrameBox> boxes;
    std::vector<FrameText> texts;    // vertex numbers, then the key list if shown
    // For a vector picture whose hidden parts or face order ran past their
    // work bounds (hidden/visibility.h, depth_order.h): why, and the
    // picture is not to be written. Empty otherwise.
    std::string unfinished;
};

// Who draws a frame: a renderer with a depth buffer, or one without (SVG),
// for which hidden parts of edges are computed and faces cut and ordered.
enum class FrameTarget { Raster, Vector };

}  // namespace pd
