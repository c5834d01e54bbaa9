#include "print/frame_pieces.h"

#include <cmath>

#include "construct/geodesic_sphere.h"

namespace pd {

PrintPart strutPiece(Vec3d a, Vec3d b, double diameter, int sides) {
    PrintPart strut;
    const double span = length(b - a);
    if (span == 0.0) return strut;
    const Vec3d axis = (b - a) / span;
    // Any direction across the axis will do: take the coordinate axis least
    // along it, so the cross product never nears zero.
    const Vec3d seed = std::fabs(axis.x) <= std::fabs(axis.y) && std::fabs(axis.x) <= std::fabs(axis.z)
                           ? Vec3d{1, 0, 0}
                           : std::fabs(axis.y) <= std::fabs(axis.z) ? Vec3d{0, 1, 0} : Vec3d{0, 0, 1};
    Vec3d u = cross(axis, seed);
    u = u / length(u);
    const Vec3d v = cross(axis, u);  // u, v, axis turn right-handed
    const double radius = diameter / 2;
    for (const Vec3d end : {a, b})
        for (int k = 0; k < sides; ++k) {
            const double angle = 2 * M_PI * k / sides;
            strut.points.push_back(end + u * (radius * std::cos(angle)) + v * (radius * std::sin(angle)));
        }
    // Corner k of the ring at a, sides + k of the ring at b; the rings turn
    // counter-clockwise seen from b's side.
    for (int k = 0; k < sides; ++k) {
        const std::int32_t next = (k + 1) % sides;
        strut.triangles.push_back({k, next, sides + next});
        strut.triangles.push_back({k, sides + next, sides + k});
    }
    for (int k = 1; k + 1 < sides; ++k) {
        strut.triangles.push_back({0, k + 1, k});
        strut.triangles.push_back({sides, sides + k, sides + k + 1});
    }
    return strut;
}

PrintPart ballPiece(Vec3d centre, double diameter, int frequency) {
    const Polyhedron sphere = geodesicSphere(frequency);
    PrintPart ball;
    for (const Vec3& p : sphere.vertices) ball.points.push_back(centre + widen(p) * (diameter / 2));
    for (int f = 0; f < sphere.faceCount(); ++f) {
        const std::int32_t* c = sphere.face(f);
        ball.triangles.push_back({c[0], c[1], c[2]});
    }
    return ball;
}

}  // namespace pd
