#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "scene/colour.h"
#include "scene/scene.h"

namespace {

Point at(float x, float y) {
    Point p;
    p.x = x;
    p.y = y;
    return p;
}

struct BoxCase {
    Point a, b;
    float minX, minY, maxX, maxY;
};

TEST(SceneStore, StartsEmptyWithInsideOutBox) {
    Scene s;
    EXPECT_EQ(s.boxMin.x, 1024.0f);
    EXPECT_EQ(s.boxMin.y, 700.0f);
    EXPECT_EQ(s.boxMax.x, 0.0f);
    EXPECT_EQ(s.boxMax.y, 0.0f);
    EXPECT_EQ(s.boxMin.colour, 9);
    EXPECT_TRUE(s.points.empty() && s.segments.empty() && s.lines.empty() && s.circles.empty());
}

TEST(SceneStore, EachCornerCoordinateTakesItsOwnExtreme) {
    const std::vector<BoxCase> cases = {
        {at(-1, -2), at(3, 4), -1, -2, 3, 4},
        // Beyond the starting corners on the high side: boxMin stays put.
        {at(2000, 800), at(3000, 900), 1024, 700, 3000, 900},
        // Wholly negative: boxMax stays at the origin.
        {at(-5, -5), at(-3, -3), -5, -5, 0, 0},
        // Each coordinate from whichever end supplies it.
        {at(10, 20), at(5, 30), 5, 20, 10, 30},
        // Between the starting corners: one end moves both corners.
        {at(2, 2), at(2, 2), 2, 2, 2, 2},
    };
    for (const BoxCase& c : cases) {
        Scene s;
        addSegment(s, Segment(c.a, c.b), 2);
        EXPECT_EQ(s.boxMin.x, c.minX) << c.a.x << "," << c.a.y;
        EXPECT_EQ(s.boxMin.y, c.minY) << c.a.x << "," << c.a.y;
        EXPECT_EQ(s.boxMax.x, c.maxX) << c.a.x << "," << c.a.y;
        EXPECT_EQ(s.boxMax.y, c.maxY) << c.a.x << "," << c.a.y;
        EXPECT_EQ(s.boxMin.colour, 9);
        EXPECT_EQ(s.boxMax.colour, 9);
    }
}

TEST(SceneStore, BoxGrowsOverManySegmentsAndAcceptsInfinity) {
    Scene s;
    addSegment(s, Segment(at(-1, 0), at(1, 0)), 0);
    addSegment(s, Segment(at(0, -3), at(0, 5)), 0);
    EXPECT_EQ(s.boxMin.x, -1.0f);
    EXPECT_EQ(s.boxMin.y, -3.0f);
    EXPECT_EQ(s.boxMax.x, 1.0f);
    EXPECT_EQ(s.boxMax.y, 5.0f);
    const float inf = std::numeric_limits<float>::infinity();
    addSegment(s, Segment(at(-inf, 0), at(0, inf)), 0);
    EXPECT_EQ(s.boxMin.x, -inf);
    EXPECT_EQ(s.boxMax.y, inf);
}

TEST(SceneStore, ColourPassedOverridesAndSegmentsKeepOrderAndDuplicates) {
    Scene s;
    Point a = at(1, 2);
    a.colour = 5;
    const Segment seg(a, at(3, 4));
    EXPECT_EQ(seg.colour, 9);
    addSegment(s, seg, 2);
    addSegment(s, seg, 0);
    addSegment(s, seg, 2);
    ASSERT_EQ(s.segments.size(), 3u);
    std::vector<ColourCode> colours;
    for (const Segment& stored : s.segments) {
        colours.push_back(stored.colour);
        EXPECT_EQ(stored.start.colour, 5);  // ends are carried whole
        EXPECT_EQ(stored.end.colour, 9);
        EXPECT_EQ(stored.start.x, 1.0f);
        EXPECT_EQ(stored.end.y, 4.0f);
    }
    EXPECT_EQ(colours, (std::vector<ColourCode>{2, 0, 2}));
}

TEST(ColourTable, CodesZeroToNineAndNothingElse) {
    ASSERT_NE(colourFor(2), nullptr);
    EXPECT_EQ(colourFor(2)->blue, 1.0f);
    EXPECT_EQ(colourFor(2)->red, 0.0f);
    ASSERT_NE(colourFor(0), nullptr);
    EXPECT_EQ(colourFor(0)->red, 1.0f);
    EXPECT_EQ(colourFor(0)->green, 0.0f);
    ASSERT_NE(colourFor(4), nullptr);
    EXPECT_EQ(colourFor(4)->green, 0.5f);
    const Rgb* black = colourFor(9);
    ASSERT_NE(black, nullptr);
    EXPECT_EQ(black->red + black->green + black->blue, 0.0f);
    for (ColourCode bad : {10, -1, 1000, std::numeric_limits<ColourCode>::min()})
        EXPECT_EQ(colourFor(bad), nullptr) << bad;
}

}  // namespace
