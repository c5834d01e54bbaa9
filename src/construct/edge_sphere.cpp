#include "construct/edge_sphere.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
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

}  // namespace

EdgeSphere bestEdgeSphere(const Polyhedron& p, const std::vector<Edge>& edges) {
    const int n = p.vertexCount();
    std::vector<std::uint8_t> used(p.vertices.size(), 0);
    for (const Edge& e : edges) {
        if (e.a < 0 || e.a >= n || e.b < 0 || e.b >= n) return {{0, 0, 0}, 0};
        for (std::int32_t v : {e.a, e.b}) {
            if (!finite(widen(p.vertices[v]))) return {{0, 0, 0}, 0};
            used[v] = 1;
        }
    }
    Vec3d centre{0, 0, 0};
    double count = 0;
    for (int v = 0; v < n; ++v)
        if (used[v]) centre += widen(p.vertices[v]), ++count;
    if (count > 0) centre = centre / count;

    // Each edge's distance from c: |P (c - a)|, P the projection across it.
    // Worked out from the vertices on every pass rather than kept: a table
    // of the lines would cost more memory than the model's own edges.
    const auto usable = [&](const Edge& e) {
        const Vec3d u = widen(p.vertices[e.b]) - widen(p.vertices[e.a]);
        return dot(u, u) > 0;
    };
    auto offset = [&](const Edge& e, Vec3d c) {
        const Vec3d a = widen(p.vertices[e.a]), u = widen(p.vertices[e.b]) - a, w = c - a;
        return w - u * (dot(u, w) / dot(u, u));
    };
    // The sum of squared misses with the best radius for `c`, the mean
    // distance, in one pass: sum d^2 - (sum d)^2 / N.
    struct Fit {
        double cost, radius;
    };
    std::size_t usableCount = 0;
    for (const Edge& e : edges) usableCount += usable(e);
    auto fit = [&](Vec3d c) {
        double sum = 0, squares = 0;
        for (const Edge& e : edges) {
            if (!usable(e)) continue;
            const double d = length(offset(e, c));
            sum += d, squares += d * d;
        }
        const double count = double(std::max<std::size_t>(usableCount, 1));
        return Fit{std::max(0.0, squares - sum * sum / count), sum / count};
    };
    Fit start = fit(centre);
    EdgeSphere best{centre, start.radius};
    if (usableCount < 4) return best;
    double bestCost = start.cost;
    for (int pass = 0; pass < 50; ++pass) {
        // Normal equations in (c, r): rows (n, -1), n the unit offset.
        double m[4][5] = {};
        for (const Edge& e : edges) {
            if (!usable(e)) continue;
            const Vec3d q = offset(e, best.centre);
            const double d = length(q);
            const Vec3d u = d > 0 ? q / d : Vec3d{0, 0, 0};
            const double row[4] = {u.x, u.y, u.z, -1}, residual = d - best.radius;
            for (int i = 0; i < 4; ++i) {
                for (int j = 0; j < 4; ++j) m[i][j] += row[i] * row[j];
                m[i][4] -= row[i] * residual;
            }
        }
        double x[4];
        if (!solveNormalEquations(m, x)) break;
        Vec3d delta{x[0], x[1], x[2]};
        // Where it stands already (a symmetric model from its first pass):
        // no step left worth a pass over the edges.
        if (!(length(delta) > kNoStepShare * best.radius)) break;
        int half = 0;
        Fit trial{kInfinity, 0};
        for (; half < 30; ++half, delta = delta / 2) {
            trial = finite(best.centre + delta) ? fit(best.centre + delta) : Fit{kInfinity, 0};
            if (trial.cost < bestCost) break;
        }
        if (half == 30) break;
        best = {best.centre + delta, trial.radius};
        bestCost = trial.cost;
        if (length(delta) <= kNoStepShare * best.radius) break;
    }
    if (!finite(best.centre) || !std::isfinite(best.radius)) return {centre, start.radius};
    return best;
}

}  // namespace pd
