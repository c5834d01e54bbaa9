#include "view/highlight.h"

#include <gtest/gtest.h>

#include <cmath>

#include "view/frame_builder.h"
#include "geometry/orientation.h"
#include "io/off_reader.h"
#include "shipped_models.h"

using namespace pd;

namespace {

// What --highlight reads, as the title then says it, or the error.
std::string lit(const Model& m, const std::string& text) {
    const Result<Lit> read = readLit(text, m);
    return read ? litText(m, *read) : read.error().what;
}

}  // namespace

// Parts named as the files count them, with their dual parts; what is not
// a part of this model is refused, saying why.
TEST(Highlight, PartsAreReadAndNamedWithTheirDualParts) {
    const Model cube = shippedModels().at(1);
    const Model open = buildModel("roof", *readOff("4 2\n0 0 0\n1 0 0\n1 1 0\n0 1 1\n3 0 1 2\n3 0 2 3\n", "r.off"), 0, 0);
    const std::tuple<const Model*, const char*, const char*> cases[] = {
        {&cube, "face:1", "face 1 (square) - dual vertex 1"},
        {&cube, "vertex:8", "vertex 8 - dual face 8"},
        {&cube, "edge:12", "edge 12 (1-7) - dual edge 12"},
        {&open, "face:0", "face 0 (triangle)"},
        {&open, "edge:4", "edge 4 (0-3)"},
        {&cube, "face:0", "--highlight face:0: heksaedar has 6 faces, numbered 1 to 6"},
        {&cube, "vertex:9", "--highlight vertex:9: heksaedar has 8 vertices, numbered 1 to 8"},
        {&cube, "corner:1", "--highlight: 'corner:1' is not face:N, vertex:N or edge:N"},
        {&cube, "face:1x", "--highlight: '1x' is not a face number"},
        {&cube, "edge:9999999999", "--highlight: '9999999999' is not an edge number"},
        {&cube, "face", "--highlight: '' is not a face number"},
    };
    for (const auto& [model, text, expected] : cases) EXPECT_EQ(lit(*model, text), expected) << text;
    EXPECT_EQ(litText(cube, Lit{LitKind::Face, 6}), "nothing");
}

// Over a grid of pixels of a shaded solid seen alone, a pick away from
// every edge names the face turned to the viewer whose picture holds the
// pixel (a convex solid's front faces do not overlap), though a face
// turned away lies under it too; off the solid, nothing.
TEST(Highlight, APickNamesTheFrontFaceUnderThePixel) {
    for (const std::size_t solid : {1, 3}) {
        const Model m = shippedModels().at(solid);
        ViewState state = initialViewState(false);
        state.faces = FaceStyle::Shaded;
        state.show = ShowMode::Solid;
        const std::vector<ShownShell> shells = shownShells(m, nullptr, state);
        const Frame frame = buildFrame(shells, state, FrameTarget::Raster);
        const VertexTurn turn = vertexTurnOf(orientationOf(state));
        std::vector<PixelPosition> at;
        for (const Vec3& v : m.solid.vertices) {
            const Vec3 seen = turnVertex(turn, v);
            at.push_back(pixelOf(frame.camera, frame.projection, seen.x, seen.y));
        }
        int faces = 0, background = 0;
        for (int y = 5; y < state.height; y += 23)
            for (int x = 5; x < state.width; x += 23) {
                int under = -1;
                double nearestSide = 1e9;
                for (int f = 0; f < m.solid.faceCount(); ++f) {
                    const int n = m.solid.faceSize(f);
                    double area = 0, side = 1e9;
                    bool inside = true;
                    for (int k = 0; k < n; ++k) {
                        const PixelPosition a = at[std::size_t(m.solid.face(f)[k])], b = at[std::size_t(m.solid.face(f)[(k + 1) % n])];
                        const double cross = (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
                        area += a.x * b.y - b.x * a.y;
                        inside = inside && cross < 0;
                        side = std::min(side, std::fabs(cross) / std::hypot(b.x - a.x, b.y - a.y));
                    }
                    nearestSide = std::min(nearestSide, side);
                    if (area < 0 && inside) under = f;  // clockwise on the screen: turned to the viewer
                }
                if (nearestSide < 8) continue;
                const Lit picked = litAt(shells, frame, x, y);
                EXPECT_EQ(picked, (under < 0 ? Lit{} : Lit{LitKind::Face, under})) << x << "," << y;
                ++(under < 0 ? background : faces);
            }
        EXPECT_GT(faces, 100);
        EXPECT_GT(background, 100);
    }
}
