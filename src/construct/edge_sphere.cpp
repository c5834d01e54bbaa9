#include "construct/edge_sphere.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

namespace pd {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// A pivot below this share of its matrix's size: the system does not fix
// every direction.
constexpr double kSingularShare = 1e-12;
// A move of the centre below this share of the radius is no step at all.
constexpr double kNoStepShare = 1e-13;

bool finite(Vec3d v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// Solves the 4 x 4 system m (its right-hand side in column 4) into `x`
// by Gaussian elimination with partial pivoting; false when a pivot is
// this small against the diagonal, a direction the edges do not fix.
bool solveNormalEquations(double (&m)[4][5], double (&x)[4]) {
    const double scale = m[0][0] + m[1][1] + m[2][2] + m[3][3];
    bool singular = false;
    for (int col = 0; col < 4 && !singular; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r)
            if (std::fabs(m[r][col]) > std::fabs(m[pivot][col])) pivot = r;
        if (!(std::fabs(m[pivot][col]) > kSingularShare * scale)) singular = true;
        for (int k = 0; k < 5 && !singular; ++k) std::swap(m[col][k], m[pivot][k]);
        for (int r = col + 1; r < 4 && !singular; ++r) {
            const double f = m[r][col] / m[col][col];
            for (int k = col; k < 5; ++k) m[r][k] -= f * m[col][k];
        }
    }
    if (singular) return false;
    for (int r = 3; r >= 0; --r) {
        double sum = m[r][4];
        for (int k = r + 1; k < 4; ++k) sum -= m[r][k] * x[k];
        x[r] = sum / m[r][r];
    }
    return true;
}

// The mean of the vertices the edges use; nothing when an edge names a
// vertex the model lacks or one with a coordinate that is not finite.
std::optional<Vec3d> usedVertexMean(const Polyhedron& p, const std::vector<Edge>& edges) {
    const int n = p.vertexCount();
    std::vector<std::uint8_t> used(p.vertices.size(), 0);
    for (const Edge& e : edges) {
        if (e.a < 0 || e.a >= n || e.b < 0 || e.b >= n) return std::nullopt;
        for (std::int32_t v : {e.a, e.b}) {
            if (!finite(widen(p.vertices[v]))) return std::nullopt;
            used[v] = 1;
        }
    }
    Vec3d centre{0, 0, 0};
    double count = 0;
    for (int v = 0; v < n; ++v)
        if (used[v]) centre += widen(p.vertices[v]), ++count;
    if (count > 0) centre = centre / count;
    return centre;
}

// The sum of squared misses with the best radius for a centre, and that
// radius.
struct Fit {
    double cost, radius;
};

// The edges of a model measured against a trial centre. Each edge's
// distance from c is |P (c - a)|, P the projection across it, worked out
// from the vertices on every pass rather than kept: a table of the lines
// would cost more memory than the model's own edges.
class EdgeFit {
public:
    EdgeFit(const Polyhedron& p, const std::vector<Edge>& edges) : p_(p), edges_(edges) {
        for (const Edge& e : edges_) usableCount_ += usable(e);
    }

    // Edges of some length: the others have no line.
    std::size_t usableCount() const { return usableCount_; }

    // The radius is the mean distance and the cost, in one pass,
    // sum d^2 - (sum d)^2 / N.
    Fit fit(Vec3d c) const {
        double sum = 0, squares = 0;
        for (const Edge& e : edges_) {
            if (!usable(e)) continue;
            const double d = length(offset(e, c));
            sum += d, squares += d * d;
        }
        const double count = double(std::max<std::size_t>(usableCount_, 1));
        return Fit{std::max(0.0, squares - sum * sum / count), sum / count};
    }

    // Normal equations in (c, r) about `s`: rows (n, -1), n the unit offset.
    void normalEquations(const EdgeSphere& s, double (&m)[4][5]) const {
        for (const Edge& e : edges_) {
            if (!usable(e)) continue;
            const Vec3d q = offset(e, s.centre);
            const double d = length(q);
            const Vec3d u = d > 0 ? q / d : Vec3d{0, 0, 0};
            const double row[4] = {u.x, u.y, u.z, -1}, residual = d - s.radius;
            for (int i = 0; i < 4; ++i) {
                for (int j = 0; j < 4; ++j) m[i][j] += row[i] * row[j];
                m[i][4] -= row[i] * residual;
            }
        }
    }

private:
    bool usable(const Edge& e) const {
        const Vec3d u = widen(p_.vertices[e.b]) - widen(p_.vertices[e.a]);
        return dot(u, u) > 0;
    }
    Vec3d offset(const Edge& e, Vec3d c) const {
        const Vec3d a = widen(p_.vertices[e.a]), u = widen(p_.vertices[e.b]) - a, w = c - a;
        return w - u * (dot(u, w) / dot(u, u));
    }

    const Polyhedron& p_;
    const std::vector<Edge>& edges_;
    std::size_t usableCount_ = 0;
};

// Halves `delta` until the step from `from` costs less than `bestCost`,
// at most 30 times; gives the fit there, or nothing when no step does.
std::optional<Fit> lowerStep(const EdgeFit& edges, Vec3d from, Vec3d& delta, double bestCost) {
    for (int half = 0; half < 30; ++half, delta = delta / 2) {
        const Fit trial = finite(from + delta) ? edges.fit(from + delta) : Fit{kInfinity, 0};
        if (trial.cost < bestCost) return trial;
    }
    return std::nullopt;
}

}  // namespace

EdgeSphere bestEdgeSphere(const Polyhedron& p, const std::vector<Edge>& edges) {
    const std::optional<Vec3d> mean = usedVertexMean(p, edges);
    if (!mean) return {{0, 0, 0}, 0};
    const Vec3d centre = *mean;
    const EdgeFit edgeFit(p, edges);
    const Fit start = edgeFit.fit(centre);
    EdgeSphere best{centre, start.radius};
    if (edgeFit.usableCount() < 4) return best;
    double bestCost = start.cost;
    for (int pass = 0; pass < 50; ++pass) {
        double m[4][5] = {};
        edgeFit.normalEquations(best, m);
        double x[4];
        if (!solveNormalEquations(m, x)) break;
        Vec3d delta{x[0], x[1], x[2]};
        // Where it stands already (a symmetric model from its first pass):
        // no step left worth a pass over the edges.
        if (!(length(delta) > kNoStepShare * best.radius)) break;
        const std::optional<Fit> trial = lowerStep(edgeFit, best.centre, delta, bestCost);
        if (!trial) break;
        best = {best.centre + delta, trial->radius};
        bestCost = trial->cost;
        if (length(delta) <= kNoStepShare * best.radius) break;
    }
    if (!finite(best.centre) || !std::isfinite(best.radius)) return {centre, start.radius};
    return best;
}

}  // namespace pd
