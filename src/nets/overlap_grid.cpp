#include "nets/overlap_grid.h"

#include <algorithm>
#include <cmath>

namespace pd {

namespace {

// True when some edge of `a` has all of `b` beyond it or overlapping it by
// at most `tolerance` along its normal.
bool separatedByEdgeOf(const P2* a, int na, const P2* b, int nb, double tolerance) {
    for (int i = 0; i < na; ++i) {
        const P2 edge = a[(i + 1) % na] - a[i];
        const double len = length(edge);
        if (len == 0.0) continue;
        const P2 axis = (1.0 / len) * leftOf(edge);
        double amin = dot(axis, a[0]), amax = amin;
        for (int k = 1; k < na; ++k) {
            const double d = dot(axis, a[k]);
            amin = std::min(amin, d);
            amax = std::max(amax, d);
        }
        double bmin = dot(axis, b[0]), bmax = bmin;
        for (int k = 1; k < nb; ++k) {
            const double d = dot(axis, b[k]);
            bmin = std::min(bmin, d);
            bmax = std::max(bmax, d);
        }
        if (std::min(amax, bmax) - std::max(amin, bmin) <= tolerance) return true;
    }
    return false;
}

std::uint64_t cellKey(long long cx, long long cy) {
    return (std::uint64_t(cx) << 32) ^ (std::uint64_t(cy) & 0xffffffffu);
}

}  // namespace

bool convexOverlap(const P2* a, int na, const P2* b, int nb, double tolerance) {
    if (na < 3 || nb < 3) return false;
    return !separatedByEdgeOf(a, na, b, nb, tolerance) && !separatedByEdgeOf(b, nb, a, na, tolerance);
}

OverlapGrid::OverlapGrid(double cellSize, double tolerance, bool thin)
    : cell_(cellSize), tolerance_(tolerance), thin_(thin), hulls_(tolerance) {}

OverlapGrid::Box OverlapGrid::boxOf(const P2* points, int count) const {
    Box b{points[0].x, points[0].y, points[0].x, points[0].y};
    for (int i = 1; i < count; ++i) {
        b.x0 = std::min(b.x0, points[i].x);
        b.y0 = std::min(b.y0, points[i].y);
        b.x1 = std::max(b.x1, points[i].x);
        b.y1 = std::max(b.y1, points[i].y);
    }
    return b;
}

OverlapGrid::Range OverlapGrid::rangeOf(const Box& b) const {
    // Coordinates beyond the grid's reach (about 2^31 cells) all count as
    // huge, so the key never wraps.
    auto index = [this](double v) {
        const double c = std::floor(v / cell_);
        return c < -2e9 ? -2000000000LL : c > 2e9 ? 2000000000LL : static_cast<long long>(c);
    };
    return {index(b.x0), index(b.y0), index(b.x1), index(b.y1)};
}

bool OverlapGrid::test(std::int32_t part, const P2* points, int count, const Box& box,
                       std::int32_t owner) {
    if (seen_[part] == question_) return false;
    seen_[part] = question_;
    ++tests_;
    if (owner_[part] == owner) return false;
    const Box& o = box_[part];
    if (o.x0 >= box.x1 - tolerance_ || box.x0 >= o.x1 - tolerance_ || o.y0 >= box.y1 - tolerance_ ||
        box.y0 >= o.y1 - tolerance_)
        return false;
    return convexOverlap(points_.data() + partStart_[part], partStart_[part + 1] - partStart_[part],
                         points, count, tolerance_);
}

bool OverlapGrid::overlaps(const P2* points, int count, std::int32_t owner) {
    if (thin_) return hulls_.overlaps(points, count, owner);
    if (count < 3) return false;
    if (++question_ == 0) {  // the counter wrapped: forget the old marks
        std::fill(seen_.begin(), seen_.end(), 0u);
        question_ = 1;
    }
    const Box box = boxOf(points, count);
    for (std::int32_t part : huge_)
        if (test(part, points, count, box, owner)) return true;
    const Range r = rangeOf(box);
    if (r.huge()) {
        for (std::int32_t part = 0; part < std::int32_t(owner_.size()); ++part)
            if (test(part, points, count, box, owner)) return true;
        return false;
    }
    for (long long cx = r.cx0; cx <= r.cx1; ++cx)
        for (long long cy = r.cy0; cy <= r.cy1; ++cy) {
            const auto found = cells_.find(cellKey(cx, cy));
            if (found == cells_.end()) continue;
            for (std::int32_t part : found->second)
                if (test(part, points, count, box, owner)) return true;
        }
    return false;
}

void OverlapGrid::add(const P2* points, int count, std::int32_t owner) {
    if (thin_) return hulls_.add(points, count, owner);
    if (count < 3) return;
    const std::int32_t part = std::int32_t(owner_.size());
    points_.insert(points_.end(), points, points + count);
    partStart_.push_back(std::int32_t(points_.size()));
    owner_.push_back(owner);
    box_.push_back(boxOf(points, count));
    seen_.push_back(0);
    const Range r = rangeOf(box_.back());
    if (r.huge()) {
        huge_.push_back(part);
        return;
    }
    for (long long cx = r.cx0; cx <= r.cx1; ++cx)
        for (long long cy = r.cy0; cy <= r.cy1; ++cy) cells_[cellKey(cx, cy)].push_back(part);
}

void OverlapGrid::clear() {
    hulls_.clear();
    cells_.clear();
    huge_.clear();
    points_.clear();
    partStart_.assign(1, 0);
    owner_.clear();
    box_.clear();
    seen_.clear();
    question_ = 0;
}

}  // namespace pd
