#pragma once

#include <string>

#include "geometry/mat3.h"
#include "geometry/vec3.h"

namespace pd {

// How a view is turned. The console program turns every vertex about x by
// a, stores it as float, then turns it about y by b; the explorer keeps that
// exact path while the view is one the program can show, so its pictures
// equal the program's pixel for pixel. Turns the program cannot express (a
// vertical drag at y = 90 tips the model toward the viewer instead of
// rolling it) go into a further rotation applied after the two angles, in
// screen space: x to the right, y up, z toward the viewer.

// The turns about the x, y and z axes by `degrees` (right-handed: about y,
// +z moves toward +x). Any finite angle.
Mat3d turnAboutX(double degrees);
Mat3d turnAboutY(double degrees);
Mat3d turnAboutZ(double degrees);

// The view: a vertex v is seen at turn * Ry(b) * Rx(a) * v.
struct Orientation {
    float angleX = 0.0f;  // the program's turn about x, degrees, applied first
    float angleY = 0.0f;  // then about y
    Mat3d turn;      // then this; the identity while the program could show the view
};

// The whole rotation of `o` in double, the angles' sines and cosines taken
// from the float angles.
Mat3d wholeRotation(const Orientation& o);

// A turn about the screen's vertical axis (horizontal drag, Left/Right,
// spin): the model's front follows the pointer to the right for positive
// degrees. While `turn` is the identity only b changes, as a turn about y
// after the program's two does.
void turnAboutScreenVertical(Orientation& o, float degrees);

// A turn about the screen's horizontal axis (vertical drag, Up/Down): the
// front moves down for positive degrees, at any orientation, never a roll.
// Only a changes while b is 0 and `turn` the identity.
void turnAboutScreenHorizontal(Orientation& o, float degrees);

// The orientation of a turntable: the model turned by `spin` degrees about
// its own up axis (y), seen from a camera raised by `elevation` degrees,
// Rx(elevation) * Ry(spin).
Orientation turntableOrientation(float elevation, float spin);

// A turn about the model's own up axis (its y, wherever the view has put
// it), as a turntable turns: the whole rotation becomes R * Ry(degrees).
void turnAboutModelUp(Orientation& o, float degrees);

// What turns the vertices of a frame: the program's two float matrices, one
// after the other with the result stored as float in between, while `turn`
// is the identity; otherwise the whole rotation rounded to one float matrix.
struct VertexTurn {
    bool programPath = true;
    Mat3 aboutX, aboutY;  // the program's path
    Mat3 whole;           // the other
};
// The turn of `o` as frames apply it, and `v` turned by such a turn.
VertexTurn vertexTurnOf(const Orientation& o);
Vec3 turnVertex(const VertexTurn& t, Vec3 v);

// Angles a, b, c with R = Ry(b) * Rx(a) * Rz(c), each in (-180, 180]. Of the
// two such triples (a, b, c) and (180 - a, b + 180, c + 180) the one with
// the smaller |c| (the first on a tie); c is 0 at a = +-90, where only b - c
// or b + c is fixed.
struct ProgramAngles {
    double angleX, angleY, angleZ;
};
ProgramAngles programAnglesOf(const Mat3d& r);

// An angle for a title or a file name: wrapped to (-180, 180] after
// rounding to `decimals` (0 or 1) decimals, with no trailing ".0" and never
// "-0": 236.369 gives "-123.6" (one decimal) or "-124" (none).
std::string angleText(double degrees, int decimals = 1);

// The orientation as the title says it: "x A  y B" with the program's own
// angles while `turn` is the identity, else the angles of programAnglesOf,
// "x A  y B" when c is 0 to one decimal and "x A  y B  z C" otherwise.
std::string orientationText(const Orientation& o);

// The same angles for a file name, rounded to whole degrees: "x30-y45",
// "x30-y45-z10".
std::string orientationFileText(const Orientation& o);

}  // namespace pd
