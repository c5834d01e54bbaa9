#pragma once

// Test helpers: areas of plane polygons worked out by clipping, to judge
// overlaps independently of the separating-axis test the nets use.

#include <algorithm>
#include <vector>

#include "geometry/vec2.h"

namespace pd {

namespace polygons {

inline double area(const std::vector<P2>& a) {
    double twice = 0;
    for (std::size_t i = 0; i < a.size(); ++i) twice += cross(a[i], a[(i + 1) % a.size()]);
    return twice / 2;
}

// The part of convex polygon `a` (turning left) on the left of the line
// from s to t.
inline std::vector<P2> clipLeft(const std::vector<P2>& a, P2 s, P2 t) {
    std::vector<P2> out;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const P2 p = a[i], q = a[(i + 1) % a.size()];
        const double dp = cross(t - s, p - s), dq = cross(t - s, q - s);
        if (dp >= 0) out.push_back(p);
        if ((dp < 0) != (dq < 0)) out.push_back(p + (dp / (dp - dq)) * (q - p));
    }
    return out;
}

// The area two convex polygons share, either turning either way.
inline double sharedArea(std::vector<P2> a, std::vector<P2> b) {
    if (area(a) < 0) std::reverse(a.begin(), a.end());
    if (area(b) < 0) std::reverse(b.begin(), b.end());
    for (std::size_t i = 0; i < b.size() && !a.empty(); ++i) a = clipLeft(a, b[i], b[(i + 1) % b.size()]);
    return a.size() < 3 ? 0.0 : area(a);
}

// A polygon's box, to pass over pairs that cannot share any area.
struct Box {
    double x0, y0, x1, y1;
    bool meets(const Box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};
inline Box boxOf(const std::vector<P2>& a) {
    Box b{a[0].x, a[0].y, a[0].x, a[0].y};
    for (P2 p : a) b = {std::min(b.x0, p.x), std::min(b.y0, p.y), std::max(b.x1, p.x), std::max(b.y1, p.y)};
    return b;
}

}  // namespace polygons

}  // namespace pd
