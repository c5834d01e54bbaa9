#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "nets/overlap_hulls.h"
#include "geometry/vec2.h"

namespace pd {

// Whether two convex polygons' interiors overlap by more than `tolerance`
// (a length): no edge direction of either separates them with a gap or an
// overlap of at most that much. Corners may turn either way; a polygon
// with fewer than three corners never overlaps anything.
bool convexOverlap(const P2* a, int na, const P2* b, int nb, double tolerance);

// Convex polygons of one plane filed in a uniform grid of square cells, so
// that asking about a new polygon looks only at those near it: a piece of
// n faces is checked in about n steps rather than n * n. Polygons far
// larger than a cell are kept aside and looked at on every question.
// Long thin polygons crowd cells; for them the grid hands every call to
// an OverlapHulls, which answers the same.
class OverlapGrid {
public:
    // `cellSize` about the size of a typical polygon, `tolerance` as for
    // convexOverlap; both positive. `thin`: the polygons will be long and
    // thin, and come one beside the last.
    OverlapGrid(double cellSize, double tolerance, bool thin = false);

    // True when the convex polygon `points[0..count)` overlaps one added
    // before whose owner differs from `owner` (parts of one face share an
    // owner and are never tested against each other).
    bool overlaps(const P2* points, int count, std::int32_t owner);
    // Files the convex polygon `points[0..count)` as `owner`'s.
    void add(const P2* points, int count, std::int32_t owner);
    // Forgets every polygon, keeping the cell size, tolerance and count
    // of tests.
    void clear();
    // Polygons looked at by overlaps() since the grid was made: the work
    // it did, for a caller to bound.
    std::int64_t tests() const { return thin_ ? hulls_.tests() : tests_; }

private:
    struct Box {
        double x0, y0, x1, y1;
    };
    struct Range {
        long long cx0, cy0, cx1, cy1;
        bool huge() const { return (cx1 - cx0 + 1) * (cy1 - cy0 + 1) > 4096; }
    };
    Box boxOf(const P2* points, int count) const;
    Range rangeOf(const Box& box) const;
    bool test(std::int32_t part, const P2* points, int count, const Box& box, std::int32_t owner);

    double cell_;
    double tolerance_;
    std::unordered_map<std::uint64_t, std::vector<std::int32_t>> cells_;
    std::vector<std::int32_t> huge_;        // parts spanning too many cells to file
    std::vector<P2> points_;                // every part's corners, one after another
    std::vector<std::int32_t> partStart_{0};
    std::vector<std::int32_t> owner_;
    std::vector<Box> box_;
    std::vector<std::uint32_t> seen_;       // per part: the last question that tested it
    std::uint32_t question_ = 0;
    std::int64_t tests_ = 0;
    bool thin_;
    OverlapHulls hulls_;
};

}  // namespace pd
