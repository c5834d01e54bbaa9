// Nets laid out on pages, checked over a table: every face on a page in its
// true size at the scale, inside the margins from the top left corner on,
// no two faces or flaps of a page overlapping (by clipped area), each fold
// drawn once and each cut twice, and each cut pair's number beside both of
// its edges.

#include "nets/net_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "polyhedra/model_loading.h"
#include "io/off_reader.h"
#include "polygon_area.h"
#include "prism_off.h"
#include "scratch_dir.h"
#include "shipped_models.h"

using namespace pd;

namespace {

Model offModel(const std::string& name) {
    Result<Model> m = loadOffModel(scratch::sourcePath("tests/data/net/" + name + ".off"));
    EXPECT_TRUE(m.ok()) << m.error().text();
    return m ? std::move(*m) : Model{};
}

std::vector<double> sideLengths(const std::vector<P2>& polygon, double scale) {
    std::vector<double> sides;
    for (std::size_t i = 0; i < polygon.size(); ++i) sides.push_back(length(polygon[(i + 1) % polygon.size()] - polygon[i]) * scale);
    return sides;
}

}  // namespace

TEST(NetLayout, PiecesLieWholeInsideTheMarginsWithoutOverlapNumberedInPairs) {
    const std::vector<Model> solids = shippedModels();
    const Model torus = offModel("torus"), geodesic = offModel("geodesic4"), box = offModel("open-box");
    const Model prism = buildModel("prism", *readOff(prismOff(40), "prism.off"), 0, 0);
    struct Case {
        std::vector<const Polyhedron*> shapes;
        PageSize page;
        double edgeMm;
    } cases[] = {
        {{&solids[1].solid, &solids[1].programDual}, PageSize::A4, 40.0},
        {{&solids[1].solid}, PageSize::A4, 15.0},
        {{&box.solid}, PageSize::A4, 30.0},  // open: its border cut, with no partner
        {{&solids[1].solid, &solids[1].programDual}, PageSize::A4, 100.0},  // cut smaller to fit
        {{&solids[4].solid}, PageSize::A4, 20.0},
        {{&solids[3].solid, &solids[3].programDual}, PageSize::Letter, 0.0},
        {{&torus.solid}, PageSize::A4, 4.0},  // too small for its numbers: refused
        {{&torus.solid}, PageSize::A4, 0.0},
        {{&geodesic.reciprocalDual}, PageSize::A3, 0.0},
        {{&prism.solid, &prism.reciprocalDual}, PageSize::A4, 0.0},
    };
    for (const Case& c : cases) {
        std::vector<Net> nets;
        for (const Polyhedron* shape : c.shapes) nets.push_back(*unfold(*shape));
        std::vector<LayoutShell> shells;
        std::vector<double> sides;  // every face's sides, true lengths
        std::size_t faces = 0, edges = 0, folds = 0, cutPairs = 0, borders = 0;
        for (std::size_t k = 0; k < nets.size(); ++k) {
            const Polyhedron& p = *c.shapes[k];
            shells.push_back({&p, &nets[k]});
            for (int f = 0; f < p.faceCount(); ++f)
                for (int i = 0; i < p.faceSize(f); ++i) {
                    const Vec3 a = p.vertices[p.face(f)[i]], b = p.vertices[p.face(f)[(i + 1) % p.faceSize(f)]];
                    sides.push_back(length(widen(b) - widen(a)));
                }
            faces += std::size_t(p.faceCount());
            folds += std::size_t(p.faceCount()) - nets[k].pieces.size();
            cutPairs += std::size_t(nets[k].cutCount);
            edges += nets[k].topology.edges.size();
            borders += std::size_t(std::count(nets[k].cut.begin(), nets[k].cut.end(), -1));
        }
        NetLayoutOptions options;
        options.page = c.page;
        options.edgeMm = c.edgeMm;
        Result<NetLayout> made = layOutNets(shells, options);
        if (!made && made.error().text().find("the numbers of the cut pairs do not fit") != std::string::npos) {
            // The smallest mean edge it names lays the net out, and a tenth
            // of a millimetre less does not.
            const std::string text = made.error().text();
            const double smallest = std::stod(text.substr(text.rfind("is ") + 3));
            options.edgeMm = smallest - 0.1;
            EXPECT_FALSE(layOutNets(shells, options).ok());
            options.edgeMm = smallest;
            made = layOutNets(shells, options);
        }
        ASSERT_TRUE(made.ok()) << made.error().text();
        const NetLayout& layout = *made;
        SCOPED_TRACE(std::string(layout.format.name) + " " + std::to_string(layout.meanEdgeMm));
        if (c.edgeMm > 0) {
            EXPECT_NEAR(layout.meanEdgeMm, options.edgeMm, 1e-9);
        }

        std::vector<double> drawnSides;
        std::map<std::string, int> labels;
        std::size_t drawnFaces = 0, drawnFolds = 0, drawnCuts = 0, drawnFlaps = 0;
        for (const NetPage& page : layout.pages) {
            std::vector<std::vector<P2>> polygons;
            for (const PagePolygon& face : page.faces) {
                polygons.push_back(face.points);
                const std::vector<double> s = sideLengths(face.points, 1 / layout.scale);
                drawnSides.insert(drawnSides.end(), s.begin(), s.end());
            }
            polygons.insert(polygons.end(), page.flaps.begin(), page.flaps.end());
            // Every flap at least 3 mm deep from the edge it sits on.
            for (const std::vector<P2>& flap : page.flaps) {
                const P2 a = flap.front(), d = (1.0 / length(flap.back() - a)) * (flap.back() - a);
                double depth = 0;
                for (P2 q : flap) depth = std::max(depth, std::fabs(cross(d, q - a)));
                EXPECT_GE(depth, flapLeastMm - 1e-6);
            }
            double left = HUGE_VAL, top = HUGE_VAL;
            std::vector<polygons::Box> boxes;
            for (const std::vector<P2>& polygon : polygons) boxes.push_back(polygons::boxOf(polygon));
            for (std::size_t i = 0; i < polygons.size(); ++i) {
                for (P2 q : polygons[i]) {
                    left = std::min(left, q.x), top = std::min(top, q.y);
                    ASSERT_LE(q.x, layout.format.width - pageMargin + 1e-9);
                    ASSERT_LE(q.y, layout.footerTop + 1e-9);
                }
                for (std::size_t j = 0; j < i; ++j)
                    if (boxes[i].meets(boxes[j])) {
                        ASSERT_LT(polygons::sharedArea(polygons[i], polygons[j]), 1e-9) << i << " and " << j;
                    }
            }
            EXPECT_NEAR(left, pageMargin, 1e-9);
            EXPECT_NEAR(top, pageMargin, 1e-9);
            for (const PageLine& line : page.lines) ++(line.fold ? drawnFolds : drawnCuts);
            // Every number full size (3 mm, about 10 pt) beside a cut line.
            for (const PageLabel& label : page.labels) {
                ++labels[label.text];
                EXPECT_GE(label.size, 3.0);
                double nearest = HUGE_VAL;
                for (const PageLine& line : page.lines) {
                    const P2 d = line.b - line.a;
                    const double t = std::clamp(dot(label.at - line.a, d) / dot(d, d), 0.0, 1.0);
                    if (!line.fold) nearest = std::min(nearest, length(label.at - (line.a + t * d)));
                }
                EXPECT_LT(nearest, 5.0) << label.text;
            }
            drawnFaces += page.faces.size();
            drawnFlaps += page.flaps.size();
        }
        EXPECT_EQ(drawnFaces, faces);
        std::sort(sides.begin(), sides.end());
        std::sort(drawnSides.begin(), drawnSides.end());
        ASSERT_EQ(drawnSides.size(), sides.size());
        for (std::size_t i = 0; i < sides.size(); ++i) ASSERT_NEAR(drawnSides[i], sides[i], 1e-9 * sides.back());
        // Every edge once: one fold line, or a pair of cut lines, or one
        // border line. Pieces cut smaller to fit a page turn folds into
        // pairs, and nothing else does.
        const std::size_t pairs = (drawnCuts - borders) / 2;
        EXPECT_EQ(drawnFolds + pairs + borders, edges);
        EXPECT_EQ((drawnCuts - borders) % 2, 0u);
        EXPECT_EQ(folds - drawnFolds, pairs - cutPairs);
        if (layout.pages.size() == 1) {
            EXPECT_EQ(pairs, cutPairs);
        }
        EXPECT_EQ(drawnFlaps, std::size_t(layout.flaps));
        EXPECT_EQ(std::size_t(layout.flaps + layout.flapless), pairs);
        EXPECT_EQ(labels.size(), pairs);
        for (std::size_t n = 1; n <= pairs; ++n) EXPECT_EQ(labels[std::to_string(n)], 2) << n;
    }
}

// The footer keeps within the margins by letters, not bytes: a title in
// Cyrillic (two bytes a letter) breaks where one in as many Latin letters does.
TEST(NetLayout, FooterWrapsByLetters) {
    const Model cube = shippedModels().at(1);
    const Net net = *unfold(cube.solid);
    std::vector<std::vector<long>> wordsPerLine;
    for (const std::string word : {"kocka ", "коцка "}) {
        NetLayoutOptions options;
        for (int i = 0; i < 40; ++i) options.title += word;
        const Result<NetLayout> layout = layOutNets({{&cube.solid, &net}}, options);
        ASSERT_TRUE(layout.ok()) << layout.error().text();
        wordsPerLine.emplace_back();
        for (const std::string& line : layout->pages.at(0).footer)
            wordsPerLine.back().push_back(std::count(line.begin(), line.end(), ' '));
    }
    EXPECT_GT(wordsPerLine[0].size(), 2u);
    EXPECT_EQ(wordsPerLine[0], wordsPerLine[1]);
}
