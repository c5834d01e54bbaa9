// The convex hull where qhull is not built (the web page): none, and the
// morph, which needs it, says so.
#include "mesh/convex_hull.h"

namespace pd {

Result<ConvexHull> convexHull(const std::vector<Vec3d>&, bool) {
    return failure("this build has no convex hull (qhull)");
}

}  // namespace pd
