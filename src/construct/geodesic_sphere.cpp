#include "construct/geodesic_sphere.h"

#include <cmath>
#include <vector>

#include "hull/point_clusters.h"

namespace pd {

Polyhedron geodesicSphere(int k) {
    constexpr double g = 1.6180339887498948482;
    static const Vec3d corners[12] = {{-1, g, 0}, {1, g, 0},  {-1, -g, 0}, {1, -g, 0},
                                   {0, -1, g}, {0, 1, g},  {0, -1, -g}, {0, 1, -g},
                                   {g, 0, -1}, {g, 0, 1},  {-g, 0, -1}, {-g, 0, 1}};
    static const int faces[20][3] = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11},
                                     {1, 5, 9},  {5, 11, 4}, {11, 10, 2}, {10, 7, 6}, {7, 1, 8},
                                     {3, 9, 4},  {3, 4, 2},  {3, 2, 6},   {3, 6, 8},  {3, 8, 9},
                                     {4, 9, 5},  {2, 4, 11}, {6, 2, 10},  {8, 6, 7},  {9, 8, 1}};
    // Every face's grid points, shared ones repeated, then made one where
    // they meet: points of one grid lie at least about 1/k apart.
    std::vector<Vec3d> points;
    auto at = [k](int i, int j) { return j * (k + 1) - j * (j - 1) / 2 + i; };  // i + j <= k
    for (const auto& f : faces) {
        const Vec3d a = corners[f[0]], b = corners[f[1]], c = corners[f[2]];
        for (int j = 0; j <= k; ++j)
            for (int i = 0; i + j <= k; ++i) {
                const double s = double(i) / k, t = double(j) / k;
                const Vec3d p = a + (b - a) * s + (c - a) * t;
                const double n = length(p);
                points.push_back(p / n);
            }
    }
    const PointClusters one = clusterPoints(points, 0.1 / k);
    Polyhedron sphere;
    for (const Vec3d& p : one.centres) sphere.vertices.push_back({float(p.x), float(p.y), float(p.z)});
    const int perFace = (k + 1) * (k + 2) / 2;
    for (int f = 0; f < 20; ++f) {
        auto id = [&](int i, int j) { return std::int32_t(one.clusterOf[std::size_t(f * perFace + at(i, j))]); };
        for (int j = 0; j < k; ++j)
            for (int i = 0; i + j < k; ++i) {
                const std::int32_t up[] = {id(i, j), id(i + 1, j), id(i, j + 1)};
                sphere.addFace(up, 3);
                if (i + j + 1 < k) {
                    const std::int32_t down[] = {id(i + 1, j), id(i + 1, j + 1), id(i, j + 1)};
                    sphere.addFace(down, 3);
                }
            }
    }
    return sphere;
}

}  // namespace pd
