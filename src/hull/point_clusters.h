#pragma once

#include <vector>

#include "geometry/vec3.h"

namespace pd {

// Points that stand for one: where several planes meet in one point, the
// vertices worked out from each three of them differ in their last digits.
struct PointClusters {
    std::vector<int> clusterOf;  // per input point, its cluster, numbered 0.. in order of first point
    std::vector<Vec3d> centres;     // per cluster, the mean of its points
};

// Groups `points` greedily in input order: a point within `distance` of the
// first point of a cluster found so far joins it, any other starts a new
// one. So the first points of two clusters are always more than `distance`
// apart. A grid of cells 2 * `distance` wide is searched, linear in the points
// for any input (a cell holds a bounded number of first points). A distance
// that is not above zero merges only equal points.
PointClusters clusterPoints(const std::vector<Vec3d>& points, double distance);

// Whether `clusterCount` clusters of `points` (clusterPoints at `distance`)
// stand clearly apart: clustered at ten times the distance they are as
// many. Fewer means some points lie between the two distances, where
// neither merging them nor keeping them apart can be trusted (a ring of
// distinct vertices closer than the distance is merged only in part).
bool clustersStandApart(const std::vector<Vec3d>& points, std::size_t clusterCount, double distance);

}  // namespace pd
