// The explorer's files made with no DISPLAY at all: the PNG against the
// window's own picture of the same state, the SVG against the PNG, the OFF
// model read back, and runs and inputs it refuses.

#include <gtest/gtest.h>

#include <png.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>
#include <sstream>
#include <tuple>

#include "io/off_reader.h"
#include "polyhedra/model_loading.h"
#include "geometry/rotation.h"
#include "console/solid_drawing.h"
#include "window_fixture.h"

using namespace pd;

namespace {

using namespace e2e;

// Every line and mark an SVG draws, whatever its colour, sorted: "x y" of a
// mark's corner, "x1 yLx2 y2" with the ends in sorted order for a line.
std::vector<std::string> drawnItems(const std::string& svg) {
    static const std::regex item("M(-?[0-9.]+ -?[0-9.]+)(L(-?[0-9.]+ -?[0-9.]+)|h)");
    std::vector<std::string> items;
    for (std::sregex_iterator i(svg.begin(), svg.end(), item), end; i != end; ++i) {
        const std::string a = (*i)[1], b = (*i)[3];
        items.push_back(b.empty() ? a : std::min(a, b) + "L" + std::max(a, b));
    }
    std::sort(items.begin(), items.end());
    return items;
}

// The pixel a PNG file has at (x, y) as "r g b a", alpha included.
std::string rgbaAt(const std::string& path, int x, int y) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return "unreadable";
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> rgba(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr);
    const png_byte* p = &rgba[4 * (std::size_t(y) * image.width + std::size_t(x))];
    return std::to_string(p[0]) + " " + std::to_string(p[1]) + " " + std::to_string(p[2]) + " " + std::to_string(p[3]);
}

class Headless : public WindowTest {
protected:
    // Runs the explorer in the working directory, DISPLAY removed from its
    // environment, on the shipped data's dodecahedron unless told otherwise.
    RunResult run(std::vector<std::string> args, bool dodecahedron = true) {
        if (dodecahedron) args.insert(args.begin(), shown.begin(), shown.end());
        args.insert(args.begin(), {"-u", "DISPLAY", PD_EXPLORER});
        return runProgram("/usr/bin/env", work.path().string(), "", 60.0, args);
    }
    void write(const std::vector<std::string>& args, bool dodecahedron = true) {
        const RunResult r = run(args, dodecahedron);
        EXPECT_TRUE(r.finished && r.status == 0 && r.err.empty()) << r.status << ": " << r.err;
    }
    // NAME.svg and NAME.png of the same arguments.
    void writeBoth(std::vector<std::string> args, const std::string& name) {
        for (const char* kind : {"svg", "png"}) {
            args.insert(args.end(), {std::string("--") + kind, name + "." + kind});
            write(args, false);
            args.resize(args.size() - 2);
        }
    }

    const std::vector<std::string> shown{".", "--solid", "4", "--angles", "20", "65", "--back", "dashed", "--numbers"};
};

// The window and the offscreen context are both Mesa's llvmpipe with the
// same GL state, so no difference is allowed at all: one differing pixel
// fails (measured: identical here, anti-aliasing is off in both).
TEST_F(Headless, PngIsTheWindowsPictureOfTheSameState) {
    write({"--png", "headless.png"});
    ProgramProcess explorer;
    ASSERT_TRUE(explorer.start(PD_EXPLORER, work.path().string(), shown));
    const XSession::WindowId window = x->waitForWindow("dodekaedar  x 20  y 65", 30.0);
    const RgbImage picture = x->waitUntilDrawn(window, 30.0);
    explorer.kill();
    x->waitUntilGone(window, 10.0);
    savePicture(picture, "window");
    EXPECT_TRUE(loadPng(work.file("headless.png")) == picture) << "headless.png is not window.png";
}

// Smooth by default, aliased on request: the aliased picture has only the
// background and the lines' colours; the smooth one differs from it only
// beside those lines (within a pixel), where its pixels shade between a
// line's colour and the background, hundreds of them.
TEST_F(Headless, SmoothPicturesShadeOnlyBesideTheAliasedLines) {
    write({".", "--solid", "2", "--png", "s.png"}, false);
    write({".", "--solid", "2", "--png", "a.png", "--aliased"}, false);
    const RgbImage smooth = loadPng(work.file("s.png")), aliased = loadPng(work.file("a.png"));
    ASSERT_EQ(smooth.width, aliased.width);
    const Pixel background{230, 230, 204}, blue{0, 0, 255}, red{255, 0, 0};
    int shaded = 0, astray = 0, unlike = 0;
    for (int y = 0; y < aliased.height; ++y)
        for (int x = 0; x < aliased.width; ++x) {
            const Pixel a = aliased.at(x, y), s = smooth.at(x, y);
            unlike += a != background && a != blue && a != red;
            if (s == a) continue;
            bool besideLine = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    besideLine |= aliased.contains(x + dx, y + dy) && aliased.at(x + dx, y + dy) != background;
            astray += !besideLine;
            // Between the background and blue, or red, or the two lines.
            shaded += s.b >= s.r && s.b >= s.g ? std::abs(int(s.r) - int(s.g)) <= 2 : s.g <= s.r;
        }
    EXPECT_EQ(unlike, 0);
    EXPECT_EQ(astray, 0);
    EXPECT_GT(shaded, 500);
}

TEST_F(Headless, SvgIsByteStableAndPutsEachMarkWhereThePngHasIt) {
    write({"--svg", "a.svg", "--show", "solid"});
    const std::string svg = work.read("a.svg");
    write({"--svg", "a.svg", "--show", "solid"});
    EXPECT_EQ(work.read("a.svg"), svg);
    write({"--png", "a.png", "--show", "solid"});
    const RgbImage png = loadPng(work.file("a.png"));
    int marks = 0;
    for (const std::string& item : drawnItems(svg)) {
        double x = 0, y = 0;
        if (item.find('L') != std::string::npos || std::sscanf(item.c_str(), "%lf %lf", &x, &y) != 2)
            continue;
        ++marks;  // the 2 x 2 middle pixels of the 4-pixel square are the mark's
        for (int d = 0; d < 4; ++d)
            EXPECT_EQ(describe(png.at(int(x) + 1 + d % 2, int(y) + 1 + d / 2)), describe({0, 0, 255}))
                << "mark at " << item;
    }
    EXPECT_EQ(marks, 20);

    // A turntable's first picture is the single picture; the next is turned.
    write({"--svg", "turn.svg", "--frames", "4", "--show", "solid"});
    EXPECT_EQ(work.read("turn-000.svg"), svg);
    EXPECT_NE(work.read("turn-001.svg"), svg);
    EXPECT_EQ(work.names().size(), 2u + 10u + 4u);  // a.svg, a.png, the ten files, four pictures
}

// What admesh, a checker of STL files of its own, reports of a file: its
// lines "NAME : NUMBER", by name.
std::map<std::string, double> admeshReport(const RunResult& r) {
    static const std::regex line(R"(([A-Za-z][A-Za-z0-9 ]*?) *: +(-?[0-9.]+))");
    std::map<std::string, double> report;
    for (std::sregex_iterator i(r.out.begin(), r.out.end(), line), end; i != end; ++i)
        report.emplace((*i)[1], std::stod((*i)[2]));
    return report;
}

// Each of the five solids printed, alone or as the dual shown, is one
// closed, outward surface with no fault for admesh, holding the volume the
// solid's closed form gives at the edge asked for (or at the default 60 mm
// across, which is the cube's edge), and the explorer reads it back as the
// solid it is. 3MF and glTF files are written by their options too.
TEST_F(Headless, StlOfEachSolidIsClosedWithItsVolumeAndReadsBackAsIt) {
    const double s5 = std::sqrt(5.0), a3 = 30.0 * 30.0 * 30.0;
    const std::tuple<std::vector<std::string>, double, const char*> cases[] = {
        {{"--solid", "1", "--show", "solid", "--edge-mm", "30"}, a3 / (6.0 * std::sqrt(2.0)), "V 4  E 6  F 4 "},
        {{"--solid", "2", "--show", "solid"}, 60.0 * 60.0 * 60.0, "V 8  E 12  F 6 "},
        {{"--solid", "2", "--show", "dual", "--edge-mm", "30"}, std::sqrt(2.0) / 3.0 * a3, "V 6  E 12  F 8 "},
        {{"--solid", "4", "--show", "solid", "--edge-mm", "30"}, (15.0 + 7.0 * s5) / 4.0 * a3, "V 20  E 30  F 12 "},
        {{"--solid", "4", "--show", "dual", "--edge-mm", "30"}, 5.0 * (3.0 + s5) / 12.0 * a3, "V 12  E 30  F 20 "},
        // The cube with its reciprocal octahedron, whose tips reach twice
        // the cube's half-edge: the cube and six pyramids of a^3/12 each.
        {{"--solid", "2", "--dual", "reciprocal", "--edge-mm", "30"}, 1.5 * a3, ""},
        // Two tetrahedra: one and eight tips of an eighth of it each.
        {{"--solid", "1", "--dual", "reciprocal", "--edge-mm", "30"}, 1.5 * a3 / (6.0 * std::sqrt(2.0)), ""},
        // Struts and balls of both, crossing where the edges do: one piece.
        {{"--solid", "2", "--dual", "reciprocal", "--print-as", "frame"}, -1.0, ""},
    };
    for (const auto& [args, volume, counts] : cases) {
        SCOPED_TRACE(args[1] + " " + args[3]);
        std::vector<std::string> stl = args;
        stl.insert(stl.begin(), ".");
        stl.insert(stl.end(), {"--stl", "p.stl", "--overwrite"});
        write(stl, false);
        const std::map<std::string, double> report =
            admeshReport(runProgram("/usr/bin/env", work.path().string(), "", 30.0, {"admesh", "p.stl"}));
        EXPECT_EQ(report.count("Number of facets"), 1u) << "admesh gave no report";
        for (const char* fault : {"Total disconnected facets", "Degenerate facets", "Edges fixed", "Facets removed",
                                  "Facets added", "Facets reversed", "Backwards edges", "Normals fixed"})
            EXPECT_EQ(report.count(fault) ? report.at(fault) : -1.0, 0.0) << fault;
        EXPECT_EQ(report.count("Number of parts") ? report.at("Number of parts") : 0.0, 1.0);
        // Within what the compound's surfaces are moved by to part where they touch.
        if (volume > 0) {
            EXPECT_NEAR(report.count("Volume") ? report.at("Volume") : 0.0, volume, 1e-5 * volume);
        }
        if (*counts == '\0') continue;
        const RunResult info = run({"p.stl", "--info"}, false);
        EXPECT_NE(info.out.substr(0, info.out.find('\n')).find(counts), std::string::npos) << info.out;
    }
    write({".", "--show", "solid", "--3mf", "p.3mf"}, false);
    write({".", "--show", "solid", "--glb", "p.glb"}, false);
    EXPECT_EQ(work.read("p.3mf").substr(0, 2), "PK");
    // The Khronos validator (installed by scripts/setup.sh test) finds
    // nothing to say of the glTF file.
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const std::string validator = (cache ? std::string(cache) : std::string(std::getenv("HOME")) + "/.cache") +
                                  "/platonic-duals/gltf-validator/node_modules/gltf-validator";
    const RunResult checked = runProgram(
        "/usr/bin/env", work.path().string(), "", 60.0,
        {"node", "-e",
         "require(process.argv[1]).validateBytes(new Uint8Array(require('fs').readFileSync(process.argv[2])))"
         ".then(r => { const i = r.issues; console.log(i.numErrors, i.numWarnings, i.numInfos, i.numHints); })",
         validator, "p.glb"});
    EXPECT_EQ(checked.out, "0 0 0 0\n") << checked.err;
}

// Every file is the same in each language, only what a person reads may
// change: Serbian asked for every way at once, LANG naming a locale whose
// numbers would take a decimal comma.
TEST_F(Headless, FilesAreTheSameInEveryLanguage) {
    for (const std::string output : {"png", "svg", "off", "stl", "3mf", "glb"}) {
        std::string english;
        for (const std::string language : {"en", "sr", "sr@latin"}) {
            const std::string name = language + "." + output;
            const RunResult r = runProgram("/usr/bin/env", work.path().string(), "", 60.0,
                                           {"-u", "DISPLAY", "LANG=sr_RS.UTF-8", "LANGUAGE=sr", PD_EXPLORER, ".",
                                            "--solid", "4", "--show", "solid", "--numbers", "--lang", language,
                                            "--" + output, name});
            EXPECT_TRUE(r.finished && r.status == 0 && r.err.empty()) << name << ": " << r.err;
            // lib3mf gives each 3MF fresh UUIDs and zip times: its model
            // is compared, without them.
            const std::string bytes =
                output != "3mf" ? work.read(name)
                                : std::regex_replace(runProgram("/usr/bin/env", work.path().string(), "", 30.0,
                                                                {"unzip", "-p", name, "3D/3dmodel.model"}).out,
                                                     std::regex(" p:UUID=\"[-0-9a-f]+\""), "");
            if (english.empty()) english = bytes;
            EXPECT_TRUE(!bytes.empty() && bytes == english) << name << " differs from en." << output;
        }
    }
}

TEST_F(Headless, OffOfTheDualReadBackDrawsTheDualsEdges) {
    for (const char* dual : {"program", "reciprocal"}) {
        SCOPED_TRACE(dual);
        write({".", "--solid", "2", "--dual", dual, "--show", "dual", "--off", "dual.off"}, false);
        write({".", "--solid", "2", "--dual", dual, "--show", "dual", "--angles", "20", "65", "--svg", "a.svg"}, false);
        write({"dual.off", "--show", "solid", "--angles", "20", "65", "--svg", "b.svg"}, false);
        const std::vector<std::string> drawn = drawnItems(work.read("a.svg"));
        EXPECT_EQ(drawn.size(), 12u + 6u);  // the octahedron's edges and vertices
        EXPECT_EQ(drawnItems(work.read("b.svg")), drawn);
    }
}

// The cube half way to its dual: a mark in the morph's purple at each of the
// cube's edge midpoints, turned and framed as the cube itself (the faint
// shells lie within it); an animation's pictures are the stages k / (N - 1).
TEST_F(Headless, MorphPictureMarksTheCubesEdgeMidpoints) {
    write({".", "--solid", "2", "--morph", "0.5", "--show", "solid", "--png", "m.png"}, false);
    const RgbImage png = loadPng(work.file("m.png"));
    const Result<std::vector<Model>> models = loadDirectoryModels(work.path().string());
    ASSERT_TRUE(models.ok()) << models.error().text();
    const Polyhedron& cube = models->at(1).solid;
    const Mat3 rx = rotationAboutX(30.0f), ry = rotationAboutY(45.0f);
    const auto turned = [&](Vec3 v) {
        const Vec3 t = rotateVec3(ry, rotateVec3(rx, v));
        return PlanePoint{t.x, t.y};
    };
    PlanePoint low = turned(cube.vertices[0]), high = low;
    for (const Vec3& v : cube.vertices) {
        const PlanePoint p = turned(v);
        low = {std::min(low.x, p.x), std::min(low.y, p.y)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y)};
    }
    const Camera camera = cameraFor(low, high);
    const Projection projection = projectionFor(camera, low, high, 1024, 700);
    for (const Edge& e : models->at(1).edges) {
        const Vec3 a = cube.vertices[std::size_t(e.a)], b = cube.vertices[std::size_t(e.b)];
        const PlanePoint mid = turned({(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2});
        const PixelPosition at = pixelOf(camera, projection, mid.x, mid.y);
        for (int d = 0; d < 4; ++d)  // the middle 2 x 2 pixels of the 4-pixel mark
            EXPECT_TRUE(shows(png.at(int(std::lround(at.x)) - 1 + d % 2, int(std::lround(at.y)) - 1 + d / 2),
                              {128, 0, 128}))
                << "edge " << e.a << "-" << e.b << " at " << at.x << " " << at.y;
    }
    write({".", "--solid", "2", "--svg", "plain.svg"}, false);
    write({".", "--solid", "2", "--morph", "0.5", "--svg", "half.svg"}, false);
    write({".", "--solid", "2", "--frames", "3", "--animate", "morph", "--svg", "m.svg"}, false);
    EXPECT_EQ(work.read("m-000.svg"), work.read("plain.svg"));
    EXPECT_EQ(work.read("m-001.svg"), work.read("half.svg"));
}

// A ring's reciprocal dual has no net: the ring's is printed alone, and
// one line says why the dual's is not.
TEST_F(Headless, NetWithoutTheDualsSaysWhyAndPrintsTheSolids) {
    const RunResult r = run({PD_SOURCE_DIR "/tests/data/model/ring.off", "--net", "r.svg"}, false);
    EXPECT_TRUE(r.finished && r.status == 0) << r.status;
    EXPECT_EQ(r.err, "duals-explorer: the reciprocal dual of ring has no net: face 0 has an edge of no length; "
                     "it is left out of the net\n");
    const std::string svg = work.read("r.svg");
    EXPECT_NE(svg.find(">ring (blue), mean edge"), std::string::npos);
}

// Run from elsewhere, the installed copy of the ten files is told of only
// when they are what is shown, not when read for the M of a notation.
TEST_F(Headless, TheInstalledFilesAreToldOfOnlyWhenShown) {
    namespace fs = std::filesystem;
    fs::create_directories(work.file("prefix/bin")), fs::create_directories(work.file("prefix/share/platonic-duals"));
    fs::create_directory(work.file("elsewhere"));
    fs::copy(PD_SOURCE_DIR "/data", work.file("prefix/share/platonic-duals/data"));
    std::error_code linked;
    fs::create_hard_link(PD_EXPLORER, work.file("prefix/bin/duals-explorer"), linked);
    if (linked) fs::copy_file(PD_EXPLORER, work.file("prefix/bin/duals-explorer"));
    for (const auto& [notation, told] : {std::pair{"", true}, std::pair{"tM", false}}) {
        std::vector<std::string> args{"--info"};
        if (*notation) args.insert(args.end(), {"--conway", notation});
        const RunResult r = runProgram(work.file("prefix/bin/duals-explorer"), work.file("elsewhere"), "", 60.0, args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err.find("the ten files are not in the current folder") != std::string::npos, told) << r.err;
    }
}

TEST_F(Headless, InfoPrintsTheCountsOfTheSolidItsDualAndTheMorph) {
    const RunResult r = run({".", "--solid", "4", "--morph", "0.25", "--info"}, false);
    EXPECT_TRUE(r.finished && r.status == 0 && r.err.empty()) << r.status << ": " << r.err;
    EXPECT_EQ(r.out,
              "solid: dodecahedron  V 20  E 30  F 12  V-E+F 2  faces: 12 pentagons\n"
              "dual: icosahedron  V 12  E 30  F 20  V-E+F 2  faces: 20 triangles\n"
              "morph: truncated dodecahedron (combinatorially)  V 60  E 90  F 32  V-E+F 2  faces: 20 triangles, 12 decagons\n");
}

TEST_F(Headless, RefusesBadRunsWithOneErrorAndStatus2LeavingNothing) {
    std::filesystem::create_directory(work.file("folder"));
    work.write("bad.off", "OFF\n4 1 0\n0 0 0\n1 0 0\n0 1 0\n0 0 1\n3 0 1 7\n");
    work.write("flat.off", scratch::readFile(scratch::sourcePath("tests/data/model/flat.off")));
    work.write("turn-001.svg", "an earlier run's");
    work.write("kept.stl", "an earlier print");
    work.write("bad.stl", "solid x\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\nvertex 0 1 zero\n");
    // A cube with its top pushed in to a point below it.
    work.write("dent.off", "9 9\n-1 -1 -1\n1 -1 -1\n1 1 -1\n-1 1 -1\n-1 -1 1\n1 -1 1\n1 1 1\n-1 1 1\n0 0 0.5\n"
                           "4 0 3 2 1\n4 0 1 5 4\n4 1 2 6 5\n4 2 3 7 6\n4 3 0 4 7\n"
                           "3 4 5 8\n3 5 6 8\n3 6 7 8\n3 7 4 8\n");
    const std::set<std::string> before = work.names();
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--size", "0x700", "--png", "x.png"}, "--size: 0x700: each side must be 1 to 16384 pixels\nusage: "},
        {{"--frames", "3", "--svg", "missing/t.svg"}, "missing/t-000.svg: the folder missing does not exist\n"},
        {{"--off", "folder"}, "folder: is a folder, not a file\n"},
        {{"--model", "kocka", "--png", "x.png"}, "--model kocka: no model of that name; the models are tetraedar, heksaedar,"},
        {{"missing", "--png", "x.png"}, "missing: cannot be read: No such file or directory\n"},
        {{"bad.off"}, "bad.off:7: face 0: vertex index 7 is outside 0..3\n"},
        {{"bad.stl"}, "bad.stl:6: 'zero' is not a number\n"},
        {{"--show", "solid", "--stl", "kept.stl"}, "kept.stl: already exists; --overwrite lets a print replace it\n"},
        {{"flat.off", "--show", "solid", "--stl", "flat.stl"}, "flat: no reciprocal dual, the program's is shown: face 0 "
         "lies in a plane through the centre, so it has no reciprocal\nduals-explorer: flat encloses no volume, so it "
         "cannot be printed\n"},
        // The first picture is written, the second's name is taken: the first goes again.
        {{"--frames", "3", "--svg", "turn.svg"},
         "turn-001.svg: already exists; --overwrite lets --frames replace existing pictures\n"},
        {{"flat.off", "--off", "flat-dual.off"}, "flat: no reciprocal dual, the program's is shown: face 0 lies in a "
         "plane through the centre, so it has no reciprocal\nduals-explorer: the program's dual of flat cannot be "
         "written as OFF: face 0 has 2 corners; a face needs at least 3\n"},
        {{"--png", "a.jpg"}, "--png a.jpg: the name ends in .jpg, not .png\n"},
        {{"--morph", "1.5", "--svg", "x.svg"}, "--morph: the stage must be a number from 0 to 1\nusage: "},
        {{"dent.off", "--morph", "0.5", "--png", "x.png"},
         "dent has no morph: it is not convex: vertex 7 lies outside the plane of face 5\n"},
        {{"--conway", "tXz", "--png", "x.png"}, "--conway: 'X' at 2 is not an operator\n"},
        {{"--conway", "t\xc3\xa9I", "--png", "x.png"}, "--conway: '\\xc3' at 2 is not an operator\n"},
        {{"--highlight", "face:7", "--png", "x.png"}, "--highlight face:7: heksaedar has 6 faces, numbered 1 to 6\n"},
        {{"--pick", "3,4", "--png", "x.png"}, "--pick needs --info, which prints what lies there\nusage: "},
    };
    for (const auto& [args, err] : cases) {
        const RunResult r = run(args, false);
        EXPECT_TRUE(r.finished && r.status == 2) << args[0] << ": " << r.status;
        EXPECT_EQ(r.err.substr(0, 16 + err.size()), "duals-explorer: " + err);
        EXPECT_EQ(work.names(), before);
    }
}

// What a click names, worked out from the files alone: each shaded face
// turned to the viewer (its corners' marks in the SVG go round clockwise on the
// screen), picked at the mean of those marks, is named with its dual
// vertex; lit, the dual vertex's mark (the dual's marks come in face
// order) takes the lit colour, and the face's fill shows between its centre
// and its corners.
TEST_F(Headless, PickNamesTheFaceThereAndHighlightLightsItWithItsDualVertex) {
    static const std::regex mark("M(-?[0-9.]+) (-?[0-9.]+)h([0-9.]+)");
    auto marks = [](const std::string& svg, const std::string& colour) {
        const std::size_t group = svg.find("<g stroke=\"" + colour + "\"");
        const std::size_t from = svg.find("fill=\"" + colour + "\" d=\"", group);
        std::vector<std::array<double, 2>> at;
        const std::string d = svg.substr(from, svg.find('"', from + 20) - from);
        for (std::sregex_iterator i(d.begin(), d.end(), mark), end; i != end; ++i)
            at.push_back({std::stod((*i)[1]) + std::stod((*i)[3]) / 2, std::stod((*i)[2]) + std::stod((*i)[3]) / 2});
        return at;
    };
    const char* const shapes[] = {"", "", "", "triangle", "square", "pentagon", "hexagon"};
    const std::pair<std::vector<std::string>, int> models[] = {{{".", "--solid", "2", "--faces", "shaded"}, 1},
                                                               {{"--conway", "tI", "--faces", "shaded"}, 0}};
    for (const auto& [model, base] : models) {
        auto with = [&](std::vector<std::string> more) {
            more.insert(more.begin(), model.begin(), model.end());
            return more;
        };
        const RunResult off = run(with({"--show", "solid", "--off", "-"}), false);
        const Result<Polyhedron> solid = readOff(off.out, "-");
        ASSERT_TRUE(solid.ok()) << off.err;
        // Both shells frame the picture wider than the solid alone.
        write(with({"--svg", "solid.svg", "--show", "solid"}), false);
        write(with({"--svg", "both.svg"}), false);
        const auto corners = marks(work.read("solid.svg"), "#0000ff");
        const auto litCorners = marks(work.read("both.svg"), "#0000ff"), dualVertices = marks(work.read("both.svg"), "#ff0000");
        ASSERT_EQ(corners.size(), solid->vertices.size());
        ASSERT_EQ(dualVertices.size(), std::size_t(solid->faceCount()));
        int picked = 0;
        for (int f = 0; f < solid->faceCount(); ++f) {
            const int n = solid->faceSize(f);
            auto centre = [&](const std::vector<std::array<double, 2>>& at) {
                std::array<double, 4> c{0, 0, 0, 1e9};  // x, y, the signed area, the nearest side
                for (int k = 0; k < n; ++k) {
                    const auto& a = at[std::size_t(solid->face(f)[k])];
                    const auto& b = at[std::size_t(solid->face(f)[(k + 1) % n])];
                    c[0] += a[0] / n, c[1] += a[1] / n, c[2] += a[0] * b[1] - b[0] * a[1];
                }
                for (int k = 0; k < n; ++k) {
                    const auto& a = at[std::size_t(solid->face(f)[k])];
                    const auto& b = at[std::size_t(solid->face(f)[(k + 1) % n])];
                    c[3] = std::min(c[3], std::fabs((b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0])) /
                                              std::hypot(b[0] - a[0], b[1] - a[1]));
                }
                return c;
            };
            const auto c = centre(corners);
            if (c[2] > 0 || c[3] < 8) continue;  // turned away, or seen too nearly edge on
            const std::string number = std::to_string(f + base);
            const RunResult r = run(
                with({"--show", "solid", "--info", "--pick", std::to_string(c[0]) + "," + std::to_string(c[1])}), false);
            EXPECT_EQ(r.out.substr(r.out.rfind('\n', r.out.size() - 2) + 1),
                      "face " + number + " (" + shapes[n] + ") - dual vertex " + number + "\n");
            if (picked++ > 0) continue;
            // The first face lit, with its dual vertex.
            write(with({"--highlight", "face:" + number, "--aliased", "--png", "lit.png"}), false);
            const RgbImage lit = loadPng(work.file("lit.png"));
            const auto& dv = dualVertices[std::size_t(f)];
            EXPECT_TRUE(shows(lit.at(int(dv[0]), int(dv[1])), {0, 153, 38}));
            const auto m = centre(litCorners);
            int filled = 0;
            for (int k = 0; k < n; ++k) {
                const auto& a = litCorners[std::size_t(solid->face(f)[k])];
                filled += shows(lit.at(int((m[0] + a[0]) / 2), int((m[1] + a[1]) / 2)), {140, 230, 115});
            }
            EXPECT_GT(filled, 0) << "face " << number;
        }
        EXPECT_GE(picked, 3);
    }
}

// Print settings, each through PNG and SVG: the SVG's strokes, marks, text
// and colours, and the PNG's background and first mark where the SVG puts
// them. "none" leaves the PNG's background transparent.
TEST_F(Headless, PrintSettingsReachBothPictures) {
    const std::tuple<std::vector<std::string>, std::vector<std::string>, std::string, std::string> cases[] = {
        // options, SVG fragments, PNG corner, PNG at the first mark
        {{"--size", "2048x1400", "--numbers=both"}, {"stroke-width=\"2\"", "h8v8", "font-size=\"20\" fill=\"#990000\""},
         "230 230 204 255", "0 0 255 255"},
        {{"--line-width", "3", "--font-px", "21", "--numbers"}, {"stroke-width=\"3\"", "h12v12", "font-size=\"30\" fill=\"#000000\""},
         "230 230 204 255", "0 0 255 255"},
        {{"--background", "#102030", "--palette", "colourblind"}, {"fill=\"#102030\"", "stroke=\"#0072b2\"", "stroke=\"#e69f00\""},
         "16 32 48 255", "0 114 178 255"},
        {{"--background", "none", "--back", "dashed"}, {"<path stroke-dasharray=\"4 4\" d=\"M"}, "255 255 255 0", "0 0 255 255"},
    };
    for (const auto& [options, fragments, corner, mark] : cases) {
        SCOPED_TRACE(options[0]);
        std::vector<std::string> args{".", "--solid", "2"};
        args.insert(args.end(), options.begin(), options.end());
        writeBoth(args, "p");
        const std::string svg = work.read("p.svg");
        for (const std::string& f : fragments) EXPECT_NE(svg.find(f), std::string::npos) << f;
        EXPECT_EQ(svg.find("<rect") == std::string::npos, corner.back() == '0');
        EXPECT_EQ(rgbaAt(work.file("p.png"), 0, 0), corner);
        double x = 0, y = 0;
        const std::size_t at = svg.find("stroke=\"none\"");
        ASSERT_EQ(std::sscanf(svg.c_str() + svg.find(" d=\"M", at) + 5, "%lf %lf", &x, &y), 2);
        const int half = std::stoi(svg.substr(svg.find('h', svg.find(" d=\"M", at)) + 1)) / 2;
        EXPECT_EQ(rgbaAt(work.file("p.png"), int(x) + half, int(y) + half), mark);
    }
    write({".", "--model", "Cube", "--svg", "alias.svg"}, false);
    write({".", "--solid", "2", "--svg", "solid.svg"}, false);
    EXPECT_EQ(work.read("alias.svg"), work.read("solid.svg"));
}

// The compound shaded, faces hiding edges: where the SVG's faces (filled
// here in their order, last over first) meet no line, the PNG shows the
// same colour at 97 of 100 pixels. (Measured 98 at this small size: the
// rest lie on borders, where faces pass through each other most, since
// the depth buffer and the cut put such a border up to a pixel apart.)
TEST_F(Headless, ShadedPngAgreesWithTheSvgsFaces) {
    const std::vector<std::string> args{".", "--solid", "2", "--dual", "reciprocal", "--faces", "shaded",
                                        "--back", "hidden", "--size", "320x240", "--aliased"};
    writeBoth(args, "c");
    const std::string svg = work.read("c.svg");
    const RgbImage png = loadPng(work.file("c.png"));
    static const std::regex face("<path fill=\"#([0-9a-f]{6})\" d=\"([^\"]*)z\"/>");
    std::vector<std::pair<Pixel, std::vector<double>>> polygons;
    for (std::sregex_iterator i(svg.begin(), svg.end(), face), end; i != end; ++i) {
        const unsigned long c = std::stoul((*i)[1], nullptr, 16);
        std::vector<double> xy;
        std::string d = (*i)[2];
        std::replace(d.begin(), d.end(), 'M', ' ');
        std::replace(d.begin(), d.end(), 'L', ' ');
        std::istringstream numbers(d);
        for (double v; numbers >> v;) xy.push_back(v);
        polygons.push_back({Pixel{std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)}, xy});
    }
    ASSERT_GT(polygons.size(), 14u);
    int compared = 0, agreeing = 0;
    for (int y = 0; y < png.height; ++y)
        for (int x = 0; x < png.width; ++x) {
            const Pixel seen = png.at(x, y);
            if (shows(seen, {0, 0, 255}) || shows(seen, {255, 0, 0})) continue;  // a line
            const Pixel* expected = nullptr;
            for (const auto& [colour, xy] : polygons) {
                bool inside = false;
                for (std::size_t i = 0, j = xy.size() - 2; i < xy.size(); j = i, i += 2)
                    if ((xy[i + 1] > y + 0.5) != (xy[j + 1] > y + 0.5) &&
                        x + 0.5 < xy[i] + (y + 0.5 - xy[i + 1]) * (xy[j] - xy[i]) / (xy[j + 1] - xy[i + 1]))
                        inside = !inside;
                if (inside) expected = &colour;
            }
            if (expected == nullptr) continue;
            ++compared;
            agreeing += shows(seen, *expected);
        }
    EXPECT_GT(compared, 20000);
    EXPECT_GT(agreeing, compared * 97 / 100) << agreeing << " of " << compared;
}

// explore.sh with no display: the headless picture for any arguments,
// the ten files of data/ when only options are given, and an end always.
TEST_F(Headless, ExploreScriptWithoutADisplayWritesThePicture) {
    write({PD_SOURCE_DIR "/data", "--solid", "2", "--png", "cube.png"}, false);
    write({PD_SOURCE_DIR "/data", "--solid", "3", "--png", "octahedron.png"}, false);
    const std::tuple<std::vector<std::string>, int, const char*> cases[] = {
        {{"--solid", "2"}, 0, "cube.png"},
        {{".", "--solid", "3"}, 0, "octahedron.png"},
        {{"missing.off"}, 2, ""},
    };
    for (const auto& [args, status, same] : cases) {
        std::vector<std::string> all{"-u", "DISPLAY", std::string("EXPLORER=") + PD_EXPLORER, "bash",
                                     PD_SOURCE_DIR "/explore.sh"};
        all.insert(all.end(), args.begin(), args.end());
        const RunResult r = runProgram("/usr/bin/env", work.path().string(), "", 60.0, all);
        EXPECT_TRUE(r.finished && r.status == status) << args[0] << ": " << r.status << " " << r.err;
        EXPECT_EQ(std::filesystem::exists(work.file("explorer.png")), *same != '\0') << args[0];
        if (*same) {
            EXPECT_EQ(loadPng(work.file("explorer.png")), loadPng(work.file(same))) << args[0];
        }
        std::filesystem::remove(work.file("explorer.png"));
    }
}

}  // namespace
