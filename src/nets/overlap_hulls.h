#pragma once

#include <cstdint>
#include <vector>

#include "geometry/vec2.h"

namespace pd {

// Convex polygons of one plane kept in the order they come, sixteen at a
// time grouped under their box and convex hull, sixteen groups under
// theirs and so on up, so that asking about a new polygon skips every
// group that one of the new polygon's own edges cuts off from it. Long
// thin polygons side by side or fanned round one point, which crowd the
// cells of any grid, are skipped a group at a time this way, as long as
// polygons that come one after another lie near each other (as the faces
// of a net laid out breadth first do). It answers as OverlapGrid does.
class OverlapHulls {
public:
    // `tolerance` as for convexOverlap (overlap_grid.h); positive.
    explicit OverlapHulls(double tolerance);

    // True when the convex polygon `points[0..count)` overlaps one added
    // before whose owner differs from `owner`.
    bool overlaps(const P2* points, int count, std::int32_t owner);
    // Files the convex polygon `points[0..count)` as `owner`'s.
    void add(const P2* points, int count, std::int32_t owner);
    // Forgets every polygon, keeping the tolerance and count of tests.
    void clear();
    // Groups and polygons looked at by overlaps() since it was made.
    std::int64_t tests() const { return tests_; }

private:
    struct Box {
        double x0, y0, x1, y1;
    };
    struct Group {
        Box box;
        std::int32_t hullStart, hullEnd;  // its hull's corners in hull_, turning left
    };
    struct Axis {
        P2 axis;
        double low, high;  // the new polygon's extent along it
        double angle;      // the axis's direction
    };
    bool apart(const Box& a, const Box& b) const;
    bool cutOff(const Group& group, const Box& box) const;
    double reach(const Group& group, P2 direction, double angle) const;
    bool testPart(std::size_t part, const P2* points, int count, const Box& box, std::int32_t owner);
    void addGroup(std::size_t level);

    double tolerance_;
    std::vector<P2> points_;  // every part's corners, one after another
    std::vector<std::int32_t> partStart_{0};
    std::vector<std::int32_t> owner_;
    std::vector<Box> box_;
    std::vector<std::vector<Group>> levels_;  // [0]: of 16 parts each; [k]: of 16 groups of level k - 1
    std::vector<P2> hull_;
    std::vector<double> angle_;  // per hull corner: the direction of its edge to the next, rising
    std::vector<Axis> axes_;     // of the polygon being asked about
    std::vector<std::pair<std::int32_t, std::int32_t>> stack_;  // (level, group) still to look at
    std::int64_t tests_ = 0;
};

}  // namespace pd
