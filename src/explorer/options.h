#pragma once

#include <optional>
#include <string>
#include <vector>

#include "view/view_state.h"
#include "nets/net_layout.h"
#include "polyhedra/reciprocal_dual.h"
#include "print/shell_print.h"

namespace pd {

// The explorer's command line. Without an output option it opens its window;
// with --png, --svg or --off it writes that file (or, with --frames, a turn
// of pictures), with --net the paper net as PDF or SVG pages, with --stl,
// --3mf or --glb the model to print, and needs no display at all.

enum class OutputKind { Window, Png, Svg, Off, Info, Net, List, Stl, ThreeMf, Glb };

// Whether `kind` is a model to print: STL, 3MF or binary glTF.
inline bool printOutput(OutputKind kind) {
    return kind == OutputKind::Stl || kind == OutputKind::ThreeMf || kind == OutputKind::Glb;
}

// What changes from picture to picture of --frames: the turn, the morph's
// stage from 0 to 1, both, or the net folding open (T = k / (N - 1)).
enum class Animation { Turn, Morph, Both, Unfold };

// How a paper net is laid out: its page and the mean edge on paper
// (0: the largest that fits).
struct NetSettings {
    PageSize page = PageSize::A4;
    double edgeMm = 0.0;
};

// Largest picture side: the software renderer's viewport ends there.
constexpr int maxPictureSide = 16384;
// Most pictures one turntable run writes.
constexpr int maxFrames = 100000;

struct ExplorerOptions {
    std::vector<std::string> inputs;  // a directory, or OFF files; empty: the current directory
    OutputKind output = OutputKind::Window;
    std::string outputPath;
    // What is shown, as the options set it: the angles (with view.turntable,
    // the camera's height and the turn about the model's up axis), size,
    // shells, back edges, faces, numbers, print settings, the morph's stage
    // and the fold; the rest of it is the state's own default.
    ViewState view;
    std::optional<DualKind> dual;     // not given: the models' own default
    int solid = 0;                    // 1..5 when --solid was given, else 0
    std::string model;                // --model NAME, empty when not given
    int frames = 0;                   // 0: one picture; N: a turntable of N
    bool overwrite = false;           // --frames, --net or a print may replace existing files
    Animation animate = Animation::Turn;
    NetSettings net;                  // --page and --edge-mm, for --net
    PrintSettings print;              // --print-as, --strut-mm, --node-mm, --size-mm, --edge-mm, for a print
    std::vector<std::string> conway;  // --conway NOTATION, a model each, in order
    std::string catalogue;            // --catalogue platonic|archimedean|catalan|all, "" for none
    bool canonical = false;           // --canonical: OFF models in canonical form
    std::optional<DualCentre> centre; // --centre: about what the reciprocal dual is taken
    std::string highlight;            // --highlight KIND:N, read against the model shown
    bool pick = false;                // --pick X,Y given (with --info)
    double pickX = 0.0, pickY = 0.0;  // its pixel, from the picture's top left
    std::string language;             // --lang en|sr|sr@latin, "" when not given
};

// Fewest millimetres --edge-mm takes: below it nothing could be cut or read.
constexpr double minEdgeMm = 1.0;
// Most millimetres --edge-mm takes: far beyond any page.
constexpr double maxEdgeMm = 10000.0;

// What the command line asks for: the options to run with or, when
// `exitStatus` is set, an end to the run at once: `text` to print (the help
// or version for standard output when the status is 0; for status 2, what
// was wrong and the usage line, for standard error after the program's
// name) and the status to end with.
struct ParsedOptions {
    ExplorerOptions options;
    std::optional<int> exitStatus;  // empty: go on with `options`
    std::string text;
};

// The value of the last --lang in `args` ("--lang X" or "--lang=X"), "" when
// there is none: read before the rest, so that the help is in its language.
std::string languageOption(const std::vector<std::string>& args);

// The usage line, ending in a line break.
std::string usageLine();

// Reads the arguments after the program's name. A bad option or value,
// options that cannot go together, a size outside 1..16384 per side, a
// frame count outside 1..100000, an output name whose extension is not its
// kind's (--png a.jpg; no extension at all is accepted), --frames with "-"
// (standard output) as its file, a NaN or infinite number anywhere, a
// --morph stage or --unfold outside 0..1, --animate without --frames,
// --edge-mm outside minEdgeMm..maxEdgeMm, a
// --net file not ending in .pdf or .svg, --print-as, --strut-mm, --node-mm
// or --size-mm without a print output (--stl, --3mf, --glb), --strut-mm
// below minStrutMm, --node-mm narrower than the struts, --strut-mm or
// --node-mm with a solid print, --size-mm with --edge-mm, --pick without --info or not
// two numbers X,Y, an angle past a float's range, or --highlight empty,
// with --off or --net, or with a picture file of a stage (--morph or
// --unfold above 0, --animate other than turn) give status 2 with one line saying
// what was wrong, followed by the usage line. --info (output Info) prints
// counts and writes no file; --list (output List) one line per model.
// --help gives status 0 and the help; so does
// --version with `version` and a line break, when `version` is not empty.
// It never touches the file system.
ParsedOptions parseOptions(const std::vector<std::string>& args, const std::string& version = "");

}  // namespace pd
