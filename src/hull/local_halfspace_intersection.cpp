#include "hull/local_halfspace_intersection.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "base/huge_pages.h"
#include "base/translate.h"
#include "hull/cut_surface.h"
#include "hull/point_clusters.h"
#include "geometry/edges.h"
#include "geometry/vertex_rings.h"
#include "geometry/tolerances.h"

namespace pd {

namespace {

constexpr std::size_t mostClippedLines = 64;  // more neighbours than this: intersectSorted

struct P2 {
    double x, y;
};

// One corner of a face: the planes that meet there (its own and the two of
// its sides, in increasing order) and where it is. A corner near a further
// plane of the neighbourhood is where several planes meet: `crowded`, and
// then matched to the others by place rather than by its planes.
struct Corner {
    int planes[3];
    int crowdedBy;  // a further plane passing this near, or -1
    Vec3d at;          // relative to the centre
};

// A polygon and three planes of one of its corners.
struct PlanesOf {
    int polygon, a, b, c;
    bool operator==(const PlanesOf& o) const {
        return polygon == o.polygon && a == o.a && b == o.b && c == o.c;
    }
};
struct HashPlanes {
    std::size_t operator()(const PlanesOf& k) const {
        std::uint64_t x = std::uint64_t(std::uint32_t(k.polygon));
        for (const int v : {k.a, k.b, k.c}) x = (x ^ std::uint32_t(v)) * 0x9E3779B97F4A7C15ull;
        return std::size_t(x ^ (x >> 29));
    }
};

// A neighbour's half-space seen in a plane's own frame: the points
// origin + x e1 + y e2 with  ax x + ay y <= c  (slope the length of (ax, ay)),
// origin the plane's nearest point to the centre.
struct Line {
    double ax, ay, c, slope;
    int id;
};

// Two unit vectors across the plane of unit normal n.
void planeFrame(Vec3d n, Vec3d& e1, Vec3d& e2) {
    const Vec3d helper = std::fabs(n.x) < 0.6 ? Vec3d{1, 0, 0} : Vec3d{0, 1, 0};
    e1 = cross(helper, n);
    const double l = length(e1);
    e1 = e1 / l;
    e2 = cross(n, e1);
}

// Room for one polygon's clipping, kept from plane to plane.
struct Scratch {
    std::vector<P2> polygon, next;
    std::vector<int> side, nextSide;  // per corner k, the line of the side from it to corner k + 1
    std::vector<double> depth;
};

// The polygon where plane `h` (number `self`, frame e1, e2) meets the
// half-spaces `lines`, corners counter-clockwise about h.normal. Clips a
// square around the plane's nearest point to the centre, `reach` from it
// on every side (the body lies within reach of the centre), noting for
// each side the plane it lies on (-1 for the square's own). False when a
// side of the square is left: the neighbourhood does not close the face.
bool clipSquare(const HalfSpace& h, int self, Vec3d e1, Vec3d e2, const std::vector<Line>& lines, double reach,
                double near, Scratch& scratch, std::vector<Corner>& corners) {
    const Vec3d n = h.normal;
    const Vec3d origin = n * h.offset;
    std::vector<P2>& polygon = scratch.polygon;
    std::vector<P2>& next = scratch.next;
    std::vector<int>& side = scratch.side;
    std::vector<int>& nextSide = scratch.nextSide;
    std::vector<double>& depth = scratch.depth;
    polygon.assign({{-reach, -reach}, {reach, -reach}, {reach, reach}, {-reach, reach}});
    side.assign(4, -1);
    for (std::size_t j = 0; j < lines.size(); ++j) {
        const Line& line = lines[j];
        const std::size_t m = polygon.size();
        // Most lines leave the polygon as it is: seen before anything is copied.
        depth.resize(m);
        bool cuts = false;
        for (std::size_t k = 0; k < m; ++k) {
            depth[k] = line.ax * polygon[k].x + line.ay * polygon[k].y - line.c;
            cuts |= depth[k] > 0;
        }
        if (!cuts) continue;
        next.clear();
        nextSide.clear();
        for (std::size_t k = 0; k < m; ++k) {
            const std::size_t k1 = k + 1 == m ? 0 : k + 1;
            const P2 p = polygon[k], q = polygon[k1];
            const double dp = depth[k], dq = depth[k1];
            if (dp <= 0) {
                next.push_back(p);
                nextSide.push_back(side[k]);
            }
            if ((dp <= 0) != (dq <= 0)) {
                const double s = dp / (dp - dq);
                next.push_back({p.x + (q.x - p.x) * s, p.y + (q.y - p.y) * s});
                // Leaving, the next side runs along the line; entering, along the old side.
                nextSide.push_back(dp <= 0 ? int(j) : side[k]);
            }
        }
        polygon.swap(next);
        side.swap(nextSide);
        if (polygon.size() < 3) {
            corners.clear();
            return true;
        }
    }
    corners.clear();
    const std::size_t m = polygon.size();
    for (std::size_t k = 0; k < m; ++k) {
        const int before = side[(k + m - 1) % m], after = side[k];
        if (before < 0 || after < 0) return false;
        Corner corner{{self, lines[std::size_t(before)].id, lines[std::size_t(after)].id}, -1, {}};
        std::sort(corner.planes, corner.planes + 3);
        const P2 p = polygon[k];
        for (std::size_t j = 0; j < lines.size() && corner.crowdedBy < 0; ++j) {
            const Line& line = lines[j];
            if (int(j) != before && int(j) != after && line.slope > 0 &&
                std::fabs(line.ax * p.x + line.ay * p.y - line.c) < near * line.slope)
                corner.crowdedBy = line.id;
        }
        corner.at = origin + p.x * e1 + p.y * e2;
        corners.push_back(corner);
    }
    return true;
}

// Checks the polygon intersectSorted found (corner k at at[k], starting
// side k on line sideLine[k], the sides' angles rising) against every
// line: each line's farthest corner is where the sides' angles pass its
// own, and the corners it passes near lie on either side of that one,
// which are marked as crowded by it. False when a line cuts the polygon.
bool vouchForCorners(const std::vector<Line>& lines, const std::vector<int>& sideLine, const std::vector<P2>& at,
                     const std::vector<double>& angle, double near, std::vector<Corner>& corners) {
    const std::size_t m = at.size();
    for (std::size_t j = 0; j < lines.size(); ++j) {
        const Line& line = lines[j];
        if (!(line.slope > 0)) continue;
        const double a = std::atan2(line.ay, line.ax);
        std::size_t top = std::size_t(std::upper_bound(angle.begin(), angle.end(), a) - angle.begin());
        if (top == m) top = 0;  // past the last side's angle: between it and the first
        auto value = [&](std::size_t k) { return line.ax * at[k].x + line.ay * at[k].y - line.c; };
        const double allowed = near * line.slope;
        if (value(top) > allowed) return false;
        auto note = [&](std::size_t k) {
            Corner& c = corners[k];
            const int before = sideLine[(k + m - 1) % m], after = sideLine[k];
            if (int(j) != before && int(j) != after && c.crowdedBy < 0) c.crowdedBy = line.id;
        };
        for (std::size_t step = 0, k = top; step < m && value(k) > -allowed; ++step, k = (k + 1) % m) note(k);
        for (std::size_t step = 1, k = (top + m - 1) % m; step < m && value(k) > -allowed;
             ++step, k = (k + m - 1) % m)
            note(k);
    }
    return true;
}

// The same polygon for a plane with many neighbours (a face of thousands
// of corners), where clipping line by line would cost lines times corners:
// the half-planes sorted by the angle of their normals and kept on a deque
// while they add a side (n log n). The result is then checked against
// every line at its farthest corner, found by halving over the sides'
// angles, which also finds the corners another line passes near. False
// when it cannot vouch for the polygon: a side of the square left, or a
// line that cuts it after all.
bool intersectSorted(const HalfSpace& h, int self, Vec3d e1, Vec3d e2, const std::vector<Line>& lines,
                     double reach, double near, std::vector<Corner>& corners) {
    struct Side {
        double ax, ay, c, angle;
        int line;  // in `lines`, or -1 for the square's
    };
    std::vector<Side> sides;
    sides.reserve(lines.size() + 4);
    const double square[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    for (const auto& q : square) sides.push_back({q[0], q[1], reach, std::atan2(q[1], q[0]), -1});
    corners.clear();
    for (std::size_t j = 0; j < lines.size(); ++j) {
        const Line& l = lines[j];
        if (l.slope > 0) sides.push_back({l.ax, l.ay, l.c, std::atan2(l.ay, l.ax), int(j)});
        else if (l.c < 0) return true;  // no point of the plane is inside
    }
    // Of sides with one normal, the innermost; ties go to the earlier line.
    std::stable_sort(sides.begin(), sides.end(), [](const Side& a, const Side& b) {
        if (a.angle != b.angle) return a.angle < b.angle;
        return a.c / std::hypot(a.ax, a.ay) < b.c / std::hypot(b.ax, b.ay);
    });
    auto meet = [](const Side& a, const Side& b) {
        const double det = a.ax * b.ay - a.ay * b.ax;
        return P2{(a.c * b.ay - a.ay * b.c) / det, (a.ax * b.c - a.c * b.ax) / det};
    };
    auto outside = [](const Side& a, P2 p) { return a.ax * p.x + a.ay * p.y - a.c > 0; };
    std::vector<Side> kept(sides.size());
    std::size_t first = 0, last = 0;  // kept[first, last)
    for (std::size_t i = 0; i < sides.size(); ++i) {
        const Side& side = sides[i];
        if (i > 0 && side.angle == sides[i - 1].angle) continue;
        while (last - first >= 2 && outside(side, meet(kept[last - 2], kept[last - 1]))) --last;
        while (last - first >= 2 && outside(side, meet(kept[first], kept[first + 1]))) ++first;
        if (last - first >= 1) {
            const Side& back = kept[last - 1];
            if (back.ax * side.ay - back.ay * side.ax <= 0) {
                // Facing each other or turned back: empty unless they overlap.
                if (back.ax * side.ax + back.ay * side.ay < 0 &&
                    back.c / std::hypot(back.ax, back.ay) + side.c / std::hypot(side.ax, side.ay) < 0)
                    return true;
                return false;  // a strip or a turn by more than half: left to the caller
            }
        }
        if (first > 0 && last == kept.size()) {  // room at the back
            std::copy(kept.begin() + std::ptrdiff_t(first), kept.begin() + std::ptrdiff_t(last), kept.begin());
            last -= first, first = 0;
        }
        kept[last++] = side;
    }
    while (last - first >= 3 && outside(kept[first], meet(kept[last - 2], kept[last - 1]))) --last;
    while (last - first >= 3 && outside(kept[last - 1], meet(kept[first], kept[first + 1]))) ++first;
    const std::size_t m = last - first;
    if (m < 3) return true;
    std::vector<P2> at(m);
    std::vector<double> angle(m);
    for (std::size_t k = 0; k < m; ++k) {
        const Side& before = kept[first + (k + m - 1) % m];
        const Side& after = kept[first + k];
        if (before.line < 0 || after.line < 0) return false;
        at[k] = meet(before, after);  // corner k ends side k - 1 and starts side k
        angle[k] = after.angle;
    }
    double area = 0;
    for (std::size_t k = 0; k < m; ++k) {
        const P2 p = at[k], q = at[(k + 1) % m];
        area += p.x * q.y - p.y * q.x;
    }
    if (!(area > 0)) return true;

    const Vec3d n = h.normal;
    const Vec3d origin = n * h.offset;
    for (std::size_t k = 0; k < m; ++k) {
        Corner corner{{self, lines[std::size_t(kept[first + (k + m - 1) % m].line)].id,
                       lines[std::size_t(kept[first + k].line)].id},
                      -1, {}};
        std::sort(corner.planes, corner.planes + 3);
        const P2 p = at[k];
        corner.at = origin + p.x * e1 + p.y * e2;
        corners.push_back(corner);
    }
    std::vector<int> sideLine(m);
    for (std::size_t k = 0; k < m; ++k) sideLine[k] = kept[first + k].line;
    return vouchForCorners(lines, sideLine, at, angle, near, corners);
}

// The polygon of plane h within the lines, as clipSquare describes it, by
// whichever way is linear for its neighbourhood.
bool cutPlane(const HalfSpace& h, int self, Vec3d e1, Vec3d e2, const std::vector<Line>& lines, double reach,
              double near, Scratch& scratch, std::vector<Corner>& corners) {
    // Where sorting cannot vouch for its polygon (lines nearly through one
    // point, a face shrunk to a corner) clipping can, and cheaply: the
    // polygon it keeps stays as small as that.
    if (lines.size() > mostClippedLines && intersectSorted(h, self, e1, e2, lines, reach, near, corners))
        return true;
    return clipSquare(h, self, e1, e2, lines, reach, near, scratch, corners);
}

// Every plane's polygon: the corners one after another and, per polygon,
// where its corners start and the plane it lies in.
struct Polygons {
    std::vector<Corner> corners;
    std::vector<int> start{0};
    std::vector<int> source;
    std::vector<int> of;  // per plane, its polygon or -1
};

// Whether `nearby` was framed for these very normals: what does not change
// as the planes move along their normals is then worked out already.
bool framedFor(const Nearby& nearby, const std::vector<HalfSpace>& spaces) {
    bool framed = nearby.normals.size() == spaces.size();
    for (std::size_t i = 0; i < spaces.size() && framed; ++i)
        framed = nearby.normals[i].x == spaces[i].normal.x && nearby.normals[i].y == spaces[i].normal.y &&
                 nearby.normals[i].z == spaces[i].normal.z;
    return framed;
}

// The neighbours of plane i as lines in its frame, a neighbour in the same
// plane left out and the others named by their first copy.
void neighbourLines(std::size_t i, const std::vector<HalfSpace>& spaces, const Nearby& nearby,
                    const std::vector<int>& same, bool framed, Vec3d e1, Vec3d e2, std::vector<Line>& lines) {
    const HalfSpace& h = spaces[i];
    lines.resize(std::size_t(nearby.start[i + 1] - nearby.start[i]));
    std::size_t count = 0;
    for (int s = nearby.start[i]; s < nearby.start[i + 1]; ++s) {
        const int to = nearby.to[std::size_t(s)], j = same[std::size_t(to)];
        if (j == int(i)) continue;
        const HalfSpace& g = spaces[std::size_t(j)];
        if (framed && j == to) {
            const NearbyLine& known = nearby.lines[std::size_t(s)];
            lines[count++] = {known.ax, known.ay, g.offset - h.offset * known.cosine, known.slope, j};
        } else {
            const double ax = dot(g.normal, e1), ay = dot(g.normal, e2);
            lines[count++] = {ax, ay, g.offset - h.offset * dot(g.normal, h.normal), std::hypot(ax, ay), j};
        }
    }
    lines.resize(count);
}

// Every plane's polygon, each corner worked out in its own plane; a
// failure when the neighbours of a plane leave its face open.
Status cutPolygons(const std::vector<HalfSpace>& spaces, const Nearby& nearby, const std::vector<int>& same,
                   double reach, double near, Polygons& out) {
    out.of.assign(spaces.size(), -1);
    // A polygon has at most a corner per neighbour: room for all at once,
    // rather than the corners copied at each doubling.
    reserveHuge(out.corners, nearby.to.size());
    out.start.reserve(spaces.size() + 1);
    out.source.reserve(spaces.size());
    const bool framed = framedFor(nearby, spaces);
    std::vector<Line> lines;
    std::vector<Corner> polygon;
    Scratch scratch;
    for (std::size_t i = 0; i < spaces.size(); ++i) {
        if (same[i] != int(i)) continue;
        const HalfSpace& h = spaces[i];
        Vec3d e1, e2;
        if (framed) e1 = nearby.across[i], e2 = nearby.along[i];
        else planeFrame(h.normal, e1, e2);
        neighbourLines(i, spaces, nearby, same, framed, e1, e2, lines);
        if (!cutPlane(h, int(i), e1, e2, lines, reach, near, scratch, polygon))
            return failure(fill(tr("the planes near plane {1} leave its face open"), {std::to_string(i)}));
        if (polygon.empty()) continue;
        out.of[i] = int(out.source.size());
        out.corners.insert(out.corners.end(), polygon.begin(), polygon.end());
        out.start.push_back(int(out.corners.size()));
        out.source.push_back(int(i));
    }
    return Done{};
}

// Per corner, the first corner of its owner's polygon on the same three
// planes (-1 when its owner has none), and per plane whether its face
// passes a point where several planes meet.
void findOwners(const Polygons& polygons, std::size_t planeCount, std::vector<int>& owner,
                std::vector<char>& byPlace) {
    const std::vector<Corner>& corners = polygons.corners;
    // Per polygon of many corners, its first corner on each three planes;
    // a small polygon is looked through, which costs less than hashing.
    constexpr int scannedCorners = 32;
    std::unordered_map<PlanesOf, int, HashPlanes> firstWithPlanes;
    for (std::size_t k = 0; k < polygons.source.size(); ++k) {
        if (polygons.start[k + 1] - polygons.start[k] <= scannedCorners) continue;
        for (int r = polygons.start[k]; r < polygons.start[k + 1]; ++r) {
            const int* planes = corners[std::size_t(r)].planes;
            firstWithPlanes.emplace(PlanesOf{int(k), planes[0], planes[1], planes[2]}, r);
        }
    }
    owner.assign(corners.size(), -1);
    byPlace.assign(planeCount, 0);
    for (std::size_t k = 0; k < polygons.source.size(); ++k)
        for (int q = polygons.start[k]; q < polygons.start[k + 1]; ++q) {
            const Corner& c = corners[std::size_t(q)];
            if (c.crowdedBy >= 0) {
                for (int plane : c.planes) byPlace[std::size_t(plane)] = 1;
                byPlace[std::size_t(c.crowdedBy)] = 1;
            }
            const int first = polygons.of[std::size_t(c.planes[0])];
            if (first < 0) continue;
            const int from = polygons.start[std::size_t(first)], to = polygons.start[std::size_t(first) + 1];
            if (to - from <= scannedCorners) {
                for (int r = from; r < to; ++r)
                    if (std::equal(c.planes, c.planes + 3, corners[std::size_t(r)].planes)) {
                        owner[std::size_t(q)] = r;
                        break;
                    }
                continue;
            }
            const auto found = firstWithPlanes.find(PlanesOf{first, c.planes[0], c.planes[1], c.planes[2]});
            if (found != firstWithPlanes.end()) owner[std::size_t(q)] = found->second;
        }
}

// One vertex per corner seen from each of its faces. A corner is found
// again, by its three planes, among the corners of the first of them
// (its owner). Where several planes meet in one point the faces see it
// as different corners: every corner of a face through such a point,
// and every corner found again with one, is matched by place instead.
// False when those cannot be told apart (see clustersStandApart).
bool matchCorners(const Polygons& polygons, std::size_t planeCount, double near, std::vector<int>& vertexOf,
                  std::vector<Vec3d>& vertexAt) {
    const std::vector<Corner>& corners = polygons.corners;
    std::vector<int> owner;
    std::vector<char> byPlace;
    findOwners(polygons, planeCount, owner, byPlace);
    std::vector<char> placed(corners.size(), 0);
    for (std::size_t k = 0; k < polygons.source.size(); ++k)
        for (int q = polygons.start[k]; q < polygons.start[k + 1]; ++q)
            placed[std::size_t(q)] = owner[std::size_t(q)] < 0 || byPlace[std::size_t(polygons.source[k])];
    for (std::size_t q = 0; q < corners.size(); ++q)
        if (placed[q] && owner[q] >= 0) placed[std::size_t(owner[q])] = 1;
    std::vector<Vec3d> placedAt;
    for (std::size_t q = 0; q < corners.size(); ++q) {
        if (owner[q] >= 0 && placed[std::size_t(owner[q])]) placed[q] = 1;
        if (placed[q]) placedAt.push_back(corners[q].at);
    }
    const PointClusters crowd = clusterPoints(placedAt, near);
    if (!clustersStandApart(placedAt, crowd.centres.size(), near)) return false;
    std::vector<int> crowdVertex(crowd.centres.size(), -1);
    vertexOf.assign(corners.size(), -1);
    vertexAt.clear();
    std::size_t nextPlaced = 0;
    for (std::size_t q = 0; q < corners.size(); ++q) {
        int& v = vertexOf[q];
        if (placed[q]) {
            const int cluster = crowd.clusterOf[nextPlaced++];
            int& shared = crowdVertex[std::size_t(cluster)];
            if (shared < 0) shared = int(vertexAt.size()), vertexAt.push_back(crowd.centres[std::size_t(cluster)]);
            v = shared;
        } else if (owner[q] == int(q)) {
            v = int(vertexAt.size());
            vertexAt.push_back(corners[q].at);
        } else {
            v = vertexOf[std::size_t(owner[q])];
        }
    }
    return true;
}

// The polygons as faces on their vertices, a polygon that shrank below
// three corners left out; `faceOf` gets, per plane, its face or -1.
Intersection facesOf(const Polygons& polygons, const std::vector<int>& vertexOf, const std::vector<Vec3d>& vertexAt,
                     Vec3d centre, std::vector<int>& faceOf) {
    Intersection out;
    std::vector<int> number(vertexAt.size(), -1);
    std::vector<std::int32_t> face;
    for (std::size_t k = 0; k + 1 < polygons.start.size(); ++k) {
        face.clear();
        for (int s = polygons.start[k]; s < polygons.start[k + 1]; ++s) {
            const int id = vertexOf[std::size_t(s)];
            int& v = number[std::size_t(id)];
            if (v < 0) {
                v = out.shape.vertexCount();
                const Vec3d p = vertexAt[std::size_t(id)];
                out.shape.vertices.push_back({float(centre.x + p.x), float(centre.y + p.y), float(centre.z + p.z)});
            }
            if (face.empty() || face.back() != v) face.push_back(v);
        }
        while (face.size() > 1 && face.front() == face.back()) face.pop_back();
        if (face.size() < 3) continue;
        faceOf[std::size_t(polygons.source[k])] = out.shape.faceCount();
        out.shape.addFace(face.data(), int(face.size()));
        out.faceSource.push_back(polygons.source[k]);
    }
    // Vertices numbered for faces that then fell away are dropped.
    Polyhedron& shape = out.shape;
    std::vector<std::int32_t> kept(shape.vertices.size(), -1);
    std::vector<Vec3> used;
    for (std::int32_t& v : shape.corners) {
        if (kept[std::size_t(v)] < 0) {
            kept[std::size_t(v)] = std::int32_t(used.size());
            used.push_back(shape.vertices[std::size_t(v)]);
        }
        v = kept[std::size_t(v)];
    }
    shape.vertices = std::move(used);
    return out;
}

}  // namespace

void frameNearby(Nearby& nearby, const std::vector<HalfSpace>& spaces) {
    nearby.normals.clear();
    nearby.across.clear();
    nearby.along.clear();
    nearby.lines.clear();
    if (nearby.start.size() != spaces.size() + 1) return;
    nearby.normals.reserve(spaces.size());
    nearby.across.reserve(spaces.size());
    nearby.along.reserve(spaces.size());
    reserveHuge(nearby.lines, nearby.to.size());
    for (std::size_t i = 0; i < spaces.size(); ++i) {
        const Vec3d n = spaces[i].normal;
        Vec3d e1, e2;
        planeFrame(n, e1, e2);
        nearby.normals.push_back(n);
        nearby.across.push_back(e1);
        nearby.along.push_back(e2);
        for (int s = nearby.start[i]; s < nearby.start[i + 1]; ++s) {
            const Vec3d g = spaces[std::size_t(nearby.to[std::size_t(s)])].normal;
            const double ax = dot(g, e1), ay = dot(g, e2);
            nearby.lines.push_back({ax, ay, std::hypot(ax, ay), dot(g, n)});
        }
    }
}

Result<Intersection> intersectNearby(const std::vector<HalfSpace>& spaces, const Nearby& nearby,
                                     Vec3d centre, double size, double tolerance) {
    for (const HalfSpace& h : spaces)
        if (!(h.offset > 0.0) || !std::isfinite(h.offset / size))
            return failure(tr("a half-space does not hold the centre"));
    const std::vector<int> same = samePlanes(spaces, size, tolerance);

    Polygons polygons;
    const Status cut = cutPolygons(spaces, nearby, same, 1.5 * size, tolerance * size, polygons);
    if (!cut) return cut.error();
    std::vector<int> vertexOf;
    std::vector<Vec3d> vertexAt;
    if (!matchCorners(polygons, spaces.size(), tolerance * size, vertexOf, vertexAt))
        return failure(tr("some of its vertices lie too close together to be told apart"));
    std::vector<int> faceOf(spaces.size(), -1);
    Intersection out = facesOf(polygons, vertexOf, vertexAt, centre, faceOf);

    const Polyhedron& shape = out.shape;
    if (shape.faceCount() < 4) return failure(tr("the half-spaces leave no solid"));
    const EdgeTopology topology = edgeTopology(shape);
    const Closedness closed = closednessOf(topology, 0);
    if (!closed.closed) return failure(fill(tr("the faces do not close: {1}"), {closed.message}));
    VertexRings rings;
    const Status ringed = buildVertexRings(shape, topology, rings, 0);
    if (!ringed) return failure(fill(tr("the faces do not close: {1}"), {ringed.error().what}));

    const CutSurface surface(out, topology, spaces, centre, tolerance * size);
    const Status convex = checkConvexSurface(surface, rings);
    if (!convex) return convex.error();
    const Status inside = checkFacelessPlanes(surface, nearby, same, faceOf);
    if (!inside) return inside.error();
    return out;
}

}  // namespace pd
