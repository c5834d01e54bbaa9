#include "mesh/fold_back.h"

#include <cmath>

namespace pd {

namespace {

// x -> r x + shift, r row by row.
struct Motion {
    double r[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    Vec3d shift{0, 0, 0};

    Vec3d apply(Vec3d v) const {
        return {r[0] * v.x + r[1] * v.y + r[2] * v.z + shift.x,
                r[3] * v.x + r[4] * v.y + r[5] * v.z + shift.y,
                r[6] * v.x + r[7] * v.y + r[8] * v.z + shift.z};
    }
    Vec3d turn(Vec3d v) const {
        return {r[0] * v.x + r[1] * v.y + r[2] * v.z, r[3] * v.x + r[4] * v.y + r[5] * v.z,
                r[6] * v.x + r[7] * v.y + r[8] * v.z};
    }
};

// This motion after `inner`.
Motion after(const Motion& outer, const Motion& inner) {
    Motion m;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m.r[3 * i + j] = outer.r[3 * i] * inner.r[j] + outer.r[3 * i + 1] * inner.r[3 + j] +
                             outer.r[3 * i + 2] * inner.r[6 + j];
    const Vec3d s = outer.apply(inner.shift);
    m.shift = s;
    return m;
}

// The turn by `angle` (right-handed) about the line through `a` along the
// unit direction `k` of the plane z = 0.
Motion turnAbout(Vec3d a, Vec3d k, double angle) {
    const double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
    Motion m;
    m.r[0] = c + t * k.x * k.x;
    m.r[1] = t * k.x * k.y - s * k.z;
    m.r[2] = t * k.x * k.z + s * k.y;
    m.r[3] = t * k.y * k.x + s * k.z;
    m.r[4] = c + t * k.y * k.y;
    m.r[5] = t * k.y * k.z - s * k.x;
    m.r[6] = t * k.z * k.x - s * k.y;
    m.r[7] = t * k.z * k.y + s * k.x;
    m.r[8] = c + t * k.z * k.z;
    const Vec3d ra = m.turn(a);
    m.shift = a - ra;
    return m;
}

}  // namespace

std::vector<Vec3d> foldNet(const Polyhedron& p, const Net& net, double amount) {
    std::vector<Motion> motion(std::size_t(p.faceCount()));
    std::vector<Vec3d> out(p.corners.size());
    for (const std::int32_t f : net.order) {
        const std::int32_t h = net.hingeSlot[f];
        if (h >= 0) {
            const P2 a = net.corners[h], b = net.corners[nextSlot(p, f, h)];
            const double len = length(b - a);
            const Vec3d k{(b.x - a.x) / len, (b.y - a.y) / len, 0.0};
            motion[f] = after(motion[net.parent[f]], turnAbout({a.x, a.y, 0.0}, k, amount * net.turn[f]));
        }
        for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s)
            out[s] = motion[f].apply({net.corners[s].x, net.corners[s].y, 0.0});
    }
    return out;
}

Vec3d onModel(const NetPiece& piece, Vec3d q) {
    const Vec3d ez = cross(piece.ex, piece.ey);
    return piece.origin + q.x * piece.ex + q.y * piece.ey + q.z * ez;
}

}  // namespace pd
