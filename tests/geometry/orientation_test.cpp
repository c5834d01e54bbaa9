#include "geometry/orientation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "solids/solid_rotation.h"

using namespace pd;

namespace {

Vec3 seen(const Orientation& o, Vec3 v) { return turnVertex(vertexTurnOf(o), v); }

// While the view is one the program can show, vertices take the program's
// own path, bit for bit, also after turns about the screen's vertical.
TEST(Orientation, ProgramViewsTurnVerticesAsTheProgramDoes) {
    Orientation o{30.0f, 45.0f, {}};
    turnAboutScreenVertical(o, 20.0f);
    VertexArrays arrays;
    arrays.cubeVerts[0] = {0.5f, -1.0f, 1.0f};
    rotateSolids(30.0f, 65.0f, arrays);
    const Vec3 v = seen(o, {0.5f, -1.0f, 1.0f});
    EXPECT_TRUE(o.turn.isIdentity());
    EXPECT_TRUE(v.x == arrays.cubeVerts[0].x && v.y == arrays.cubeVerts[0].y && v.z == arrays.cubeVerts[0].z);
}

// A drag turns the picture about a screen axis at any orientation: after
// a vertical drag every vertex keeps its screen x and its (y, z) turn as
// about the screen's x axis (a tip toward the viewer, not a roll); after a
// horizontal one y stays and (x, z) turn.
TEST(Orientation, DragsTipAndTurnAboutScreenAxesEvenAtY90) {
    const std::tuple<float, float, bool, float> cases[] = {
        {20, 90, true, 10}, {0, 90, true, -15}, {40, 90, true, 7.5f},
        {30, 45, true, 10}, {20, 90, false, 25}, {-60, 120, false, -5},
    };
    const double rad = 3.141592653589793 / 180.0;
    for (const auto& [a, b, vertical, degrees] : cases) {
        Orientation o{a, b, {}};
        const Orientation before = o;
        if (vertical) turnAboutScreenHorizontal(o, degrees);
        else turnAboutScreenVertical(o, degrees);
        for (Vec3 v : {Vec3{1, 1, 1}, Vec3{-1, 2, 0.5f}, Vec3{0, -1, 3}}) {
            const Vec3 p = seen(before, v), q = seen(o, v);
            const double c = std::cos(degrees * rad), s = std::sin(degrees * rad);
            if (vertical) {
                EXPECT_NEAR(q.x, p.x, 1e-5) << a << " " << b;
                EXPECT_NEAR(q.y, c * p.y - s * p.z, 1e-5) << a << " " << b;
                EXPECT_NEAR(q.z, s * p.y + c * p.z, 1e-5) << a << " " << b;
            } else {
                EXPECT_NEAR(q.y, p.y, 1e-5) << a << " " << b;
                EXPECT_NEAR(q.x, c * p.x + s * p.z, 1e-5) << a << " " << b;
                EXPECT_NEAR(q.z, -s * p.x + c * p.z, 1e-5) << a << " " << b;
            }
        }
    }
}

// Every rotation is Ry(b) Rx(a) Rz(c) with the angles in (-180, 180].
TEST(Orientation, ProgramAnglesRebuildTheRotation) {
    for (double a = -175; a < 180; a += 35)
        for (double b = -170; b <= 180; b += 50)
            for (double c : {-179.0, -30.0, 0.0, 45.0, 180.0}) {
                const Mat3d r = turnAboutY(b) * turnAboutX(a) * turnAboutZ(c);
                const ProgramAngles p = programAnglesOf(r);
                const Mat3d back = turnAboutY(p.angleY) * turnAboutX(p.angleX) * turnAboutZ(p.angleZ);
                for (int i = 0; i < 9; ++i) EXPECT_NEAR(back.m[i], r.m[i], 1e-9) << a << " " << b << " " << c;
                for (double angle : {p.angleX, p.angleY, p.angleZ}) EXPECT_TRUE(angle > -180 && angle <= 180);
                EXPECT_LE(std::fabs(p.angleZ), 90.0 + 1e-9);
            }
    for (double a : {90.0, -90.0}) {  // looking along the turned y axis
        const Mat3d r = turnAboutY(40) * turnAboutX(a);
        const ProgramAngles p = programAnglesOf(r);
        EXPECT_NEAR(p.angleX, a, 1e-6);
        EXPECT_NEAR(p.angleY, 40, 1e-6);
        EXPECT_EQ(p.angleZ, 0.0);
    }
}

// Worked by hand: Rx(30) Ry(90) has the program's angles 0, 90 and a roll
// of 30; Rx(10) Ry(90) Rx(20) gives 19.68, 93.62, 10.62.
TEST(Orientation, TitleAndFileTexts) {
    Orientation tipped{20.0f, 90.0f, {}};
    turnAboutScreenHorizontal(tipped, 10.0f);
    Orientation upDown{30.0f, 45.0f, {}};
    turnAboutScreenHorizontal(upDown, 5.0f);
    turnAboutScreenHorizontal(upDown, -5.0f);
    Orientation spun = turntableOrientation(30.0f, 90.0f);
    turnAboutModelUp(spun, -90.0f);
    const std::tuple<Orientation, const char*, const char*> cases[] = {
        {{30, 45, {}}, "x 30  y 45", "x30-y45"},
        {{-22.5f, 236.369f, {}}, "x -22.5  y -123.6", "x-23-y-124"},
        {{0.04f, -180.0f, {}}, "x 0  y 180", "x0-y180"},
        {{120, 0, {}}, "x 120  y 0", "x120-y0"},
        {{0, 0, turnAboutY(10) * turnAboutX(120)}, "x 120  y 10", "x120-y10"},
        {turntableOrientation(30.0f, 90.0f), "x 0  y 90  z 30", "x0-y90-z30"},
        {spun, "x 30  y 0", "x30-y0"},
        {tipped, "x 19.7  y 93.6  z 10.6", "x20-y94-z11"},
        {upDown, "x 30  y 45", "x30-y45"},
    };
    for (const auto& [o, title, file] : cases) {
        EXPECT_EQ(orientationText(o), title);
        EXPECT_EQ(orientationFileText(o), file);
    }
    EXPECT_TRUE(upDown.turn.isIdentity());
}

}  // namespace
