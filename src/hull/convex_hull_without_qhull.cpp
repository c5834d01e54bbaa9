// The convex hull where qhull is not built (the web page): the incremental one.
#include "hull/convex_hull.h"

namespace pd {

Result<ConvexHull> convexHull(const std::vector<Vec3d>& points, bool triangulated) {
    return incrementalHull(points, triangulated);
}

}  // namespace pd
