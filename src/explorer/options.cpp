#include "explorer/options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <regex>

#include "base/translate.h"

namespace pd {

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
        return fill(tr("--size: '{1}' is not WIDTHxHEIGHT in pixels, like 1024x700"), {text});
    if (width < 1 || height < 1 || width > maxPictureSide || height > maxPictureSide)
        return fill(tr("--size: {1}: each side must be 1 to {2} pixels"), {text, std::to_string(maxPictureSide)});
    return "";
}

// white, none (no background) or #rrggbb; the error text otherwise.
std::string readBackground(const std::string& text, Rgb& colour, bool& transparent) {
    transparent = text == "none";
    if (transparent || text == "white") {
        colour = {1.0f, 1.0f, 1.0f};
        return "";
    }
    const bool hex = text.size() == 7 && text[0] == '#' &&
                     std::all_of(text.begin() + 1, text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
    if (!hex) return fill(tr("--background: '{1}' is not white, none or #rrggbb"), {text});
    const long value = std::strtol(text.c_str() + 1, nullptr, 16);
    colour = {float((value >> 16) & 255) / 255.0f, float((value >> 8) & 255) / 255.0f, float(value & 255) / 255.0f};
    return "";
}

// An output name's extension against its kind; "" when they agree or the
// name has none.
std::string extensionProblem(const std::string& option, const std::string& path, const char* kind) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (extension.empty() || extension == std::string(".") + kind) return "";
    return fill(tr("{1} {2}: the name ends in {3}, not .{4}"), {option, path, std::filesystem::path(path).extension().string(), kind});
}

// A whole or fractional number of millimetres as the help writes it.
std::string millimetres(double mm) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", mm);
    return text;
}

// CLI11 shows a flag's value when none is given inside its name
// (--numbers{solid}); the help names the optional value after it instead.
class HelpFormatter : public CLI::Formatter {
public:
    std::string make_option_name(const CLI::Option* option, bool positional) const override {
        const std::string name = CLI::Formatter::make_option_name(option, positional);
        return name.substr(0, name.find('{'));
    }
};

// Refuses NaN and infinities, which every range check lets through (a
// comparison with NaN is false either way).
const CLI::Validator finiteNumber(
    [](std::string& text) {
        char* end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        return end != text.c_str() && !std::isfinite(value) ? fill(tr("'{1}' is not a finite number"), {text}) : std::string();
    },
    "", "finite");

// What the command line gave, as CLI11 read it, for the checks after it.
struct Given {
    std::string png, svg, off, net, stl, threeMf, glb, printAs, size, show, dual, back, numbers, faces, background, palette, animate, page, style;
    std::string centre, pick;
    std::vector<double> angles;
    CLI::Option *png_ = nullptr, *svg_ = nullptr, *off_ = nullptr, *net_ = nullptr, *frames_ = nullptr,
                *overwrite_ = nullptr, *morph_ = nullptr, *info_ = nullptr, *unfold_ = nullptr, *page_ = nullptr,
                *edge_ = nullptr, *list_ = nullptr, *pick_ = nullptr, *highlight_ = nullptr, *stl_ = nullptr,
                *threeMf_ = nullptr, *glb_ = nullptr, *printAs_ = nullptr, *strut_ = nullptr, *node_ = nullptr,
                *sizeMm_ = nullptr;
};

// The files it writes instead of opening a window, one at a time.
void addOutputOptions(CLI::App& app, Given& g) {
    g.png_ = app.add_option("--png", g.png, tr("write the picture as PNG, no window (- for standard output)"));
    g.svg_ = app.add_option("--svg", g.svg, tr("write the picture as SVG, no window (- for standard output)"));
    g.off_ = app.add_option("--off", g.off, tr("write the model and its dual as OFF, no window (- for standard output)"));
    g.net_ = app.add_option("--net", g.net, tr("write the paper net as PDF or SVG pages, no window"));
    g.stl_ = app.add_option("--stl", g.stl, tr("write the model to print as binary STL, no window (- for standard output)"));
    g.threeMf_ = app.add_option("--3mf", g.threeMf, tr("write the model to print as 3MF, a part per shell in its colour"));
    g.glb_ = app.add_option("--glb", g.glb, tr("write the model as binary glTF, a node per shell in its colour"));
    const std::vector<CLI::Option*> outputs{g.png_, g.svg_, g.off_, g.net_, g.stl_, g.threeMf_, g.glb_};
    for (std::size_t i = 0; i < outputs.size(); ++i)
        for (std::size_t j = i + 1; j < outputs.size(); ++j) outputs[i]->excludes(outputs[j]);
}

// How a print is made and how large.
void addPrintOptions(CLI::App& app, ExplorerOptions& o, Given& g) {
    g.printAs_ = app.add_option("--print-as", g.printAs, tr("a print's kind: solid (each shell closed, the default) or "
                                                         "frame (struts and balls)"))
                     ->check(CLI::IsMember({"solid", "frame"}));
    g.strut_ = app.add_option("--strut-mm", o.print.strutMm,
                              fill(tr("a frame's struts across, in millimetres (default {1}, at least {2})"),
                                   {millimetres(defaultStrutMm), millimetres(minStrutMm)}))
                   ->check(finiteNumber)
                   ->check(CLI::Range(minStrutMm, maxEdgeMm));
    g.node_ = app.add_option("--node-mm", o.print.nodeMm,
                             fill(tr("a frame's balls across, in millimetres (default {1} struts)"), {millimetres(nodePerStrut)}))
                  ->check(finiteNumber)
                  ->check(CLI::Range(minStrutMm, maxEdgeMm));
    g.sizeMm_ = app.add_option("--size-mm", o.print.sizeMm,
                               fill(tr("a print's longest extent in millimetres (default {1})"), {millimetres(defaultPrintSizeMm)}))
                    ->check(finiteNumber)
                    ->check(CLI::Range(minEdgeMm, maxEdgeMm));
}

// What is shown and how, up to the frames --frames writes.
void addViewOptions(CLI::App& app, ExplorerOptions& o, Given& g) {
    app.add_option("--angles", g.angles, tr("turn about x, then about y, in degrees (default 30 45)"))
        ->expected(2);
    auto* solidOption =
        app.add_option("--solid", o.solid, tr("the solid: 1 tetrahedron .. 5 icosahedron"))
            ->check(CLI::Range(1, 5));
    app.add_option("--model", o.model, tr("the model of that name"))->excludes(solidOption);
    app.add_option("--size", g.size, tr("picture size in pixels (default 1024x700)"));
    app.add_option("--show", g.show, tr("which shells: both|solid|dual"))
        ->check(CLI::IsMember({"both", "solid", "dual"}));
    app.add_option("--dual", g.dual, tr("which dual: program|reciprocal"))
        ->check(CLI::IsMember({"program", "reciprocal"}));
    app.add_option("--back", g.back, tr("back edges: dashed|hidden|drawn"))
        ->check(CLI::IsMember({"dashed", "hidden", "drawn"}));
    app.add_flag("--numbers{solid}", g.numbers, tr("number the vertices: solid (the default), dual or both"))
        ->check(CLI::IsMember({"solid", "dual", "both"}))
        ->option_text("[solid|dual|both]");
    app.add_option("--faces", g.faces, tr("faces: off|shaded|translucent"))
        ->check(CLI::IsMember({"off", "shaded", "translucent"}));
    g.frames_ =
        app.add_option("--frames", o.frames, tr("write N pictures turning a full circle about y"))
            ->check(CLI::Range(1, maxFrames));
    g.overwrite_ =
        app.add_flag("--overwrite", o.overwrite, tr("let --frames or --net replace pictures or pages already there (else refused)"));
    app.add_flag("--aliased", o.view.aliased, tr("PNG pictures without anti-aliasing: the console program's very pixels"));
    app.add_flag("--turntable", o.view.turntable,
                 tr("the first angle raises the camera; turns go about the model's own up axis"));
    app.add_option("--line-width", o.view.lineWidth, tr("line width in pixels (default grows with the size)"))
        ->check(finiteNumber)
        ->check(CLI::Range(0.1, 64.0));
    app.add_option("--font-px", o.view.fontPx, tr("height of the numbers in pixels (default grows with the size)"))
        ->check(CLI::Range(1, 512));
    app.add_option("--background", g.background, tr("white, none (transparent) or #rrggbb"));
    app.add_option("--style", g.style,
                   // xgettext:no-c-format
                   tr("print: white, a 5% margin, heavier lines, larger numbers with a halo; screen: the program's look (default)"))
        ->check(CLI::IsMember({"screen", "print"}));
    app.add_option("--palette", g.palette, tr("classic (blue and red) or colourblind (blue and orange)"))
        ->check(CLI::IsMember({"classic", "colourblind", "colorblind"}));
    g.morph_ = app.add_option("--morph", o.view.morph, tr("the morph's stage, 0 (the solid) to 1 (the dual)"))
                   ->check(finiteNumber);
    app.add_option("--animate", g.animate, tr("what --frames changes: turn|morph|both|unfold"))
        ->check(CLI::IsMember({"turn", "morph", "both", "unfold"}));
}

// --info, the fold, and the paper net's page and scale.
void addLastOptions(CLI::App& app, ExplorerOptions& o, Given& g) {
    g.info_ = app.add_flag("--info")->description(tr("print the counts of the solid, its dual and the morph"));
    for (CLI::Option* output : {g.png_, g.svg_, g.off_, g.net_, g.stl_, g.threeMf_, g.glb_}) g.info_->excludes(output);
    g.unfold_ =
        app.add_option("--unfold", o.view.unfold, tr("folded open by T: 0 folded .. 1 flat"))
            ->check(finiteNumber)
            ->check(CLI::Range(0.0, 1.0));
    g.page_ = app.add_option("--page", g.page, tr("the net's page: a4|letter|a3 (default a4)"))
                  ->check(CLI::IsMember({"a4", "letter", "a3"}));
    g.edge_ = app.add_option("--edge-mm", o.net.edgeMm,
                             fill(tr("the mean edge of the net or of the print's first shell in millimetres, {1} to {2} "
                                     "(default: the net's largest that fits)"),
                                  {millimetres(minEdgeMm), millimetres(maxEdgeMm)}))
                  ->check(finiteNumber)
                  ->check(CLI::Range(minEdgeMm, maxEdgeMm));
    app.add_option("--lang", o.language,
                   tr("the language of the window, messages and help: en, sr (Cyrillic) or sr@latin "
                      "(default: as LANGUAGE, LC_ALL, LC_MESSAGES or LANG ask)"))
        ->check(CLI::IsMember({"en", "sr", "sr@latin"}));
}

// The models besides the inputs, how they are made, and what is lit or
// picked.
void addModelOptions(CLI::App& app, ExplorerOptions& o, Given& g) {
    app.add_option("--conway", o.conway,
                   tr("a model in Conway's notation, operators applied right to left to a seed: T C O D I P<n> A<n> Y<n> "
                   "or M (the model the inputs give); operators d a t k j e o b g s n z m (k<n>, t<n>); repeatable"))
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--catalogue", o.catalogue, tr("load the named solids: platonic|archimedean|catalan|all"))
        ->check(CLI::IsMember({"platonic", "archimedean", "catalan", "all"}));
    app.add_flag("--canonical", o.canonical,
                 tr("OFF models in canonical form: every edge touching the unit sphere, faces flat (always so for --conway)"));
    app.add_option("--centre", g.centre,
                   tr("the reciprocal dual's centre for models not canonical: midsphere (default, the sphere the edges best "
                   "touch) or vertices (their mean)"))
        ->check(CLI::IsMember({"vertices", "midsphere"}));
    g.highlight_ = app.add_option("--highlight", o.highlight,
                                  tr("light a part and its dual part in the picture: face:N, vertex:N or edge:N"));
    g.pick_ = app.add_option("--pick", g.pick, tr("with --info: what lies at pixel X,Y of the picture"));
    g.list_ = app.add_flag("--list")->description(tr("print one line per loaded model: number, name and counts"));
}

// "X,Y", two finite numbers; false otherwise.
bool readPick(const std::string& text, double& x, double& y) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) return false;
    const std::string first = text.substr(0, comma), second = text.substr(comma + 1);
    char *end1 = nullptr, *end2 = nullptr;
    x = std::strtod(first.c_str(), &end1);
    y = std::strtod(second.c_str(), &end2);
    return !first.empty() && !second.empty() && *end1 == '\0' && *end2 == '\0' && std::isfinite(x) &&
           std::isfinite(y);
}

// The view's settings given as words or numbers; what is wrong, or "".
std::string readView(const Given& g, ExplorerOptions& o) {
    if (!g.angles.empty()) {
        if (!std::isfinite(g.angles[0]) || !std::isfinite(g.angles[1]))
            return tr("--angles: the angles must be finite numbers of degrees");
        // The view holds its angles as floats.
        if (std::fabs(g.angles[0]) > 3.4e38 || std::fabs(g.angles[1]) > 3.4e38)
            return tr("--angles: each angle must be from -3.4e38 to 3.4e38 degrees");
        o.view.angleX = static_cast<float>(g.angles[0]);
        o.view.angleY = static_cast<float>(g.angles[1]);
    }
    if (!g.size.empty()) {
        const std::string problem = readSize(g.size, o.view.width, o.view.height);
        if (!problem.empty()) return problem;
    }
    const std::string& show = g.show;
    if (!show.empty()) o.view.show = show == "solid" ? ShowMode::Solid : show == "dual" ? ShowMode::Dual : ShowMode::Both;
    if (!g.dual.empty()) o.dual = g.dual == "reciprocal" ? DualKind::Reciprocal : DualKind::Program;
    const std::string& back = g.back;
    if (!back.empty())
        o.view.back = back == "dashed" ? BackEdges::Dashed : back == "hidden" ? BackEdges::Hidden : BackEdges::Drawn;
    o.view.numbers = g.numbers == "solid" || g.numbers == "both";
    o.view.dualNumbers = g.numbers == "dual" || g.numbers == "both";
    const std::string& faces = g.faces;
    if (!faces.empty())
        o.view.faces = faces == "shaded" ? FaceStyle::Shaded : faces == "translucent" ? FaceStyle::Translucent : FaceStyle::Off;
    if (!g.background.empty()) {
        const std::string problem = readBackground(g.background, o.view.background, o.view.transparent);
        if (!problem.empty()) return problem;
    }
    if (!g.palette.empty()) o.view.palette = g.palette == "classic" ? PaletteKind::Classic : PaletteKind::Colourblind;
    // The style sets only what no option of its own sets, wherever it
    // stands on the line.
    if (g.style == "print") {
        o.view.style = Style::Print;
        if (g.background.empty()) o.view.background = Rgb{1.0f, 1.0f, 1.0f};
    }
    return "";
}

// How a print is made, checked against the output; what is wrong, or "".
std::string readPrint(const Given& g, ExplorerOptions& o) {
    for (const auto& [option, name] : {std::pair{g.printAs_, "--print-as"}, std::pair{g.strut_, "--strut-mm"},
                                       std::pair{g.node_, "--node-mm"}, std::pair{g.sizeMm_, "--size-mm"}})
        if (*option && !printOutput(o.output)) return fill(tr("{1} needs --stl, --3mf or --glb FILE"), {name});
    if (g.printAs == "frame") o.print.kind = PrintKind::Frame;
    if ((*g.strut_ || *g.node_) && o.print.kind != PrintKind::Frame)
        return fill(tr("{1} goes with --print-as frame"), {*g.strut_ ? "--strut-mm" : "--node-mm"});
    if (*g.node_ && o.print.nodeMm < o.print.strutMm)
        return fill(tr("--node-mm: the balls ({1} mm) cannot be narrower than the struts ({2} mm)"),
                    {millimetres(o.print.nodeMm), millimetres(o.print.strutMm)});
    if (*g.sizeMm_ && *g.edge_) return tr("--size-mm and --edge-mm both set the print's size; give one");
    if (printOutput(o.output)) o.print.edgeMm = o.net.edgeMm;
    return "";
}

// The output asked for and the options that only go with some outputs;
// what is wrong, or "".
std::string readOutput(const Given& g, ExplorerOptions& o) {
    if (*g.png_) o.output = OutputKind::Png, o.outputPath = g.png;
    if (*g.svg_) o.output = OutputKind::Svg, o.outputPath = g.svg;
    if (*g.off_) o.output = OutputKind::Off, o.outputPath = g.off;
    if (*g.net_) o.output = OutputKind::Net, o.outputPath = g.net;
    if (*g.stl_) o.output = OutputKind::Stl, o.outputPath = g.stl;
    if (*g.threeMf_) o.output = OutputKind::ThreeMf, o.outputPath = g.threeMf;
    if (*g.glb_) o.output = OutputKind::Glb, o.outputPath = g.glb;
    if (o.output != OutputKind::Window && o.outputPath.empty()) return tr("the output file name is empty");
    const char* kinds[] = {"", "png", "svg", "off", "", "", "", "stl", "3mf", "glb"};
    if (*kinds[int(o.output)] != '\0') {
        const std::string problem = extensionProblem(std::string("--") + kinds[int(o.output)], o.outputPath,
                                                     kinds[int(o.output)]);
        if (!problem.empty()) return problem;
    }
    if (*g.frames_ && o.output != OutputKind::Png && o.output != OutputKind::Svg)
        return tr("--frames needs --png FILE or --svg FILE");
    if (*g.frames_ && o.outputPath == "-")
        return tr("--frames writes files of their own; it cannot write to standard output (-)");
    if (*g.overwrite_ && !*g.frames_ && !*g.net_ && !printOutput(o.output))
        return tr("--overwrite goes with --frames, --net or a print (--stl, --3mf, --glb)");
    if (*g.morph_ && !(o.view.morph >= 0.0 && o.view.morph <= 1.0))
        return tr("--morph: the stage must be a number from 0 to 1");
    if (!g.animate.empty()) {
        if (!*g.frames_) return tr("--animate needs --frames N");
        o.animate = g.animate == "morph"    ? Animation::Morph
                    : g.animate == "both"   ? Animation::Both
                    : g.animate == "unfold" ? Animation::Unfold
                                            : Animation::Turn;
        if ((o.animate == Animation::Morph || o.animate == Animation::Both) && *g.morph_)
            return fill(tr("--morph cannot go with --animate {1}, which runs the stage from 0 to 1"), {g.animate});
    }
    if (*g.info_) o.output = OutputKind::Info;
    if (*g.list_) {
        if (o.output != OutputKind::Window) return tr("--list prints the models; it goes with no other output");
        o.output = OutputKind::List;
    }
    if (*g.pick_) {
        if (o.output != OutputKind::Info) return tr("--pick needs --info, which prints what lies there");
        if (!readPick(g.pick, o.pickX, o.pickY)) return fill(tr("--pick: '{1}' is not X,Y in pixels, like 512,350"), {g.pick});
        o.pick = true;
    }
    if (*g.highlight_) {
        if (o.highlight.empty()) return tr("--highlight: the part is empty; give face:N, vertex:N or edge:N");
        // A lit part belongs to the model itself: a stage of the morph or
        // the fold, or the net's pages, would show it nowhere.
        const bool staged = (*g.morph_ && o.view.morph > 0.0) || (*g.unfold_ && o.view.unfold > 0.0) ||
                            (*g.frames_ && o.animate != Animation::Turn);
        if (o.output == OutputKind::Net || o.output == OutputKind::Off || printOutput(o.output))
            return o.output == OutputKind::Net   ? tr("--highlight lights a picture, not the net's pages")
                   : o.output == OutputKind::Off ? tr("--highlight lights a picture, not an OFF file")
                                                 : tr("--highlight lights a picture, not a print");
        if (staged && (o.output == OutputKind::Png || o.output == OutputKind::Svg))
            return tr("--highlight lights the model itself, not a stage of the morph or the fold");
    }
    if (!g.centre.empty()) o.centre = g.centre == "vertices" ? DualCentre::Vertices : DualCentre::Midsphere;
    if (*g.unfold_ && (o.output == OutputKind::Off || o.output == OutputKind::Net || printOutput(o.output)))
        return tr("--unfold is for pictures, not for --off, --net or a print");
    if (*g.page_ && o.output != OutputKind::Net) return tr("--page needs --net FILE");
    if (*g.edge_ && o.output != OutputKind::Net && !printOutput(o.output))
        return tr("--edge-mm needs --net FILE or a print (--stl, --3mf or --glb FILE)");
    const std::string problem = readPrint(g, o);
    if (!problem.empty()) return problem;
    if (g.page == "letter") o.net.page = PageSize::Letter;
    if (g.page == "a3") o.net.page = PageSize::A3;
    if (o.output == OutputKind::Net) {
        const std::size_t dot = g.net.rfind('.');
        const std::string ending = dot == std::string::npos ? "" : g.net.substr(dot);
        if (ending != ".pdf" && ending != ".svg") return fill(tr("--net: {1} must end in .pdf or .svg"), {g.net});
    }
    return "";
}

// CLI11's refusals in the reader's language: each of its forms the
// options can meet, matched whole, its parts put into the translation. The
// English ids are CLI11's own words, so English reads exactly as before;
// a form not listed stays as CLI11 wrote it.
std::string translatedParseError(const std::string& what) {
    static const struct {
        std::regex form;
        const char* english;
    } forms[] = {
        {std::regex("The following argument was not expected: (.*)"), N_("The following argument was not expected: {1}")},
        {std::regex("The following arguments were not expected: (.*)"),
         N_("The following arguments were not expected: {1}")},
        {std::regex("(\\S+): Value (\\S+) not in range (\\S+) to (\\S+)"), N_("{1}: Value {2} not in range {3} to {4}")},
        {std::regex("(\\S+): (.*) not in (\\{.*\\})"), N_("{1}: {2} not in {3}")},
        {std::regex("(\\S+): At least (\\d+) required but received (\\d+)"),
         N_("{1}: At least {2} required but received {3}")},
        {std::regex("(\\S+) excludes (\\S+)"), N_("{1} excludes {2}")},
        {std::regex("(\\S+) requires (\\S+)"), N_("{1} requires {2}")},
        {std::regex("(\\S+): (\\S+) required (.*) missing"), N_("{1}: {2} required {3} missing")},
        {std::regex("Could not convert: (.*)"), N_("Could not convert: {1}")},
    };
    std::smatch parts;
    for (const auto& f : forms)
        if (std::regex_match(what, parts, f.form)) {
            // One pass, so braces in what the user typed stay as typed.
            std::string out;
            for (const char* p = tr(f.english); *p != '\0'; ++p) {
                const std::size_t k = p[0] == '{' && p[1] >= '1' && p[1] <= '9' && p[2] == '}' ? p[1] - '0' : 0;
                if (k > 0 && k < parts.size()) {
                    out += parts[k].str();
                    p += 2;
                } else {
                    out += *p;
                }
            }
            return out;
        }
    return what;
}

}  // namespace

std::string languageOption(const std::vector<std::string>& args) {
    std::string language;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--lang" && i + 1 < args.size()) language = args[++i];
        if (args[i].rfind("--lang=", 0) == 0) language = args[i].substr(7);
    }
    return language;
}

std::string usageLine() {
    // TRANSLATORS: the options and their values stay as they are typed.
    return tr("usage: duals-explorer [DIR | FILE.off | FILE.stl ...] [--png FILE | --svg FILE | --off FILE]"
           " [--angles A B] [--solid N | --model NAME] [--size WxH] [--show both|solid|dual]"
           " [--dual program|reciprocal] [--back dashed|hidden|drawn] [--numbers [solid|dual|both]]"
           " [--faces off|shaded|translucent] [--frames N [--overwrite]] [--turntable] [--aliased] [--line-width PX]"
           " [--font-px N] [--style screen|print] [--background white|none|#rrggbb] [--palette classic|colourblind]"
           " [--morph T] [--animate turn|morph|both|unfold] [--info] [--unfold T]"
           " [--net FILE.pdf|FILE.svg [--page a4|letter|a3] [--edge-mm L] [--overwrite]]"
           " [--conway NOTATION ...] [--catalogue platonic|archimedean|catalan|all] [--canonical]"
           " [--centre midsphere|vertices] [--highlight face:N|vertex:N|edge:N] [--pick X,Y] [--list]"
           " [--stl FILE | --3mf FILE | --glb FILE [--print-as solid|frame] [--strut-mm D] [--node-mm D]"
           " [--size-mm L | --edge-mm L] [--overwrite]] [--lang en|sr|sr@latin]\n");
}

ParsedOptions parseOptions(const std::vector<std::string>& args, const std::string& version) {
    ParsedOptions parsed;
    ExplorerOptions& o = parsed.options;

    CLI::App app{tr("Shows a polyhedron with its dual; saves pictures and models without a display."),
                 "duals-explorer"};
    app.footer(tr(
        "With no input it reads the ten solid files of the current directory or, when\n"
        "none of them is there, the copy installed with it (PREFIX/share/platonic-duals/data).\n"
        "Without --png, --svg, --off, --net, --stl, --3mf, --glb or --info it opens a\n"
        "window; with one of them it writes that output and needs no display. The\n"
        "window starts from the state the options describe: arrows or a left drag turn,\n"
        "1..5 pick a solid, Tab the next model, d c b n change what is drawn, s saves a\n"
        "PNG, ? lists every key, q quits.\n"
        "Exit status: 0, or 2 for a bad option or an input that cannot be read."));
    // CLI11's own words in the help, in the reader's language too.
    auto formatter = std::make_shared<HelpFormatter>();
    for (const char* label : {N_("Usage"), N_("OPTIONS"), N_("Positionals"), N_("Excludes"), N_("Needs"), N_("REQUIRED"),
                              N_("TEXT"), N_("INT"), N_("UINT"), N_("FLOAT")})
        formatter->label(label, tr(label));
    app.formatter(formatter);
    app.option_defaults()->group(tr("Options"));
    app.set_help_flag("-h,--help", tr("Print this help message and exit"));
    if (!version.empty()) app.set_version_flag("--version", version, tr("Print the version and exit"));
    app.add_option("inputs", o.inputs, tr("a directory with the ten solid files, or OFF or STL files"));
    Given given;
    addOutputOptions(app, given);
    addViewOptions(app, o, given);
    addLastOptions(app, o, given);
    addPrintOptions(app, o, given);
    addModelOptions(app, o, given);

    auto fail = [&](const std::string& what) {
        parsed.exitStatus = 2;
        parsed.text = what + "\n" + usageLine();
        return parsed;
    };
    try {
        // `--numbers dual` as the help writes it: the word after the flag is
        // its value when it is one of the three, else an input.
        std::vector<std::string> joined;
        for (std::size_t i = 0; i < args.size(); ++i) {
            const bool value = i + 1 < args.size() &&
                               (args[i + 1] == "solid" || args[i + 1] == "dual" || args[i + 1] == "both");
            joined.push_back(args[i] == "--numbers" && value ? "--numbers=" + args[++i] : args[i]);
        }
        std::vector<std::string> reversed(joined.rbegin(), joined.rend());  // CLI11 takes them last first
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        parsed.exitStatus = 0;
        parsed.text = app.help();
        return parsed;
    } catch (const CLI::CallForVersion& e) {
        parsed.exitStatus = 0;
        parsed.text = e.what() + std::string("\n");
        return parsed;
    } catch (const CLI::ParseError& e) {
        return fail(translatedParseError(e.what()));
    }
    std::string problem = readView(given, o);
    if (problem.empty()) problem = readOutput(given, o);
    if (!problem.empty()) return fail(problem);
    return parsed;
}

}  // namespace pd
