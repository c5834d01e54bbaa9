#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "explorer/options.h"

using namespace pd;

namespace {

std::string describe(const ExplorerOptions& o) {
    std::ostringstream s;
    for (const std::string& i : o.inputs) s << i << ' ';
    s << "out " << int(o.output) << ' ' << o.outputPath << " a " << o.view.angleX << " b " << o.view.angleY << " solid "
      << o.solid << " model " << o.model << " size " << o.view.width << 'x' << o.view.height << " show "
      << int(o.view.show) << " dual " << (o.dual ? int(*o.dual) : -1) << " back " << int(o.view.back)
      << " numbers " << o.view.numbers << o.view.dualNumbers << " frames " << o.frames << " animate " << int(o.animate) << " unfold "
      << o.view.unfold << " page " << int(o.net.page) << " edge " << o.net.edgeMm;
    if (printOutput(o.output))
        s << " print " << int(o.print.kind) << ' ' << o.print.strutMm << ' ' << o.print.nodeMm << ' ' << o.print.sizeMm
          << ' ' << o.print.edgeMm;
    if (o.conway.empty() && o.catalogue.empty() && !o.canonical && !o.centre && o.highlight.empty() && !o.pick)
        return s.str();
    s << " conway";
    for (const std::string& n : o.conway) s << ' ' << n;
    s << " catalogue " << o.catalogue << " canonical " << o.canonical << " centre " << (o.centre ? int(*o.centre) : -1)
      << " lit " << o.highlight << " pick " << o.pickX << ',' << o.pickY;
    return s.str();
}

TEST(ExplorerOptions, ReadsEveryOptionAndKeepsTheDefaults) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "out 0  a 30 b 45 solid 0 model  size 1024x700 show 0 dual -1 back 0 numbers 00 frames 0 "
             "animate 0 unfold 0 page 0 edge 0"},
        {{"data", "--png", "t.png", "--angles", "-22.5", "1e1", "--solid", "2", "--size", "640x1",
          "--show", "dual", "--dual", "reciprocal", "--back", "dashed", "--numbers", "--frames", "1",
          "--animate", "unfold", "--unfold", "0.25"},
         "data out 1 t.png a -22.5 b 10 solid 2 model  size 640x1 show 2 dual 1 back 1 numbers 10 "
         "frames 1 animate 3 unfold 0.25 page 0 edge 0"},
        {{"a.off", "b.off", "--off", "m.off", "--model", "b", "--show", "solid", "--dual", "program",
          "--back", "hidden", "--size", "16384x16384"},
         "a.off b.off out 3 m.off a 30 b 45 solid 0 model b size 16384x16384 show 1 dual 0 back 2 "
         "numbers 00 frames 0 animate 0 unfold 0 page 0 edge 0"},
        // The word after --numbers is its value only when it is one.
        {{"--numbers", "dual", "data"}, "data out 0  a 30 b 45 solid 0 model  size 1024x700 show 0 dual -1 back 0 "
                                        "numbers 01 frames 0 animate 0 unfold 0 page 0 edge 0"},
        {{"--numbers", "data"}, "data out 0  a 30 b 45 solid 0 model  size 1024x700 show 0 dual -1 back 0 "
                                "numbers 10 frames 0 animate 0 unfold 0 page 0 edge 0"},
        {{"--net", "n.svg", "--page", "a3", "--edge-mm", "40"},
         "out 5 n.svg a 30 b 45 solid 0 model  size 1024x700 show 0 dual -1 back 0 numbers 00 frames 0 "
         "animate 0 unfold 0 page 2 edge 40"},
        // Each --conway one model, in order; an input after one stays an input.
        {{"--conway", "tI", "a.off", "--conway", "P5", "--catalogue", "catalan", "--canonical", "--centre", "vertices",
          "--highlight", "face:3", "--info", "--pick", "10,20.5"},
         "a.off out 4  a 30 b 45 solid 0 model  size 1024x700 show 0 dual -1 back 0 numbers 00 frames 0 animate 0 "
         "unfold 0 page 0 edge 0 conway tI P5 catalogue catalan canonical 1 centre 0 lit face:3 pick 10,20.5"},
        {{"--stl", "p.stl", "--print-as", "frame", "--strut-mm", "3", "--node-mm", "3", "--edge-mm", "25", "--overwrite"},
         "out 7 p.stl a 30 b 45 solid 0 model  size 1024x700 show 0 dual -1 back 0 numbers 00 frames 0 "
         "animate 0 unfold 0 page 0 edge 25 print 1 3 3 60 25"},
        {{"--glb", "p.glb", "--size-mm", "80"}, "out 9 p.glb a 30 b 45 solid 0 model  size 1024x700 show 0 dual -1 back 0 "
                                                "numbers 00 frames 0 animate 0 unfold 0 page 0 edge 0 print 0 2 0 80 0"},
        {{"--list", "--conway", "jC"}, "out 6  a 30 b 45 solid 0 model  size 1024x700 show 0 dual -1 back 0 numbers 00 "
                                       "frames 0 animate 0 unfold 0 page 0 edge 0 conway jC catalogue  canonical 0 "
                                       "centre -1 lit  pick 0,0"},
    };
    for (const auto& [args, expected] : cases) {
        const ParsedOptions parsed = parseOptions(args);
        EXPECT_FALSE(parsed.exitStatus) << parsed.text;
        EXPECT_EQ(describe(parsed.options), expected);
    }
}

TEST(ExplorerOptions, RefusesBadOptionsWithStatus2AndTheUsageLine) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--bogus"}, "--bogus"},
        {{"--solid", "6"}, "--solid"},
        {{"--show", "front"}, "--show"},
        {{"--angles", "nan", "1"}, "--angles: the angles must be finite"},
        {{"--angles", "1", "inf"}, "--angles: the angles must be finite"},
        {{"--angles", "1e300", "1"}, "--angles: each angle must be from -3.4e38 to 3.4e38 degrees"},
        {{"--highlight", ""}, "--highlight: the part is empty"},
        {{"--net", "n.pdf", "--highlight", "face:1"}, "--highlight lights a picture, not the net's pages"},
        {{"--svg", "a.svg", "--morph", "0.5", "--highlight", "edge:1"}, "--highlight lights the model itself, not a stage"},
        {{"--png", "a.png", "--frames", "3", "--animate", "morph", "--highlight", "edge:1"}, "not a stage of the morph"},
        {{"--size", "0x700"}, "--size: 0x700: each side must be 1 to 16384 pixels"},
        {{"--size", "100000x100000"}, "each side must be 1 to 16384 pixels"},
        {{"--size", "99999999999x1"}, "--size: '99999999999x1' is not WIDTHxHEIGHT"},
        {{"--png", "a.png", "--frames", "100001"}, "--frames"},
        {{"--frames", "10"}, "--frames needs --png FILE or --svg FILE"},
        {{"--png", "a.png", "--svg", "b.svg"}, "excludes"},
        {{"--solid", "2", "--model", "kocka"}, "excludes"},
        {{"--png", ""}, "the output file name is empty"},
        {{"--background", "#12345"}, "--background: '#12345' is not white, none or #rrggbb"},
        {{"--numbers=all"}, "--numbers"},
        {{"--svg", "a.SVG.png"}, "--svg a.SVG.png: the name ends in .png, not .svg"},
        {{"--net", "n.ps"}, "--net: n.ps must end in .pdf or .svg"},
        {{"--net", "n.pdf", "--png", "a.png"}, "excludes"},
        {{"--net", "n.pdf", "--edge-mm", "0.99"}, "--edge-mm: Value 0.99 not in range 1"},
        {{"--png", "a.png", "--unfold", "nan"}, "--unfold: 'nan' is not a finite number"},
        {{"--png", "a.png", "--line-width", "-inf"}, "--line-width: '-inf' is not a finite"},
        {{"--png", "a.png", "--morph", "NAN"}, "--morph: 'NAN' is not a finite"},
        {{"--net", "n.pdf", "--edge-mm", "inf"}, "--edge-mm: 'inf' is not a finite"},
        {{"--png", "a.png", "--edge-mm", "40"}, "--edge-mm needs --net FILE"},
        {{"--page", "a5"}, "--page"},
        {{"--png", "a.png", "--animate", "unfold"}, "--animate needs --frames N"},
        {{"--png", "a.png", "--unfold", "1.5"}, "--unfold"},
        {{"--net", "n.pdf", "--unfold", "1"}, "--unfold is for pictures"},
        {{"--pick", "3,4"}, "--pick needs --info"},
        {{"--info", "--pick", "3"}, "--pick: '3' is not X,Y in pixels"},
        {{"--info", "--pick", "3,nan"}, "--pick: '3,nan' is not X,Y"},
        {{"--list", "--png", "a.png"}, "--list prints the models; it goes with no other output"},
        {{"--catalogue", "johnson"}, "--catalogue"},
        {{"--stl", "a.stl", "--3mf", "b.3mf"}, "excludes"},
        {{"--info", "--glb", "b.glb"}, "excludes"},
        {{"--glb", "a.gltf"}, "--glb a.gltf: the name ends in .gltf, not .glb"},
        {{"--png", "a.png", "--print-as", "frame"}, "--print-as needs --stl, --3mf or --glb FILE"},
        {{"--stl", "a.stl", "--node-mm", "2"}, "--node-mm goes with --print-as frame"},
        {{"--stl", "a.stl", "--print-as", "frame", "--node-mm", "1.5"}, "(1.5 mm) cannot be narrower than the struts (2 mm)"},
        {{"--stl", "a.stl", "--print-as", "frame", "--strut-mm", "0.5"}, "--strut-mm: Value 0.5 not in range"},
        {{"--3mf", "a.3mf", "--size-mm", "50", "--edge-mm", "20"}, "both set the print's size; give one"},
        {{"--stl", "a.stl", "--highlight", "face:1"}, "--highlight lights a picture, not a print"},
        {{"--centre", "faces"}, "--centre"},
    };
    for (const auto& [args, fragment] : cases) {
        const ParsedOptions parsed = parseOptions(args);
        EXPECT_EQ(parsed.exitStatus, 2) << parsed.text;
        // One line saying what was wrong, then the usage line.
        const std::size_t end = parsed.text.find('\n') + 1;
        EXPECT_NE(parsed.text.substr(0, end).find(fragment), std::string::npos) << parsed.text;
        EXPECT_EQ(parsed.text.substr(end), usageLine()) << parsed.text;
    }
}

}  // namespace

// The style sets the background only where --background does not, before
// or after it; a style it does not know is refused.
TEST(ExplorerOptions, StyleGivesWayToEachOptionOfItsOwn) {
    const std::tuple<std::vector<std::string>, Style, float> cases[] = {
        {{"--style", "print"}, Style::Print, 1.0f},
        {{"--background", "#000000", "--style", "print"}, Style::Print, 0.0f},
        {{"--style", "print", "--background", "#000000"}, Style::Print, 0.0f},
        {{"--style", "screen"}, Style::Screen, programBackground.red},
        {{}, Style::Screen, programBackground.red},
    };
    for (const auto& [args, style, red] : cases) {
        const ParsedOptions parsed = parseOptions(args);
        ASSERT_FALSE(parsed.exitStatus) << parsed.text;
        EXPECT_EQ(parsed.options.view.style, style);
        EXPECT_EQ(parsed.options.view.background.red, red);
    }
    EXPECT_EQ(parseOptions({"--style", "paper"}).exitStatus, 2);
}
