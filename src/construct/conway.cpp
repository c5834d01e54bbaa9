#include "construct/conway.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/translate.h"
#include "geometry/edges.h"

namespace pd {

namespace {

using Index = std::int32_t;

constexpr int maxSides = 10000;
// Corners all the steps together may make: a typed notation must not take
// the memory or the minutes a runaway "mmmmmmmmmD" would.
constexpr double maxCorners = 50e6;

// The few operators built directly, and the others as their products,
// applied from the right like the notation.
const char* basicSteps(char op) {
    switch (op) {
        case 'e': return "aa";
        case 'o': return "daa";
        case 'b': return "ta";
        case 's': return "dg";
        case 'n': return "kd";
        case 'z': return "dk";
        case 'm': return "kj";
        case 'd': return "d";
        case 'a': return "a";
        case 't': return "t";
        case 'k': return "k";
        case 'j': return "j";
        case 'g': return "g";
        default: return nullptr;
    }
}

Vec3 narrow(Vec3d v) { return {float(v.x), float(v.y), float(v.z)}; }
Vec3d at(const Polyhedron& p, Index v) { return widen(p.vertices[std::size_t(v)]); }

// Fills `h` (the topology of `p`) and `degrees` (per vertex, the faces it
// is in), or says (vertices counted from 0) why `p` cannot take an
// operator: they need every walk around a vertex or across an edge to come
// back where it started, and no face or vertex too small to stay one.
std::string checkedTopology(const Polyhedron& p, EdgeTopology& h, std::vector<Index>& degrees) {
    degrees.assign(std::size_t(p.vertexCount()), 0);
    std::vector<Index> lastFace(std::size_t(p.vertexCount()), -1);
    for (int f = 0; f < p.faceCount(); ++f) {
        auto name = [f] { return fill(tr("face {1}"), {std::to_string(f)}); };
        if (p.faceSize(f) < 3) return fill(tr("{1} has fewer than 3 corners"), {name()});
        for (Index s = p.faceStart[std::size_t(f)]; s < p.faceStart[std::size_t(f) + 1]; ++s) {
            const Index v = p.corners[std::size_t(s)];
            if (v < 0 || v >= p.vertexCount())
                return fill(tr("{1} names vertex {2}, which is not there"), {name(), std::to_string(v)});
            if (lastFace[std::size_t(v)] == f) return fill(tr("{1} has vertex {2} twice"), {name(), std::to_string(v)});
            lastFace[std::size_t(v)] = f;
            ++degrees[std::size_t(v)];
        }
    }
    h = edgeTopology(p);
    const Closedness closedness = closednessOf(h, 0);
    if (!closedness.closed) return closedness.message;
    for (std::size_t e = 0; e < h.edges.size(); ++e) {
        const Index s = h.sides[2 * e];
        if (p.corners[std::size_t(h.twin[std::size_t(s)])] != p.corners[std::size_t(nextSlot(p, h, s))])
            return fill(tr("edge {1}-{2} runs the same way in both its faces"),
                        {std::to_string(h.edges[e].a), std::to_string(h.edges[e].b)});
    }
    for (int v = 0; v < p.vertexCount(); ++v)
        if (degrees[std::size_t(v)] == 1 || degrees[std::size_t(v)] == 2)
            return fill(tr("vertex {1} is in only {2} faces"), {std::to_string(v), std::to_string(degrees[std::size_t(v)])});
    return "";
}

// Calls fn with the slots around each vertex, counter-clockwise seen from
// outside: each slot's face lies left of its edge, so the face across the
// edge that comes in to the vertex is the next one round. A vertex where
// two fans of faces meet at a point gets one call per fan.
template <class Fn>
void forEachFan(const Polyhedron& p, const EdgeTopology& h, Fn fn) {
    std::vector<char> done(p.corners.size(), 0);
    std::vector<Index> fan;
    for (Index first = 0; first < Index(p.corners.size()); ++first) {
        if (done[std::size_t(first)]) continue;
        fan.clear();
        Index s = first;
        do {
            done[std::size_t(s)] = 1;
            fan.push_back(s);
            s = h.twin[std::size_t(prevSlot(p, h, s))];
        } while (s != first);
        fn(fan);
    }
}

Vec3d centroid(const Polyhedron& p, int f) {
    Vec3d sum{0, 0, 0};
    for (int i = 0; i < p.faceSize(f); ++i) sum += at(p, p.face(f)[i]);
    return sum / p.faceSize(f);
}

// Newell's normal, which any polygon has, planar or not; zero if none.
Vec3d unitNormal(const Polyhedron& p, int f, Vec3d centre) {
    Vec3d n{0, 0, 0};
    const int size = p.faceSize(f);
    for (int i = 0; i < size; ++i) n += cross(at(p, p.face(f)[i]) - centre, at(p, p.face(f)[(i + 1) % size]) - centre);
    const double l = length(n);
    return l > 0 ? n / l : n;
}

// Per face, its unit normal (Newell's, about its centroid).
std::vector<Vec3d> faceNormals(const Polyhedron& p) {
    std::vector<Vec3d> normal(std::size_t(p.faceCount()));
    for (int f = 0; f < p.faceCount(); ++f) normal[std::size_t(f)] = unitNormal(p, f, centroid(p, f));
    return normal;
}

// The tangent of half the angle between two faces' normals, at most 1.
double halfBend(Vec3d n, Vec3d other) {
    const double sine = length(cross(n, other)), cosine = dot(n, other);
    return sine < 1 + cosine ? sine / (1 + cosine) : 1.0;
}

// Per face, its centroid raised along its normal, for the new vertex kis,
// join and gyro put there: raised at all, so the new faces do not lie flat
// in the old one, but at each edge by at most half the tilt that would reach
// the neighbour's plane (with the neighbour raised too, the edge stays
// convex). A face out of plane (a join's folded quadrilateral) is measured
// from its highest corner, or the centre would sink into the fold.
std::vector<Vec3d> raisedCentres(const Polyhedron& p, const EdgeTopology& h, const std::vector<Vec3d>& normal) {
    std::vector<Vec3d> centre(std::size_t(p.faceCount()));
    for (int f = 0; f < p.faceCount(); ++f) centre[std::size_t(f)] = centroid(p, f);
    std::vector<Vec3d> raised(centre.size());
    for (int f = 0; f < p.faceCount(); ++f) {
        const Vec3d c = centre[std::size_t(f)], n = normal[std::size_t(f)];
        double height = INFINITY, highest = 0;
        for (Index s = p.faceStart[std::size_t(f)]; s < p.faceStart[std::size_t(f) + 1]; ++s) {
            const Vec3d a = at(p, p.corners[std::size_t(s)]), b = at(p, p.corners[std::size_t(nextSlot(p, h, s))]);
            highest = std::max(highest, dot(a - c, n));
            const double tanHalf = halfBend(n, normal[std::size_t(h.face[std::size_t(h.twin[std::size_t(s)])])]);
            const double span = length(b - a);
            if (span > 0) height = std::min(height, length(cross(c - a, b - a)) / span * tanHalf);
        }
        raised[std::size_t(f)] = c + n * (highest + (std::isfinite(height) ? height / 2 : 0.0));
    }
    return raised;
}

// The point a convex model surrounds: the centroid of its volume (cones
// from the vertices' mean over each face), or that mean if it has none.
Vec3d interiorPoint(const Polyhedron& p) {
    Vec3d mean{0, 0, 0};
    for (const Vec3& v : p.vertices) mean += widen(v) / double(p.vertices.size());
    Vec3d weighted{0, 0, 0};
    double volume = 0;
    for (int f = 0; f < p.faceCount(); ++f) {
        const Vec3d a = at(p, p.face(f)[0]) - mean;
        for (int i = 1; i + 1 < p.faceSize(f); ++i) {
            const Vec3d b = at(p, p.face(f)[i]) - mean, c = at(p, p.face(f)[i + 1]) - mean;
            const double sixfold = dot(a, cross(b, c));
            volume += sixfold;
            weighted += (a + b + c) * (sixfold / 4);
        }
    }
    return volume > 0 ? mean + weighted / volume : mean;
}

// A vertex per face at its plane's pole about a sphere round the interior
// point, so a convex model with plane faces has a convex dual with plane
// faces (centroids would fold the truncated cube's dual along its long
// edges). The radius is the mean distance to the edges' midpoints. A face
// whose plane passes within a fifth of that of the centre (a model far from
// convex) would have its pole far out, and takes its centroid instead.
Polyhedron dual(const Polyhedron& p, const EdgeTopology& h) {
    const Vec3d centre = interiorPoint(p);
    double radius = 0;
    for (const Edge& e : h.edges) radius += length((at(p, e.a) + at(p, e.b)) / 2 - centre) / double(h.edges.size());
    std::vector<Vec3d> points(std::size_t(p.faceCount()));
    for (int f = 0; f < p.faceCount(); ++f) {
        const Vec3d c = centroid(p, f), n = unitNormal(p, f, c);
        const double distance = dot(n, c - centre);
        points[std::size_t(f)] = distance > radius / 5 ? centre + n * (radius * radius / distance) : c;
    }
    // Scaled to the model's mean distance from the centre, or a model far
    // from canonical would grow or shrink with each d of a long chain.
    double before = 0, after = 0;
    for (const Vec3& v : p.vertices) before += length(widen(v) - centre);
    for (const Vec3d& v : points) after += length(v - centre);
    const double scale = after > 0 ? before / double(p.vertices.size()) / (after / double(points.size())) : 1.0;
    Polyhedron q;
    q.vertices.reserve(points.size());
    for (const Vec3d& v : points) q.vertices.push_back(narrow(centre + (v - centre) * scale));
    std::vector<Index> ring;
    forEachFan(p, h, [&](const std::vector<Index>& fan) {
        ring.clear();
        for (Index s : fan) ring.push_back(h.face[std::size_t(s)]);
        q.addFace(ring.data(), int(ring.size()));
    });
    return q;
}

// A vertex per edge (its midpoint); each face shrinks to the midpoints of
// its edges, each vertex becomes the face of the midpoints around it.
Polyhedron ambo(const Polyhedron& p, const EdgeTopology& h) {
    Polyhedron q;
    q.vertices.reserve(h.edges.size());
    for (const Edge& e : h.edges) q.vertices.push_back(narrow((at(p, e.a) + at(p, e.b)) / 2));
    for (int f = 0; f < p.faceCount(); ++f) q.addFace(h.cornerEdge.data() + p.faceStart[std::size_t(f)], p.faceSize(f));
    std::vector<Index> ring;
    forEachFan(p, h, [&](const std::vector<Index>& fan) {
        ring.clear();
        for (Index s : fan) ring.push_back(h.cornerEdge[std::size_t(s)]);
        q.addFace(ring.data(), int(ring.size()));
    });
    return q;
}

// A pyramid on each face of `sides` corners (0: on every face).
Polyhedron kis(const Polyhedron& p, const EdgeTopology& h, int sides) {
    const std::vector<Vec3d> apex = raisedCentres(p, h, faceNormals(p));
    Polyhedron q;
    q.vertices.reserve(p.vertices.size() + apex.size());
    q.vertices = p.vertices;
    for (int f = 0; f < p.faceCount(); ++f) {
        if (sides != 0 && p.faceSize(f) != sides) {
            q.addFace(p.face(f), p.faceSize(f));
            continue;
        }
        const Index top = Index(q.vertices.size());
        q.vertices.push_back(narrow(apex[std::size_t(f)]));
        for (Index s = p.faceStart[std::size_t(f)]; s < p.faceStart[std::size_t(f) + 1]; ++s) {
            const Index triangle[3] = {p.corners[std::size_t(s)], p.corners[std::size_t(nextSlot(p, h, s))], top};
            q.addFace(triangle, 3);
        }
    }
    return q;
}

// Each vertex of `degree` faces (0: every vertex; `degrees` per vertex its
// faces) cut off a third of the way along its edges.
Polyhedron truncate(const Polyhedron& p, const EdgeTopology& h, const std::vector<Index>& degrees, int degree) {
    auto cut = [&](Index v) { return degree == 0 || degrees[std::size_t(v)] == degree; };
    Polyhedron q;
    q.vertices.reserve(p.vertices.size() + 2 * h.edges.size());
    std::vector<Index> kept(p.vertices.size(), -1);
    for (Index v = 0; v < p.vertexCount(); ++v)
        if (!cut(v)) {
            kept[std::size_t(v)] = Index(q.vertices.size());
            q.vertices.push_back(p.vertices[std::size_t(v)]);
        }
    // Per edge, the cut points near its ends a and b.
    std::vector<Index> end(2 * h.edges.size(), -1);
    for (std::size_t e = 0; e < h.edges.size(); ++e) {
        const Vec3d a = at(p, h.edges[e].a), b = at(p, h.edges[e].b);
        if (cut(h.edges[e].a)) {
            end[2 * e] = Index(q.vertices.size());
            q.vertices.push_back(narrow(a + (b - a) / 3));
        }
        if (cut(h.edges[e].b)) {
            end[2 * e + 1] = Index(q.vertices.size());
            q.vertices.push_back(narrow(b + (a - b) / 3));
        }
    }
    auto near = [&](Index v, Index e) { return end[2 * std::size_t(e) + (h.edges[std::size_t(e)].b == v)]; };
    std::vector<Index> ring;
    for (int f = 0; f < p.faceCount(); ++f) {
        ring.clear();
        for (Index s = p.faceStart[std::size_t(f)]; s < p.faceStart[std::size_t(f) + 1]; ++s) {
            const Index v = p.corners[std::size_t(s)];
            if (!cut(v)) {
                ring.push_back(kept[std::size_t(v)]);
                continue;
            }
            ring.push_back(near(v, h.cornerEdge[std::size_t(prevSlot(p, h, s))]));
            ring.push_back(near(v, h.cornerEdge[std::size_t(s)]));
        }
        q.addFace(ring.data(), int(ring.size()));
    }
    forEachFan(p, h, [&](const std::vector<Index>& fan) {
        const Index v = p.corners[std::size_t(fan[0])];
        if (!cut(v)) return;
        ring.clear();
        for (Index s : fan) ring.push_back(near(v, h.cornerEdge[std::size_t(s)]));
        q.addFace(ring.data(), int(ring.size()));
    });
    return q;
}

// A vertex at each face's raised centre; each edge becomes a quadrilateral
// between its ends and the centres on either side.
Polyhedron join(const Polyhedron& p, const EdgeTopology& h) {
    const std::vector<Vec3d> centre = raisedCentres(p, h, faceNormals(p));
    Polyhedron q;
    q.vertices.reserve(p.vertices.size() + centre.size());
    q.vertices = p.vertices;
    for (const Vec3d& c : centre) q.vertices.push_back(narrow(c));
    const Index base = p.vertexCount();
    for (Index s = 0; s < Index(p.corners.size()); ++s) {
        const Index t = h.twin[std::size_t(s)];
        if (t < s) continue;
        // s runs u -> v with its face on the left, so right then left.
        const Index quad[4] = {p.corners[std::size_t(s)], base + h.face[std::size_t(t)], p.corners[std::size_t(t)],
                               base + h.face[std::size_t(s)]};
        q.addFace(quad, 4);
    }
    return q;
}

// Each face divided into pentagons, one per corner, from its raised centre
// to a point a third along each edge; the pinwheel turns the same way in
// every face. The points are raised off the edge a little, as three corners
// in a line would leave the model flat there (its kis, coplanar triangles;
// their dual, vertices in one place).
Polyhedron gyro(const Polyhedron& p, const EdgeTopology& h) {
    const std::vector<Vec3d> normal = faceNormals(p);
    const std::vector<Vec3d> centre = raisedCentres(p, h, normal);
    Polyhedron q;
    q.vertices.reserve(p.vertices.size() + centre.size() + p.corners.size());
    q.vertices = p.vertices;
    for (const Vec3d& c : centre) q.vertices.push_back(narrow(c));
    const Index third = Index(q.vertices.size());  // + slot: a third along the slot's edge from its corner
    for (Index s = 0; s < Index(p.corners.size()); ++s) {
        const Vec3d a = at(p, p.corners[std::size_t(s)]), b = at(p, p.corners[std::size_t(nextSlot(p, h, s))]);
        const Vec3d n = normal[std::size_t(h.face[std::size_t(s)])];
        const Vec3d other = normal[std::size_t(h.face[std::size_t(h.twin[std::size_t(s)])])];
        const Vec3d out = n + other, lift = length(out) > 0 ? out / length(out) : n;
        q.vertices.push_back(narrow(a + (b - a) / 3 + lift * (length(b - a) * halfBend(n, other) / 10)));
    }
    const Index base = p.vertexCount();
    for (Index s = 0; s < Index(p.corners.size()); ++s) {
        const Index in = prevSlot(p, h, s);
        const Index pentagon[5] = {base + h.face[std::size_t(s)], third + in, third + h.twin[std::size_t(in)],
                                   p.corners[std::size_t(s)], third + s};
        q.addFace(pentagon, 5);
    }
    return q;
}

Polyhedron applyBasic(char step, int count, const Polyhedron& p, const EdgeTopology& h,
                      const std::vector<Index>& degrees) {
    switch (step) {
        case 'd': return dual(p, h);
        case 'a': return ambo(p, h);
        case 'k': return kis(p, h, count);
        case 't': return truncate(p, h, degrees, count);
        case 'j': return join(p, h);
        default: return gyro(p, h);
    }
}

// (V, E, F) after a basic step on a closed polyhedron, with k and t as if on
// every face and vertex (an upper bound for k<n>, t<n>).
void countAfter(char step, double& v, double& e, double& f) {
    const double V = v, E = e, F = f;
    switch (step) {
        case 'd': v = F, f = V; break;
        case 'a': v = E, e = 2 * E, f = V + F; break;
        case 'k': v = V + F, e = 3 * E, f = 2 * E; break;
        case 't': v = 2 * E, e = 3 * E, f = V + F; break;
        case 'j': v = V + F, e = 2 * E, f = E; break;
        default: v = V + 2 * E + F, e = 5 * E, f = 2 * E; break;
    }
}

// Adds a face through `face`'s points, turned to face away from the origin
// (the seeds are convex around it), so no list below has to get the turn right.
void addOutward(Polyhedron& p, std::vector<Index> face) {
    p.addFace(face.data(), int(face.size()));
    const int f = p.faceCount() - 1;
    const Vec3d c = centroid(p, f);
    if (dot(unitNormal(p, f, c), c) < 0) std::reverse(p.corners.begin() + p.faceStart[std::size_t(f)], p.corners.end());
}

Polyhedron icosahedron() {
    constexpr float g = 1.6180339887498948482f;
    Polyhedron p;
    p.vertices = {{-1, g, 0},  {1, g, 0},  {-1, -g, 0}, {1, -g, 0}, {0, -1, g},  {0, 1, g},
                  {0, -1, -g}, {0, 1, -g}, {g, 0, -1},  {g, 0, 1},  {-g, 0, -1}, {-g, 0, 1}};
    static const Index faces[20][3] = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11},
                                       {1, 5, 9},  {5, 11, 4}, {11, 10, 2}, {10, 7, 6}, {7, 1, 8},
                                       {3, 9, 4},  {3, 4, 2},  {3, 2, 6},   {3, 6, 8},  {3, 8, 9},
                                       {4, 9, 5},  {2, 4, 11}, {6, 2, 10},  {8, 6, 7},  {9, 8, 1}};
    for (const auto& f : faces) addOutward(p, {f[0], f[1], f[2]});
    return p;
}

std::string quoted(char c) { return std::string("'") + c + "'"; }

// The decimal number at text[i], i moved past it; saturates rather than
// overflowing, as anything that large is refused or matches nothing.
int readNumber(const std::string& text, std::size_t& i) {
    long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        value = std::min(value * 10 + (text[i++] - '0'), 1000000000L);
    return int(value);
}

// A notation read once, for both its cost and its model.
struct Notation {
    struct Step {
        char op;
        int count;     // k<n>, t<n>: n; else 0
        int position;  // from 1
    };
    std::vector<Step> steps;  // as written: the last is applied first
    char seed = 0;
    int sides = 0;  // P<n> A<n> Y<n>: n
};

// `notation` read, or its error.
Result<Notation> readNotation(const std::string& notation, const Polyhedron* m) {
    if (notation.empty()) return failure(tr("the notation is empty"));
    Notation read;
    for (std::size_t i = 0; i < notation.size() && read.seed == 0;) {
        const char c = notation[i];
        const int position = int(i) + 1;
        // TRANSLATORS: a letter of a notation and where it stands, "'k' at 3".
        const std::string here = fill(tr("{1} at {2}"), {quoted(c), std::to_string(position)});
        ++i;
        if (c != 0 && std::strchr("datkjeobgsnzm", c)) {
            const std::size_t digits = i;
            const int count = (c == 'k' || c == 't') ? readNumber(notation, i) : 0;
            if (i > digits && count < 3)
                return failure(fill(c == 'k' ? tr("{1} at {2}: k needs a face of 3 or more sides")
                                             : tr("{1} at {2}: t needs a vertex degree of 3 or more"),
                                    {quoted(notation[digits]), std::to_string(digits + 1)}));
            read.steps.push_back({c, count, position});
            continue;
        }
        if (c == 0 || !std::strchr("TCODIPAYM", c)) return failure(fill(tr("{1} is not an operator"), {here}));
        read.seed = c;
        if (c == 'P' || c == 'A' || c == 'Y') {
            const std::string what = c == 'P' ? tr("a prism") : c == 'A' ? tr("an antiprism") : tr("a pyramid");
            const std::size_t digits = i;
            read.sides = readNumber(notation, i);
            if (i == digits)
                return failure(fill(tr("{1}: {2} needs a number of sides, as in {3}"), {here, what, std::string(1, c) + "5"}));
            const std::string first = fill(tr("{1} at {2}"), {quoted(notation[digits]), std::to_string(digits + 1)});
            if (read.sides < 3) return failure(fill(tr("{1}: {2} needs 3 or more sides"), {first, what}));
            if (read.sides > maxSides)
                return failure(fill(tr("{1}: {2} needs {3} sides or fewer"), {first, what, std::to_string(maxSides)}));
        }
        if (c == 'M' && m == nullptr) return failure(fill(tr("{1}: there is no model for M to stand for"), {here}));
        if (i < notation.size())
            return failure(fill(tr("{1} at {2} follows the seed"), {quoted(notation[i]), std::to_string(i + 1)}));
    }
    if (read.seed == 0) return failure(tr("the notation ends without a seed (T C O D I P<n> A<n> Y<n> M)"));
    return read;
}

// The work of the steps of `notation` from `start`: M, or its seed (cheap: 80000 corners at most).
ConwayWork workOf(const Notation& notation, const Polyhedron& start) {
    ConwayWork work;
    double v = start.vertexCount(), e = double(start.corners.size()) / 2, f = start.faceCount();
    for (auto step = notation.steps.rbegin(); step != notation.steps.rend(); ++step) {
        const char* basic = basicSteps(step->op);
        for (std::size_t j = std::strlen(basic); j-- > 0;) {
            countAfter(basic[j], v, e, f);
            work.made += 2 * e;
        }
        if (work.made > maxCorners && work.firstTooMany.empty())
            work.firstTooMany = fill(tr("{1} at {2}"), {quoted(step->op), std::to_string(step->position)});
    }
    work.corners = 2 * e;
    return work;
}

// `p` numbered without its vertices in no face (`degrees`, per vertex its faces).
Polyhedron withoutFacelessVertices(const Polyhedron& p, const std::vector<Index>& degrees) {
    std::vector<Index> renumber(degrees.size(), -1);
    Polyhedron used;
    for (std::size_t u = 0; u < degrees.size(); ++u)
        if (degrees[u] > 0) {
            renumber[u] = Index(used.vertices.size());
            used.vertices.push_back(p.vertices[u]);
        }
    used.faceStart = p.faceStart;
    for (Index c : p.corners) used.corners.push_back(renumber[std::size_t(c)]);
    return used;
}

}  // namespace

Polyhedron conwaySeed(char seed, int n) {
    Polyhedron p;
    const bool family = seed == 'P' || seed == 'A' || seed == 'Y';
    if (family && n < 3) return p;
    auto ring = [&](double turn, double z) {
        for (int i = 0; i < n; ++i) {
            const double angle = 2 * M_PI * (i + turn) / n;
            p.vertices.push_back(narrow({std::cos(angle), std::sin(angle), z}));
        }
    };
    const double side = family ? 2 * std::sin(M_PI / n) : 0.0;
    std::vector<Index> bottom(std::size_t(std::max(n, 0))), top(bottom.size());
    for (int i = 0; i < n; ++i) bottom[std::size_t(i)] = i, top[std::size_t(i)] = n + i;
    switch (seed) {
        case 'T':
            p.vertices = {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}};
            for (const auto& f : {std::vector<Index>{0, 1, 2}, {0, 2, 3}, {0, 3, 1}, {1, 3, 2}}) addOutward(p, f);
            break;
        case 'C':
            for (int i = 0; i < 8; ++i)
                p.vertices.push_back({i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f});
            for (const auto& f :
                 {std::vector<Index>{0, 2, 6, 4}, {1, 3, 7, 5}, {0, 1, 5, 4}, {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 5, 7, 6}})
                addOutward(p, f);
            break;
        case 'O':
            p.vertices = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
            for (Index i = 0; i < 8; ++i) addOutward(p, {i & 1, 2 + ((i >> 1) & 1), 4 + ((i >> 2) & 1)});
            break;
        case 'I': p = icosahedron(); break;
        case 'D':
            p = icosahedron();
            p = dual(p, edgeTopology(p));
            break;
        case 'P': {
            ring(0, -side / 2);
            ring(0, side / 2);
            addOutward(p, bottom);
            addOutward(p, top);
            for (Index i = 0; i < n; ++i) addOutward(p, {i, (i + 1) % n, n + (i + 1) % n, n + i});
            break;
        }
        case 'A': {
            const double across = 2 * std::sin(M_PI / (2 * n));  // from a lower vertex to the upper ones beside it
            const double height = std::sqrt(side * side - across * across);
            ring(0, -height / 2);
            ring(0.5, height / 2);
            addOutward(p, bottom);
            addOutward(p, top);
            for (Index i = 0; i < n; ++i) {
                addOutward(p, {i, (i + 1) % n, n + i});
                addOutward(p, {n + i, (i + 1) % n, n + (i + 1) % n});
            }
            break;
        }
        case 'Y': {
            const double height = n < 6 ? std::sqrt(side * side - 1) : 1.0;
            const double base = -height / (n + 1);  // the vertices' mean at the origin
            ring(0, base);
            p.vertices.push_back(narrow({0, 0, base + height}));
            addOutward(p, bottom);
            for (Index i = 0; i < n; ++i) addOutward(p, {i, (i + 1) % n, n});
            break;
        }
        default: break;
    }
    return p;
}

Result<ConwayWork> conwayWork(const std::string& notation, const Polyhedron* m) {
    const Result<Notation> read = readNotation(notation, m);
    if (!read) return read.error();
    return read->seed == 'M' ? workOf(*read, *m) : workOf(*read, conwaySeed(read->seed, read->sides));
}

Result<Polyhedron> conwayModel(const std::string& notation, const Polyhedron* m) {
    const Result<Notation> read = readNotation(notation, m);
    if (!read) return read.error();
    const bool fromM = read->seed == 'M';
    Polyhedron model = fromM ? Polyhedron{} : conwaySeed(read->seed, read->sides);
    const Polyhedron* current = fromM ? m : &model;  // M is read where it is until an operator has run
    const ConwayWork work = workOf(*read, *current);
    if (!work.firstTooMany.empty()) return failure(fill(tr("{1} would make more than 50000000 corners in all"), {work.firstTooMany}));
    if (fromM && read->steps.empty()) return *m;

    EdgeTopology h;
    std::vector<Index> degrees;
    for (auto step = read->steps.rbegin(); step != read->steps.rend(); ++step) {
        const char* basic = basicSteps(step->op);
        for (std::size_t j = std::strlen(basic); j-- > 0;) {
            const std::string problem = checkedTopology(*current, h, degrees);
            if (!problem.empty())
                return failure(fill(tr("{1} at {2} cannot apply: {3}"), {quoted(step->op), std::to_string(step->position), problem}));
            if (std::count(degrees.begin(), degrees.end(), 0) > 0) {
                // Only M can have vertices in no face; numbered without them,
                // every operator's vertices are all in faces.
                model = withoutFacelessVertices(*current, degrees);
                current = &model;
                checkedTopology(model, h, degrees);
            }
            model = applyBasic(basic[j], step->count, *current, h, degrees);
            current = &model;
        }
    }
    if (fromM) {
        // A polyhedron the operators keep one, but not every closed model
        // is a polyhedron (two faces that meet along two edges).
        const std::string problem = checkedTopology(model, h, degrees);
        if (!problem.empty()) return failure(fill(tr("the result is not a polyhedron: {1}"), {problem}));
    }
    return model;
}

}  // namespace pd
