#include "nets/fold_back.h"

#include <cmath>

namespace pd {

namespace {

// The turn by `angle` (right-handed) about the line through `a` along the
// unit direction `k` of the plane z = 0.
RigidMotion turnAbout(Vec3d a, Vec3d k, double angle) {
    const double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
    RigidMotion m;
    m.r = {{c + t * k.x * k.x, t * k.x * k.y - s * k.z, t * k.x * k.z + s * k.y,  //
            t * k.y * k.x + s * k.z, c + t * k.y * k.y, t * k.y * k.z - s * k.x,  //
            t * k.z * k.x - s * k.y, t * k.z * k.y + s * k.x, c + t * k.z * k.z}};
    const Vec3d ra = m.turn(a);
    m.shift = a - ra;
    return m;
}

}  // namespace

RigidMotion after(const RigidMotion& outer, const RigidMotion& inner) {
    RigidMotion m;
    m.r = outer.r * inner.r;
    m.shift = outer.apply(inner.shift);
    return m;
}

std::vector<RigidMotion> foldMotions(const Polyhedron& p, const Net& net, double amount) {
    std::vector<RigidMotion> motion(std::size_t(p.faceCount()));
    for (const std::int32_t f : net.order) {
        const std::int32_t h = net.hingeSlot[f];
        if (h < 0) continue;
        const P2 a = net.corners[h], b = net.corners[nextSlot(p, f, h)];
        const double len = length(b - a);
        const Vec3d k{(b.x - a.x) / len, (b.y - a.y) / len, 0.0};
        motion[f] = after(motion[net.parent[f]], turnAbout({a.x, a.y, 0.0}, k, amount * net.turn[f]));
    }
    return motion;
}

std::vector<Vec3d> foldNet(const Polyhedron& p, const Net& net, double amount) {
    const std::vector<RigidMotion> motion = foldMotions(p, net, amount);
    std::vector<Vec3d> out(p.corners.size());
    for (int f = 0; f < p.faceCount(); ++f)
        for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s)
            out[s] = motion[f].apply({net.corners[s].x, net.corners[s].y, 0.0});
    return out;
}

Vec3d onModel(const NetPiece& piece, Vec3d q) {
    const Vec3d ez = cross(piece.ex, piece.ey);
    return piece.origin + q.x * piece.ex + q.y * piece.ey + q.z * ez;
}

}  // namespace pd
