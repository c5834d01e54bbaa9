#include "hidden/polygon_pool.h"

#include <cmath>

#include "base/huge_pages.h"

namespace pd::bsp {

namespace {

// The ball round `p`'s corners.
void enclose(const Pool& pool, Polygon& p) {
    Vec3d sum{0, 0, 0};
    for (const Vec3d* c = pool.begin(p); c != pool.end(p); ++c) sum += *c;
    const double n = double(std::max<std::size_t>(p.count, 1));
    p.centre = sum / n;
    double farthest = 0.0;  // squared: one root for the polygon (the same as the roots' largest)
    for (const Vec3d* c = pool.begin(p); c != pool.end(p); ++c) farthest = std::max(farthest, dot(*c - p.centre, *c - p.centre));
    p.radius = std::sqrt(farthest);
}

}  // namespace

Box boxOf(const Pool& pool, const Polygon& p) {
    Box b{p.centre, p.centre};
    for (const Vec3d* cp = pool.begin(p); cp != pool.end(p); ++cp) {
        const Vec3d& c = *cp;
        b.lo = {std::min(b.lo.x, c.x), std::min(b.lo.y, c.y), std::min(b.lo.z, c.z)};
        b.hi = {std::max(b.hi.x, c.x), std::max(b.hi.y, c.y), std::max(b.hi.z, c.z)};
    }
    return b;
}

bool planeOf(const std::vector<Vec3d>& c, Plane& plane) {
    Vec3d n{0, 0, 0}, sum{0, 0, 0};
    for (std::size_t i = 0; i < c.size(); ++i) {
        const Vec3d& a = c[i];
        const Vec3d& b = c[(i + 1) % c.size()];
        n += {(a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y)};
        sum += a;
    }
    const double len = length(n);
    if (!(len > 0.0) || !std::isfinite(len)) return false;
    plane.normal = n * (1.0 / len);
    plane.offset = dot(plane.normal, sum * (1.0 / double(c.size())));
    return true;
}

bool addPart(Pool& pool, const Polygon& from, std::vector<Vec3d>& part, std::uint32_t& id) {
    if (part.size() < 3) return false;
    Polygon p;
    p.face = from.face;
    p.first = std::uint32_t(pool.corners.size());
    p.count = std::uint32_t(part.size());
    pool.corners.insert(pool.corners.end(), part.begin(), part.end());
    enclose(pool, p);
    id = std::uint32_t(pool.polygons.size());
    pool.polygons.push_back(p);
    return true;
}

void cut(Pool& pool, std::uint32_t id, const Plane& plane, double tolerance, std::uint64_t& tests,
         std::vector<std::uint32_t>& front, std::vector<std::uint32_t>& back) {
    const Polygon p = pool.polygons[id];
    pool.polygons[id].count = 0;  // no list holds it any more
    std::vector<Vec3d>& f = pool.frontCorners;
    std::vector<Vec3d>& b = pool.backCorners;
    std::vector<double>& d = pool.distances;
    f.clear(), b.clear(), d.clear();
    const std::size_t n = p.count;
    const Vec3d* c = pool.begin(p);
    for (std::size_t i = 0; i < n; ++i) d.push_back(plane.distance(c[i]));
    for (std::size_t i = 0; i < n; ++i) {
        const Vec3d a = c[i];
        const Vec3d e = c[(i + 1) % n];
        const double da = d[i], de = d[(i + 1) % n];
        if (da >= -tolerance) f.push_back(a);
        if (da <= tolerance) b.push_back(a);
        if ((da > tolerance && de < -tolerance) || (da < -tolerance && de > tolerance)) {
            const Vec3d at = a + (e - a) * (da / (da - de));
            f.push_back(at);
            b.push_back(at);
        }
    }
    tests += 2 * partCost;
    std::uint32_t part = 0;
    if (addPart(pool, p, f, part)) front.push_back(part);
    if (addPart(pool, p, b, part)) back.push_back(part);
}

void refill(Pool& pool, const Pool& from, const std::vector<std::uint32_t>& ids, std::size_t grows) {
    pool.planes = from.planes;
    pool.groups = from.groups;
    pool.corners.clear();
    pool.polygons.clear();
    std::size_t corners = 0;
    for (const std::uint32_t id : ids) corners += from.polygons[id].count;
    reservePopulated(pool.corners, grows * corners);
    reservePopulated(pool.polygons, grows * ids.size());
    for (const std::uint32_t id : ids) {
        Polygon p = from.polygons[id];
        p.first = std::uint32_t(pool.corners.size());
        pool.corners.insert(pool.corners.end(), from.begin(from.polygons[id]), from.end(from.polygons[id]));
        pool.polygons.push_back(p);
    }
}

}  // namespace pd::bsp
