#include "geometry/rotation.h"
#include "solids/solid_rotation.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace pd;

namespace {

Vec3 turn(float xDeg, float yDeg, Vec3 v) {
    VertexArrays arrays;
    arrays.cubeVerts[0] = v;
    rotateSolids(xDeg, yDeg, arrays);
    return arrays.cubeVerts[0];
}

// Bit for bit: the figures below are exact float values.
TEST(Rotation, WorkedFiguresComeOutBitForBit) {
    EXPECT_EQ(degreesToRadians(90.0f), 1.5707964f);
    const struct {
        float x, y;
        Vec3 v, turned;
    } cases[] = {
        {0, 0, {0.3f, -7.25f, 1e-3f}, {0.3f, -7.25f, 1e-3f}},
        {90, 0, {0, 1, 0}, {0.0f, -4.371139e-08f, 1.0f}},
        {90, 0, {0, 0, 1}, {0.0f, -1.0f, -4.371139e-08f}},
        {0, 90, {1, 0, 0}, {-4.371139e-08f, 0.0f, -1.0f}},
        {0, 180, {1, 0, 0}, {-1.0f, 0.0f, 8.742278e-08f}},
        {30, 0, {0, 2, 0}, {0.0f, 1.7320508f, 1.0f}},
        {45, 45, {1, 1, 1}, {1.7071067f, 0.0f, 0.2928932f}},
        {90, 90, {0, 1, 0}, {1.0f, -4.371139e-08f, -4.371139e-08f}},  // x first, then y
    };
    for (const auto& c : cases) {
        const Vec3 t = turn(c.x, c.y, c.v);
        EXPECT_TRUE(t.x == c.turned.x && t.y == c.turned.y && t.z == c.turned.z &&
                    std::signbit(t.x) == std::signbit(c.turned.x))
            << c.x << " " << c.y << ": " << t.x << " " << t.y << " " << t.z;
    }
    EXPECT_EQ(rotationAboutX(360.0f).at(2, 1), 1.7484555e-07f);
    EXPECT_EQ(rotationAboutY(30.0f).at(0, 2), -rotationAboutY(30.0f).at(2, 0));
}

TEST(Rotation, OnlyTheUsedPositionsOfEachArrayTurn) {
    VertexArrays arrays;
    for (const SolidInfo& s : solidTable) {
        solidVerts(arrays, s.kind).fill(Vec3{0, 1, 0});
        dualVerts(arrays, s.kind).fill(Vec3{0, 1, 0});
    }
    rotateSolids(90, 0, arrays);
    for (const SolidInfo& s : solidTable) {
        EXPECT_EQ(solidVerts(arrays, s.kind)[s.vertexCount - 1].z, 1.0f) << s.vertexFile;
        EXPECT_EQ(solidVerts(arrays, s.kind)[s.vertexCount].z, 0.0f) << s.vertexFile;
        EXPECT_EQ(dualVerts(arrays, s.kind)[s.faceCount - 1].z, 1.0f) << s.dualFile;
        EXPECT_EQ(dualVerts(arrays, s.kind)[s.faceCount].z, 0.0f) << s.dualFile;
    }
}

}  // namespace
