#include "explorer/unfold_view.h"

#include <algorithm>
#include <cmath>

#include "base/translate.h"
#include "geometry/orientation.h"
#include "nets/fold_back.h"
#include "geometry/face_plane.h"

namespace pd {

namespace {

// A rotation as a unit quaternion (w, x, y, z).
struct Quaternion {
    double w, x, y, z;
};

// The rotation whose columns are the unit vectors a, b, c.
Quaternion fromColumns(Vec3d a, Vec3d b, Vec3d c) {
    const double m00 = a.x, m10 = a.y, m20 = a.z, m01 = b.x, m11 = b.y, m21 = b.z, m02 = c.x, m12 = c.y, m22 = c.z;
    const double trace = m00 + m11 + m22;
    Quaternion q;
    if (trace > 0) {
        const double s = 2 * std::sqrt(1 + trace);
        q = {s / 4, (m21 - m12) / s, (m02 - m20) / s, (m10 - m01) / s};
    } else if (m00 > m11 && m00 > m22) {
        const double s = 2 * std::sqrt(1 + m00 - m11 - m22);
        q = {(m21 - m12) / s, s / 4, (m01 + m10) / s, (m02 + m20) / s};
    } else if (m11 > m22) {
        const double s = 2 * std::sqrt(1 + m11 - m00 - m22);
        q = {(m02 - m20) / s, (m01 + m10) / s, s / 4, (m12 + m21) / s};
    } else {
        const double s = 2 * std::sqrt(1 + m22 - m00 - m11);
        q = {(m10 - m01) / s, (m02 + m20) / s, (m12 + m21) / s, s / 4};
    }
    return q;
}

// The way from a to b at t, the shortest way round.
Quaternion slerp(Quaternion a, Quaternion b, double t) {
    double cosine = a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z;
    if (cosine < 0) b = {-b.w, -b.x, -b.y, -b.z}, cosine = -cosine;
    double ka = 1 - t, kb = t;
    if (cosine < 0.9999) {
        const double angle = std::acos(cosine), s = std::sin(angle);
        ka = std::sin((1 - t) * angle) / s;
        kb = std::sin(t * angle) / s;
    }
    Quaternion q{ka * a.w + kb * b.w, ka * a.x + kb * b.x, ka * a.y + kb * b.y, ka * a.z + kb * b.z};
    const double n = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
    return {q.w / n, q.x / n, q.y / n, q.z / n};
}

// The rotation a unit quaternion stands for, as a motion.
RigidMotion rotationOf(const Quaternion& q) {
    const double w = q.w, x = q.x, y = q.y, z = q.z;
    RigidMotion m;
    m.r = {{1 - 2 * (y * y + z * z), 2 * (x * y - w * z),     2 * (x * z + w * y),
            2 * (x * y + w * z),     1 - 2 * (x * x + z * z), 2 * (y * z - w * x),
            2 * (x * z - w * y),     2 * (y * z + w * x),     1 - 2 * (x * x + y * y)}};
    return m;
}

Vec3d along(const Mat3d& m, int row) { return {m.at(row, 0), m.at(row, 1), m.at(row, 2)}; }

// Where each piece lies at the end: side by side in one row, every
// piece's box with a gap of half the mean edge, centred on the middle of
// the first shell, in the plane through it that faces the viewer.
struct Row {
    struct Slot {
        double x0, y0, x1, y1, at;
    };
    std::vector<std::vector<Slot>> pieces;  // per shell, per piece
    double width = 0;
};

Row layRow(const std::vector<ShownShell>& shells, const std::vector<SharedNet>& nets) {
    Row row;
    row.pieces.resize(shells.size());
    double gap = 0;
    for (std::size_t k = 0; k < shells.size(); ++k) {
        if (!nets[k] || !*nets[k]) continue;
        const Net& net = **nets[k];
        gap = std::max(gap, meanEdgeLength(*shells[k].shape, net.topology) / 2);
        row.pieces[k].assign(net.pieces.size(), {HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL, 0});
        for (std::size_t s = 0; s < net.corners.size(); ++s) {
            Row::Slot& r = row.pieces[k][std::size_t(net.piece[net.topology.face[s]])];
            const P2 c = net.corners[s];
            r.x0 = std::min(r.x0, c.x), r.y0 = std::min(r.y0, c.y), r.x1 = std::max(r.x1, c.x), r.y1 = std::max(r.y1, c.y);
        }
    }
    for (std::vector<Row::Slot>& pieces : row.pieces)
        for (Row::Slot& r : pieces) {
            r.at = row.width + (r.x1 - r.x0) / 2;
            row.width += r.x1 - r.x0 + gap;
        }
    return row;
}

OpenShell openShell(const Polyhedron& p, const std::vector<Vec3>& outward, const Net& net,
                    const std::vector<Row::Slot>& row, double rowWidth, Vec3d centre,
                    const Mat3d& turn, double t) {
    const Vec3d right = along(turn, 0), up = along(turn, 1), towards = along(turn, 2);
    const Quaternion flat = fromColumns(right, up, towards);
    // Each piece turns the shortest way from its place on the model to
    // its place in the row, about its middle, while that middle moves
    // straight; each face folds within its piece. One motion per face.
    std::vector<RigidMotion> place;
    for (std::size_t i = 0; i < net.pieces.size(); ++i) {
        const NetPiece& piece = net.pieces[i];
        const Row::Slot& r = row[i];
        const Vec3d middle{(r.x0 + r.x1) / 2, (r.y0 + r.y1) / 2, 0};
        RigidMotion m = rotationOf(slerp(fromColumns(piece.ex, piece.ey, cross(piece.ex, piece.ey)), flat, t));
        const Vec3d from = onModel(piece, middle);
        const double x = r.at - rowWidth / 2;
        const Vec3d to{centre.x + x * right.x, centre.y + x * right.y, centre.z + x * right.z};
        m.shift = from + t * (to - from) - m.turn(middle);
        place.push_back(m);
    }
    std::vector<RigidMotion> motion = foldMotions(p, net, 1 - t);
    OpenShell open;
    open.shape.vertices.resize(p.corners.size());
    for (int f = 0; f < p.faceCount(); ++f) {
        motion[std::size_t(f)] = after(place[std::size_t(net.piece[f])], motion[std::size_t(f)]);
        const RigidMotion& m = motion[std::size_t(f)];
        for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s) {
            const Vec3d at = m.apply({net.corners[std::size_t(s)].x, net.corners[std::size_t(s)].y, 0.0});
            open.shape.vertices[std::size_t(s)] = {float(at.x), float(at.y), float(at.z)};
        }
    }
    open.shape.faceStart = p.faceStart;
    open.shape.corners.resize(p.corners.size());
    for (std::size_t s = 0; s < p.corners.size(); ++s) open.shape.corners[s] = std::int32_t(s);
    open.edges.reserve(p.corners.size());  // a side per slot at most
    for (std::size_t s = 0; s < p.corners.size(); ++s) {
        const std::int32_t e = net.topology.cornerEdge[s];
        if (e < 0) continue;
        const std::int32_t first = net.topology.sides[2 * e], second = net.topology.sides[2 * e + 1];
        if (net.cut[e] == 0 && first != std::int32_t(s)) continue;
        const int f = net.topology.face[s];
        const auto next = nextSlot(p, f, std::int32_t(s));
        const int other = net.cut[e] == 0 && second >= 0 ? net.topology.face[second] : -1;
        open.edges.push_back({std::min(std::int32_t(s), next), std::max(std::int32_t(s), next), {f, other}});
    }
    // A face turns rigidly, so its normal is its motion's turn of the
    // normal it has lying in the net, (0, 0, 1) for corners counter-
    // clockwise there; the sign its outward normal had on the model
    // against its corners' order keeps it outward.
    const Vec3d origin{0, 0, 0};
    open.normals.reserve(std::size_t(p.faceCount()));
    for (int f = 0; f < p.faceCount(); ++f) {
        double area = 0;
        for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s) {
            const P2 a = net.corners[std::size_t(s)], b = net.corners[std::size_t(nextSlot(p, f, s))];
            area += a.x * b.y - a.y * b.x;
        }
        const Vec3d was = facePlane(p, f, origin).normal;
        const Vec3 out = f < int(outward.size()) ? outward[std::size_t(f)] : Vec3{};
        const double sign = (dot(was, widen(out)) < 0 ? -1.0 : 1.0) * (area > 0 ? 1.0 : area < 0 ? -1.0 : 0.0);
        const Mat3d& r = motion[std::size_t(f)].r;
        open.normals.push_back({float(sign * r.at(0, 2)), float(sign * r.at(1, 2)), float(sign * r.at(2, 2))});
    }
    return open;
}

}  // namespace

std::vector<std::optional<OpenShell>> openShells(const std::vector<ShownShell>& shells,
                                                 const std::vector<SharedNet>& nets, const ViewState& state) {
    const double t = std::clamp(state.unfold, 0.0, 1.0);
    const Mat3d turn = wholeRotation(orientationOf(state));
    const Row row = layRow(shells, nets);
    const Vec3d centre = shells.empty() ? Vec3d{0, 0, 0} : vertexMean(*shells[0].shape);
    std::vector<std::optional<OpenShell>> open(shells.size());
    for (std::size_t k = 0; k < shells.size() && k < nets.size(); ++k)
        if (nets[k] && *nets[k])
            open[k] = openShell(*shells[k].shape, *shells[k].normals, **nets[k], row.pieces[k], row.width, centre,
                                turn, t);
    return open;
}

Frame buildUnfoldFrame(const std::vector<ShownShell>& shells, const std::vector<SharedNet>& nets,
                       const std::string& modelName, const ViewState& state, FrameTarget target,
                       FramePanels panels) {
    ViewState plain = state;
    plain.numbers = plain.dualNumbers = false;  // an open net's corners are many slots of one vertex
    const std::vector<std::optional<OpenShell>> open = openShells(shells, nets, state);
    std::vector<ShownShell> drawn;
    std::vector<const Polyhedron*> framed;
    for (std::size_t k = 0; k < shells.size(); ++k) {
        framed.push_back(shells[k].shape);
        if (!open[k]) {
            // Folded, as it stands, and why.
            if (nets[k]) panels.notes.push_back(fill(tr("{1} has no net: {2}"), {shellName(shells[k], modelName), nets[k]->error().what}));
            drawn.push_back(shells[k]);
            continue;
        }
        ShownShell shell = shells[k];
        shell.shape = &open[k]->shape;
        shell.edges = &open[k]->edges;
        shell.normals = &open[k]->normals;
        drawn.push_back(shell);
    }
    // Framed around the folded model and the pieces where they are, so the
    // picture grows smoothly as they open.
    return buildFrame(drawn, plain, target, panels, framed);
}

}  // namespace pd
