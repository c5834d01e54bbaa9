#include "nets/overlap_hulls.h"

#include <algorithm>
#include <cmath>

#include "nets/overlap_grid.h"
#include "hull/planar_hull.h"

namespace pd {

namespace {

constexpr std::size_t fan = 16;  // parts or groups under one group
constexpr double pi = 3.14159265358979323846;
// The margin cutOff keeps for rounding in the hull, a share of the
// coordinates' size: hulls of doubles are good to a few units in the last
// place, far inside it.
constexpr double hullRoundingShare = 1e-12;

}  // namespace

OverlapHulls::OverlapHulls(double tolerance) : tolerance_(tolerance) {}

bool OverlapHulls::apart(const Box& a, const Box& b) const {
    return a.x0 >= b.x1 - tolerance_ || b.x0 >= a.x1 - tolerance_ || a.y0 >= b.y1 - tolerance_ ||
           b.y0 >= a.y1 - tolerance_;
}

// The largest dot(direction, corner) over the group's hull: the corner
// where its edges turn from rising to falling along `direction` (whose
// angle is `angle`), found by bisecting their angles, which rise once round.
double OverlapHulls::reach(const Group& group, P2 direction, double angle) const {
    const std::int32_t m = group.hullEnd - group.hullStart;
    const P2* h = hull_.data() + group.hullStart;
    double best = dot(direction, h[0]);
    if (m <= 8) {
        for (std::int32_t i = 1; i < m; ++i) best = std::max(best, dot(direction, h[i]));
        return best;
    }
    const double* edge = angle_.data() + group.hullStart;
    double falling = angle + pi / 2;
    falling = edge[0] + std::fmod(falling - edge[0], 2 * pi);
    if (falling < edge[0]) falling += 2 * pi;
    const std::int32_t i = std::int32_t(std::lower_bound(edge, edge + m, falling) - edge);
    // Its neighbours too, for directions rounded either way.
    for (std::int32_t j = i - 1; j <= i + 1; ++j) best = std::max(best, dot(direction, h[(j + m) % m]));
    return best;
}

// Whether an edge of the polygon being asked about has the whole group's
// hull beyond it, or overlapping it by no more than the tolerance, as
// convexOverlap measures it for each polygon inside: then none of them
// overlaps. A margin keeps rounding in the hull on the safe side.
bool OverlapHulls::cutOff(const Group& group, const Box& box) const {
    const double scale = std::max({std::fabs(group.box.x0), std::fabs(group.box.x1), std::fabs(group.box.y0),
                                   std::fabs(group.box.y1), std::fabs(box.x0), std::fabs(box.x1),
                                   std::fabs(box.y0), std::fabs(box.y1)});
    const double enough = tolerance_ - hullRoundingShare * scale;
    for (const Axis& a : axes_) {
        const double high = reach(group, a.axis, a.angle), low = -reach(group, -1.0 * a.axis, a.angle + pi);
        if (std::min(a.high, high) - std::max(a.low, low) <= enough) return true;
    }
    return false;
}

bool OverlapHulls::testPart(std::size_t part, const P2* points, int count, const Box& box, std::int32_t owner) {
    ++tests_;
    if (owner_[part] == owner || apart(box_[part], box)) return false;
    return convexOverlap(points_.data() + partStart_[part], partStart_[part + 1] - partStart_[part], points, count,
                         tolerance_);
}

bool OverlapHulls::overlaps(const P2* points, int count, std::int32_t owner) {
    if (count < 3) return false;
    Box box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (int i = 1; i < count; ++i)
        box = {std::min(box.x0, points[i].x), std::min(box.y0, points[i].y), std::max(box.x1, points[i].x),
               std::max(box.y1, points[i].y)};
    // Its edges' axes and its extent along each, as convexOverlap takes them.
    axes_.clear();
    for (int i = 0; i < count; ++i) {
        const P2 edge = points[(i + 1) % count] - points[i];
        const double len = length(edge);
        if (len == 0.0) continue;
        Axis a{(1.0 / len) * leftOf(edge), 0, 0, 0};
        a.angle = std::atan2(a.axis.y, a.axis.x);
        a.low = a.high = dot(a.axis, points[0]);
        for (int k = 1; k < count; ++k) {
            const double d = dot(a.axis, points[k]);
            a.low = std::min(a.low, d);
            a.high = std::max(a.high, d);
        }
        axes_.push_back(a);
    }
    // The parts no group holds yet, then the groups no bigger group holds,
    // each opened only when not cut off.
    const std::size_t grouped = levels_.empty() ? 0 : fan * levels_[0].size();
    for (std::size_t part = grouped; part < owner_.size(); ++part)
        if (testPart(part, points, count, box, owner)) return true;
    stack_.clear();
    for (std::size_t level = 0; level < levels_.size(); ++level) {
        const std::size_t held = level + 1 < levels_.size() ? fan * levels_[level + 1].size() : 0;
        for (std::size_t g = held; g < levels_[level].size(); ++g) stack_.push_back({std::int32_t(level), std::int32_t(g)});
    }
    while (!stack_.empty()) {
        const auto [level, g] = stack_.back();
        stack_.pop_back();
        const Group& group = levels_[std::size_t(level)][std::size_t(g)];
        ++tests_;
        if (apart(group.box, box) || cutOff(group, box)) continue;
        for (std::size_t i = fan * std::size_t(g); i < fan * std::size_t(g + 1); ++i) {
            if (level > 0) stack_.push_back({level - 1, std::int32_t(i)});
            else if (testPart(i, points, count, box, owner)) return true;
        }
    }
    return false;
}

// A group of the last `fan` parts (level 0) or groups of the level below.
void OverlapHulls::addGroup(std::size_t level) {
    std::vector<P2> pts;
    Box box{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    auto take = [&](const Box& b) {
        box = {std::min(box.x0, b.x0), std::min(box.y0, b.y0), std::max(box.x1, b.x1), std::max(box.y1, b.y1)};
    };
    if (level == 0) {
        for (std::size_t part = owner_.size() - fan; part < owner_.size(); ++part) {
            take(box_[part]);
            pts.insert(pts.end(), points_.begin() + partStart_[part], points_.begin() + partStart_[part + 1]);
        }
    } else {
        const std::vector<Group>& below = levels_[level - 1];
        for (std::size_t g = below.size() - fan; g < below.size(); ++g) {
            take(below[g].box);
            pts.insert(pts.end(), hull_.begin() + below[g].hullStart, hull_.begin() + below[g].hullEnd);
        }
    }
    pts = planarHull(std::move(pts));
    Group group{box, std::int32_t(hull_.size()), 0};
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const P2 edge = pts[(i + 1) % pts.size()] - pts[i];
        double a = std::atan2(edge.y, edge.x);
        while (i > 0 && a < angle_.back()) a += 2 * pi;
        angle_.push_back(a);
        hull_.push_back(pts[i]);
    }
    group.hullEnd = std::int32_t(hull_.size());
    if (levels_.size() <= level) levels_.resize(level + 1);
    levels_[level].push_back(group);
    if (levels_[level].size() % fan == 0) addGroup(level + 1);
}

void OverlapHulls::add(const P2* points, int count, std::int32_t owner) {
    if (count < 3) return;
    points_.insert(points_.end(), points, points + count);
    partStart_.push_back(std::int32_t(points_.size()));
    owner_.push_back(owner);
    Box box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (int i = 1; i < count; ++i)
        box = {std::min(box.x0, points[i].x), std::min(box.y0, points[i].y), std::max(box.x1, points[i].x),
               std::max(box.y1, points[i].y)};
    box_.push_back(box);
    if (owner_.size() % fan == 0) addGroup(0);
}

void OverlapHulls::clear() {
    points_.clear();
    partStart_.assign(1, 0);
    owner_.clear();
    box_.clear();
    levels_.clear();
    hull_.clear();
    angle_.clear();
}

}  // namespace pd
