#include "explorer/unfold_view.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "explorer/palette.h"
#include "geometry/orientation.h"
#include "mesh/fold_back.h"
#include "mesh/face_plane.h"

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

Vec3d rotate(const Quaternion& q, Vec3d v) {
    // v + 2 r x (r x v + w v), r the vector part.
    const Vec3d r{q.x, q.y, q.z};
    const Vec3d c = cross(r, v);
    const Vec3d t{c.x + q.w * v.x, c.y + q.w * v.y, c.z + q.w * v.z};
    const Vec3d u = cross(r, t);
    return {v.x + 2 * u.x, v.y + 2 * u.y, v.z + 2 * u.z};
}

Vec3d along(const Rotation& m, int row) { return {m.at(row, 0), m.at(row, 1), m.at(row, 2)}; }

struct Bounds {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty = true;
    void add(float x, float y) {
        if (empty) x0 = x1 = x, y0 = y1 = y, empty = false;
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    }
};

}  // namespace

std::vector<ShownShell> shownShells(const Model& model, const ViewState& state) {
    const Palette& palette = paletteOf(state.palette);
    std::vector<ShownShell> shells;
    if (state.show != ShowMode::Dual) shells.push_back({&model.solid, palette.solidEdge, false});
    if (state.show != ShowMode::Solid) {
        const ShownDual dual = shownDual(model, state.dual);
        if (dual.shape) shells.push_back({dual.shape, palette.dualEdge, true});
    }
    return shells;
}

NetCache::~NetCache() {
    stop_ = true;
    if (pending_.valid()) pending_.wait();
}

void NetCache::takeBuilt() {
    for (auto& [shape, net] : pending_.get()) nets_.emplace(shape, std::move(net));
}

bool NetCache::prepare(const std::vector<ShownShell>& shells, int numberBase) {
    if (pending_.valid()) {
        if (pending_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return false;
        takeBuilt();
    }
    std::vector<const Polyhedron*> missing;
    for (const ShownShell& shell : shells)
        if (!nets_.count(shell.shape)) missing.push_back(shell.shape);
    if (missing.empty()) return true;
    pending_ = std::async(std::launch::async, [this, missing, numberBase] {
        UnfoldOptions options;
        options.numberBase = numberBase;
        options.stop = &stop_;
        Made made;
        for (const Polyhedron* shape : missing) made.emplace_back(shape, unfold(*shape, options));
        return made;
    });
    return false;
}

bool unfoldReady(const Model& model, const ViewState& state, NetCache& nets) {
    return nets.prepare(shownShells(model, state), model.numberBase);
}

const Result<Net>& NetCache::netOf(const Polyhedron& shape, int numberBase) {
    if (pending_.valid()) takeBuilt();
    auto found = nets_.find(&shape);
    if (found == nets_.end()) {
        UnfoldOptions options;
        options.numberBase = numberBase;
        found = nets_.emplace(&shape, unfold(shape, options)).first;
    }
    return found->second;
}

Frame buildUnfoldFrame(const Model& model, const ViewState& state, NetCache& nets,
                       const std::vector<std::string>& help, FrameTarget target) {
    if (!(state.unfold > 0)) return buildFrame(model, state, help, target);
    const double t = std::min(state.unfold, 1.0);
    ViewState plain = state;
    plain.numbers = plain.dualNumbers = false;
    plain.back = BackEdges::Drawn;
    plain.faces = FaceStyle::Off;
    Frame frame = buildFrame(model, plain, help, target);  // the size, background and key list
    frame.shells.clear();

    const VertexTurn vertexTurn = vertexTurnOf(orientationOf(state));
    // The viewer's right, up and towards the viewer, in the model: the rows
    // of the turn that takes the model to the picture.
    const Rotation turn = wholeRotation(orientationOf(state));
    const Vec3d right = along(turn, 0), up = along(turn, 1), towards = along(turn, 2);
    const Quaternion flat = fromColumns(right, up, towards);
    Bounds box;
    auto turned = [&](Vec3d p, FrameShell& shell) {
        const Vec3 seen = turnVertex(vertexTurn, Vec3{float(p.x), float(p.y), float(p.z)});
        shell.xy.push_back(seen.x);
        shell.xy.push_back(seen.y);
        return seen;
    };

    // The row the pieces end in: every piece's box side by side, centred on
    // the middle of the first shell.
    const std::vector<ShownShell> shells = shownShells(model, state);
    struct Slot {
        double x0, y0, x1, y1, at;
    };
    std::vector<std::vector<Slot>> row(shells.size());
    double rowWidth = 0, gap = 0;
    for (std::size_t k = 0; k < shells.size(); ++k) {
        const Result<Net>& net = nets.netOf(*shells[k].shape, model.numberBase);
        if (!net) continue;
        gap = std::max(gap, meanEdgeLength(*shells[k].shape, net->topology) / 2);
        row[k].assign(net->pieces.size(), {HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL, 0});
        for (std::size_t s = 0; s < net->corners.size(); ++s) {
            Slot& r = row[k][std::size_t(net->piece[net->faceOfSlot[s]])];
            const P2 c = net->corners[s];
            r.x0 = std::min(r.x0, c.x), r.y0 = std::min(r.y0, c.y), r.x1 = std::max(r.x1, c.x), r.y1 = std::max(r.y1, c.y);
        }
    }
    for (std::vector<Slot>& pieces : row)
        for (Slot& r : pieces) {
            r.at = rowWidth + (r.x1 - r.x0) / 2;
            rowWidth += r.x1 - r.x0 + gap;
        }
    const Vec3d centre = shells.empty() ? Vec3d{0, 0, 0} : vertexMean(*shells[0].shape);

    for (std::size_t k = 0; k < shells.size(); ++k) {
        const Polyhedron& p = *shells[k].shape;
        FrameShell shell;
        shell.colour = shells[k].colour;
        const Result<Net>& net = nets.netOf(p, model.numberBase);
        for (const Vec3& v : p.vertices) {
            const Vec3 seen = turned(widen(v), shell);
            box.add(seen.x, seen.y);
        }
        if (!net) {
            // Folded, as it stands, and why.
            for (const Edge& e : deriveEdges(p)) shell.lines.insert(shell.lines.end(), {std::uint32_t(e.a), std::uint32_t(e.b)});
            FrameText why;
            why.text = std::string(shells[k].dual ? "the dual" : model.name) + " has no net: " + net.error().what;
            why.x = 10;
            why.y = frame.height - 10.0 - 16.0 * double(k);
            frame.texts.push_back(why);
            frame.shells.push_back(std::move(shell));
            continue;
        }
        shell.xy.clear();
        const std::vector<Vec3d> folded = foldNet(p, *net, 1 - t);
        std::vector<Quaternion> turnOf;
        std::vector<Vec3d> fromAt, toAt, middle;
        for (std::size_t i = 0; i < net->pieces.size(); ++i) {
            const NetPiece& piece = net->pieces[i];
            const Slot& r = row[k][i];
            const Vec3d mid{(r.x0 + r.x1) / 2, (r.y0 + r.y1) / 2, 0};
            turnOf.push_back(slerp(fromColumns(piece.ex, piece.ey, cross(piece.ex, piece.ey)), flat, t));
            middle.push_back(mid);
            fromAt.push_back(onModel(piece, mid));
            const double x = r.at - rowWidth / 2;
            toAt.push_back({centre.x + x * right.x, centre.y + x * right.y, centre.z + x * right.z});
        }
        for (std::size_t s = 0; s < folded.size(); ++s) {
            const std::size_t i = std::size_t(net->piece[net->faceOfSlot[s]]);
            const Vec3d off = rotate(turnOf[i], folded[s] - middle[i]);
            const Vec3d at{fromAt[i].x + t * (toAt[i].x - fromAt[i].x) + off.x,
                        fromAt[i].y + t * (toAt[i].y - fromAt[i].y) + off.y,
                        fromAt[i].z + t * (toAt[i].z - fromAt[i].z) + off.z};
            const Vec3 seen = turned(at, shell);
            box.add(seen.x, seen.y);
            shell.marks.push_back(std::uint32_t(s));
            const std::int32_t e = net->topology.cornerEdge[s];
            // A fold is one line: drawn from its first side only.
            if (net->cut[e] == 0 && net->topology.sides[2 * e] != std::int32_t(s)) continue;
            const int f = net->faceOfSlot[s];
            shell.lines.insert(shell.lines.end(), {std::uint32_t(s), std::uint32_t(nextSlot(p, f, std::int32_t(s)))});
        }
        frame.shells.push_back(std::move(shell));
    }

    // Framed as buildFrame frames, around everything drawn.
    PlanePoint low{box.x0, box.y0}, high{box.x1, box.y1};
    if (box.empty) low = {float(programWindowWidth), float(programWindowHeight)}, high = {0.0f, 0.0f};
    frame.camera = cameraFor(low, high);
    if (state.zoom != 1.0 && state.zoom > 0.0) {
        const double cx = (double(low.x) + high.x) / 2, cy = (double(low.y) + high.y) / 2;
        const double hx = (double(high.x) - low.x) / 2 / state.zoom, hy = (double(high.y) - low.y) / 2 / state.zoom;
        low = {float(cx - hx), float(cy - hy)};
        high = {float(cx + hx), float(cy + hy)};
    }
    frame.projection = projectionFor(frame.camera, low, high, frame.width, frame.height);
    return frame;
}
