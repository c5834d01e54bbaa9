#include "console/scene.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "console/colour.h"

using namespace pd;

namespace {

Point at(float x, float y, ColourCode colour = 9) { return Point{x, y, colour}; }

// The box starts inside out at (1024, 700) .. (0, 0); each coordinate of each
// end widens it on its own.
TEST(SceneStore, EachCornerCoordinateTakesItsOwnExtreme) {
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        Point a, b;
        float minX, minY, maxX, maxY;
    } cases[] = {
        {at(-1, -2), at(3, 4), -1, -2, 3, 4},
        {at(2000, 800), at(3000, 900), 1024, 700, 3000, 900},
        {at(-5, -5), at(-3, -3), -5, -5, 0, 0},
        {at(10, 20), at(5, 30), 5, 20, 10, 30},
        {at(-inf, 0), at(0, inf), -inf, 0, 0, inf},
    };
    for (const auto& c : cases) {
        Scene s;
        addSegment(s, Segment(c.a, c.b), 2);
        EXPECT_EQ((std::vector<float>{s.boxMin.x, s.boxMin.y, s.boxMax.x, s.boxMax.y}),
                  (std::vector<float>{c.minX, c.minY, c.maxX, c.maxY}))
            << c.a.x << "," << c.a.y;
    }
}

TEST(SceneStore, SegmentsKeepOrderTheirEndsAndTheColourPassed) {
    Scene s;
    const Segment seg(at(1, 2, 5), at(3, 4));
    for (ColourCode c : {2, 0, 2}) addSegment(s, seg, c);
    std::vector<ColourCode> colours;
    for (const Segment& stored : s.segments) {
        colours.push_back(stored.colour);
        EXPECT_TRUE(stored.start.colour == 5 && stored.start.x == 1 && stored.end.y == 4);
    }
    EXPECT_EQ(colours, (std::vector<ColourCode>{2, 0, 2}));
}

TEST(ColourTable, CodesZeroToNineAndNothingElse) {
    EXPECT_EQ(colourFor(9), &colourTable[9]);
    EXPECT_EQ(colourFor(0), &colourTable[0]);
    for (ColourCode bad : {10, -1, std::numeric_limits<ColourCode>::min()})
        EXPECT_EQ(colourFor(bad), nullptr) << bad;
}

}  // namespace
