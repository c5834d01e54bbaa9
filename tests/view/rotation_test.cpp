#include <gtest/gtest.h>

#include <cmath>

#include "view/rotation.h"

namespace {

// Bit-for-bit comparison: the figures below are exact float values.
void expectBits(Vec3 got, float x, float y, float z) {
    EXPECT_EQ(got.x, x);
    EXPECT_EQ(got.y, y);
    EXPECT_EQ(got.z, z);
    EXPECT_EQ(std::signbit(got.x), std::signbit(x));
}

Vec3 turn(float xDeg, float yDeg, Vec3 v) {
    VertexArrays arrays;
    arrays.cubeVerts[0] = v;
    rotateSolids(xDeg, yDeg, arrays);
    return arrays.cubeVerts[0];
}

TEST(Rotation, WorkedFiguresComeOutBitForBit) {
    EXPECT_EQ(degreesToRadians(90.0f), 1.5707964f);
    expectBits(turn(0, 0, {0.3f, -7.25f, 1e-3f}), 0.3f, -7.25f, 1e-3f);
    expectBits(turn(90, 0, {0, 1, 0}), 0.0f, -4.371139e-08f, 1.0f);
    expectBits(turn(90, 0, {0, 0, 1}), 0.0f, -1.0f, -4.371139e-08f);
    expectBits(turn(0, 90, {1, 0, 0}), -4.371139e-08f, 0.0f, -1.0f);
    expectBits(turn(0, 180, {1, 0, 0}), -1.0f, 0.0f, 8.742278e-08f);
    expectBits(turn(30, 0, {0, 2, 0}), 0.0f, 1.7320508f, 1.0f);
    expectBits(turn(45, 45, {1, 1, 1}), 1.7071067f, 0.0f, 0.2928932f);
    EXPECT_EQ(rotationAboutX(360.0f).at(2, 1), 1.7484555e-07f);
    EXPECT_EQ(rotationAboutX(360.0f).at(1, 2), -1.7484555e-07f);
}

TEST(Rotation, TurnsAboutXFirstThenAboutY) {
    expectBits(turn(90, 90, {0, 1, 0}), 1.0f, -4.371139e-08f, -4.371139e-08f);
    // The other order would land elsewhere.
    const Vec3 yFirst = rotateVec3(rotationAboutX(90), rotateVec3(rotationAboutY(90), {0, 1, 0}));
    expectBits(yFirst, 0.0f, -4.371139e-08f, 1.0f);
}

TEST(Rotation, MatricesAreStoredRowByRow) {
    const Mat3 rx = rotationAboutX(30);
    EXPECT_EQ(rx.m[5], -rx.m[7]);  // row 1 col 2 is -sin, row 2 col 1 is sin
    EXPECT_GT(rx.m[7], 0.0f);
    const Mat3 ry = rotationAboutY(30);
    EXPECT_EQ(ry.m[2], -ry.m[6]);  // row 0 col 2 is sin, row 2 col 0 is -sin
    EXPECT_GT(ry.m[2], 0.0f);
    EXPECT_EQ(ry.m[4], 1.0f);
}

TEST(Rotation, OnlyTheUsedPositionsOfEachArrayTurn) {
    VertexArrays arrays;
    const Vec3 v{0, 1, 0};
    for (VertexArray* a : {&arrays.tetraVerts, &arrays.cubeDualVerts, &arrays.dodecaVerts,
                           &arrays.dodecaDualVerts, &arrays.icosaDualVerts}) {
        a->fill(v);
    }
    rotateSolids(90, 0, arrays);
    auto turned = [](const VertexArray& a, int p) { return a[p].z == 1.0f; };
    EXPECT_TRUE(turned(arrays.tetraVerts, 3));
    EXPECT_FALSE(turned(arrays.tetraVerts, 4));
    EXPECT_TRUE(turned(arrays.cubeDualVerts, 5));
    EXPECT_FALSE(turned(arrays.cubeDualVerts, 6));
    EXPECT_TRUE(turned(arrays.dodecaVerts, 19));
    EXPECT_FALSE(turned(arrays.dodecaVerts, 20));
    EXPECT_TRUE(turned(arrays.dodecaDualVerts, 11));
    EXPECT_FALSE(turned(arrays.dodecaDualVerts, 12));
    EXPECT_TRUE(turned(arrays.icosaDualVerts, 19));
    EXPECT_FALSE(turned(arrays.icosaDualVerts, 20));
}

}  // namespace
