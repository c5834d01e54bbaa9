#include "explorer/unfold_view.h"

#include <gtest/gtest.h>

#include <cmath>

#include "../support/shipped_models.h"
#include "construct/geodesic_sphere.h"
#include "polyhedra/model.h"

using namespace pd;

namespace {

Vec3d newell(const Polyhedron& p, int f) {
    Vec3d n{0, 0, 0};
    for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s) {
        const Vec3d a = widen(p.vertices[std::size_t(p.corners[std::size_t(s)])]);
        const Vec3d b = widen(p.vertices[std::size_t(p.corners[std::size_t(nextSlot(p, f, s))])]);
        n = n + Vec3d{(a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y)};
    }
    return n;
}

}  // namespace

// Part of the way open, every face of every shell (the solids and their
// duals, and a sphere of 320 faces) is its face on the model moved
// rigidly: its corners as far apart as there. Its normal is a unit vector
// across its sides, on the side its corners' order gives, the way that
// order's normal on the model stands to the model's outward one.
TEST(UnfoldView, PartOpenFacesMoveRigidlyAndKeepTheirNormalsOutward) {
    std::vector<Model> models = shippedModels();
    models.push_back(buildModel("sphere", geodesicSphere(4), 0, 0));
    NetStore store;
    for (std::size_t m = 0; m < models.size(); ++m)
        for (const double u : {0.3, 0.7})
            for (const auto& [a, b] : {std::pair{30.0f, 45.0f}, {170.0f, 10.0f}}) {
                ViewState state = initialViewState(m == 5);
                state.angleX = a, state.angleY = b, state.unfold = u;
                const std::vector<ShownShell> shells = solidAndDualShells(models[m], nullptr, state);
                std::vector<SharedNet> nets;
                for (const ShownShell& s : shells)
                    nets.push_back(store.net({int(m), 0.0, s.kind}, *s.shape, models[m].numberBase));
                const std::vector<std::optional<OpenShell>> open = openShells(shells, nets, state);
                ASSERT_EQ(open.size(), shells.size());
                for (std::size_t k = 0; k < shells.size(); ++k) {
                    ASSERT_TRUE(open[k]) << models[m].name;
                    const Polyhedron& p = *shells[k].shape;
                    const Polyhedron& q = open[k]->shape;
                    const double size = length(widen(p.vertices[0]));
                    for (int f = 0; f < p.faceCount(); ++f) {
                        const std::int32_t s0 = p.faceStart[f], s1 = p.faceStart[f + 1];
                        const auto at = [](const Polyhedron& h, std::int32_t s) {
                            return widen(h.vertices[std::size_t(h.corners[std::size_t(s)])]);
                        };
                        for (std::int32_t i = s0; i < s1; ++i)
                            for (std::int32_t j = i + 1; j < s1; ++j)
                                ASSERT_NEAR(length(at(q, i) - at(q, j)), length(at(p, i) - at(p, j)), 1e-5 * size)
                                    << models[m].name << " face " << f << " at " << u;
                        const Vec3d n = widen(open[k]->normals[std::size_t(f)]);
                        EXPECT_NEAR(length(n), 1.0, 1e-6);
                        for (std::int32_t i = s0; i < s1; ++i)
                            EXPECT_NEAR(dot(n, at(q, nextSlot(p, f, i)) - at(q, i)), 0.0, 1e-5 * size);
                        const double outward = dot(newell(p, f), widen((*shells[k].normals)[std::size_t(f)]));
                        EXPECT_GT(dot(newell(q, f), n) * outward, 0.0) << models[m].name << " face " << f;
                    }
                }
            }
}
