#include "view/frame_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "draw/bitmap_font.h"
#include "polyhedra/model_loading.h"
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

// A panel is as wide as its longest line's letters as drawn, not its
// bytes: each UTF-8 letter one glyph (its capital), a letter the font
// lacks and each byte of no character a box.
TEST(Frame, PanelsFitTheirLettersNotTheirBytes) {
    const Model cube = shippedModels().at(1);
    const std::pair<const char*, std::u32string> cases[] = {
        {"Faces: 6 (squares)", U"FACES: 6 (SQUARES)"},
        {"Čačak, Ćuprija, Đakovo, Šabac, Žabalj", U"ČAČAK, ĆUPRIJA, ĐAKOVO, ŠABAC, ŽABALJ"},
        {"Ђорђе, љиљан, њива, ћуприја, џеп, шестоугао", U"ЂОРЂЕ, ЉИЉАН, ЊИВА, ЋУПРИЈА, ЏЕП, ШЕСТОУГАО"},
        {"Grüße €", U"GR\uFFFD\uFFFDE \uFFFD"},
        {"\xC4" "A\xFF\x80" "\xE2\x82" "\xC0\xAF" "\xED\xA0\x80" "B", U"\uFFFDA\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDB"},
    };
    for (const auto& [text, drawn] : cases) {
        const std::vector<const Glyph*> glyphs = textGlyphs(text);
        ASSERT_EQ(glyphs.size(), drawn.size()) << text;
        for (std::size_t i = 0; i < drawn.size(); ++i) EXPECT_EQ(glyphs[i], &glyphFor(drawn[i])) << text << " at " << i;
        ViewState s;
        s.help = true;
        const Frame frame = buildFrame(cube, s, {"Q", text});
        EXPECT_EQ(frame.boxes.at(0).width, 6.0 * double(drawn.size()) + 16) << text;
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

// Print style on a 1000 x 800 picture: every mark and every number with
// its halo at least 5% of the shorter side (40 pixels) from the borders
// and, on one axis, at that margin within a pixel; digits at least 12
// pixels tall; lines heavier than the screen's; each number haloed in the
// background's colour.
TEST(Frame, PrintStyleKeepsAMarginAndNumbersWithAHalo) {
    const Model cube = shippedModels().at(1);
    ViewState s;
    s.width = 1000;
    s.height = 800;
    s.numbers = true;
    const Frame screen = buildFrame(cube, s, {}, FrameTarget::Raster);
    s.style = Style::Print;
    s.background = {1.0f, 1.0f, 1.0f};
    const Frame print = buildFrame(cube, s, {}, FrameTarget::Raster);
    EXPECT_GT(print.lineWidth, screen.lineWidth);
    double left = 1e9, right = 1e9, top = 1e9, bottom = 1e9;
    const auto reach = [&](double l, double t, double r, double b) {
        left = std::min(left, l), right = std::min(right, 1000 - r), top = std::min(top, t), bottom = std::min(bottom, 800 - b);
    };
    for (const FrameShell& shell : print.shells)
        for (std::uint32_t v : shell.marks) {
            const PixelPosition p = pixelOf(print.camera, print.projection, shell.xy[2 * v], shell.xy[2 * v + 1]);
            reach(p.x, p.y, p.x, p.y);
        }
    ASSERT_EQ(print.texts.size(), screen.texts.size());
    for (const FrameText& number : print.texts) {
        EXPECT_GE(number.scale * 7, 12);
        EXPECT_EQ(number.colour.red, 0.0f);
        EXPECT_TRUE(number.halo && number.halo->green == 1.0f);
        const double k = number.scale;
        reach(number.x - k, number.y - 8 * k, number.x + 6 * k * double(number.text.size()), number.y + k);
    }
    EXPECT_GE(std::min({left, right, top, bottom}), 40.0 - 0.5);
    EXPECT_TRUE(std::fabs(std::min(left, right) - 40.0) < 1.0 || std::fabs(std::min(top, bottom) - 40.0) < 1.0)
        << left << " " << right << " " << top << " " << bottom;    // A classroom screen's doubled numbers stay inside the picture too.
    s.style = Style::Screen;
    s.presenting = true;
    for (const FrameText& n : buildFrame(cube, s, {}, FrameTarget::Raster).texts)
        EXPECT_TRUE(n.x - n.scale >= 0 && n.y - 8 * n.scale >= 0 && n.y + n.scale <= 800 &&
                    n.x + 6 * n.scale * double(n.text.size()) <= 1000) << n.text;
}
