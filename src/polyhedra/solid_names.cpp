#include "polyhedra/solid_names.h"

#include <algorithm>
#include <cmath>

#include "base/translate.h"
#include "construct/catalogue.h"

namespace pd {

namespace {

Vec3d at(const Polyhedron& p, std::int32_t v) { return widen(p.vertices[std::size_t(v)]); }

bool near(double a, double b, double scale) { return std::fabs(a - b) <= shapeTolerance * scale; }

// The families' names by the sides of their polygon, whole, so that a
// language whose adjectives agree with the noun can say each; past 12 sides
// "13-gonal prism". Row n - 3; null where the family has no such member.
enum FamilyKind { Prism, Antiprism, Trapezohedron, Pyramid, Bipyramid };
const char* const familyNames[10][5] = {
    {N_("triangular prism"), nullptr, nullptr, N_("triangular pyramid"), N_("triangular bipyramid")},
    {N_("square prism"), N_("square antiprism"), N_("tetragonal trapezohedron"), N_("square pyramid"), N_("square bipyramid")},
    {N_("pentagonal prism"), N_("pentagonal antiprism"), N_("pentagonal trapezohedron"), N_("pentagonal pyramid"), N_("pentagonal bipyramid")},
    {N_("hexagonal prism"), N_("hexagonal antiprism"), N_("hexagonal trapezohedron"), N_("hexagonal pyramid"), N_("hexagonal bipyramid")},
    {N_("heptagonal prism"), N_("heptagonal antiprism"), N_("heptagonal trapezohedron"), N_("heptagonal pyramid"), N_("heptagonal bipyramid")},
    {N_("octagonal prism"), N_("octagonal antiprism"), N_("octagonal trapezohedron"), N_("octagonal pyramid"), N_("octagonal bipyramid")},
    {N_("enneagonal prism"), N_("enneagonal antiprism"), N_("enneagonal trapezohedron"), N_("enneagonal pyramid"), N_("enneagonal bipyramid")},
    {N_("decagonal prism"), N_("decagonal antiprism"), N_("decagonal trapezohedron"), N_("decagonal pyramid"), N_("decagonal bipyramid")},
    {N_("hendecagonal prism"), N_("hendecagonal antiprism"), N_("hendecagonal trapezohedron"), N_("hendecagonal pyramid"), N_("hendecagonal bipyramid")},
    {N_("dodecagonal prism"), N_("dodecagonal antiprism"), N_("dodecagonal trapezohedron"), N_("dodecagonal pyramid"), N_("dodecagonal bipyramid")},
};

std::string familyName(int n, FamilyKind kind) {
    if (n >= 3 && n <= 12 && familyNames[n - 3][kind]) return tr(familyNames[n - 3][kind]);
    const char* const beyond[] = {tr("{1}-gonal prism"), tr("{1}-gonal antiprism"), tr("{1}-gonal trapezohedron"),
                                  tr("{1}-gonal pyramid"), tr("{1}-gonal bipyramid")};
    return fill(beyond[kind], {std::to_string(n)});
}

std::string combinatorially(const std::string& name) {
    // TRANSLATORS: a solid's name where only its faces' arrangement is the solid's.
    return fill(tr("{1} (combinatorially)"), {name});
}

class Namer {
public:
    Namer(const Polyhedron& p, const std::vector<Edge>& edges) : p_(p), edges_(edges) {
        degree_.assign(p.vertices.size(), 0);
        for (const Edge& e : edges) ++degree_[std::size_t(e.a)], ++degree_[std::size_t(e.b)];
        for (std::size_t v = 0; v < degree_.size(); ++v)
            if (degree_[v] > 0) used_.push_back(std::int32_t(v));
        for (const Edge& e : edges) meanEdge_ += length(at(p, e.a) - at(p, e.b));
        meanEdge_ /= std::max<std::size_t>(1, edges.size());
    }

    std::string name() const {
        const int v = int(used_.size()), f = p_.faceCount();
        if (v < 4 || f < 4 || int(edges_.size()) != v + f - 2) return "";
        for (const Edge& e : edges_)
            if (e.faces[0] < 0 || e.faces[1] < 0) return "";
        const std::string platonic = platonicName();
        if (!platonic.empty() && regular()) return platonic;
        if (const std::string family = familyName(); !family.empty()) return family;
        if (!platonic.empty()) return combinatorially(platonic);
        if (v > 120 && f > 120) return "";  // beyond the largest of them
        for (const CatalogueEntry& e : catalogue()) {
            if (e.family == Family::Archimedean && v == e.count && everyVertexHas(e.around))
                return regular() ? tr(e.name) : combinatorially(tr(e.name));
            if (e.family == Family::Catalan && f == e.count && everyFaceHas(e.around))
                return faceTransitiveLooking() ? tr(e.name) : combinatorially(tr(e.name));
        }
        return "";
    }

private:
    int facesOfSize(int n) const {
        int count = 0;
        for (int f = 0; f < p_.faceCount(); ++f) count += p_.faceSize(f) == n;
        return count;
    }
    int verticesOfDegree(int d) const {
        int count = 0;
        for (std::int32_t v : used_) count += degree_[std::size_t(v)] == d;
        return count;
    }

    std::string platonicName() const {
        const int p = p_.faceSize(0), q = degree_[std::size_t(used_[0])];
        if (facesOfSize(p) != p_.faceCount() || verticesOfDegree(q) != int(used_.size())) return "";
        // A Platonic solid's `around` is q faces of p sides.
        for (const CatalogueEntry& e : catalogue())
            if (e.family == Family::Platonic && int(e.around.size()) == q && e.around[0] == p) return tr(e.name);
        return "";
    }

    // Prisms, antiprisms, trapezohedra, pyramids and bipyramids by their
    // counts alone.
    std::string familyName() const {
        using pd::familyName;
        const int v = int(used_.size()), f = p_.faceCount();
        if (v % 2 == 0) {
            const int n = v / 2;
            const int caps = n == 4 ? 0 : facesOfSize(n);
            if (f == n + 2 && verticesOfDegree(3) == v && (n == 4 ? facesOfSize(4) == 6 : caps == 2 && facesOfSize(4) == n))
                return familyName(n, Prism);
            if (n >= 4 && f == 2 * n + 2 && verticesOfDegree(4) == v && facesOfSize(n) == 2 && facesOfSize(3) == 2 * n)
                return familyName(n, Antiprism);
            // The antiprisms' duals: 2n kites between two apexes (the
            // trigonal one is a cube, named above).
            const int m = n - 1;
            if (m >= 4 && f == 2 * m && facesOfSize(4) == f && verticesOfDegree(m) == 2 && verticesOfDegree(3) == 2 * m)
                return familyName(m, Trapezohedron);
        }
        if (v >= 5 && f == 2 * (v - 2) && facesOfSize(3) == f) {
            const int n = v - 2;
            if (n == 4 ? verticesOfDegree(4) == v : verticesOfDegree(n) == 2 && verticesOfDegree(4) == n)
                return familyName(n, Bipyramid);
        }
        const int n = v - 1;
        if (f == v && (n == 3 ? facesOfSize(3) == 4 : facesOfSize(n) == 1 && facesOfSize(3) == n) &&
            (n == 3 ? verticesOfDegree(3) == 4 : verticesOfDegree(n) == 1 && verticesOfDegree(3) == n))
            return familyName(n, Pyramid);
        return "";
    }

    // The faces' sizes around each vertex, sorted.
    bool everyVertexHas(const std::vector<int>& sizes) const {
        if (around_.empty()) {
            around_.assign(p_.vertices.size(), {});
            for (int f = 0; f < p_.faceCount(); ++f)
                for (int k = 0; k < p_.faceSize(f); ++k) around_[std::size_t(p_.face(f)[k])].push_back(p_.faceSize(f));
            for (std::vector<int>& around : around_) std::sort(around.begin(), around.end());
        }
        for (std::int32_t v : used_)
            if (around_[std::size_t(v)] != sizes) return false;
        return true;
    }
    bool everyFaceHas(const std::vector<int>& degrees) const {
        std::vector<int> seen;
        for (int f = 0; f < p_.faceCount(); ++f) {
            seen.clear();
            for (int k = 0; k < p_.faceSize(f); ++k) seen.push_back(degree_[std::size_t(p_.face(f)[k])]);
            std::sort(seen.begin(), seen.end());
            if (seen != degrees) return false;
        }
        return true;
    }

    // Every edge as long as the mean, every face's corners as far from
    // their next but one, every vertex as far from the centre.
    bool regular() const {
        for (const Edge& e : edges_)
            if (!near(length(at(p_, e.a) - at(p_, e.b)), meanEdge_, meanEdge_)) return false;
        for (int f = 0; f < p_.faceCount(); ++f) {
            const int n = p_.faceSize(f);
            const std::int32_t* c = p_.face(f);
            const double first = length(at(p_, c[0]) - at(p_, c[2 % n]));
            for (int k = 1; k < n; ++k)
                if (!near(length(at(p_, c[k]) - at(p_, c[(k + 2) % n])), first, meanEdge_)) return false;
        }
        Vec3d centre{0, 0, 0};
        for (std::int32_t v : used_) centre += at(p_, v);
        centre = centre / double(used_.size());
        const double radius = length(at(p_, used_[0]) - centre);
        for (std::int32_t v : used_)
            if (!near(length(at(p_, v) - centre), radius, meanEdge_)) return false;
        return true;
    }

    Vec3d normal(int f) const {
        Vec3d n{0, 0, 0};
        const std::int32_t* c = p_.face(f);
        for (int k = 0, size = p_.faceSize(f); k < size; ++k) n += cross(at(p_, c[k]), at(p_, c[(k + 1) % size]));
        return n / std::max(length(n), 1e-300);
    }

    // Congruent faces (the same sides and corner angles, sorted) and one
    // dihedral angle at every edge.
    bool faceTransitiveLooking() const {
        auto measures = [&](int f) {
            std::vector<double> m;
            const int n = p_.faceSize(f);
            const std::int32_t* c = p_.face(f);
            for (int k = 0; k < n; ++k) m.push_back(length(at(p_, c[(k + 1) % n]) - at(p_, c[k])));
            std::sort(m.begin(), m.end());
            std::vector<double> angles;
            for (int k = 0; k < n; ++k) {
                const Vec3d a = at(p_, c[(k + n - 1) % n]) - at(p_, c[k]), b = at(p_, c[(k + 1) % n]) - at(p_, c[k]);
                angles.push_back(std::acos(std::clamp(dot(a, b) / (length(a) * length(b)), -1.0, 1.0)));
            }
            std::sort(angles.begin(), angles.end());
            for (double angle : angles) m.push_back(angle * meanEdge_);  // angles weighed as lengths
            return m;
        };
        const std::vector<double> first = measures(0);
        for (int f = 1; f < p_.faceCount(); ++f) {
            const std::vector<double> m = measures(f);
            for (std::size_t k = 0; k < m.size(); ++k)
                if (!near(m[k], first[k], meanEdge_)) return false;
        }
        const double dihedral = dot(normal(edges_[0].faces[0]), normal(edges_[0].faces[1]));
        for (const Edge& e : edges_)
            if (!near(dot(normal(e.faces[0]), normal(e.faces[1])), dihedral, 1.0)) return false;
        return true;
    }

    const Polyhedron& p_;
    const std::vector<Edge>& edges_;
    std::vector<int> degree_;
    mutable std::vector<std::vector<int>> around_;  // made when first asked
    std::vector<std::int32_t> used_;
    double meanEdge_ = 0.0;
};

}  // namespace

FaceShape faceShape(const Polyhedron& shape, int f) {
    if (shape.faceSize(f) != 4) return FaceShape::Polygon;
    const std::int32_t* c = shape.face(f);
    double side[4];
    for (int k = 0; k < 4; ++k) side[k] = length(at(shape, c[(k + 1) % 4]) - at(shape, c[k]));
    const double scale = (side[0] + side[1] + side[2] + side[3]) / 4.0;
    const bool equalSides = near(side[0], side[1], scale) && near(side[1], side[2], scale) && near(side[2], side[3], scale);
    const bool rightCorners = near(side[0], side[2], scale) && near(side[1], side[3], scale) &&
                              near(length(at(shape, c[2]) - at(shape, c[0])), length(at(shape, c[3]) - at(shape, c[1])), scale);
    if (equalSides) return rightCorners ? FaceShape::Square : FaceShape::Rhombus;
    return rightCorners ? FaceShape::Rectangle : FaceShape::Quadrilateral;
}

std::string faceShapeName(int corners, FaceShape shape) {
    switch (shape) {
    case FaceShape::Square: return tr("square");
    case FaceShape::Rectangle: return tr("rectangle");
    case FaceShape::Rhombus: return tr("rhombus");
    case FaceShape::Quadrilateral: return tr("quadrilateral");
    case FaceShape::Polygon: break;
    }
    static const char* const named[] = {N_("triangle"), N_("quadrilateral"), N_("pentagon"), N_("hexagon"), N_("heptagon"),
                                        N_("octagon"), N_("enneagon"), N_("decagon"), N_("hendecagon"), N_("dodecagon")};
    if (corners >= 3 && corners <= 12) return tr(named[corners - 3]);
    return fill(tr("{1}-gon"), {std::to_string(corners)});
}

std::string countedFaces(int count, int corners, FaceShape shape) {
    const unsigned long n = static_cast<unsigned long>(count);
    const char* pattern = nullptr;
    switch (shape) {
    case FaceShape::Square: pattern = trn("{1} square", "{1} squares", n); break;
    case FaceShape::Rectangle: pattern = trn("{1} rectangle", "{1} rectangles", n); break;
    case FaceShape::Rhombus: pattern = trn("{1} rhombus", "{1} rhombi", n); break;
    case FaceShape::Quadrilateral: pattern = trn("{1} quadrilateral", "{1} quadrilaterals", n); break;
    case FaceShape::Polygon: break;
    }
    if (!pattern) switch (corners) {
        case 3: pattern = trn("{1} triangle", "{1} triangles", n); break;
        case 4: pattern = trn("{1} quadrilateral", "{1} quadrilaterals", n); break;
        case 5: pattern = trn("{1} pentagon", "{1} pentagons", n); break;
        case 6: pattern = trn("{1} hexagon", "{1} hexagons", n); break;
        case 7: pattern = trn("{1} heptagon", "{1} heptagons", n); break;
        case 8: pattern = trn("{1} octagon", "{1} octagons", n); break;
        case 9: pattern = trn("{1} enneagon", "{1} enneagons", n); break;
        case 10: pattern = trn("{1} decagon", "{1} decagons", n); break;
        case 11: pattern = trn("{1} hendecagon", "{1} hendecagons", n); break;
        case 12: pattern = trn("{1} dodecagon", "{1} dodecagons", n); break;
        // TRANSLATORS: {1} faces of {2} corners each, past the named polygons.
        default: pattern = trn("{1} {2}-gon", "{1} {2}-gons", n); break;
        }
    return fill(pattern, {std::to_string(count), std::to_string(corners)});
}

std::string solidName(const Polyhedron& shape, const std::vector<Edge>& edges) {
    if (shape.faceCount() < 4 || edges.empty()) return "";
    return Namer(shape, edges).name();
}

}  // namespace pd
