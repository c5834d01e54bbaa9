#include "polyhedra/solid_names.h"

#include <algorithm>
#include <cmath>

#include "construct/catalogue.h"

namespace pd {

namespace {

Vec3d at(const Polyhedron& p, std::int32_t v) { return widen(p.vertices[std::size_t(v)]); }

bool near(double a, double b, double scale) { return std::fabs(a - b) <= shapeTolerance * scale; }

// The Greek words for polygons of 5 to 12 sides, the stems of both the
// faces' names and the families' prefixes, so that the one is always the
// other's adjective ("hendecagons", "hendecagonal prism"); null else.
const char* polygonStem(int n) {
    static const char* const stems[] = {"pentag", "hexag", "heptag", "octag", "enneag", "decag", "hendecag", "dodecag"};
    return n >= 5 && n <= 12 ? stems[n - 5] : nullptr;
}

std::string familyPrefix(int n) {
    if (n == 3) return "triangular";
    if (n == 4) return "square";
    const char* stem = polygonStem(n);
    return stem ? std::string(stem) + "onal" : std::to_string(n) + "-gonal";
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
        if (!platonic.empty()) return platonic + " (combinatorially)";
        if (v > 120 && f > 120) return "";  // beyond the largest of them
        for (const CatalogueEntry& e : catalogue()) {
            if (e.family == Family::Archimedean && v == e.count && everyVertexHas(e.around))
                return std::string(e.name) + (regular() ? "" : " (combinatorially)");
            if (e.family == Family::Catalan && f == e.count && everyFaceHas(e.around))
                return std::string(e.name) + (faceTransitiveLooking() ? "" : " (combinatorially)");
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
            if (e.family == Family::Platonic && int(e.around.size()) == q && e.around[0] == p) return e.name;
        return "";
    }

    // Prisms, antiprisms, trapezohedra, pyramids and bipyramids by their
    // counts alone.
    std::string familyName() const {
        const int v = int(used_.size()), f = p_.faceCount();
        if (v % 2 == 0) {
            const int n = v / 2;
            const int caps = n == 4 ? 0 : facesOfSize(n);
            if (f == n + 2 && verticesOfDegree(3) == v && (n == 4 ? facesOfSize(4) == 6 : caps == 2 && facesOfSize(4) == n))
                return familyPrefix(n) + " prism";
            if (n >= 4 && f == 2 * n + 2 && verticesOfDegree(4) == v && facesOfSize(n) == 2 && facesOfSize(3) == 2 * n)
                return familyPrefix(n) + " antiprism";
            // The antiprisms' duals: 2n kites between two apexes (the
            // trigonal one is a cube, named above).
            const int m = n - 1;
            if (m >= 4 && f == 2 * m && facesOfSize(4) == f && verticesOfDegree(m) == 2 && verticesOfDegree(3) == 2 * m)
                return (m == 4 ? std::string("tetragonal") : familyPrefix(m)) + " trapezohedron";
        }
        if (v >= 5 && f == 2 * (v - 2) && facesOfSize(3) == f) {
            const int n = v - 2;
            if (n == 4 ? verticesOfDegree(4) == v : verticesOfDegree(n) == 2 && verticesOfDegree(4) == n)
                return familyPrefix(n) + " bipyramid";
        }
        const int n = v - 1;
        if (f == v && (n == 3 ? facesOfSize(3) == 4 : facesOfSize(n) == 1 && facesOfSize(3) == n) &&
            (n == 3 ? verticesOfDegree(3) == 4 : verticesOfDegree(n) == 1 && verticesOfDegree(3) == n))
            return familyPrefix(n) + " pyramid";
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

std::string faceShapeName(int corners, FaceShape shape, bool plural) {
    switch (shape) {
    case FaceShape::Square: return plural ? "squares" : "square";
    case FaceShape::Rectangle: return plural ? "rectangles" : "rectangle";
    case FaceShape::Rhombus: return plural ? "rhombi" : "rhombus";
    case FaceShape::Quadrilateral: return plural ? "quadrilaterals" : "quadrilateral";
    case FaceShape::Polygon: break;
    }
    const char* stem = polygonStem(corners);
    const std::string name = corners == 3 ? "triangle" : corners == 4 ? "quadrilateral"
                             : stem        ? std::string(stem) + "on"
                                           : std::to_string(corners) + "-gon";
    return name + (plural ? "s" : "");
}

std::string solidName(const Polyhedron& shape, const std::vector<Edge>& edges) {
    if (shape.faceCount() < 4 || edges.empty()) return "";
    return Namer(shape, edges).name();
}

}  // namespace pd
