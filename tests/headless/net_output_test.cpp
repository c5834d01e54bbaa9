// The paper net as the explorer writes it: the PDF's pages counted by
// poppler's pdfinfo and its cube measured in the page's own drawing
// commands, the SVG pages' size and names, the scale refused beyond the
// page, and the cube folded open in the picture.

#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <cstdio>
#include <sstream>

#include "headless/headless_output.h"
#include "svg/svg_writer.h"
#include "explorer/unfold_view.h"
#include "scratch_dir.h"

using namespace pd;

namespace {

LoadedModels shippedSolids() {
    Result<LoadedModels> loaded = loadModelInputs({scratch::sourcePath("data")});
    EXPECT_TRUE(loaded.ok()) << loaded.error().text();
    return loaded ? std::move(*loaded) : LoadedModels{};
}

// Writes what the arguments ask for (of the cube unless they say); the
// error, empty when written.
std::string writeNet(const LoadedModels& loaded, std::vector<std::string> args) {
    if (args[0] != "--solid") args.insert(args.begin(), {"--solid", "2"});
    const ParsedOptions parsed = parseOptions(args);
    EXPECT_FALSE(parsed.exitStatus) << parsed.text;
    const Result<ViewState> start = startState(parsed.options, loaded);
    if (!start) return start.error().text();
    Session session(LoadedModels(loaded), *start);
    session.setNetSettings(parsed.options.net);
    const Status written = writeHeadlessOutput(parsed.options, session, nullptr);
    return written ? std::string() : written.error().text();
}

std::string commandOutput(const std::string& command) {
    std::string out;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

// The page's drawing commands: the PDF's one compressed stream that draws
// paths.
std::string pageContent(const std::string& pdf) {
    for (std::size_t at = pdf.find("stream\n"); at != std::string::npos; at = pdf.find("stream\n", at + 1)) {
        const std::size_t end = pdf.find("endstream", at);
        const std::string packed = pdf.substr(at + 7, end - at - 7);
        std::string text(1 << 20, '\0');
        uLongf size = text.size();
        if (uncompress(reinterpret_cast<Bytef*>(text.data()), &size, reinterpret_cast<const Bytef*>(packed.data()),
                       packed.size()) != Z_OK)
            continue;
        text.resize(size);
        if (text.find(" re") != std::string::npos || text.find(" l ") != std::string::npos) return text;
    }
    return "";
}

// The side lengths, in millimetres, of every path filled in `colour`
// ("r g b rg"), read from rectangles (re) and from polygons (m, l, h).
std::vector<double> filledSides(const std::string& content, const std::string& colour) {
    std::istringstream in(content);
    std::vector<double> numbers, sides;
    std::vector<std::pair<double, double>> path;
    std::string token, current;
    const double mm = 25.4 / 72;
    while (in >> token) {
        char* end = nullptr;
        const double v = std::strtod(token.c_str(), &end);
        if (*end == '\0') {
            numbers.push_back(v);
            continue;
        }
        const std::size_t n = numbers.size();
        if (token == "rg" && n >= 3) {
            std::ostringstream c;
            c << numbers[n - 3] << ' ' << numbers[n - 2] << ' ' << numbers[n - 1];
            current = c.str();
        } else if (token == "re" && n >= 4 && current == colour) {
            sides.insert(sides.end(), {numbers[n - 2] * mm, numbers[n - 1] * mm, numbers[n - 2] * mm, numbers[n - 1] * mm});
        } else if ((token == "m" || token == "l") && n >= 2) {
            if (token == "m" && !path.empty()) path.clear();
            path.push_back({numbers[n - 2], numbers[n - 1]});
        } else if (token == "h" && current == colour) {
            for (std::size_t i = 0; i < path.size(); ++i) {
                const auto a = path[i], b = path[(i + 1) % path.size()];
                sides.push_back(std::hypot(b.first - a.first, b.second - a.second) * mm);
            }
        }
        if (token == "h" || token == "re") path.clear();
        numbers.clear();
    }
    return sides;
}

}  // namespace

TEST(NetOutput, CubePdfAt40mmMeasures40mmOnThePagesItSays) {
    scratch::ScratchDir dir;
    const LoadedModels loaded = shippedSolids();
    ASSERT_EQ(writeNet(loaded, {"--net", dir.file("cube.pdf"), "--edge-mm", "40"}), "");
    const std::string info = commandOutput("pdfinfo '" + dir.file("cube.pdf") + "'");
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Page size:       595.276 x 841.89 pts (A4)"), std::string::npos) << info;
    const std::vector<double> sides = filledSides(pageContent(dir.read("cube.pdf")), "0.8 0.8 1");
    EXPECT_EQ(sides.size(), 24u);  // six squares
    for (double side : sides) EXPECT_NEAR(side, 40.0, 0.1);

    // Neither the PDF nor a one-page SVG replaces a file unasked.
    dir.write("one.svg", "a worksheet");
    for (const char* name : {"cube.pdf", "one.svg"}) {
        const std::string before = dir.read(name);
        EXPECT_NE(writeNet(loaded, {"--net", dir.file(name), "--edge-mm", "40"}).find("already exists; --overwrite"),
                  std::string::npos);
        EXPECT_EQ(dir.read(name), before);
        EXPECT_EQ(writeNet(loaded, {"--net", dir.file(name), "--edge-mm", "40", "--overwrite"}), "");
    }
    EXPECT_EQ(dir.read("one.svg").substr(0, 5), "<?xml");

    // Letter pages, the twelve pentagons and twenty triangles at the largest
    // scale: SVG pages named like a turntable's, one piece each.
    ASSERT_EQ(writeNet(loaded, {"--solid", "4", "--page", "letter", "--net", dir.file("d.svg")}), "");
    EXPECT_EQ(dir.names(), (std::set<std::string>{"cube.pdf", "one.svg", "d-000.svg", "d-001.svg"}));
    EXPECT_NE(dir.read("d-001.svg").find("width=\"215.9mm\" height=\"279.4mm\" viewBox=\"0 0 215.9 279.4\""),
              std::string::npos);
}

TEST(NetOutput, AnEdgeBeyondThePageIsRefusedNamingTheLargestThatFits) {
    scratch::ScratchDir dir;
    const LoadedModels loaded = shippedSolids();
    const std::string error = writeNet(loaded, {"--show", "solid", "--net", dir.file("a.svg"), "--edge-mm", "300"});
    const std::string lead = "--edge-mm 300: at a mean edge of 300.0 mm a piece does not fit an A4 page; "
                             "the largest mean edge that fits is ";
    ASSERT_EQ(error.substr(0, lead.size()), lead);
    const std::string largest = error.substr(lead.size(), error.size() - lead.size() - 3);
    // There one face fills a page: the net is cut into pieces, a page each.
    EXPECT_EQ(writeNet(loaded, {"--show", "solid", "--net", dir.file("a.svg"), "--edge-mm", largest}), "");
    const std::set<std::string> pages = dir.names();
    EXPECT_EQ(pages.size(), 6u);
    EXPECT_NE(dir.read("a-000.svg").find("width=\"210mm\" height=\"297mm\" viewBox=\"0 0 210 297\""), std::string::npos);
    const std::string beyond = std::to_string(std::stod(largest) + 0.2);
    EXPECT_NE(writeNet(loaded, {"--show", "solid", "--net", dir.file("b.svg"), "--edge-mm", beyond}), "");
    EXPECT_EQ(dir.names(), pages);
}

// Folded open all the way, at any view, every solid's net lies flat in one
// plane facing the viewer: every corner at one depth, every side as long
// on the screen as the solid's edge, no two faces overlapping. The cube's
// folds are drawn once.
TEST(NetOutput, UnfoldedNetsLieFlatFacingTheViewerWithoutOverlaps) {
    const LoadedModels solids = shippedSolids();
    for (const auto& [a, b] : {std::pair{30.0f, 45.0f}, {170.0f, 10.0f}, {90.0f, 180.0f}, {-60.0f, 250.0f}})
        for (int model = 0; model < 5; ++model) {
            ViewState state = initialViewState(false);
            state.show = ShowMode::Solid;
            state.faces = FaceStyle::Shaded;
            state.model = model;
            state.angleX = a, state.angleY = b;
            state.unfold = 1.0;
            Session session(LoadedModels(solids), state);
            const Frame frame = session.frame();
            const FrameShell& shell = frame.shells.at(0);
            if (model == 1) {
                EXPECT_EQ(shell.lines.size(), 2u * (24 - 5));  // 24 face sides, the 5 folds drawn once
            }
            const Model& m = solids.models[std::size_t(model)];
            const double edge = length(widen(m.solid.vertices[std::size_t(m.edges[0].a)]) -
                                       widen(m.solid.vertices[std::size_t(m.edges[0].b)]));
            for (std::size_t i = 0; i < shell.lines.size(); i += 2) {
                const std::uint32_t p = shell.lines[i], q = shell.lines[i + 1];
                EXPECT_NEAR(std::hypot(shell.xy[2 * p] - shell.xy[2 * q], shell.xy[2 * p + 1] - shell.xy[2 * q + 1]), edge,
                            1e-4 * edge) << m.name << " at " << a << " " << b;
            }
            for (float z : shell.z) {
                EXPECT_NEAR(z, shell.z[0], 1e-4 * edge) << m.name << " at " << a << " " << b;
            }
            // Convex faces overlap unless a side of one of them separates them.
            const FramePolygons& faces = frame.faces;
            const auto corner = [&](std::size_t f, std::uint32_t k) {
                const std::uint32_t c = faces.start[f] + k % (faces.start[f + 1] - faces.start[f]);
                return std::pair{double(faces.xyz[3 * c]), double(faces.xyz[3 * c + 1])};
            };
            const auto separated = [&](std::size_t f, std::size_t g) {
                for (std::uint32_t k = 0; k < faces.start[f + 1] - faces.start[f]; ++k) {
                    const auto [x0, y0] = corner(f, k);
                    const auto [x1, y1] = corner(f, k + 1);
                    const auto [x2, y2] = corner(f, k + 2);  // inside f
                    const double inside = (x1 - x0) * (y2 - y0) - (y1 - y0) * (x2 - x0);
                    bool all = true;
                    for (std::uint32_t j = 0; j < faces.start[g + 1] - faces.start[g] && all; ++j) {
                        const auto [x, y] = corner(g, j);
                        all = ((x1 - x0) * (y - y0) - (y1 - y0) * (x - x0)) * inside <= 1e-6 * edge * edge;
                    }
                    if (all) return true;
                }
                return false;
            };
            for (std::size_t f = 0; f + 1 < faces.start.size(); ++f)
                for (std::size_t g = f + 1; g + 1 < faces.start.size(); ++g)
                    EXPECT_TRUE(separated(f, g) || separated(g, f)) << m.name << " faces " << f << ", " << g;
        }
}
