#include "gl/window.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "explorer/actions.h"
#include "explorer/frame.h"
#include "explorer/morph_store.h"
#include "explorer/view_title.h"
#include "gl/renderer.h"
#include "gl/shift_tab.h"
#include "output/png_file.h"
#include "explorer/unfold_view.h"

namespace {

constexpr int spinTickMs = 15;
constexpr int noteMs = 3000;  // how long a note stays in the title
constexpr int netsPollMs = 50;  // how often a window waiting for nets looks again

// GLUT's callbacks take no user pointer: the window's one state object.
struct ExplorerWindow {
    const char* program = "";
    const std::function<WindowInputs()>* awaitInputs = nullptr;  // until called
    LoadedModels loaded;
    ActionContext context;
    ViewState view;
    ViewState opening;  // the title names what differs from it
    std::string note;   // said in the title for a moment
    int noteGeneration = 0;
    std::vector<std::string> help;
    std::string title;
    bool dragging = false;
    int lastX = 0;
    int lastY = 0;
    int spinGeneration = 0;  // a tick of an earlier spin finds it changed and stops
    int lastTickMs = 0;
    int status = 0;  // the exit status once the main loop returns
    std::unique_ptr<MorphStore> morphs;
    int morphGeneration = 0;  // as spinGeneration, for the morph
    int lastMorphMs = 0;
    double morphPhase = 0.0;  // through one cycle 0 -> 1 -> 0, in [0, 1)
    double nextMorph = -1.0;  // the stage being built for the next tick, -1 for none
    NetCache nets;           // made on a second thread on the first `u` for each shell
    bool folding = false;    // an unfold tick is on its way
    bool awaitingNets = false;  // a redraw is due when the nets being made are
    int lastFoldMs = 0;
    std::function<void(const Result<std::string>&)> report;
};

ExplorerWindow* explorer = nullptr;

// Hands a saved file's name or an error to the caller, who prints it.
void say(const Result<std::string>& said) {
    if (explorer->report) explorer->report(said);
}

const Model& currentModel() { return explorer->loaded.models[std::size_t(explorer->view.model)]; }

void refresh();

void onNetsPoll(int) {
    explorer->awaitingNets = false;
    glutPostRedisplay();
}

void clearNote(int generation) {
    if (generation != explorer->noteGeneration) return;
    explorer->note.clear();
    refresh();
}

// Says `why` in the title for a moment.
void showNote(const std::string& why) {
    explorer->note = why;
    glutTimerFunc(noteMs, clearNote, ++explorer->noteGeneration);
}

// Stops the morph and says why in the title for a moment.
void refuseMorph(const std::string& why) {
    explorer->view.morph = 0.0;
    explorer->view.morphing = false;
    showNote(why);
}

// A model without a morph never keeps one asked for.
void checkMorph() {
    const ViewState& v = explorer->view;
    if (v.morph <= 0.0 && !v.morphing) return;
    const Status available = explorer->morphs->available(v.model);
    if (!available) refuseMorph(available.error().what);
}

// The frame the window shows; a saved picture leaves out the key list.
Frame currentFrame(bool withHelp = true) {
    ViewState& v = explorer->view;
    const Model* stage = nullptr;
    if (v.morph > 0.0) {
        const Result<const Model*> built = explorer->morphs->stage(v.model, v.morph);
        if (built) {
            stage = *built;
        } else {
            refuseMorph(built.error().what);
            refresh();
        }
    }
    std::vector<std::string> info;
    if (v.info) {
        const Result<std::vector<std::string>> lines = explorer->morphs->countLines(v.model, v);
        if (lines) info = *lines;
    }
    const std::vector<std::string>& help = withHelp ? explorer->help : std::vector<std::string>{};
    if (v.unfold > 0.0 && !stage) {
        if (unfoldReady(currentModel(), v, explorer->nets))
            return buildUnfoldFrame(currentModel(), v, explorer->nets, help);
        // Folded until the nets are made, then drawn again.
        if (!explorer->awaitingNets) {
            explorer->awaitingNets = true;
            glutTimerFunc(netsPollMs, onNetsPoll, 0);
        }
    } else if (v.unfold > 0.0) {
        // A stage's net is made anew: stages come and go, and the cache
        // knows a shell by its address.
        NetCache stageNets;
        ViewState own = v;
        own.dual = DualKind::Reciprocal;  // the stage's own dual
        return buildUnfoldFrame(*stage, own, stageNets, help);
    }
    return buildFrame(currentModel(), v, help, FrameTarget::Raster, stage, info);
}

void refresh() {
    const std::string title = viewTitle(currentModel().name, explorer->view, explorer->opening, explorer->note);
    if (title != explorer->title) {
        explorer->title = title;
        glutSetWindowTitle(title.c_str());
    }
    glutPostRedisplay();
}

void onSpinTick(int generation) {
    if (!explorer->view.spinning || generation != explorer->spinGeneration) return;
    const int now = glutGet(GLUT_ELAPSED_TIME);
    ViewState& v = explorer->view;
    // By elapsed time, so the speed does not depend on how fast frames come.
    applySpin(v, spinDegreesPerSecond * float(now - explorer->lastTickMs) / 1000.0f);
    if (v.angleY >= 360.0f) v.angleY -= 360.0f;
    explorer->lastTickMs = now;
    refresh();
    glutTimerFunc(spinTickMs, onSpinTick, generation);
}

// Stage t of the morph at a point of its cycle: 0 -> 1 -> 0.
double stageAt(double phase) { return phase < 0.5 ? 2.0 * phase : 2.0 - 2.0 * phase; }

void onMorphTick(int generation) {
    if (!explorer->view.morphing || generation != explorer->morphGeneration) return;
    const int now = glutGet(GLUT_ELAPSED_TIME);
    // By elapsed time, like the spin: one cycle in morphCycleSeconds. Each
    // tick shows the stage asked for at the last one (built meanwhile, on
    // a second thread, while that one was drawn) and asks for the stage
    // one more such step on.
    const double step = double(now - explorer->lastMorphMs) / 1000.0 / morphCycleSeconds;
    double& phase = explorer->morphPhase;
    phase += step;
    phase -= std::floor(phase);
    ViewState& v = explorer->view;
    v.morph = explorer->nextMorph >= 0.0 ? explorer->nextMorph : stageAt(phase);
    explorer->nextMorph = stageAt(phase + step - std::floor(phase + step));
    explorer->morphs->prefetch(v.model, explorer->nextMorph);
    explorer->lastMorphMs = now;
    refresh();
    glutTimerFunc(spinTickMs, onMorphTick, generation);
}

// Moves the fold towards where `u` sent it, by elapsed time, until there.
void onFoldTick(int) {
    ViewState& v = explorer->view;
    const int now = glutGet(GLUT_ELAPSED_TIME);
    if (v.morph <= 0.0 && !unfoldReady(currentModel(), v, explorer->nets)) {
        // The nets are made on a second thread; the fold starts once they are.
        explorer->lastFoldMs = now;
        glutTimerFunc(spinTickMs, onFoldTick, 0);
        return;
    }
    const double step = double(now - explorer->lastFoldMs) / 1000.0 / unfoldSeconds;
    explorer->lastFoldMs = now;
    v.unfold = v.netOpen ? std::min(1.0, v.unfold + step) : std::max(0.0, v.unfold - step);
    refresh();
    explorer->folding = v.unfold != (v.netOpen ? 1.0 : 0.0);
    if (explorer->folding) glutTimerFunc(spinTickMs, onFoldTick, 0);
}

// Draws the current frame again, without the key list, into the back
// buffer and writes it out, leaving the shown picture as it is. A failure
// is told and the window stays.
void savePicture() {
    const Frame frame = currentFrame(false);
    const int w = frame.projection.viewportWidth;
    const int h = frame.projection.viewportHeight;
    const Status drawn = renderFrame(frame);
    glReadBuffer(GL_BACK);
    const PngRows rows = [w, h](int top, int count, std::uint8_t* out) {
        return readPixelRows(w, h, top, count, 3, out);
    };
    const std::string stem = currentModel().name + "-" + orientationFileText(orientationOf(explorer->view));
    say(drawn ? writeNewPng(stem, w, h, rows) : Result<std::string>(drawn.error()));
}

void perform(ActionId id) {
    const bool wasSpinning = explorer->view.spinning;
    const bool wasMorphing = explorer->view.morphing;
    switch (applyAction(id, explorer->view, explorer->context)) {
    case ActionEffect::None: return;
    case ActionEffect::Save: savePicture(); return;
    case ActionEffect::Quit: glutLeaveMainLoop(); return;
    case ActionEffect::Redraw: break;
    }
    if (id == ActionId::CycleDual) {
        // A model without a reciprocal dual looks the same either way: say so.
        const std::string why = reciprocalNote(currentModel());
        if (!why.empty()) showNote(why);
    }
    checkMorph();
    if (!explorer->folding && explorer->view.unfold != (explorer->view.netOpen ? 1.0 : 0.0)) {
        explorer->folding = true;
        explorer->lastFoldMs = glutGet(GLUT_ELAPSED_TIME);
        glutTimerFunc(spinTickMs, onFoldTick, 0);
    }
    if (explorer->view.spinning && !wasSpinning) {
        explorer->lastTickMs = glutGet(GLUT_ELAPSED_TIME);
        glutTimerFunc(spinTickMs, onSpinTick, ++explorer->spinGeneration);
    }
    if (explorer->view.morphing && !wasMorphing) {
        // On from the stage shown, on the way to the dual.
        explorer->morphPhase = explorer->view.morph / 2.0;
        explorer->nextMorph = -1.0;
        explorer->lastMorphMs = glutGet(GLUT_ELAPSED_TIME);
        glutTimerFunc(spinTickMs, onMorphTick, ++explorer->morphGeneration);
    }
    refresh();
}

void onKey(unsigned char key, int, int) {
    SpecialKey special = SpecialKey::None;
    if (key == '\t' && (glutGetModifiers() & GLUT_ACTIVE_SHIFT)) special = SpecialKey::BackTab;
    if (const Action* a = actionForKey(key, special)) perform(a->id);
}

void onSpecialKey(int key, int, int) {
    SpecialKey special = SpecialKey::None;
    switch (key) {
    case GLUT_KEY_LEFT: special = SpecialKey::Left; break;
    case GLUT_KEY_RIGHT: special = SpecialKey::Right; break;
    case GLUT_KEY_UP: special = SpecialKey::Up; break;
    case GLUT_KEY_DOWN: special = SpecialKey::Down; break;
    default: return;
    }
    if (const Action* a = actionForKey(0, special)) perform(a->id);
}

void onMouse(int button, int state, int x, int y) {
    if (button == GLUT_LEFT_BUTTON) {
        explorer->dragging = state == GLUT_DOWN;
        explorer->lastX = x;
        explorer->lastY = y;
    } else if (state == GLUT_DOWN && (button == 3 || button == 4)) {
        // X reports the wheel as buttons 4 and 5, GLUT as 3 and 4.
        perform(button == 3 ? ActionId::ZoomIn : ActionId::ZoomOut);
    }
}

void onMotion(int x, int y) {
    if (!explorer->dragging || (x == explorer->lastX && y == explorer->lastY)) return;
    applyDrag(explorer->view, x - explorer->lastX, y - explorer->lastY);
    explorer->lastX = x;
    explorer->lastY = y;
    refresh();
}

void onMenu(int entry) { perform(actionTable()[std::size_t(entry)].id); }

void buildMenu() {
    glutCreateMenu(onMenu);
    const std::vector<Action>& table = actionTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!actionAvailable(table[i].id, explorer->context)) continue;
        const std::string label = std::string(table[i].label) + "  (" + table[i].keyName + ")";
        glutAddMenuEntry(label.c_str(), int(i));
    }
    glutAttachMenu(GLUT_RIGHT_BUTTON);
}

void onReshape(int width, int height) {
    explorer->view.width = width;
    explorer->view.height = height;
    glutPostRedisplay();
}

// A picture GL cannot draw ends the explorer: status 2, one line.
void onDisplay() {
    const Status drawn = renderFrame(currentFrame());
    if (!drawn) {
        say(drawn.error());
        explorer->status = 2;
        glutLeaveMainLoop();
        return;
    }
    glutSwapBuffers();
}

// GLUT's fatal errors, in GLUT's own words, but only once the inputs are
// known to be good: a bad input is reported as it would be with no display.
void onGlutError(const char* format, va_list args) {
    if (explorer->awaitInputs) {
        const std::function<WindowInputs()>& await = *explorer->awaitInputs;
        explorer->awaitInputs = nullptr;
        const WindowInputs inputs = await();
        if (inputs.exitStatus) std::exit(*inputs.exitStatus);
    }
    std::fprintf(stderr, "freeglut (%s): ", explorer->program);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    std::exit(1);
}

}  // namespace

int runExplorerWindow(int argc, char** argv, const std::function<WindowInputs()>& awaitInputs) {
    ExplorerWindow state;
    state.program = argv[0];
    state.awaitInputs = &awaitInputs;
    explorer = &state;

    int count = argc;
    glutInitErrorFunc(onGlutError);
    glutInit(&count, argv);
    state.awaitInputs = nullptr;
    WindowInputs inputs = awaitInputs();
    if (inputs.exitStatus) {
        glutExit();
        explorer = nullptr;
        return *inputs.exitStatus;
    }
    const ViewState& start = inputs.start;
    state.context.modelCount = int(inputs.loaded.models.size());
    state.context.directory = inputs.loaded.directory;
    state.loaded = std::move(inputs.loaded);
    state.morphs = std::make_unique<MorphStore>(state.loaded.models);
    state.report = std::move(inputs.report);
    state.view = start;
    state.opening = start;
    state.help = helpLines(state.context);

    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(start.width, start.height);
    glutInitWindowPosition(programWindowX, programWindowY);
    checkMorph();
    state.title = viewTitle(currentModel().name, state.view, state.opening, state.note);
    glutCreateWindow(state.title.c_str());
    keepShiftTab();

    glutDisplayFunc(onDisplay);
    glutReshapeFunc(onReshape);
    glutKeyboardFunc(onKey);
    glutSpecialFunc(onSpecialKey);
    glutMouseFunc(onMouse);
    glutMotionFunc(onMotion);
    buildMenu();
    glutMainLoop();
    explorer = nullptr;
    return state.status;
}
