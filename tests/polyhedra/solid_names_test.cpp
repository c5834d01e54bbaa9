#include "polyhedra/solid_names.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/edges.h"
#include "io/off_reader.h"
#include "polyhedra/model_loading.h"
#include "morph/morph.h"
#include "polyhedra/shell_counts.h"
#include "view/shown_shells.h"
#include "explorer/net_pages.h"
#include "prism_off.h"
#include "shipped_models.h"

using namespace pd;

namespace {

Polyhedron off(const std::string& text) {
    Result<Polyhedron> p = readOff(text, "t.off");
    EXPECT_TRUE(p.ok()) << p.error().text();
    return p ? *p : Polyhedron{};
}

std::string line(const Polyhedron& p) { return countsLine("solid", countShell(p, deriveEdges(p))); }
std::string name(const Polyhedron& p) { return solidName(p, deriveEdges(p)); }

// The morph of shipped solid `index` (the cube unless said) at stage t.
Model morphStage(double t, std::size_t index = 1) {
    const Result<MorphFamily> family = morphFamily(shippedModels().at(index));
    EXPECT_TRUE(family.ok());
    Result<Polyhedron> stage = morphAt(*family, t);
    EXPECT_TRUE(stage.ok());
    return buildModel("stage", std::move(*stage), 0, 0);
}

// An n-gonal antiprism: two rings half a step apart.
std::string antiprismOff(int n) {
    std::string text = "OFF\n" + std::to_string(2 * n) + " " + std::to_string(2 * n + 2) + " 0\n";
    for (int ring = 0; ring < 2; ++ring)
        for (int i = 0; i < n; ++i) {
            const double a = 2 * M_PI * (i + 0.5 * ring) / n;
            text += std::to_string(std::cos(a)) + " " + std::to_string(std::sin(a)) + " " + (ring ? "0.8\n" : "0\n");
        }
    std::string bottom = std::to_string(n), top = bottom, sides;
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        bottom += " " + std::to_string(n - 1 - i);
        top += " " + std::to_string(n + i);
        sides += "3 " + std::to_string(i) + " " + std::to_string(j) + " " + std::to_string(n + i) + "\n";
        sides += "3 " + std::to_string(n + i) + " " + std::to_string(j) + " " + std::to_string(n + j) + "\n";
    }
    return text + bottom + "\n" + top + "\n" + sides;
}

}  // namespace

// The five as the files hold them, whole lines.
TEST(SolidNames, TheFiveByNameAndFaces) {
    const char* const lines[] = {
        "solid: tetrahedron  V 4  E 6  F 4  V-E+F 2  faces: 4 triangles",
        "solid: cube  V 8  E 12  F 6  V-E+F 2  faces: 6 squares",
        "solid: octahedron  V 6  E 12  F 8  V-E+F 2  faces: 8 triangles",
        "solid: dodecahedron  V 20  E 30  F 12  V-E+F 2  faces: 12 pentagons",
        "solid: icosahedron  V 12  E 30  F 20  V-E+F 2  faces: 20 triangles",
    };
    for (int i = 0; i < 5; ++i) EXPECT_EQ(line(shippedModels().at(std::size_t(i)).solid), lines[i]);
}

// Archimedean and Catalan solids by their combinatorics and shape, the
// families by their combinatorics; a shape a little off keeps the name
// "(combinatorially)", or falls to the family it still is.
TEST(SolidNames, MorphStagesDualsAndFamilies) {
    Polyhedron dentedIcosahedron = shippedModels().at(4).solid;
    dentedIcosahedron.vertices[0].x += 0.05f;
    Polyhedron longCube = shippedModels().at(1).solid;
    for (Vec3& v : longCube.vertices) v.z *= 1.5f;
    Model cuboctahedron = morphStage(0.5);
    Polyhedron bentDodecahedron = cuboctahedron.reciprocalDual;
    bentDodecahedron.vertices[3].x += 0.02f;
    const std::pair<Polyhedron, std::string> cases[] = {
        {cuboctahedron.solid, "cuboctahedron"},
        {morphStage(0.25).solid, "truncated cube (combinatorially)"},
        {morphStage(0.75).solid, "truncated octahedron"},
        {morphStage(0.7).solid, "truncated octahedron (combinatorially)"},
        {morphStage(0.5, 3).solid, "icosidodecahedron"},
        {cuboctahedron.reciprocalDual, "rhombic dodecahedron"},
        {bentDodecahedron, "rhombic dodecahedron (combinatorially)"},
        {dentedIcosahedron, "icosahedron (combinatorially)"},
        {longCube, "square prism"},
        {off(prismOff(5)), "pentagonal prism"},
        {buildModel("p", off(prismOff(7)), 0, 0).reciprocalDual, "heptagonal bipyramid"},
        {off(antiprismOff(5)), "pentagonal antiprism"},
        {off(antiprismOff(12)), "dodecagonal antiprism"},
        {off(antiprismOff(13)), "13-gonal antiprism"},
        {buildModel("a", off(antiprismOff(11)), 0, 0).reciprocalDual, "hendecagonal trapezohedron"},
        {buildModel("a", off(antiprismOff(4)), 0, 0).reciprocalDual, "tetragonal trapezohedron"},
        {off("OFF 5 5 0 0 0 0 1 0 0 1 1 0 0 1 0 0.5 0.5 1 4 3 2 1 0 3 0 1 4 3 1 2 4 3 2 3 4 3 3 0 4"), "square pyramid"},
        {off("OFF 4 4 0 0 0 0 1 0 0 0 2 0 0 0 3 3 0 2 1 3 0 1 3 3 1 2 3 3 2 0 3"), "triangular pyramid"},
        {off("OFF 4 2 0 0 0 0 1 0 0 1 1 0 0 1 0 4 0 1 2 3 4 3 2 1 0"), ""},
    };
    for (const auto& [shape, expected] : cases) EXPECT_EQ(name(shape), expected);
}

// Four corners named by their true shape; the prism 1 x 1.5 over a right
// triangle has two triangles and three rectangles.
TEST(SolidNames, FacesByTheirTrueShape) {
    const Polyhedron quads = off("OFF 12 3 0  0 0 0 2 0 0 2 1 0 0 1 0  0 0 0 2 1 0 4 0 0 2 -1 0  0 0 0 3 0 0 3 1 0 0 2 0"
                                 "  4 0 1 2 3  4 4 5 6 7  4 8 9 10 11");
    EXPECT_EQ(faceShape(quads, 0), FaceShape::Rectangle);
    EXPECT_EQ(faceShape(quads, 1), FaceShape::Rhombus);
    EXPECT_EQ(faceShape(quads, 2), FaceShape::Quadrilateral);
    EXPECT_EQ(countedFaces(2, 4, FaceShape::Rhombus), "2 rhombi");
    EXPECT_EQ(countedFaces(1, 11, FaceShape::Polygon), "1 hendecagon");
    const Polyhedron prism = off("OFF 6 5 0 0 0 0 1 0 0 0 1 0 0 0 1.5 1 0 1.5 0 1 1.5 "
                                 "3 0 2 1 3 3 4 5 4 0 1 4 3 4 1 2 5 4 4 2 0 3 5");
    EXPECT_EQ(line(prism), "solid: triangular prism  V 6  E 9  F 5  V-E+F 2  faces: 2 triangles, 3 rectangles");
}

// The net's footer names what is printed.
TEST(SolidNames, NetFooterNamesEachShellOnce) {
    Model cube = shippedModels().at(1);
    EXPECT_EQ(netTitle(shownShells(cube, nullptr, ViewState{}), cube),
              "heksaedar, the cube (blue) and its program dual, the octahedron (red)");
    cube.name = "cube";
    EXPECT_EQ(netTitle(shownShells(cube, nullptr, ViewState{}), cube),
              "cube (blue) and its program dual, the octahedron (red)");
}
