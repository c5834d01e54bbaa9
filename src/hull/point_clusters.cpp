#include "hull/point_clusters.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace pd {

namespace {

struct Cell {
    std::int64_t x, y, z;
    bool operator==(const Cell& o) const { return x == o.x && y == o.y && z == o.z; }
};

std::uint64_t hashOf(const Cell& c) {
    std::uint64_t h = std::uint64_t(c.x) * 0x9E3779B97F4A7C15ull;
    h = (h ^ (h >> 29)) + std::uint64_t(c.y) * 0xC2B2AE3D27D4EB4Full;
    h = (h ^ (h >> 29)) + std::uint64_t(c.z) * 0x165667B19E3779F9ull;
    return h ^ (h >> 32);
}

// The cell of a coordinate, clamped so that far points (or a tiny
// distance) cannot overflow the integer.
std::int64_t cellOf(double coordinate, double width) {
    const double c = std::floor(coordinate / width);
    return std::int64_t(std::fmax(-4e18, std::fmin(4e18, c)));
}

// Cells and the newest cluster started in each, open addressing: a flat
// table, no allocation per cell.
class CellTable {
public:
    explicit CellTable(std::size_t most) {
        std::size_t size = 16;
        while (size < 2 * most) size *= 2;
        cells_.resize(size);
        newest_.assign(size, -1);
        mask_ = size - 1;
    }
    // The slot of `cell`: its own, or the empty one where it would go.
    std::size_t slot(const Cell& cell) const {
        std::size_t s = hashOf(cell) & mask_;
        while (newest_[s] >= 0 && !(cells_[s] == cell)) s = (s + 1) & mask_;
        return s;
    }
    int newest(std::size_t slot) const { return newest_[slot]; }
    void set(std::size_t slot, const Cell& cell, int cluster) {
        cells_[slot] = cell;
        newest_[slot] = cluster;
    }

private:
    std::vector<Cell> cells_;
    std::vector<int> newest_;
    std::size_t mask_;
};

}  // namespace

PointClusters clusterPoints(const std::vector<Vec3d>& points, double distance) {
    PointClusters out;
    out.clusterOf.resize(points.size());
    // Cells twice the distance wide: a point's partners lie in its own cell
    // or the nearer neighbour along each axis, 8 cells in all.
    const double width = distance > 0.0 ? 2.0 * distance : 1.0;
    const double limit = distance > 0.0 ? distance * distance : 0.0;
    CellTable cells(points.size());
    std::vector<int> before;  // per cluster, the one started before it in its cell, or -1
    std::vector<Vec3d> firstPoint;
    std::vector<Vec3d> sum;
    std::vector<int> members;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Vec3d p = points[i];
        const Cell home{cellOf(p.x, width), cellOf(p.y, width), cellOf(p.z, width)};
        const int sx = p.x / width - std::floor(p.x / width) < 0.5 ? -1 : 1;
        const int sy = p.y / width - std::floor(p.y / width) < 0.5 ? -1 : 1;
        const int sz = p.z / width - std::floor(p.z / width) < 0.5 ? -1 : 1;
        int found = -1;
        for (int corner = 0; corner < 8 && found < 0; ++corner) {
            const Cell cell{home.x + (corner & 1 ? sx : 0), home.y + (corner & 2 ? sy : 0),
                            home.z + (corner & 4 ? sz : 0)};
            for (int c = cells.newest(cells.slot(cell)); c >= 0; c = before[std::size_t(c)]) {
                const Vec3d d = p - firstPoint[std::size_t(c)];
                if (dot(d, d) <= limit) {
                    found = c;
                    break;
                }
            }
        }
        if (found < 0) {
            found = int(firstPoint.size());
            firstPoint.push_back(p);
            sum.push_back({0, 0, 0});
            members.push_back(0);
            const std::size_t slot = cells.slot(home);
            before.push_back(cells.newest(slot));
            cells.set(slot, home, found);
        }
        out.clusterOf[i] = found;
        sum[std::size_t(found)] += p;
        ++members[std::size_t(found)];
    }
    out.centres.resize(sum.size());
    for (std::size_t c = 0; c < sum.size(); ++c)
        out.centres[c] = sum[c] / members[c];
    return out;
}

bool clustersStandApart(const std::vector<Vec3d>& points, std::size_t clusterCount, double distance) {
    return !(distance > 0.0) || clusterPoints(points, 10.0 * distance).centres.size() == clusterCount;
}

}  // namespace pd
