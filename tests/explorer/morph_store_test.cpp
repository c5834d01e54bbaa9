// The morph's stages as a window's animation asks for them: each built
// once, whether on a second thread ahead of its step or when asked, and
// the same model either way.
#include <gtest/gtest.h>

#include <vector>

#include "explorer/morph_store.h"
#include "construct/geodesic_sphere.h"

using namespace pd;

TEST(MorphStore, EachStageIsBuiltOnceAndTheSameWhereverItWasBuilt) {
    const std::vector<Model> models{buildModel("sphere", geodesicSphere(3), 0, 0)};
    MorphStore ahead(models), atOnce(models);
    // A step prefetches the next stage before it takes its own, which the
    // step before prefetched: that one must be kept, not built again.
    ahead.prefetch(0, 0.2);
    ahead.prefetch(0, 0.35);
    ahead.prefetch(0, 0.2);  // kept already: nothing started
    for (const double t : {0.2, 0.35, 0.2}) {
        const Result<const Model*> kept = ahead.stage(0, t);
        const Result<const Model*> built = atOnce.stage(0, t);
        ASSERT_TRUE(kept && built);
        EXPECT_EQ((*kept)->name, (*built)->name);
        EXPECT_EQ((*kept)->solid.corners, (*built)->solid.corners);
        ASSERT_EQ((*kept)->solid.vertices.size(), (*built)->solid.vertices.size());
        for (std::size_t v = 0; v < (*kept)->solid.vertices.size(); ++v) {
            const Vec3 a = (*kept)->solid.vertices[v], b = (*built)->solid.vertices[v];
            EXPECT_TRUE(a.x == b.x && a.y == b.y && a.z == b.z) << "t " << t << " vertex " << v;
        }
    }
    EXPECT_EQ(ahead.stagesBuilt(), 2);
    EXPECT_EQ(atOnce.stagesBuilt(), 2);

    // A job for the session's helper thread counts too.
    const std::function<Result<Model>()> job = ahead.stageJob(0, 0.5);
    ASSERT_TRUE(job);
    ASSERT_TRUE(job());
    EXPECT_EQ(ahead.stagesBuilt(), 3);
}
