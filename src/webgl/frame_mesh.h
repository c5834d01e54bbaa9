#pragma once

#include <vector>

#include "draw/frame.h"

namespace pd {

// A frame as the WebGL2 renderer draws it: triangles in window pixels, so
// that lines of any width, end marks and the font's pixels all become
// quads, and the renderer's shaders only map pixels to the viewport. Built
// here in plain C++ (and tested natively) from the same camera, projection
// and depth the GL renderer sets up: where a frame decides what is behind
// by depth, the projection is the same for every depth, so a point's pixel
// is pixelOf's and its depth is -z / depthRange, as GL's depth row gives it.

// One corner of a triangle: x from the left border and y from the top, in
// pixels; depth from -1 (nearest) to 1; the colour with its alpha; and
// for a dashed line the dash pattern's count at this corner (see dashOn),
// -1 elsewhere.
struct MeshVertex {
    float x, y, depth;
    float red, green, blue, alpha;
    float dash;
};

// The triangles of one shell, by the way each list is drawn.
struct ShellMesh {
    std::vector<MeshVertex> lines;   // drawn where in front (with depth)
    std::vector<MeshVertex> dashed;  // drawn dashed, where behind (with depth)
    std::vector<MeshVertex> marks;   // the end marks
    double markSize = 0.0;           // its marks' side in pixels
    bool onTop = false;              // drawn with no depth test
};

// How lines and end marks are given: as quads of two triangles each, or,
// for lines one device pixel wide, as WebGL's lines (two vertices each)
// and points (one vertex each, markSize wide): a third of the vertices and
// half the primitives, and the very pixels GL's lines and points cover.
enum class MeshShape { Quads, LinesAndPoints };

struct FrameMesh {
    MeshShape shape = MeshShape::Quads;
    std::vector<MeshVertex> faces;   // the faces' triangles, in painting order
    std::vector<MeshVertex> lit;     // the lit faces' triangles, painted over them with no depth
    std::vector<ShellMesh> shells;   // in the frame's order
    std::vector<MeshVertex> overlay; // boxes, then the texts' pixels; no depth
};

// The triangles of `frame`: faces fanned from their first corner; each
// line segment a parallelogram lineWidth pixels wide across its shorter
// axis on screen, as GL draws a wide line (its ends not extended); each end mark a square of markSize pixels centred on its
// vertex's pixel; boxes as they are; each lit pixel of the 5 x 7 font a
// square of the text's scale, as the GL renderer places it. Indices out of
// a shell's range are skipped, as is a segment of no length.
// With MeshShape::LinesAndPoints a segment is its two ends (the dash count
// on each as for a quad) and a mark its vertex's pixel.
FrameMesh buildFrameMesh(const Frame& frame, MeshShape shape = MeshShape::Quads);

// Whether the dash pattern is on at `count` along a dashed segment (the
// MeshVertex::dash the renderer interpolates): four steps on, four off,
// from the segment's start. A dashed segment's count runs from 0 at its
// start by one per pixel along its longer axis on screen, divided by the
// pattern's stretch, the line width rounded (as glLineStipple's factor).
bool dashOn(double count);

}  // namespace pd
