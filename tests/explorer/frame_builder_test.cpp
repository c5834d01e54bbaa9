#include "explorer/frame_builder.h"

#include <gtest/gtest.h>

#include <tuple>

#include "mesh/model_loading.h"
#include "scratch_dir.h"
#include "shipped_models.h"

using namespace pd;

namespace {


// Per shell: "colour lines/dashed/marks", colour b(lue) or r(ed), counts of
// edges and marks.
std::string summary(const Frame& f) {
    std::string s;
    for (const FrameShell& shell : f.shells)
        s += std::string(shell.colour.blue == 1.0f ? "b " : "r ") +
             std::to_string(shell.lines.size() / 2) + "/" + std::to_string(shell.dashed.size() / 2) +
             "/" + std::to_string(shell.marks.size()) + " ";
    return s;
}

std::string labels(const Frame& f) {
    std::string s;
    for (const FrameText& t : f.texts) s += t.text + " ";
    return s;
}

// The cube at the typical run's angles: one corner points away, so three
// cube edges are behind, and alone three of the octahedron's (those
// crossing them); the corner loses its mark when they are hidden. The
// program's octahedron lies inside the cube: with it, all its edges are
// behind, and only its three vertices on the front faces are seen. For SVG
// the parts are cut; a raster picture gets every edge twice (in front,
// dashed behind) and lets the depth buffer choose.
TEST(Frame, ShellsEdgesAndMarksPerMode) {
    const Model cube = shippedModels().at(1);
    const std::tuple<ShowMode, BackEdges, FrameTarget, const char*> cases[] = {
        {ShowMode::Both, BackEdges::Drawn, FrameTarget::Vector, "b 12/0/8 r 12/0/6 "},
        {ShowMode::Both, BackEdges::Dashed, FrameTarget::Vector, "b 9/3/8 r 0/12/6 "},
        {ShowMode::Both, BackEdges::Hidden, FrameTarget::Vector, "b 9/0/7 r 0/0/3 "},
        {ShowMode::Solid, BackEdges::Hidden, FrameTarget::Vector, "b 9/0/7 "},
        {ShowMode::Dual, BackEdges::Dashed, FrameTarget::Vector, "r 9/3/6 "},
        {ShowMode::Both, BackEdges::Dashed, FrameTarget::Raster, "b 12/12/8 r 12/12/6 "},
    };
    for (const auto& [show, back, target, expected] : cases) {
        ViewState s;
        s.show = show;
        s.back = back;
        const Frame frame = buildFrame(cube, s, {}, target);
        EXPECT_EQ(summary(frame), expected) << int(show) << " " << int(back);
        EXPECT_EQ(frame.depthTested, target == FrameTarget::Raster && back != BackEdges::Drawn);
    }
}

TEST(Frame, NumbersCountAsTheFilesDoAndOnlyWhereMarked) {
    const std::vector<Model> models = shippedModels();
    const Model offTetra = buildModel("t", models.at(0).solid, 0, 0);  // as an OFF file counts
    ViewState s;
    s.numbers = true;
    EXPECT_EQ(labels(buildFrame(models.at(0), s)), "1 2 3 4 ");
    EXPECT_EQ(labels(buildFrame(offTetra, s)), "0 1 2 3 ");
    s.back = BackEdges::Hidden;
    EXPECT_EQ(labels(buildFrame(models.at(1), s)), "1 2 3 4 5 6 8 ");
    s.show = ShowMode::Dual;
    EXPECT_EQ(labels(buildFrame(offTetra, s)), "");
}

// Both shells numbered in a small picture: 32 numbers, none over another
// (each at its first free place of four; at the first place alone two
// would overlap here). The dual's are its faces' numbers, in its colour.
TEST(Frame, NumbersOfBothShellsKeepClearOfEachOther) {
    ViewState s;
    s.width = 300, s.height = 200, s.numbers = s.dualNumbers = true, s.dual = DualKind::Reciprocal;
    const Frame f = buildFrame(shippedModels().at(3), s, {}, FrameTarget::Vector);
    ASSERT_EQ(f.texts.size(), 32u);
    EXPECT_EQ(f.texts.back().text, "12");
    EXPECT_EQ(f.texts.back().colour.red, classicPalette.dualText.red);
    for (std::size_t i = 0; i < f.texts.size(); ++i)
        for (std::size_t j = i + 1; j < f.texts.size(); ++j) {
            const FrameText& a = f.texts[i];
            const FrameText& b = f.texts[j];
            const double wa = a.text.size() * 6.0 - 1, wb = b.text.size() * 6.0 - 1;
            EXPECT_FALSE(a.x < b.x + wb && b.x < a.x + wa && a.y - 7 < b.y && b.y - 7 < a.y) << a.text << " " << b.text;
        }
}

TEST(Frame, ZoomScalesAboutTheSameCentre) {
    const Model cube = shippedModels().at(1);
    ViewState s;
    const Frame plain = buildFrame(cube, s);
    s.zoom = 2.0;
    const Frame zoomed = buildFrame(cube, s);
    EXPECT_EQ(zoomed.camera.cx, plain.camera.cx);
    EXPECT_EQ(zoomed.camera.cy, plain.camera.cy);
    EXPECT_NEAR(zoomed.projection.pixelsPerUnit / plain.projection.pixelsPerUnit, 2.0, 1e-6);
}

}  // namespace
