#include "geometry/orientation.h"

#include <cmath>
#include <cstdio>

#include "geometry/rotation.h"

namespace pd {

namespace {

constexpr double pi = 3.141592653589793;
constexpr double degree = pi / 180.0;

// Products of many small turns drift from the identity by rounding alone;
// a turn this close to it is taken as none, so Up then Down gives back the
// program's exact path.
constexpr double identityTolerance = 1e-12;
// cos a below this: a is +-90 to within rounding, where b and c turn about
// one axis and only their sum or difference is fixed.
constexpr double gimbalLockCosine = 1e-9;

Mat3d snapped(const Mat3d& r) {
    for (int i = 0; i < 9; ++i)
        if (std::fabs(r.m[i] - Mat3d{}.m[i]) > identityTolerance) return r;
    return Mat3d{};
}

Mat3 rounded(const Mat3d& r) {
    Mat3 m;
    for (int i = 0; i < 9; ++i) m.m[i] = static_cast<float>(r.m[i]);
    return m;
}

// Into (-180, 180].
double wrapped(double degrees) {
    double w = std::fmod(degrees, 360.0);
    if (w > 180.0) w -= 360.0;
    if (w <= -180.0) w += 360.0;
    return w;
}

}  // namespace

Mat3d turnAboutX(double degrees) {
    const double s = std::sin(degrees * degree), c = std::cos(degrees * degree);
    return {{1, 0, 0, 0, c, -s, 0, s, c}};
}

Mat3d turnAboutY(double degrees) {
    const double s = std::sin(degrees * degree), c = std::cos(degrees * degree);
    return {{c, 0, s, 0, 1, 0, -s, 0, c}};
}

Mat3d turnAboutZ(double degrees) {
    const double s = std::sin(degrees * degree), c = std::cos(degrees * degree);
    return {{c, -s, 0, s, c, 0, 0, 0, 1}};
}

Mat3d wholeRotation(const Orientation& o) {
    return o.turn * turnAboutY(o.angleY) * turnAboutX(o.angleX);
}

void turnAboutScreenVertical(Orientation& o, float degrees) {
    // Ry(d) Ry(b) Rx(a) = Ry(b + d) Rx(a): still the program's path.
    if (o.turn.isIdentity())
        o.angleY += degrees;
    else
        o.turn = snapped(turnAboutY(degrees) * o.turn);
}

void turnAboutScreenHorizontal(Orientation& o, float degrees) {
    // Rx(d) Ry(0) Rx(a) = Rx(a + d); any other b needs the further turn.
    if (o.turn.isIdentity() && o.angleY == 0.0f)
        o.angleX += degrees;
    else
        o.turn = snapped(turnAboutX(degrees) * o.turn);
}

Orientation turntableOrientation(float elevation, float spin) {
    Orientation o;
    o.angleY = spin;
    if (elevation != 0.0f) o.turn = turnAboutX(elevation);
    return o;
}

void turnAboutModelUp(Orientation& o, float degrees) {
    // With a = 0 the rotation is turn Ry(b), and turn Ry(b) Ry(d) = turn
    // Ry(b + d); otherwise the whole rotation becomes the turn, after which
    // that holds.
    if (o.angleX != 0.0f) {
        o.turn = wholeRotation(o);
        o.angleX = 0.0f;
        o.angleY = 0.0f;
    }
    o.angleY += degrees;
}

VertexTurn vertexTurnOf(const Orientation& o) {
    VertexTurn t;
    t.programPath = o.turn.isIdentity();
    if (t.programPath) {
        t.aboutX = rotationAboutX(o.angleX);
        t.aboutY = rotationAboutY(o.angleY);
    } else {
        t.whole = rounded(wholeRotation(o));
    }
    return t;
}

Vec3 turnVertex(const VertexTurn& t, Vec3 v) {
    return t.programPath ? rotateVec3(t.aboutY, rotateVec3(t.aboutX, v)) : rotateVec3(t.whole, v);
}

ProgramAngles programAnglesOf(const Mat3d& r) {
    // R = Ry(b) Rx(a) Rz(c): its last column is (sin b cos a, -sin a,
    // cos b cos a) and its middle row (cos a sin c, cos a cos c, -sin a).
    const double cosA = std::hypot(r.at(1, 0), r.at(1, 1));
    ProgramAngles p;
    p.angleX = std::atan2(-r.at(1, 2), cosA) / degree;
    if (cosA > gimbalLockCosine) {
        p.angleY = std::atan2(r.at(0, 2), r.at(2, 2)) / degree;
        p.angleZ = std::atan2(r.at(1, 0), r.at(1, 1)) / degree;
    } else {
        // Looking along the turned y axis: c = 0, and the first column is
        // (cos b, 0, -sin b).
        p.angleY = std::atan2(-r.at(2, 0), r.at(0, 0)) / degree;
        p.angleZ = 0.0;
    }
    p.angleX = wrapped(p.angleX);
    p.angleY = wrapped(p.angleY);
    p.angleZ = wrapped(p.angleZ);
    const ProgramAngles other{wrapped(180.0 - p.angleX), wrapped(p.angleY + 180.0), wrapped(p.angleZ + 180.0)};
    return std::fabs(other.angleZ) < std::fabs(p.angleZ) ? other : p;
}

std::string angleText(double degrees, int decimals) {
    const double scale = decimals > 0 ? 10.0 : 1.0;
    double r = wrapped(std::round(degrees * scale) / scale);
    if (r == 0.0) r = 0.0;  // no "-0"
    char text[64];
    if (decimals > 0 && r != std::round(r))
        std::snprintf(text, sizeof text, "%.1f", r);
    else
        std::snprintf(text, sizeof text, "%.0f", r);
    return text;
}

namespace {

// The angles a title or file name shows, and whether the turn about z
// needs showing.
struct ShownAngles {
    double angleX, angleY, angleZ;
    bool withZ;
};

ShownAngles shownAngles(const Orientation& o, int decimals) {
    if (o.turn.isIdentity()) return {o.angleX, o.angleY, 0.0, false};
    const ProgramAngles p = programAnglesOf(wholeRotation(o));
    return {p.angleX, p.angleY, p.angleZ, angleText(p.angleZ, decimals) != "0"};
}

}  // namespace

std::string orientationText(const Orientation& o) {
    const ShownAngles s = shownAngles(o, 1);
    std::string text = "x " + angleText(s.angleX) + "  y " + angleText(s.angleY);
    if (s.withZ) text += "  z " + angleText(s.angleZ);
    return text;
}

std::string orientationFileText(const Orientation& o) {
    const ShownAngles s = shownAngles(o, 0);
    std::string text = "x" + angleText(s.angleX, 0) + "-y" + angleText(s.angleY, 0);
    if (s.withZ) text += "-z" + angleText(s.angleZ, 0);
    return text;
}

}  // namespace pd
