#include "explorer/options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

// A side of --size: digits only, read without overflow.
bool readSide(const std::string& text, int& side) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    side = std::atoi(text.c_str());
    return true;
}

// "WxH" with each side in 1..maxPictureSide; the error text otherwise.
std::string readSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos || !readSide(text.substr(0, x), width) ||
        !readSide(text.substr(x + 1), height))
        return "--size: '" + text + "' is not WIDTHxHEIGHT in pixels, like 1024x700";
    if (width < 1 || height < 1 || width > maxPictureSide || height > maxPictureSide)
        return "--size: " + text + ": each side must be 1 to " + std::to_string(maxPictureSide) +
               " pixels";
    return "";
}

}  // namespace

std::string usageLine() {
    return "usage: duals-explorer [DIR | FILE.off ...] [--png FILE | --svg FILE | --off FILE]"
           " [--angles A B] [--solid N | --model NAME] [--size WxH] [--show both|solid|dual]"
           " [--dual program|reciprocal] [--back dashed|hidden|drawn] [--numbers] [--frames N]"
           " [--animate turn|unfold] [--unfold T] [--net FILE.pdf|FILE.svg [--page a4|letter|a3]"
           " [--edge-mm L]]\n";
}

ParsedOptions parseOptions(const std::vector<std::string>& args) {
    ParsedOptions parsed;
    ExplorerOptions& o = parsed.options;

    CLI::App app{"Shows a polyhedron with its dual; saves pictures and models without a display.",
                 "duals-explorer"};
    app.add_option("inputs", o.inputs, "a directory with the ten solid files, or OFF files");
    std::string png, svg, off, size;
    auto* pngOption = app.add_option("--png", png, "write the picture as PNG, no window");
    auto* svgOption = app.add_option("--svg", svg, "write the picture as SVG, no window");
    auto* offOption = app.add_option("--off", off, "write the model and its dual as OFF, no window");
    std::string net;
    auto* netOption = app.add_option("--net", net, "write the paper net as PDF or SVG pages, no window");
    pngOption->excludes(svgOption)->excludes(offOption)->excludes(netOption);
    svgOption->excludes(offOption)->excludes(netOption);
    offOption->excludes(netOption);

    std::vector<double> angles;
    app.add_option("--angles", angles, "turn about x, then about y, in degrees (default 30 45)")
        ->expected(2);
    auto* solidOption =
        app.add_option("--solid", o.solid, "the solid: 1 tetrahedron .. 5 icosahedron")
            ->check(CLI::Range(1, 5));
    app.add_option("--model", o.model, "the model of that name")->excludes(solidOption);
    app.add_option("--size", size, "picture size in pixels (default 1024x700)");
    std::string show, dual, back;
    app.add_option("--show", show, "which shells: both|solid|dual")
        ->check(CLI::IsMember({"both", "solid", "dual"}));
    app.add_option("--dual", dual, "which dual: program|reciprocal")
        ->check(CLI::IsMember({"program", "reciprocal"}));
    app.add_option("--back", back, "back edges: dashed|hidden|drawn")
        ->check(CLI::IsMember({"dashed", "hidden", "drawn"}));
    app.add_flag("--numbers", o.numbers, "number the solid's vertices");
    auto* framesOption =
        app.add_option("--frames", o.frames, "write N pictures turning a full circle about y")
            ->check(CLI::Range(1, maxFrames));

    std::string animate, page;
    auto* animateOption = app.add_option("--animate", animate, "what --frames shows: turn|unfold")
                              ->check(CLI::IsMember({"turn", "unfold"}));
    auto* unfoldOption =
        app.add_option("--unfold", o.unfold, "folded open by T: 0 folded .. 1 flat")->check(CLI::Range(0.0, 1.0));
    auto* pageOption = app.add_option("--page", page, "the net's page: a4|letter|a3 (default a4)")
                           ->check(CLI::IsMember({"a4", "letter", "a3"}));
    auto* edgeOption = app.add_option("--edge-mm", o.edgeMm, "the net's mean edge in millimetres")
                           ->check(CLI::Range(0.0, maxEdgeMm));

    auto fail = [&](const std::string& what) {
        parsed.status = 2;
        parsed.text = "duals-explorer: " + what + "\n" + usageLine();
        return parsed;
    };
    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        parsed.status = 0;
        parsed.text = app.help();
        return parsed;
    } catch (const CLI::ParseError& e) {
        return fail(e.what());
    }

    if (!angles.empty()) {
        if (!std::isfinite(angles[0]) || !std::isfinite(angles[1]) ||
            std::fabs(angles[0]) > 3.4e38 || std::fabs(angles[1]) > 3.4e38)
            return fail("--angles: the angles must be finite numbers of degrees");
        o.a = static_cast<float>(angles[0]);
        o.b = static_cast<float>(angles[1]);
    }
    if (!size.empty()) {
        const std::string problem = readSize(size, o.width, o.height);
        if (!problem.empty()) return fail(problem);
    }
    if (!show.empty()) o.show = show == "solid" ? ShowMode::Solid : show == "dual" ? ShowMode::Dual : ShowMode::Both;
    if (!dual.empty()) o.dual = dual == "reciprocal" ? DualKind::Reciprocal : DualKind::Program;
    if (!back.empty())
        o.back = back == "dashed" ? BackEdges::Dashed : back == "hidden" ? BackEdges::Hidden : BackEdges::Drawn;
    if (*pngOption) o.output = OutputKind::Png, o.outputPath = png;
    if (*svgOption) o.output = OutputKind::Svg, o.outputPath = svg;
    if (*offOption) o.output = OutputKind::Off, o.outputPath = off;
    if (*netOption) o.output = OutputKind::Net, o.outputPath = net;
    if (o.output != OutputKind::Window && o.outputPath.empty())
        return fail("the output file name is empty");
    if (*framesOption && o.output != OutputKind::Png && o.output != OutputKind::Svg)
        return fail("--frames needs --png FILE or --svg FILE");
    if (*animateOption && !*framesOption) return fail("--animate needs --frames N");
    if (animate == "unfold") o.animate = Animation::Unfold;
    if (*unfoldOption && (o.output == OutputKind::Off || o.output == OutputKind::Net))
        return fail("--unfold is for pictures, not for --off or --net");
    if ((*pageOption || *edgeOption) && o.output != OutputKind::Net)
        return fail(std::string(*pageOption ? "--page" : "--edge-mm") + " needs --net FILE");
    if (*edgeOption && !(o.edgeMm > 0)) return fail("--edge-mm: the mean edge must be above 0 mm");
    if (page == "letter") o.page = PageSize::Letter;
    if (page == "a3") o.page = PageSize::A3;
    if (o.output == OutputKind::Net) {
        const std::size_t dot = net.rfind('.');
        const std::string ending = dot == std::string::npos ? "" : net.substr(dot);
        if (ending != ".pdf" && ending != ".svg") return fail("--net: " + net + " must end in .pdf or .svg");
    }
    return parsed;
}
