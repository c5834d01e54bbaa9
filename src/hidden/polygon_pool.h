#pragma once

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

#include "geometry/tolerances.h"
#include "geometry/vec3.h"

namespace pd::bsp {

// The convex polygons a face order is made of, in one pool: the faces and
// the parts planes cut off them, each with its plane and a ball round it,
// and the cuts that make the parts (see depth_order.h).

constexpr std::uint64_t partCost = 32;  // tests, for a part made by a cut

struct Plane {
    Vec3d normal{0, 0, 1};  // unit
    double offset = 0.0;
    double distance(Vec3d p) const { return dot(normal, p) - offset; }
};

// A face or a part of one. A part keeps its face's plane (a thin part
// cut off could not give it well itself). Its corners are a run of the
// pool's one corner list: tens of thousands of small lists of their own
// cost more in the allocator than the cutting. Kept small: every byte of
// a new array is a page the kernel must clear, and for a large model those
// pages cost more than the tests.
struct Polygon {
    std::uint32_t first = 0;  // corners: Pool::corners[first] .. [first + count - 1]
    std::uint32_t count = 0;  // 0: cut up, no list holds it any more
    std::int32_t face;        // its plane: Pool::planes[face]
    Vec3d centre{0, 0, 0};    // a ball round the corners: a plane that misses it
    double radius = 0.0;      // has them all on one side, found without them
};

struct Box {
    Vec3d lo, hi;
};

// Every polygon, the faces' and the parts cut off later, with their
// corners; the lists below hold polygons' numbers, so a long chain moves
// no corners.
struct Pool {
    std::vector<Vec3d> corners;
    std::vector<Polygon> polygons;
    const std::vector<Plane>* planes = nullptr;    // each face's
    // Each face's group, or -1: faces of one group never hide one another
    // (the faces of one convex shell that face the viewer). None: no groups.
    const std::vector<std::int32_t>* groups = nullptr;
    std::vector<Vec3d> frontCorners, backCorners;  // a cut's parts, before they join `corners`
    std::vector<double> distances;
    std::vector<Box> boxes;                        // a split across an axis: its polygons' boxes

    const Vec3d* begin(const Polygon& p) const { return corners.data() + p.first; }
    const Vec3d* end(const Polygon& p) const { return corners.data() + p.first + p.count; }
    const Plane& plane(const Polygon& p) const { return (*planes)[std::size_t(p.face)]; }
    int group(std::uint32_t id) const { return groups ? (*groups)[std::size_t(polygons[id].face)] : -1; }
    // The numbers of all its polygons, in order.
    std::vector<std::uint32_t> allIds() const {
        std::vector<std::uint32_t> ids(polygons.size());
        std::iota(ids.begin(), ids.end(), 0u);
        return ids;
    }
};

// Coordinate `axis` (0, 1, 2: x, y, z) of `v`.
inline double along(Vec3d v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

// The box round polygon `p`'s corners.
Box boxOf(const Pool& pool, const Polygon& p);

// Newell's normal of a polygon and the plane through its corners' mean;
// false for corners that give no normal.
bool planeOf(const std::vector<Vec3d>& c, Plane& plane);

// Adds the corners gathered in `part` to the pool as a polygon of `from`'s
// face, and gives its number; none when they are only a point or a line.
bool addPart(Pool& pool, const Polygon& from, std::vector<Vec3d>& part, std::uint32_t& id);

// Where `p` lies from `plane`: 1 in front, -1 behind, 0 in it, 2 across.
inline int sideOf(const Pool& pool, const Polygon& p, const Plane& plane, double tolerance, std::uint64_t& tests) {
    // Past the ball by more than the tolerance (and a hair for rounding),
    // every corner is: the same answer as theirs.
    const double fromCentre = plane.distance(p.centre);
    const double clear = (p.radius + tolerance) * (1.0 + roundingShare);
    ++tests;
    if (fromCentre > clear) return 1;
    if (fromCentre < -clear) return -1;
    tests += p.count;
    bool anyFront = false, anyBack = false;
    for (const Vec3d* c = pool.begin(p); c != pool.end(p); ++c) {
        const double d = plane.distance(*c);
        anyFront = anyFront || d > tolerance;
        anyBack = anyBack || d < -tolerance;
    }
    return anyFront && anyBack ? 2 : anyFront ? 1 : anyBack ? -1 : 0;
}

// Polygon `id` cut by `plane`, its parts (a part that is only a point or
// a line dropped) added to the pool and to `front` and `back`. Each part
// counts as tests too: making one costs about as much as a few dozen.
void cut(Pool& pool, std::uint32_t id, const Plane& plane, double tolerance, std::uint64_t& tests,
         std::vector<std::uint32_t>& front, std::vector<std::uint32_t>& back);

// `pool` made to hold the polygons `ids` of `from` alone, with their
// corners, and room made ready for `grows` times as many. Its lists keep
// the room they had: refilled for one piece of a large model after
// another, they stay on pages already in use.
void refill(Pool& pool, const Pool& from, const std::vector<std::uint32_t>& ids, std::size_t grows);

}  // namespace pd::bsp
