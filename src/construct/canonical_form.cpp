#include "construct/canonical_form.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>

namespace pd {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// What the caller is promised, and what the steps aim for: a step further
// than the promise, so a measure worked out another way (another plane fit,
// float output) still finds it within.
constexpr double kPromised = 1e-9;
constexpr double kTarget = 1e-11;
// The model is near unit size while it is made canonical, so these are
// absolute. An edge shorter than kNoLengthSquared's root has no line; an
// edge's line within kThroughCentre of the centre has no tangent point; a
// face whose corners span less than kNoArea has no plane.
constexpr double kNoLengthSquared = 1e-24;
constexpr double kThroughCentre = 1e-9;
constexpr double kNoArea = 1e-12;
// A determinant or pivot below this share of its matrix's size (squared
// for a 2 x 2 determinant): the system does not fix every direction.
constexpr double kSingularShare = 1e-12;
// Conjugate-gradient passes per step: enough for a 10k-face sphere's
// softest modes to come close; a step that stops short is still a descent
// direction, and the next step goes on from there.
constexpr int kMaxLinearPasses = 500;

bool finite(Vec3d v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// A symmetric 3 x 3 matrix: the diagonal blocks of the normal equations.
struct Sym3 {
    double xx = 0, xy = 0, xz = 0, yy = 0, yz = 0, zz = 0;
};

void addOuter(Sym3& m, Vec3d g, double w) {
    m.xx += w * g.x * g.x, m.xy += w * g.x * g.y, m.xz += w * g.x * g.z;
    m.yy += w * g.y * g.y, m.yz += w * g.y * g.z, m.zz += w * g.z * g.z;
}

Vec3d times(const Sym3& m, Vec3d v) {
    return {m.xx * v.x + m.xy * v.y + m.xz * v.z, m.xy * v.x + m.yy * v.y + m.yz * v.z,
            m.xz * v.x + m.yz * v.y + m.zz * v.z};
}

// The inverse by the adjugate; the identity where the block is singular,
// which only makes the preconditioner weaker there.
Sym3 inverse(const Sym3& m) {
    Sym3 a;
    a.xx = m.yy * m.zz - m.yz * m.yz;
    a.xy = m.xz * m.yz - m.xy * m.zz;
    a.xz = m.xy * m.yz - m.xz * m.yy;
    a.yy = m.xx * m.zz - m.xz * m.xz;
    a.yz = m.xy * m.xz - m.xx * m.yz;
    a.zz = m.xx * m.yy - m.xy * m.xy;
    const double det = m.xx * a.xx + m.xy * a.xy + m.xz * a.xz;
    if (!(det > 0) || !std::isfinite(1 / det)) return Sym3{1, 0, 0, 1, 0, 1};
    const double k = 1 / det;
    return {a.xx * k, a.xy * k, a.xz * k, a.yy * k, a.yz * k, a.zz * k};
}

// Face f's Newell normal (twice its area, outward for counter-clockwise
// corners) and the corners' mean, over positions `x`. Measured from the
// mean, so a face far from the origin keeps its digits.
void planeOf(const Polyhedron& p, int f, const Vec3d* x, Vec3d& normal, Vec3d& mean) {
    const std::int32_t* c = p.face(f);
    const int m = p.faceSize(f);
    mean = {0, 0, 0};
    for (int k = 0; k < m; ++k) mean += x[c[k]];
    mean = mean / m;
    normal = {0, 0, 0};
    for (int k = 0; k < m; ++k) {
        const Vec3d a = x[c[k]] - mean, b = x[c[k + 1 < m ? k + 1 : 0]] - mean;
        normal += {(a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y)};
    }
}

// Where the line through a and b comes closest to the origin, as the
// fraction s of the way from a to b (t = a + s (b - a)); false for a and b
// too close to give a line.
bool closest(Vec3d a, Vec3d b, double& s, Vec3d& t) {
    const Vec3d u = b - a;
    const double uu = dot(u, u);
    if (!(uu > kNoLengthSquared)) return false;
    s = -dot(a, u) / uu;
    t = a + u * s;
    return finite(t);
}

// How far vertices `x` are from canonical, as `worst` in the header says,
// and whether the form is proper: every face facing outward (its normal
// away from the origin, which a fold through the origin would break) and
// every touching point on its edge, not on the line beyond.
struct Measure {
    double worst = 0;
    std::size_t improper = 0;  // faces turned inwards and touching points off their edges
    std::size_t inward = 0;    // of those, the faces
};

Measure measure(const Polyhedron& p, const std::vector<Edge>& edges, const Vec3d* x) {
    Measure m;
    Vec3d sum{0, 0, 0};
    for (const Edge& e : edges) {
        double s;
        Vec3d t;
        if (!closest(x[e.a], x[e.b], s, t)) return {kInfinity, edges.size() + 1, edges.size() + 1};
        if (!(s > 0 && s < 1)) ++m.improper;
        m.worst = std::fmax(m.worst, std::fabs(length(t) - 1));
        sum += t;
    }
    m.worst = std::fmax(m.worst, length(sum / static_cast<double>(edges.size())));
    for (int f = 0; f < p.faceCount(); ++f) {
        Vec3d normal, mean;
        planeOf(p, f, x, normal, mean);
        const double area = length(normal);
        if (!(area > 0)) return {kInfinity, edges.size() + 1, edges.size() + 1};
        const Vec3d n = normal / area;
        if (!(dot(n, mean) > 0)) ++m.improper, ++m.inward;
        const std::int32_t* c = p.face(f);
        for (int k = 0; k < p.faceSize(f); ++k) m.worst = std::fmax(m.worst, std::fabs(dot(n, x[c[k]] - mean)));
    }
    if (!std::isfinite(m.worst)) return {kInfinity, edges.size() + 1, edges.size() + 1};
    return m;
}

// The least-squares problem the steps solve, over the vertices alone.
// Residuals:
//   per edge, its line's distance from the origin less 1, and a segment
//   residual (in evaluate) that is 0 on a tangent line only when the
//   touching point lies on the edge;
//   per face of four or more corners, the corners' heights along the face's
//   normal n less the best affine fit of those heights over the face (Q h,
//   with h_k = n . x_k and Q the projection that removes the functions
//   1, u1, u2 of the corners' in-plane coordinates): a flat face gives 0
//   whichever n near the true normal is used, and turning or shifting the
//   plane is affine, so the derivative is just Q (n . dx_k). A triangle
//   has nothing left to fit;
//   the touching points' sum divided by sqrt(E): that keeps the one global
//   mode it alone fixes (the "boost" that slides the touching points over
//   the sphere) about as stiff as the local ones.
// Without the segment residuals that is 3V - 3 equations in 3V unknowns,
// the three left over being the rotations, which the damping keeps at
// zero; the segment residuals add E more that hold wherever the rest do.
// An earlier form with each face's plane as a further unknown (its pole)
// went slowly wherever a face passed near the centre: a flat prism took a
// hundred steps.
class Problem {
public:
    Problem(const Polyhedron& p, const std::vector<Edge>& edges)
        : p_(p), edges_(edges), centreWeight_(1 / std::sqrt(static_cast<double>(edges.size()))) {}

    // Each edge's closest point t, as a + s (b - a), with what the
    // derivatives need.
    struct EdgeLine {
        Vec3d tHat;  // t / |t|
        Vec3d uHat;  // (b - a) / |b - a|
        Vec3d t;
        double s;
        double inverseLength;  // 1 / |b - a|
        Vec3d ga, gb;          // the segment residual's (below) derivatives by a and b
    };
    // A face's fit: its unit normal and the inverse of the 2 x 2 moment
    // matrix of its corners' in-plane coordinates, which are kept per slot.
    struct FaceFit {
        Vec3d n;
        double ixx, ixy, iyy;
    };
    struct State {
        std::vector<EdgeLine> lines;
        std::vector<FaceFit> fits;
        std::vector<double> inPlane;  // per slot, two coordinates
        std::vector<double> edgeResidual;  // per edge two: the distance less 1, the segment residual
        std::vector<double> flatResidual;  // per slot, 0 for triangles
        Vec3d centreResidual{0, 0, 0};
        double cost = 0;  // the sum of the squared residuals
    };

    // The residuals at `x` and the linearisation there; false if some edge
    // has no length or passes through the origin, or some face has no area.
    bool evaluate(const std::vector<Vec3d>& x, State& st) const {
        st.lines.resize(edges_.size());
        st.edgeResidual.resize(2 * edges_.size());
        st.fits.resize(static_cast<std::size_t>(p_.faceCount()));
        st.inPlane.resize(2 * p_.corners.size());
        st.flatResidual.assign(p_.corners.size(), 0.0);
        Vec3d sum{0, 0, 0};
        double cost = 0;
        for (std::size_t i = 0; i < edges_.size(); ++i) {
            const Vec3d a = x[edges_[i].a], b = x[edges_[i].b];
            EdgeLine& l = st.lines[i];
            if (!closest(a, b, l.s, l.t)) return false;
            const double d = length(l.t);
            if (!(d > kThroughCentre)) return false;
            l.tHat = l.t / d;
            l.inverseLength = 1 / length(b - a);
            l.uHat = (b - a) * l.inverseLength;
            st.edgeResidual[2 * i] = d - 1;
            sum += l.t;
            // The segment residual: with tangent lengths ta, tb (from a and b
            // to the sphere), c (|b - a| - ta - tb), c = ta tb / (ta + tb),
            // which keeps its derivative bounded as either end nears the
            // sphere. Zero on a tangent line exactly when the touching point
            // lies between a and b: without it, an edge could shrink to a
            // point whose line turns to touch the sphere anywhere, a valley
            // the steps would follow from a truncation with short edges.
            const double ta = std::sqrt(std::fmax(dot(a, a) - 1, 0.0));
            const double tb = std::sqrt(std::fmax(dot(b, b) - 1, 0.0));
            const double both = ta + tb;
            const double c = both > 0 ? ta * tb / both : 0.0;
            const double qa = both > 0 ? tb / both : 0.0, qb = both > 0 ? ta / both : 0.0;
            l.ga = -(l.uHat * c + a * qa);
            l.gb = l.uHat * c - b * qb;
            st.edgeResidual[2 * i + 1] = c * (length(b - a) - both);
            cost += st.edgeResidual[2 * i] * st.edgeResidual[2 * i] +
                    st.edgeResidual[2 * i + 1] * st.edgeResidual[2 * i + 1];
        }
        std::vector<double> heights;
        for (int f = 0; f < p_.faceCount(); ++f) {
            const int m = p_.faceSize(f);
            if (m < 4) continue;
            const std::int32_t first = p_.faceStart[f];
            Vec3d normal, mean;
            planeOf(p_, f, x.data(), normal, mean);
            const double area = length(normal);
            if (!(area > kNoArea)) return false;
            FaceFit& fit = st.fits[f];
            fit.n = normal / area;
            // Any unit e1 across n, e2 = n x e1.
            const Vec3d seed = std::fabs(fit.n.x) < 0.6 ? Vec3d{1, 0, 0} : Vec3d{0, 1, 0};
            Vec3d e1 = seed - fit.n * dot(seed, fit.n);
            e1 = e1 / length(e1);
            const Vec3d e2 = cross(fit.n, e1);
            double sxx = 0, sxy = 0, syy = 0;
            heights.resize(static_cast<std::size_t>(m));
            for (int k = 0; k < m; ++k) {
                const Vec3d w = x[p_.corners[first + k]] - mean;
                const double u = dot(w, e1), v = dot(w, e2);
                st.inPlane[2 * (first + k)] = u;
                st.inPlane[2 * (first + k) + 1] = v;
                sxx += u * u, sxy += u * v, syy += v * v;
                heights[k] = dot(w, fit.n);
            }
            const double det = sxx * syy - sxy * sxy;
            if (!(det > kSingularShare * (sxx + syy) * (sxx + syy))) return false;
            fit.ixx = syy / det, fit.ixy = -sxy / det, fit.iyy = sxx / det;
            project(st, f, heights.data(), &st.flatResidual[first]);
            for (int k = 0; k < m; ++k) cost += st.flatResidual[first + k] * st.flatResidual[first + k];
        }
        st.centreResidual = sum * centreWeight_;
        cost += dot(st.centreResidual, st.centreResidual);
        st.cost = cost;
        return std::isfinite(cost);
    }

    // The step dx minimising |J dx + r|^2 + lambda |dx|^2, by conjugate
    // gradients preconditioned with the 3 x 3 diagonal blocks, stopped when
    // the normal equations' residual is within `forcing` of where it began.
    std::vector<Vec3d> step(const State& st, double lambda, double forcing) {
        const std::size_t n = p_.vertices.size();
        std::vector<Vec3d> g(n);
        transposed(st, st.edgeResidual, st.flatResidual, st.centreResidual, g);

        std::vector<Sym3> block(n);
        for (std::size_t i = 0; i < edges_.size(); ++i) {
            const EdgeLine& l = st.lines[i];
            addOuter(block[edges_[i].a], l.tHat, (1 - l.s) * (1 - l.s));
            addOuter(block[edges_[i].b], l.tHat, l.s * l.s);
            addOuter(block[edges_[i].a], l.ga, 1);
            addOuter(block[edges_[i].b], l.gb, 1);
        }
        for (int f = 0; f < p_.faceCount(); ++f) {
            const int m = p_.faceSize(f);
            if (m < 4) continue;
            const FaceFit& fit = st.fits[f];
            for (std::int32_t s = p_.faceStart[f]; s < p_.faceStart[f + 1]; ++s) {
                const double u = st.inPlane[2 * s], v = st.inPlane[2 * s + 1];
                const double q = 1 - 1.0 / m - (fit.ixx * u * u + 2 * fit.ixy * u * v + fit.iyy * v * v);
                addOuter(block[p_.corners[s]], fit.n, q);
            }
        }
        for (Sym3& b : block) {
            b.xx += lambda, b.yy += lambda, b.zz += lambda;
            b = inverse(b);
        }

        std::vector<Vec3d> x(n, Vec3d{0, 0, 0}), r(n), q(n), d(n), ad(n);
        for (std::size_t i = 0; i < n; ++i) r[i] = -g[i];
        double rq = 0, start = 0;
        for (std::size_t i = 0; i < n; ++i) {
            q[i] = times(block[i], r[i]);
            d[i] = q[i];
            rq += dot(r[i], q[i]);
            start += dot(r[i], r[i]);
        }
        const double stop = forcing * forcing * start;
        for (int pass = 0; pass < kMaxLinearPasses && rq > 0; ++pass) {
            normal(st, lambda, d, ad);
            const double dad = inner(d, ad);
            if (!(dad > 0)) break;
            const double alpha = rq / dad;
            double rr = 0;
            for (std::size_t i = 0; i < n; ++i) {
                x[i] += d[i] * alpha;
                r[i] -= ad[i] * alpha;
                rr += dot(r[i], r[i]);
            }
            if (rr <= stop) break;
            double next = 0;
            for (std::size_t i = 0; i < n; ++i) {
                q[i] = times(block[i], r[i]);
                next += dot(r[i], q[i]);
            }
            const double beta = next / rq;
            rq = next;
            for (std::size_t i = 0; i < n; ++i) d[i] = q[i] + d[i] * beta;
        }
        return x;
    }

private:
    static double inner(const std::vector<Vec3d>& a, const std::vector<Vec3d>& b) {
        double sum = 0;
        for (std::size_t i = 0; i < a.size(); ++i) sum += dot(a[i], b[i]);
        return sum;
    }

    // Q a for face f (four corners or more): a less its mean and its
    // least-squares linear fit over the in-plane coordinates. Q is symmetric,
    // so it serves the transpose too.
    void project(const State& st, int f, const double* a, double* out) const {
        const int m = p_.faceSize(f);
        const std::int32_t first = p_.faceStart[f];
        const FaceFit& fit = st.fits[f];
        double mean = 0, su = 0, sv = 0;
        for (int k = 0; k < m; ++k) {
            mean += a[k];
            su += st.inPlane[2 * (first + k)] * a[k];
            sv += st.inPlane[2 * (first + k) + 1] * a[k];
        }
        mean /= m;
        const double cu = fit.ixx * su + fit.ixy * sv, cv = fit.ixy * su + fit.iyy * sv;
        for (int k = 0; k < m; ++k)
            out[k] = a[k] - mean - cu * st.inPlane[2 * (first + k)] - cv * st.inPlane[2 * (first + k) + 1];
    }

    // J dx, into the scratch residuals. A touching point moves by
    //   dt = P ((1 - s) da + s db) - uHat (t . (db - da)) / |b - a|
    // (P the projection across the edge), and its distance by tHat . dt,
    // where the second term drops out.
    void forward(const State& st, const std::vector<Vec3d>& dx) {
        edgeScratch_.resize(2 * edges_.size());
        flatScratch_.assign(p_.corners.size(), 0.0);
        Vec3d sum{0, 0, 0};
        for (std::size_t i = 0; i < edges_.size(); ++i) {
            const EdgeLine& l = st.lines[i];
            const Vec3d da = dx[edges_[i].a], db = dx[edges_[i].b];
            const Vec3d mixed = da * (1 - l.s) + db * l.s;
            edgeScratch_[2 * i] = dot(l.tHat, mixed);
            edgeScratch_[2 * i + 1] = dot(l.ga, da) + dot(l.gb, db);
            sum += mixed - l.uHat * dot(l.uHat, mixed) - l.uHat * (dot(l.t, db - da) * l.inverseLength);
        }
        for (int f = 0; f < p_.faceCount(); ++f) {
            const int m = p_.faceSize(f);
            if (m < 4) continue;
            const std::int32_t first = p_.faceStart[f];
            faceScratch_.resize(static_cast<std::size_t>(m));
            for (int k = 0; k < m; ++k) faceScratch_[k] = dot(st.fits[f].n, dx[p_.corners[first + k]]);
            project(st, f, faceScratch_.data(), &flatScratch_[first]);
        }
        centreScratch_ = sum * centreWeight_;
    }

    // J^T applied to residual-shaped weights, into `out`.
    void transposed(const State& st, const std::vector<double>& edgeW, const std::vector<double>& flatW,
                    Vec3d centreW, std::vector<Vec3d>& out) {
        std::fill(out.begin(), out.end(), Vec3d{0, 0, 0});
        const Vec3d w = centreW * centreWeight_;
        for (std::size_t i = 0; i < edges_.size(); ++i) {
            const EdgeLine& l = st.lines[i];
            const Vec3d across = w - l.uHat * dot(l.uHat, w);
            const Vec3d along = l.t * (dot(w, l.uHat) * l.inverseLength);
            const Vec3d mixed = l.tHat * edgeW[2 * i] + across;
            const double g = edgeW[2 * i + 1];
            out[edges_[i].a] += mixed * (1 - l.s) + along + l.ga * g;
            out[edges_[i].b] += mixed * l.s - along + l.gb * g;
        }
        for (int f = 0; f < p_.faceCount(); ++f) {
            const int m = p_.faceSize(f);
            if (m < 4) continue;
            const std::int32_t first = p_.faceStart[f];
            faceScratch_.resize(static_cast<std::size_t>(m));
            project(st, f, &flatW[first], faceScratch_.data());
            for (int k = 0; k < m; ++k) out[p_.corners[first + k]] += st.fits[f].n * faceScratch_[k];
        }
    }

    // (J^T J + lambda) dx.
    void normal(const State& st, double lambda, const std::vector<Vec3d>& dx, std::vector<Vec3d>& out) {
        forward(st, dx);
        transposed(st, edgeScratch_, flatScratch_, centreScratch_, out);
        for (std::size_t i = 0; i < out.size(); ++i) out[i] += dx[i] * lambda;
    }

    const Polyhedron& p_;
    const std::vector<Edge>& edges_;
    double centreWeight_;
    std::vector<double> edgeScratch_, flatScratch_, faceScratch_;
    Vec3d centreScratch_{0, 0, 0};
};

// Corners and edge ends within the vertices, every vertex in a face
// finite, and some edges and faces at all.
bool wellFormed(const Polyhedron& p, const std::vector<Edge>& edges) {
    if (edges.empty() || p.faceCount() < 1) return false;
    const std::int32_t n = p.vertexCount();
    for (std::int32_t c : p.corners)
        if (c < 0 || c >= n || !finite(widen(p.vertices[c]))) return false;
    for (const Edge& e : edges)
        if (e.a < 0 || e.a >= n || e.b < 0 || e.b >= n) return false;
    return true;
}

// Divides `x` by `size`; false, leaving it, if that would not be finite.
bool shrink(std::vector<Vec3d>& x, double size) {
    if (!(size > 0) || !std::isfinite(1 / size)) return false;
    for (Vec3d& v : x) v = v / size;
    return true;
}

// Scales `x` to a mean edge distance of 1; false if some edge has no line.
bool toUnitEdgeDistance(const std::vector<Edge>& edges, std::vector<Vec3d>& x) {
    double sum = 0;
    for (const Edge& e : edges) {
        double s;
        Vec3d t;
        if (!closest(x[e.a], x[e.b], s, t)) return false;
        sum += length(t);
    }
    return shrink(x, sum / static_cast<double>(edges.size()));
}

// Where the steps start from: `p` centred on the mean of its vertices in
// faces and scaled to a mean edge distance of 1, so that they work at one
// size and their limits (an edge too short, a face too small) are relative.
// If that is not proper, the vertices pushed out onto a sphere about the
// centre instead, when that is: on a sphere every edge's closest point is
// its midpoint, and a face turned inwards by noise turns back. Without it
// a sphere of 10k faces moved by a fifth of an edge at random, whose closest
// points lie anywhere along the lines, settles into folds. False for
// degenerate input.
bool start(const Polyhedron& p, const std::vector<Edge>& edges, std::vector<Vec3d>& x) {
    std::vector<std::uint8_t> used(p.vertices.size(), 0);
    for (std::int32_t c : p.corners) used[c] = 1;
    Vec3d centre{0, 0, 0};
    double count = 0;
    for (std::size_t v = 0; v < x.size(); ++v)
        if (used[v]) centre += x[v], ++count;
    centre = centre / count;
    double size = 0;
    for (std::size_t v = 0; v < x.size(); ++v) {
        x[v] -= centre;
        if (used[v]) size = std::fmax(size, length(x[v]));
    }
    // By the farthest vertex first, so that "too short to give a line"
    // means the same at any size.
    if (!shrink(x, size) || !toUnitEdgeDistance(edges, x)) return false;
    for (int f = 0; f < p.faceCount(); ++f) {
        Vec3d normal, mean;
        planeOf(p, f, x.data(), normal, mean);
        if (!(length(normal) > kNoArea)) return false;
    }
    if (measure(p, edges, x.data()).improper == 0) return true;
    std::vector<Vec3d> onSphere = x;
    for (std::size_t v = 0; v < x.size(); ++v)
        if (used[v]) onSphere[v] = onSphere[v] / length(onSphere[v]);
    if (toUnitEdgeDistance(edges, onSphere) && measure(p, edges, onSphere.data()).improper == 0) x.swap(onSphere);
    return true;
}

}  // namespace

CanonicalForm canonicalForm(const Polyhedron& p, const std::vector<Edge>& edges, int maxIterations) {
    CanonicalForm out;
    out.vertices.reserve(p.vertices.size());
    for (const Vec3& v : p.vertices) out.vertices.push_back(widen(v));
    out.worst = kInfinity;
    std::vector<Vec3d> x = out.vertices;
    if (!wellFormed(p, edges) || !start(p, edges, x)) return out;

    Problem problem(p, edges);
    Problem::State current, trial;
    if (!problem.evaluate(x, current)) return out;
    Measure now = measure(p, edges, x.data());
    double lambda = 1e-3;
    std::vector<Vec3d> next(x.size());
    while (out.iterations < maxIterations && !(now.worst <= kTarget && now.improper == 0)) {
        ++out.iterations;
        // Solved loosely while far off, ever more closely near the end,
        // which keeps Newton's quadratic finish.
        const double forcing = std::fmin(0.1, std::sqrt(std::sqrt(current.cost)));
        const std::vector<Vec3d> dx = problem.step(current, lambda, forcing);
        for (std::size_t i = 0; i < x.size(); ++i) next[i] = x[i] + dx[i];
        const bool evaluated = problem.evaluate(next, trial);
        const Measure then = evaluated ? measure(p, edges, next.data()) : Measure{kInfinity, edges.size() + 1, edges.size() + 1};
        // A step is taken only if it lowers the cost and turns no more faces
        // inwards: from a proper start the steps cannot settle into a fold.
        // (Holding the touching points on their edges as well stalled more
        // often than it helped; the segment residuals see to them.)
        if (evaluated && trial.cost < current.cost && then.inward <= now.inward) {
            x.swap(next);
            std::swap(current, trial);
            lambda = std::fmax(lambda / 4, 1e-12);
            now = then;
        } else {
            // Rounding has the last word once no step lowers the cost.
            lambda *= 16;
            if (lambda > 1e6) break;
        }
    }
    out.vertices.swap(x);
    out.worst = now.worst;
    out.converged = now.worst <= kPromised && now.improper == 0;
    return out;
}

}  // namespace pd
