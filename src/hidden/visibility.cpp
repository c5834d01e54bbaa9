#include "hidden/visibility.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace pd {

namespace {

constexpr double depthShare = 1e-6;  // of the scale: how far behind counts as behind
constexpr double edgeShare = 1e-7;   // of the scale: how far inside an outline counts as inside
constexpr double pieceShare = 1e-4;  // of the scale: shorter pieces join their neighbours
constexpr int maxGridSide = 2048;
constexpr std::uint64_t mostGridEntries = 50'000'000;
constexpr std::uint64_t clipCost = 10;  // a triangle clipped, counted against the bound as this many met
constexpr std::int32_t largestFan = 32;  // corners of the biggest face cut as a fan

// Twice the signed area of (a, b, c): positive when counter-clockwise.
double cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// The triangles of a convex polygon of `count` corners, as corner numbers
// in threes. Small ones are a fan from the first corner. A fan of a big one
// is as many long slivers meeting at one corner, which a line across the
// polygon all crosses; so big ones are cut by chords, each arc between a
// chord's ends halved again, and a line meets only a few triangles per
// level: about log(count).
void cutIntoTriangles(std::int32_t count, std::vector<std::int32_t>& out) {
    out.clear();
    if (count < 3) return;
    if (count <= largestFan) {
        for (std::int32_t k = 1; k + 1 < count; ++k) out.insert(out.end(), {0, k, k + 1});
        return;
    }
    const std::int32_t third = count / 3, twoThirds = 2 * count / 3;
    out.insert(out.end(), {0, third, twoThirds});
    // Arcs from corner a to corner b (b up to count, which is corner 0 again).
    std::vector<std::pair<std::int32_t, std::int32_t>> arcs{{0, third}, {third, twoThirds}, {twoThirds, count}};
    while (!arcs.empty()) {
        const auto [a, b] = arcs.back();
        arcs.pop_back();
        if (b - a < 2) continue;
        const std::int32_t middle = a + (b - a) / 2;
        out.insert(out.end(), {a, middle, b == count ? 0 : b});
        arcs.push_back({a, middle});
        arcs.push_back({middle, b});
    }
}

}  // namespace

template <class Visit>
void Occluders::forCellsOf(const Triangle& t, double margin, Visit visit) const {
    const int r0 = rowOf(std::min({t.y[0], t.y[1], t.y[2]}) - margin);
    const int r1 = rowOf(std::max({t.y[0], t.y[1], t.y[2]}) + margin);
    for (int r = r0; r <= r1; ++r) {
        // The row's band; the first and last rows hold all beyond them.
        const double lo = r == 0 ? -HUGE_VAL : minY_ + r * cellHeight_ - margin;
        const double hi = r == rows_ - 1 ? HUGE_VAL : minY_ + (r + 1) * cellHeight_ + margin;
        double xa = HUGE_VAL, xb = -HUGE_VAL;
        for (int k = 0; k < 3; ++k) {
            const int j = (k + 1) % 3;
            double ta = 0.0, tb = 1.0;  // the part of side k within the band
            const double dy = t.y[j] - t.y[k];
            if (dy == 0.0) {
                if (t.y[k] < lo || t.y[k] > hi) continue;
            } else {
                double u = (lo - t.y[k]) / dy, v = (hi - t.y[k]) / dy;
                if (u > v) std::swap(u, v);
                ta = std::max(ta, u), tb = std::min(tb, v);
                if (ta > tb) continue;
            }
            const double dx = t.x[j] - t.x[k];
            for (const double at : {t.x[k] + ta * dx, t.x[k] + tb * dx}) xa = std::min(xa, at), xb = std::max(xb, at);
        }
        if (xa > xb) continue;
        const int c0 = columnOf(xa - margin), c1 = columnOf(xb + margin);
        for (int c = c0; c <= c1; ++c) visit(std::size_t(r) * columns_ + c);
    }
}

Occluders::Occluders(const std::vector<Vec3>& points, const std::vector<std::int32_t>& corners,
                     const std::vector<std::int32_t>& faceStart) {
    double lo[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL}, hi[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (const Vec3& p : points) {
        const double c[3] = {p.x, p.y, p.z};
        for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], c[k]), hi[k] = std::max(hi[k], c[k]);
    }
    scale_ = 0.0;
    double magnitude = 0.0;
    for (int k = 0; k < 3; ++k) {
        if (hi[k] > lo[k]) scale_ = std::max(scale_, hi[k] - lo[k]);
        if (hi[k] >= lo[k]) magnitude = std::max({magnitude, std::fabs(lo[k]), std::fabs(hi[k])});
    }
    if (!(scale_ > 0.0) || !std::isfinite(scale_)) scale_ = 1.0;
    // Turned float coordinates are only good to a few units in their last
    // place: a model far from the origin needs more room than its size says.
    const double floatNoise = 4.0 * FLT_EPSILON * (std::isfinite(magnitude) ? magnitude : 0.0);
    depthTolerance_ = std::max(depthShare * scale_, floatNoise);
    edgeTolerance_ = std::max(edgeShare * scale_, floatNoise / 4.0);

    addTriangles(points, corners, faceStart);
    const double width = std::max(hi[0] - lo[0], 0.0), height = std::max(hi[1] - lo[1], 0.0);
    buildGrid(points.empty() ? 0.0 : lo[0], points.empty() ? 0.0 : lo[1], width, height);
}

void Occluders::addTriangles(const std::vector<Vec3>& points, const std::vector<std::int32_t>& corners,
                             const std::vector<std::int32_t>& faceStart) {
    const int faceCount = int(faceStart.size()) - 1;
    std::vector<std::int32_t> fan;
    for (int f = 0; f < faceCount; ++f) {
        const std::int32_t first = faceStart[f], end = faceStart[f + 1];
        cutIntoTriangles(end - first, fan);
        for (std::size_t k = 0; k < fan.size(); k += 3) {
            Triangle t;
            const std::int32_t ids[3] = {corners[first + fan[k]], corners[first + fan[k + 1]],
                                         corners[first + fan[k + 2]]};
            for (int i = 0; i < 3; ++i) {
                const Vec3& v = points[std::size_t(ids[i])];
                t.x[i] = v.x, t.y[i] = v.y, t.z[i] = v.z;
            }
            t.area = cross(t.x[1] - t.x[0], t.y[1] - t.y[0], t.x[2] - t.x[0], t.y[2] - t.y[0]);
            t.face = f;
            // Edge-on triangles cover nothing; a sliver thinner than the
            // tolerance could only give noise.
            for (int k = 0; k < 3; ++k)
                t.side[k] = std::hypot(t.x[(k + 1) % 3] - t.x[k], t.y[(k + 1) % 3] - t.y[k]);
            const double longest = std::max({t.side[0], t.side[1], t.side[2]});
            if (!(std::fabs(t.area) > 2.0 * edgeTolerance_ * longest)) continue;
            triangles_.push_back(t);
        }
    }
    seen_.assign(triangles_.size(), 0);
}

void Occluders::buildGrid(double minX, double minY, double width, double height) {
    // About one cell per triangle, shaped like the picture.
    const double n = double(std::max<std::size_t>(triangles_.size(), 1));
    const double aspect = width > 0.0 && height > 0.0 ? width / height : 1.0;
    columns_ = int(std::clamp(std::ceil(std::sqrt(n * aspect)), 1.0, double(maxGridSide)));
    rows_ = int(std::clamp(std::ceil(std::sqrt(n / aspect)), 1.0, double(maxGridSide)));
    minX_ = minX;
    minY_ = minY;
    cellWidth_ = width > 0.0 ? width / columns_ : 1.0;
    cellHeight_ = height > 0.0 ? height / rows_ : 1.0;

    // Each triangle into every cell it comes within the tolerance of (not
    // its box's: a long thin one across the picture would fill rows and
    // columns it never meets): row by row, the part of it within the row's
    // band gives the columns. Counted first, then placed.
    const double margin = 2.0 * edgeTolerance_;
    cellStart_.assign(std::size_t(columns_) * std::size_t(rows_) + 1, 0);
    // Past a bound (a fan of thousands round one corner fills the cells
    // near it with all of them) the grid is not built and every query is
    // spent already.
    std::uint64_t entries = 0;
    for (const Triangle& t : triangles_) {
        if (entries > mostGridEntries) break;
        forCellsOf(t, margin, [&](std::size_t cell) { ++cellStart_[cell + 1], ++entries; });
    }
    for (std::size_t i = 1; i < cellStart_.size(); ++i) cellStart_[i] += cellStart_[i - 1];
    if (entries > mostGridEntries) {
        triangles_.clear();
        seen_.clear();
        met_ = mostMet + 1;
        cellStart_.assign(cellStart_.size(), 0);
        return;
    }
    cellTriangles_.resize(cellStart_.back());
    std::vector<std::uint32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
    for (std::size_t i = 0; i < triangles_.size(); ++i)
        forCellsOf(triangles_[i], margin, [&](std::size_t cell) { cellTriangles_[fill[cell]++] = std::uint32_t(i); });
}

int Occluders::columnOf(double x) const {
    return int(std::clamp(std::floor((x - minX_) / cellWidth_), 0.0, double(columns_ - 1)));
}

int Occluders::rowOf(double y) const {
    return int(std::clamp(std::floor((y - minY_) / cellHeight_), 0.0, double(rows_ - 1)));
}

template <typename Visit>
void Occluders::forCellsAlong(double x0, double y0, double x1, double y1, Visit visit) const {
    // Row by row: the part of the segment within the row's band (widened
    // by the tolerance) gives the columns it passes.
    const double margin = 2.0 * edgeTolerance_;
    const int r0 = rowOf(std::min(y0, y1) - margin), r1 = rowOf(std::max(y0, y1) + margin);
    for (int r = r0; r <= r1; ++r) {
        double xa = std::min(x0, x1), xb = std::max(x0, x1);
        if (y1 != y0) {
            const double bandLo = minY_ + r * cellHeight_ - margin;
            const double bandHi = minY_ + (r + 1) * cellHeight_ + margin;
            double ta = (bandLo - y0) / (y1 - y0), tb = (bandHi - y0) / (y1 - y0);
            if (ta > tb) std::swap(ta, tb);
            ta = std::max(ta, 0.0), tb = std::min(tb, 1.0);
            if (r != r0 && r != r1 && ta > tb) continue;
            if (ta <= tb) {
                const double xs = x0 + ta * (x1 - x0), xe = x0 + tb * (x1 - x0);
                xa = std::min(xs, xe), xb = std::max(xs, xe);
            }
        }
        const int c0 = columnOf(xa - margin), c1 = columnOf(xb + margin);
        for (int c = c0; c <= c1; ++c) {
            const std::size_t cell = std::size_t(r) * columns_ + c;
            met_ += cellStart_[cell + 1] - cellStart_[cell];
            if (met_ > mostMet) return;
            for (std::uint32_t k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k) {
                const std::uint32_t t = cellTriangles_[k];
                if (seen_[t] == query_) continue;
                seen_[t] = query_;
                met_ += clipCost;
                visit(triangles_[t]);
            }
        }
    }
}

bool Occluders::clip(const Triangle& t, const double p[3], const double d[3], Span& span) const {
    // Along the segment p + s d each edge function (twice the area of the
    // edge and the point) is linear in s; inside means all three on the
    // triangle's side by more than the tolerance.
    const double sign = t.area > 0.0 ? 1.0 : -1.0;
    double lo = 0.0, hi = 1.0;
    double e0[3], e1[3];  // edge k from corner k to k + 1: value at s = 0 and its slope
    for (int k = 0; k < 3; ++k) {
        const int j = (k + 1) % 3;
        const double ex = t.x[j] - t.x[k], ey = t.y[j] - t.y[k];
        e0[k] = cross(ex, ey, p[0] - t.x[k], p[1] - t.y[k]);
        e1[k] = cross(ex, ey, d[0], d[1]);
        const double a = sign * e0[k] - edgeTolerance_ * t.side[k], b = sign * e1[k];
        if (b == 0.0) {
            if (a < 0.0) return false;
        } else if (b > 0.0) {
            lo = std::max(lo, -a / b);
        } else {
            hi = std::min(hi, -a / b);
        }
        if (!(lo < hi)) return false;
    }
    // The triangle's depth at p + s d, from the barycentric weights (each
    // the edge function opposite the corner over the area), less the
    // segment's depth and the tolerance: positive where the segment is
    // behind.
    auto behind = [&](double s) {
        const double w0 = e0[1] + s * e1[1], w1 = e0[2] + s * e1[2], w2 = e0[0] + s * e1[0];
        const double z = (w0 * t.z[0] + w1 * t.z[1] + w2 * t.z[2]) / t.area;
        return z - (p[2] + s * d[2]) - depthTolerance_;
    };
    const double atLo = behind(lo), atHi = behind(hi);
    if (atLo <= 0.0 && atHi <= 0.0) return false;
    if (atLo > 0.0 && atHi > 0.0) {
        span = {lo, hi};
    } else {
        const double cut = lo + (hi - lo) * atLo / (atLo - atHi);
        span = atLo > 0.0 ? Span{lo, cut} : Span{cut, hi};
    }
    return span.from < span.to;
}

void Occluders::hiddenSpans(Vec3 p, Vec3 q, std::int32_t skipA, std::int32_t skipB,
                            std::vector<Span>& out) const {
    out.clear();
    const double from[3] = {p.x, p.y, p.z};
    const double d[3] = {double(q.x) - p.x, double(q.y) - p.y, double(q.z) - p.z};
    const double length = std::hypot(d[0], d[1]);
    const double piece = pieceShare * scale_;
    if (length < piece) {
        if (hides(p.z >= q.z ? p : q)) out.push_back({0.0, 1.0});
        return;
    }
    ++query_;
    forCellsAlong(p.x, p.y, q.x, q.y, [&](const Triangle& t) {
        if (t.face == skipA || t.face == skipB) return;
        Span s;
        if (clip(t, from, d, s)) out.push_back(s);
    });
    std::sort(out.begin(), out.end(), [](const Span& a, const Span& b) { return a.from < b.from; });
    // Joined where they touch or nearly do; pieces shorter than `piece`,
    // seen between two hidden ones or at an end, go with their neighbours.
    const double join = piece / length;
    std::size_t kept = 0;
    for (const Span& s : out) {
        if (kept > 0 && s.from <= out[kept - 1].to + join) {
            out[kept - 1].to = std::max(out[kept - 1].to, s.to);
        } else {
            out[kept++] = s;
        }
    }
    out.resize(kept);
    if (!out.empty()) {
        if (out.front().from < join) out.front().from = 0.0;
        if (out.back().to > 1.0 - join) out.back().to = 1.0;
    }
    out.erase(std::remove_if(out.begin(), out.end(), [&](const Span& s) { return s.to - s.from < join; }),
              out.end());
}

bool Occluders::wouldExhaust(const std::vector<Vec3>& ends) const {
    if (exhausted()) return true;
    std::uint64_t load = met_;
    for (const Vec3& p : ends) {
        const std::size_t cell = std::size_t(rowOf(p.y)) * columns_ + columnOf(p.x);
        load += cellStart_[cell + 1] - cellStart_[cell];
    }
    return load > mostMet;
}

bool Occluders::hides(Vec3 p) const {
    ++query_;
    const double at[3] = {p.x, p.y, p.z};
    const double none[3] = {0.0, 0.0, 0.0};
    bool hidden = false;
    forCellsAlong(p.x, p.y, p.x, p.y, [&](const Triangle& t) {
        Span s;
        if (!hidden && clip(t, at, none, s)) hidden = true;
    });
    return hidden;
}

std::vector<Span> visibleSpans(const std::vector<Span>& hidden) {
    std::vector<Span> seen;
    double from = 0.0;
    for (const Span& h : hidden) {
        if (h.from > from) seen.push_back({from, h.from});
        from = std::max(from, h.to);
    }
    if (from < 1.0) seen.push_back({from, 1.0});
    return seen;
}

}  // namespace pd
