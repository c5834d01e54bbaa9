#include "window/window.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <string>
#include <vector>

#include "base/translate.h"
#include "explorer/actions.h"
#include "explorer/exports.h"
#include "io/output_file.h"
#include "print/stl_file.h"
#include "explorer/gestures.h"
#include "window/display_check.h"
#include "window/menu_label.h"
#include "gl/renderer.h"
#include "gl/smooth_target.h"
#include "window/shift_tab.h"
#include "window/window_title.h"
#include "picture/png_file.h"

// freeglut's own lookup of a window by its number and its closing of the
// menu open in it; weak, so a GLUT without them leaves the menu open.
extern "C" {
void* fgWindowByID(int id) __attribute__((weak));
void fgDeactivateMenu(void* window) __attribute__((weak));
}

namespace pd {

namespace {

// GLUT's callbacks take no user pointer: the window's one state object.
struct ExplorerWindow {
    const char* program = "";
    const std::function<WindowInputs()>* awaitInputs = nullptr;  // until called
    std::unique_ptr<Session> session;
    std::future<void> ahead;  // the first picture being built while the window is made
    SmoothTarget smooth;  // where smooth frames are drawn
    std::string title;
    Gestures gestures;  // what the mouse's events mean
    int timerGeneration = 0;  // a timer of an earlier schedule finds it changed and does nothing
    double timerDue = -1.0;   // when the pending timer fires, -1 for none
    bool menuInUse = false;
    int status = 0;  // the exit status once the main loop returns
    std::function<void(const Result<std::string>&)> report;
};

ExplorerWindow* explorer = nullptr;

// The session, once the first picture built ahead of the window is done.
Session& session() {
    if (explorer->ahead.valid()) explorer->ahead.get();
    return *explorer->session;
}

double now() { return glutGet(GLUT_ELAPSED_TIME) / 1000.0; }

// Hands a saved file's name or an error to the caller, who prints it.
void say(const Result<std::string>& said) {
    if (explorer->report) explorer->report(said);
}

void onTimer(int generation);

// Wakes the window when the session next changes by itself.
void schedule() {
    const double at = now();
    const double in = session().nextChange(at);
    if (!std::isfinite(in)) return;
    if (explorer->timerDue >= 0.0 && explorer->timerDue <= at + in) return;
    explorer->timerDue = at + in;
    glutTimerFunc(unsigned(std::lround(in * 1000.0)), onTimer, ++explorer->timerGeneration);
}

void refresh() {
    const std::string title = session().title();
    if (title != explorer->title) {
        explorer->title = title;
        setWindowTitle(title);
    }
    glutPostRedisplay();
    schedule();
}

void onTimer(int generation) {
    if (generation != explorer->timerGeneration) return;
    explorer->timerDue = -1.0;
    session().advance(now());
    refresh();
}

// Draws the session's frame again, without the key list, into the back
// buffer and writes it out, leaving the shown picture as it is. A failure
// is told and the window stays.
void savePicture() {
    const Frame frame = session().frame(FrameTarget::Raster, false);
    const int w = frame.projection.viewportWidth;
    const int h = frame.projection.viewportHeight;
    const Status drawn = explorer->smooth.draw(frame);
    glReadBuffer(GL_BACK);
    const PngRows rows = [w, h](int top, int count, std::uint8_t* out) {
        return readPixelRows(w, h, top, count, 3, out);
    };
    say(drawn ? writeNewPng(session().saveStem(), w, h, rows) : Result<std::string>(drawn.error()));
}

// The shown model as a binary STL of the default size, in a new file.
void savePrint() {
    const Status available = exportable(session());
    const Result<PrintModel> print =
        available ? exportedPrint(session(), PrintSettings{}) : Result<PrintModel>(available.error());
    const Result<std::string> bytes = print ? formatStl(*print) : Result<std::string>(print.error());
    say(bytes ? writeNewFile(session().saveStem(), ".stl", [&](int fd) { return writeAll(fd, *bytes); })
              : Result<std::string>(bytes.error()));
}

void perform(ActionId id) {
    const bool presenting = session().view().presenting;
    const ActionEffect effect = session().perform(id, now());
    // A classroom screen's presentation fills the screen.
    if (session().view().presenting != presenting) {
        if (presenting) glutLeaveFullScreen();
        else glutFullScreen();
    }
    switch (effect) {
    case ActionEffect::None: return;
    case ActionEffect::Save: savePicture(); return;
    case ActionEffect::SavePrint: savePrint(); return;
    case ActionEffect::Quit: glutLeaveMainLoop(); return;
    case ActionEffect::Redraw: break;
    }
    refresh();
}

// Closes the open menu. GLUT closes a menu only on a click; freeglut 3
// exports its own way of closing one, which is used when present.
void closeMenu() {
    if (!fgWindowByID || !fgDeactivateMenu) return;
    if (void* window = fgWindowByID(glutGetWindow())) {
        fgDeactivateMenu(window);
        explorer->menuInUse = false;
    }
}

void onKey(unsigned char key, int, int) {
    // Esc closes an open menu, and nothing more; other keys wait for it.
    if (explorer->menuInUse) {
        if (key == 27) closeMenu();
        return;
    }
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

// Hands what the events meant to the session, and shows what it did.
void apply(const Gesture& gesture) {
    if (session().apply(gesture, now())) refresh();
}

void onMouse(int button, int state, int x, int y) {
    Gestures& gestures = explorer->gestures;
    if (button == GLUT_LEFT_BUTTON) apply(state == GLUT_DOWN ? gestures.press(x, y) : gestures.release());
    // X reports the wheel as buttons 4 and 5, GLUT as 3 and 4.
    else if (state == GLUT_DOWN && (button == 3 || button == 4)) apply(gestures.wheel(button == 3 ? 1 : -1));
}

void onMotion(int x, int y) { apply(explorer->gestures.move(x, y)); }

void onMenu(int entry) { perform(actionTable()[std::size_t(entry)].id); }

void onMenuStatus(int status, int, int) { explorer->menuInUse = status == GLUT_MENU_IN_USE; }

// One submenu per group of actions: every action in one list is taller
// than a small screen, where GLUT paints only what fits.
// `here`: the session's actions (Session::actionsHere).
void buildMenu(const std::vector<std::size_t>& here) {
    const std::vector<Action>& table = actionTable();
    std::vector<std::pair<int, const char*>> submenus;
    for (const auto& [group, title] : actionGroups()) {
        const int menu = glutCreateMenu(onMenu);
        bool any = false;
        for (const std::size_t i : here) {
            if (table[i].group != group) continue;
            const std::string label = std::string(tr(table[i].label)) + "  (" + tr(table[i].keyName) + ")";
            glutAddMenuEntry(menuLabel(label).c_str(), int(i));
            any = true;
        }
        if (any) submenus.push_back({menu, tr(title)});
    }
    glutCreateMenu(onMenu);
    for (const auto& [menu, title] : submenus) glutAddSubMenu(menuLabel(title).c_str(), menu);
    glutAttachMenu(GLUT_RIGHT_BUTTON);
    glutMenuStatusFunc(onMenuStatus);
}

void onReshape(int width, int height) {
    session().resize(width, height);
    glutPostRedisplay();
}

// A picture GL cannot draw ends the explorer: status 2, one line.
void onDisplay() {
    const Status drawn = explorer->smooth.draw(session().screenFrame());
    if (!drawn) {
        say(drawn.error());
        explorer->status = 2;
        glutLeaveMainLoop();
        return;
    }
    glutSwapBuffers();
    // What this drew is the session's picture as it now is: a timer set
    // for a picture still to come (the smooth one after a quick one) has
    // had it, and would only draw it again (bench/README.md has what that
    // cost). schedule() below sets what is still due.
    ++explorer->timerGeneration;
    explorer->timerDue = -1.0;
    // Drawing may have said something (a stage that cannot be built) or
    // started work (nets being made): the title and the clock follow.
    const std::string title = session().title();
    if (title != explorer->title) {
        explorer->title = title;
        setWindowTitle(title);
    }
    schedule();
}

// GLUT's fatal errors, in GLUT's own words, but only once the inputs are
// known to be good: a bad input is reported as it would be with no display.
// A display that cannot be opened is said in the explorer's words: what to
// use instead.
void onGlutError(const char* format, va_list args) {
    if (explorer->awaitInputs) {
        const std::function<WindowInputs()>& await = *explorer->awaitInputs;
        explorer->awaitInputs = nullptr;
        const WindowInputs inputs = await();
        if (inputs.exitStatus) std::exit(*inputs.exitStatus);
        const std::string noDisplay = missingDisplay();
        if (!noDisplay.empty()) {
            inputs.report(failure(fill(tr("{1}: use --png, --svg, --off, --net or --info to work without one"), {noDisplay})));
            std::exit(2);
        }
    }
    std::fprintf(stderr, "freeglut (%s): ", explorer->program);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    std::exit(1);
}

}  // namespace

int runExplorerWindow(char* program, const std::function<WindowInputs()>& awaitInputs) {
    ExplorerWindow state;
    state.program = program;
    state.awaitInputs = &awaitInputs;
    explorer = &state;

    int count = 1;
    char* argv[] = {program, nullptr};
    glutInitErrorFunc(onGlutError);
    glutInit(&count, argv);
    state.awaitInputs = nullptr;
    WindowInputs inputs = awaitInputs();
    if (inputs.exitStatus) {
        glutExit();
        explorer = nullptr;
        return *inputs.exitStatus;
    }
    state.session = std::move(inputs.session);
    state.report = std::move(inputs.report);
    const ViewState& start = state.session->view();

    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(start.width, start.height);
    glutInitWindowPosition(programWindowX, programWindowY);
    state.title = state.session->title();
    const std::vector<std::size_t> menu = state.session->actionsHere();
    // The first picture is built while the window is made and mapped:
    // until then nothing else touches the session.
    state.ahead = std::async(std::launch::async, [&state] { state.session->prepareScreenFrame(); });
    glutCreateWindow(state.title.c_str());
    setWindowTitle(state.title);
    keepShiftTab();

    glutDisplayFunc(onDisplay);
    glutReshapeFunc(onReshape);
    glutKeyboardFunc(onKey);
    glutSpecialFunc(onSpecialKey);
    glutMouseFunc(onMouse);
    glutMotionFunc(onMotion);
    buildMenu(menu);
    glutMainLoop();
    if (state.ahead.valid()) state.ahead.get();
    state.smooth.forget();  // its context went with the window
    explorer = nullptr;
    return state.status;
}

}  // namespace pd
