// The session behind every front end, without a window or a display: every
// combination of what a command line can ask for ends well or says why in
// one line, the stores hand out nets by value, and the clock, the title's
// messages and the key list behave as a user sees them.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <cmath>
#include <tuple>
#include <string>
#include <thread>
#include <vector>

#include "draw/bitmap_font.h"
#include "explorer/model_inputs.h"
#include "explorer/session.h"
#include "construct/geodesic_sphere.h"
#include "polyhedra/model_loading.h"
#include "polyhedra/shell_counts.h"
#include "io/off_writer.h"
#include "io/file_series.h"
#include "headless/headless_output.h"
#include "svg/svg_writer.h"
#include "prism_off.h"
#include "scratch_dir.h"

using namespace pd;

namespace {

// A cube with its top pushed in to a point below it: closed, not convex.
const char* const dentOff =
    "OFF\n9 9 0\n-1 -1 -1\n1 -1 -1\n1 1 -1\n-1 1 -1\n-1 -1 1\n1 -1 1\n1 1 1\n-1 1 1\n0 0 0.5\n"
    "4 0 3 2 1\n4 0 1 5 4\n4 1 2 6 5\n4 2 3 7 6\n4 3 0 4 7\n3 4 5 8\n3 5 6 8\n3 6 7 8\n3 7 4 8\n";

// The inputs the table runs over: the ten files' folder, and a folder of
// OFF files (a prism, the dent, a geodesic sphere of frequency 4).
struct Inputs {
    scratch::ScratchDir dir;
    LoadedModels solids, offs;
    Inputs() {
        solids = *loadModelInputs({scratch::sourcePath("data")});
        dir.write("prism.off", prismOff(5));
        dir.write("dent.off", dentOff);
        const Polyhedron sphere = geodesicSphere(4);
        dir.write("sphere.off", *formatOff({&sphere}));
        offs = *loadModelInputs({dir.file("prism.off"), dir.file("dent.off"), dir.file("sphere.off")});
    }
};

const Inputs& inputs() {
    static const Inputs made;
    return made;
}

// One run as the explorer's main makes it, into `out`: the status (0 or 2)
// and the error line. PNG pictures are checked and written as their size
// alone: drawing them is the renderer's business, tested with it.
std::pair<int, std::string> runInProcess(const std::vector<std::string>& args, const LoadedModels& loaded) {
    const ParsedOptions parsed = parseOptions(args);
    if (parsed.exitStatus) return {*parsed.exitStatus, parsed.text.substr(0, parsed.text.find('\n'))};
    const Result<ViewState> start = startState(parsed.options, loaded);
    if (!start) return {2, start.error().text()};
    Session session(LoadedModels(loaded), *start);
    session.setNetSettings(parsed.options.net);
    if (parsed.options.output == OutputKind::Info) {
        const Result<std::string> text = infoText(session);
        return text ? std::pair{text->empty() ? 1 : 0, std::string()} : std::pair{2, text.error().text()};
    }
    const PictureWriter png = [](const Frame& frame, int fd) -> Status {
        for (const FrameShell& shell : frame.shells)
            for (const auto* list : {&shell.lines, &shell.dashed, &shell.marks})
                for (std::uint32_t i : *list)
                    if (2 * std::size_t(i) + 1 >= shell.xy.size()) return failure("index past the vertices");
        return writeAll(fd, std::to_string(frame.width) + "x" + std::to_string(frame.height));
    };
    const Status written = writeHeadlessOutput(parsed.options, session, png);
    return written ? std::pair{0, std::string()} : std::pair{2, written.error().text()};
}

// The interacting choices (animation, frames, morph, fold) in full, the
// rest turning through their values at strides of their own, four times.
TEST(Session, EveryCombinationEndsWellOrSaysWhyInOneLine) {
    const std::vector<std::string> models{"--solid=1", "--solid=2", "--solid=3", "--solid=4", "--solid=5",
                                          "--model=prism", "--model=dent", "--model=sphere"};
    const char* const animations[] = {"turn", "morph", "both", "unfold"};
    const int frameCounts[] = {0, 1, 7, 40};
    const char* const stages[] = {"0", "0.5", "1"};
    const char* const outputs[] = {"--png", "--svg", "--off", "--net", "--info"};
    const char* const names[] = {"p.png", "p.svg", "p.off", "p.pdf", ""};
    const char* const faces[] = {"off", "shaded", "translucent"};
    const char* const backs[] = {"drawn", "dashed", "hidden"};
    const char* const shows[] = {"both", "solid", "dual"};
    const char* const duals[] = {"program", "reciprocal"};
    scratch::ScratchDir out;
    int runs = 0, written = 0, foldedMorphs = 0;
    for (int round = 0; round < 4; ++round)
        for (int a = 0; a < 4; ++a)
            for (int f = 0; f < 4; ++f)
                for (int m = 0; m < 3; ++m)
                    for (int u = 0; u < 3; ++u) {
                        const int i = runs++;
                        const int model = (i * 3 + round) % 8, output = (i * 7 + round) % 5;
                        std::vector<std::string> args{models[model]};
                        // OFF files and nets are of the model folded: --unfold once, refused.
                        if (output < 2 || output == 4 || u == 1) args.insert(args.end(), {"--unfold", stages[u]});
                        if (m > 0) args.insert(args.end(), {"--morph", stages[m]});
                        args.insert(args.end(), {"--faces", faces[(i / 3) % 3],
                                                 "--back", backs[(i / 2 + round) % 3], "--show", shows[(i / 5) % 3],
                                                 "--dual", duals[(i / 7) % 2], "--size", "96x64"});
                        // Only pictures make animations.
                        if (frameCounts[f] > 0 && output < 2)
                            args.insert(args.end(), {"--frames", std::to_string(frameCounts[f]), "--animate", animations[a]});
                        args.push_back(outputs[output]);
                        if (*names[output]) args.push_back(out.file(names[output]));
                        const LoadedModels& loaded = model < 5 ? inputs().solids : inputs().offs;
                        const auto [status, error] = runInProcess(args, loaded);
                        std::string given;
                        for (const std::string& arg : args) given += " " + arg;
                        ASSERT_TRUE(status == 0 || status == 2) << given << ": " << status;
                        if (status == 2) {
                            EXPECT_FALSE(error.empty()) << given;
                            EXPECT_EQ(error.find('\n'), std::string::npos) << given << ": " << error;
                            EXPECT_TRUE(out.names().empty()) << given << " left files after: " << error;
                        } else {
                            // Every file asked for: one, or each picture of an animation.
                            const int count = output < 2 ? frameCounts[f] : 0;
                            std::set<std::string> expected;
                            for (int k = 0; k < std::max(count, 1) && *names[output]; ++k)
                                expected.insert(count > 0 ? frameFileName(names[output], k, count) : names[output]);
                            EXPECT_EQ(out.names(), expected) << given;
                        }
                        written += status == 0;
                        // Folded open while the morph runs: where stages once took each other's nets.
                        foldedMorphs += status == 0 && u > 0 && frameCounts[f] > 1 && (a == 1 || a == 2) && output < 2;
                        for (const std::string& name : out.names()) out.remove(name);
                    }
    // The refusals (a morph's stage given with its animation, a dented
    // model's morph, an OFF file folded open) are the exceptions.
    EXPECT_GT(written, runs / 2) << written << " of " << runs;
    EXPECT_GT(foldedMorphs, 8);
}

// The fold of every stage of a morph is that stage's own: the nets are
// known by model, stage and shell, not by where a stage happens to lie,
// so a new stage built where an old one was never takes the old one's net.
TEST(Session, UnfoldedStagesDrawTheirOwnNetsWhateverWasBuiltBefore) {
    ViewState start = *startState(parseOptions({"--solid", "2", "--unfold", "1"}).options, inputs().solids);
    Session running(LoadedModels(inputs().solids), start);
    for (int k = 0; k < 12; ++k) {
        running.showFrame(Animation::Both, k, 12);
        Session fresh(LoadedModels(inputs().solids), start);
        fresh.showFrame(Animation::Both, k, 12);
        ASSERT_EQ(formatSvg(running.frame(FrameTarget::Vector)), formatSvg(fresh.frame(FrameTarget::Vector))) << k;
    }
}

TEST(Session, NetStoreKeepsTheLastFewAndBuildsInTheBackground) {
    const Model& cube = inputs().solids.models[1];
    const Model& octahedron = inputs().solids.models[2];
    NetStore store(2);
    const NetKey a{1, 0.0, ShellKind::Solid}, b{2, 0.0, ShellKind::Solid}, c{1, 0.5, ShellKind::Solid};
    const SharedNet first = store.net(a, cube.solid, 1);
    EXPECT_EQ(store.net(a, cube.solid, 1), first);  // kept: the same net again
    store.net(b, octahedron.solid, 1);
    EXPECT_FALSE(store.prepare({{c, &octahedron.solid, 1}}));  // started on a second thread
    EXPECT_TRUE(store.building());
    // Asked for while it is being built: waits for that build.
    const SharedNet built = store.net(c, octahedron.solid, 1);
    EXPECT_EQ((*built)->topology.face.size(), octahedron.solid.corners.size());
    EXPECT_FALSE(store.building());
    EXPECT_TRUE(store.prepare({{c, &cube.solid, 1}}));  // kept: nothing to build
    EXPECT_EQ(store.size(), 2u);
    // The oldest went; what was handed out stays whole.
    EXPECT_NE(store.net(a, cube.solid, 1), first);
    EXPECT_EQ((*first)->topology.face.size(), cube.solid.corners.size());
}

// One clock: spin, morph and fold each where the time says. The morph
// shows at each step the stage asked for a step ahead at the one before.
TEST(Session, SpinMorphAndFoldFollowTheClock) {
    ViewState start = *startState(parseOptions({}).options, inputs().solids);
    Session session(LoadedModels(inputs().solids), start, Session::Work::Waited, 10.0);
    EXPECT_TRUE(std::isinf(session.nextChange(10.0)));
    session.perform(ActionId::ToggleSpin, 10.0);
    session.advance(12.0);
    EXPECT_FLOAT_EQ(session.view().angleY, 45.0f + 2 * spinDegreesPerSecond);
    session.perform(ActionId::ToggleSpin, 12.0);
    session.wheel(2, 12.0);
    EXPECT_DOUBLE_EQ(session.view().zoom, zoomStep * zoomStep);
    session.wheel(-3, 12.0);
    EXPECT_DOUBLE_EQ(session.view().zoom, 1 / zoomStep);
    for (int k = 0; k < 10; ++k) session.perform(ActionId::MorphForward, 12.0);
    session.perform(ActionId::ToggleMorph, 100.0);  // on from t = 0.5, towards the dual
    const double eighth = morphCycleSeconds / 8;
    std::vector<double> stages;
    for (double at : {1.0, 2.0, 9.0, 9.5}) {
        session.advance(100.0 + at * eighth);
        stages.push_back(session.view().morph);
    }
    EXPECT_EQ(stages, (std::vector<double>{0.75, 1.0, 0.75, 0.5}));
    session.perform(ActionId::ToggleMorph, 200.0);
    session.perform(ActionId::ToggleUnfold, 200.0);
    EXPECT_GT(session.nextChange(200.0), 0.0);
    session.advance(200.0 + unfoldSeconds / 4);
    EXPECT_DOUBLE_EQ(session.view().unfold, 0.25);
    session.advance(300.0);
    EXPECT_EQ(session.view().unfold, 1.0);
    EXPECT_TRUE(std::isinf(session.nextChange(300.0)));
    EXPECT_NE(session.title().find("t 0.5"), std::string::npos) << session.title();
    // `r` while the net closes stops it where it puts it.
    session.perform(ActionId::ToggleUnfold, 300.0);
    session.advance(300.0 + unfoldSeconds / 4);
    session.perform(ActionId::Reset, 300.6);
    session.advance(300.7);
    EXPECT_EQ(session.view().unfold, 0.0);
    EXPECT_TRUE(std::isinf(session.nextChange(300.7)));
    // Pictures written to files: each a function of its place in the run.
    const std::tuple<Animation, int, int, float, double, double> frames[] = {  // index, count, b, t, fold
        {Animation::Turn, 1, 4, 135.0f, 0.0, 0.0}, {Animation::Morph, 2, 3, 45.0f, 1.0, 0.0},
        {Animation::Both, 1, 3, 165.0f, 0.5, 0.0}, {Animation::Unfold, 1, 3, 45.0f, 0.0, 0.5}};
    for (const auto& [animation, index, count, b, t, fold] : frames) {
        session.showFrame(animation, index, count);
        EXPECT_EQ(std::tuple(session.view().angleY, session.view().morph, session.view().unfold), std::tuple(b, t, fold));
    }
}

// A window's morph and fold build each step's frame ahead, on a second
// thread: the frame it draws is the very frame of the view it shows, also
// with the counts up, and after a key between steps.
TEST(Session, FramesBuiltAheadAreTheFramesOfTheViewsShown) {
    const LoadedModels& solids = inputs().solids;
    ViewState start = initialViewState(false);
    start.info = true;
    start.faces = FaceStyle::Shaded;
    Session screen(LoadedModels(solids), start, Session::Work::InBackground, 0.0);
    const auto sameAsAsked = [&](const Frame& shown, int step) {
        ViewState still = screen.view();
        still.morphing = false;
        const Frame asked = Session(LoadedModels(solids), still).frame();
        std::vector<std::string> texts[2];
        for (const FrameText& t : shown.texts) texts[0].push_back(t.text);
        for (const FrameText& t : asked.texts) texts[1].push_back(t.text);
        EXPECT_EQ(texts[0], texts[1]) << step;
        EXPECT_EQ(shown.faces.xyz, asked.faces.xyz) << step;
        ASSERT_EQ(shown.shells.size(), asked.shells.size()) << step;
        for (std::size_t k = 0; k < shown.shells.size(); ++k)
            EXPECT_TRUE(shown.shells[k].xy == asked.shells[k].xy && shown.shells[k].lines == asked.shells[k].lines)
                << step << " shell " << k;
    };
    double now = 0.0;
    screen.perform(ActionId::ToggleMorph, now);
    for (int step = 0; step < 8; ++step) {
        screen.advance(now += 0.3);
        sameAsAsked(screen.screenFrame(), step);
        if (step == 4) screen.perform(ActionId::CycleDual, now + 0.1);
    }
    EXPECT_GT(screen.view().morph, 0.0);
    screen.perform(ActionId::ToggleMorph, now);
    screen.perform(ActionId::ToggleUnfold, now);
    for (int step = 0; step < 400 && screen.view().unfold < 1.0; ++step) {
        if (screen.view().unfold <= 0.0) std::this_thread::sleep_for(std::chrono::milliseconds(10));  // nets
        screen.advance(now += 0.1);
        sameAsAsked(screen.screenFrame(), 100 + step);
    }
    EXPECT_EQ(screen.view().unfold, 1.0);
}

// A big model on a screen: each new view comes aliased at once and smooth
// straight after; a spin stays aliased till it stops; a small model and a
// file's picture are always smooth.
TEST(Session, BigPicturesOnAScreenComeQuickFirstAndSmoothOnceStill) {
    LoadedModels big;
    big.models.push_back(buildModel("sphere", geodesicSphere(50), 0, 0));  // 50 000 faces
    Session screen(LoadedModels(big), initialViewState(true), Session::Work::InBackground, 0.0);
    Session file(std::move(big), initialViewState(true), Session::Work::Waited, 0.0);
    Session small(LoadedModels(inputs().solids), initialViewState(false), Session::Work::InBackground, 0.0);
    auto shown = [](Session& s, double at) {
        const bool smooth = s.screenFrame().smooth;
        return std::string(smooth ? "smooth" : "quick") + (s.nextChange(at) == 0.0 ? " then smooth" : "");
    };
    std::vector<std::string> seen;
    seen.push_back(shown(screen, 0.0));
    seen.push_back(shown(screen, 0.0));
    seen.push_back(shown(screen, 0.0));
    screen.drag(4, 0, 1.0);
    seen.push_back(shown(screen, 1.0));
    screen.perform(ActionId::ToggleSpin, 2.0);
    for (double at : {2.0, 2.5}) screen.advance(at), seen.push_back(shown(screen, at));
    screen.perform(ActionId::ToggleSpin, 3.0);
    seen.push_back(shown(screen, 3.0));
    seen.push_back(shown(screen, 3.0));
    EXPECT_EQ(seen, (std::vector<std::string>{"quick then smooth", "smooth", "smooth", "quick then smooth", "quick",
                                              "quick", "quick then smooth", "smooth"}));
    EXPECT_TRUE(file.screenFrame().smooth && file.frame().smooth && small.screenFrame().smooth);
}

// OFF models come without the program's dual, which the reciprocal one
// stands in front of: it is made the first time the view shows it, the
// same as a model built whole has it, counts and all.
TEST(Session, TheProgramsDualIsMadeWhenFirstShown) {
    Session session(LoadedModels(inputs().offs), initialViewState(true));
    (void)session.frame();
    EXPECT_FALSE(session.model().programDualMade);
    (void)session.countLines();
    session.perform(ActionId::CycleDual, 0.0);
    const Frame frame = session.frame();
    ASSERT_TRUE(session.model().programDualMade);
    const Model whole = buildModel("prism", session.model().solid, 0, 0);
    EXPECT_EQ(session.countLines()->at(1), countsLine("dual", countShell(whole.programDual, whole.dualEdges)));
    EXPECT_EQ(*formatOff({&session.model().programDual}), *formatOff({&whole.programDual}));
    EXPECT_EQ(frame.shells.at(1).z.size(), whole.programDual.vertices.size());
}

// A canonical model's OFF file holds it and its reciprocal as made in
// double: every edge of both touches the unit sphere to the canonical
// form's 1e-9, where floats leave some edges 1e-8 off.
TEST(Session, TheOffFileOfACanonicalModelTouchesItsSphereInDouble) {
    ModelRequest request;
    request.inputsNamed = false;
    request.conway = {"tI"};
    Session session(*loadModels(request), initialViewState(true));
    std::istringstream text(*session.offText());
    std::string skipped;
    std::getline(text, skipped), std::getline(text, skipped);
    int vertices = 0, faces = 0;
    text >> vertices >> faces >> skipped;
    std::vector<Vec3d> at(std::size_t(vertices > 0 ? vertices : 0));
    for (Vec3d& v : at) text >> v.x >> v.y >> v.z;
    const Model& m = session.model();
    ASSERT_EQ(at.size(), m.solid.vertices.size() + m.reciprocalDual.vertices.size());
    double worst = 0;
    for (const auto& [edges, offset] : {std::pair{&m.edges, 0}, std::pair{&m.dualEdges, m.solid.vertexCount()}})
        for (const Edge& e : *edges) {
            const Vec3d a = at[std::size_t(e.a + offset)], b = at[std::size_t(e.b + offset)];
            worst = std::max(worst, std::fabs(length(cross(a, b - a)) / length(b - a) - 1));
        }
    EXPECT_LT(worst, 2e-9);
}

// What the title says belongs to the model it was said of and to its
// moment; what a key cannot do here, it says.
TEST(Session, TitleMessagesBelongToTheirModelAndTheirMoment) {
    Session session(LoadedModels(inputs().offs), *startState(parseOptions({"--model", "dent"}).options, inputs().offs));
    session.perform(ActionId::ToggleMorph, 1.0);
    EXPECT_EQ(session.title().find("dent  x 30  y 45 - dent has no morph: it is not convex"), 0u) << session.title();
    EXPECT_EQ(session.nextChange(1.0), 3.0);
    session.advance(3.9);
    EXPECT_NE(session.title().find("no morph"), std::string::npos);
    session.perform(ActionId::NextModel, 2.0);
    EXPECT_EQ(session.title(), "sphere  x 30  y 45");
    session.perform(ActionId::Solid3, 5.0);
    EXPECT_EQ(session.title(), "sphere  x 30  y 45 - keys 1 to 5 pick the ten files' solids; these models are "
                               "OFF files (Tab goes through them)");
    session.advance(8.0);
    EXPECT_EQ(session.title(), "sphere  x 30  y 45");
}

// The model a command line opens on: the cube of the ten files when none
// is named, as the typical run answers; else the one named, or why not.
TEST(Session, OpensOnTheModelTheOptionsNameOrTheCube) {
    const std::tuple<std::vector<std::string>, const LoadedModels*, std::string> cases[] = {
        {{}, &inputs().solids, "heksaedar"},
        {{"--solid", "3"}, &inputs().solids, "oktaedar"},
        {{"--model", "Icosahedron"}, &inputs().solids, "ikosaedar"},
        {{"--model", "tetraedar"}, &inputs().solids, "tetraedar"},
        {{"--model", "Hexahedron"}, &inputs().solids, "heksaedar"},
        {{"--model", "kube"}, &inputs().solids, "--model kube: no model of that name; the models are tetraedar,"},
        {{}, &inputs().offs, "prism"},
        {{"--model", "sphere"}, &inputs().offs, "sphere"},
        {{"--solid", "2"}, &inputs().offs, "--solid 2 picks one of the ten files' solids, but the inputs are OFF files"},
        {{"--solid", "4", "--conway", "tI"}, &inputs().offs, "--solid 4 picks one of the ten files' solids, but none of them is shown"},
        {{"--model", "cube"}, &inputs().offs, "--model cube: no model of that name; the models are prism, dent, sphere"},
    };
    for (const auto& [args, loaded, expected] : cases) {
        const Result<ViewState> start = startState(parseOptions(args).options, *loaded);
        const std::string got = start ? loaded->models[std::size_t(start->model)].name : start.error().text();
        EXPECT_EQ(got.substr(0, expected.size()), expected);
    }
}

// Every key the key list names, and every count the panel shows, is drawn
// with a glyph of its own; the solids' keys only where there are solids.
TEST(Session, EveryKeyListAndCountsCharacterHasItsGlyph) {
    std::vector<std::size_t> keyLines;
    for (const LoadedModels* loaded : {&inputs().solids, &inputs().offs}) {
        Session session(LoadedModels(*loaded), ViewState{});
        std::vector<std::string> lines = session.keyList();
        keyLines.push_back(lines.size());
        for (const char* key : {"[  ", "]  "})
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(key, 0) == 0; }));
        const Result<std::vector<std::string>> counts = session.countLines();
        ASSERT_TRUE(counts.ok());
        lines.insert(lines.end(), counts->begin(), counts->end());
        for (const std::string& line : lines)
            for (char32_t c : codePoints(line)) EXPECT_TRUE(hasGlyph(c)) << "U+" << std::hex << unsigned(c) << " in " << line;
    }
    EXPECT_EQ(keyLines[0], keyLines[1] + 5);
}

}  // namespace
