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
           " [--morph T] [--animate turn|morph|both] [--info]\n";
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
    pngOption->excludes(svgOption)->excludes(offOption);
    svgOption->excludes(offOption);

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
    auto* morphOption = app.add_option("--morph", o.morph, "the morph's stage, 0 (the solid) to 1 (the dual)");
    std::string animate;
    app.add_option("--animate", animate, "what --frames changes: turn|morph|both")
        ->check(CLI::IsMember({"turn", "morph", "both"}));
    auto* infoOption = app.add_flag("--info", "print the counts of the solid, its dual and the morph");
    infoOption->excludes(pngOption)->excludes(svgOption)->excludes(offOption);

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
    if (o.output != OutputKind::Window && o.outputPath.empty())
        return fail("the output file name is empty");
    if (*framesOption && o.output != OutputKind::Png && o.output != OutputKind::Svg)
        return fail("--frames needs --png FILE or --svg FILE");
    if (*morphOption && !(o.morph >= 0.0 && o.morph <= 1.0))
        return fail("--morph: the stage must be a number from 0 to 1");
    if (!animate.empty()) {
        if (!*framesOption) return fail("--animate needs --frames N");
        o.animate = animate == "morph" ? Animation::Morph : animate == "both" ? Animation::Both : Animation::Turn;
        if (o.animate != Animation::Turn && *morphOption)
            return fail("--morph cannot go with --animate " + animate + ", which runs the stage from 0 to 1");
    }
    if (*infoOption) o.output = OutputKind::Info;
    return parsed;
}
