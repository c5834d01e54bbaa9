#include "web/web_explorer.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unistd.h>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "base/language.h"
#include "base/translate.h"
#include "explorer/actions.h"
#include "explorer/gestures.h"
#include "explorer/model_inputs.h"
#include "explorer/options.h"
#include "explorer/exports.h"
#include "explorer/session.h"
#include "explorer/model_picker.h"
#include "explorer/page_controls.h"
#include "web/page_query.h"
#include "web/page_saves.h"
#include "web/page_state.h"
#include "webgl/renderer.h"

namespace pd {

namespace {

constexpr const char* canvas = "#canvas";
// Memory running out anywhere is told in these words, as the command line
// tells it, and the page goes on with what it showed.
constexpr const char* outOfMemory = N_("out of memory");

// The page's one explorer: the browser's callbacks reach it through here.
struct WebExplorer {
    std::unique_ptr<Session> session;
    std::optional<WebGlRenderer> renderer;
    std::string title;
    std::string shownState;  // the page's state as last handed to its script
    PageSource source;       // where the models shown came from
    bool fixedSize = false;  // the query's size, else the page's
    int cssWidth = 0, cssHeight = 0;
    double ratio = 1.0;       // device pixels per CSS pixel
    Gestures gestures;  // what the mouse's, the wheel's and the fingers' events mean
    // The canvas's left and top in the page's CSS pixels, as the last press
    // or touch found them: moves, told in the page's pixels, are taken in
    // the canvas's, from where the press was.
    long canvasX = 0, canvasY = 0;
    bool frameAsked = false;  // a frame is asked of the browser
    bool timerSet = false;
};

WebExplorer* page = nullptr;

double now() { return emscripten_performance_now() / 1000.0; }

// Shows `text` in the page's message area, a line each (empty: clears it).
void showMessage(const std::string& text) {
    EM_ASM({
        var m = document.getElementById("message");
        if (m) m.textContent = UTF8ToString($0);
    }, text.c_str());
}

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

std::string lines(const std::vector<std::string>& said) {
    std::string text;
    for (const std::string& line : said) text += (text.empty() ? "" : "\n") + line;
    return text;
}

EM_BOOL onFrame(double, void*);

// Asks the browser for a frame, once.
void redraw() {
    if (page->frameAsked) return;
    page->frameAsked = true;
    emscripten_request_animation_frame_loop(onFrame, nullptr);
}

void onTimer(void*) {
    page->timerSet = false;
    redraw();
}

// The canvas's drawing size: the query's size or the page's, in CSS
// pixels, drawn at the device's pixel ratio. The session works in CSS
// pixels, so lines, marks and numbers keep their sizes on any screen.
void fitCanvas() {
    if (!page->fixedSize) {
        // The room the toolbar leaves: the element "#stage" around the canvas.
        page->cssWidth = EM_ASM_INT({ var s = document.getElementById("stage"); return s ? s.clientWidth : window.innerWidth; });
        page->cssHeight = EM_ASM_INT({ var s = document.getElementById("stage"); return s ? s.clientHeight : window.innerHeight; });
    }
    const double ratio = emscripten_get_device_pixel_ratio();
    const int w = std::max(1, int(std::lround(page->cssWidth * ratio)));
    const int h = std::max(1, int(std::lround(page->cssHeight * ratio)));
    emscripten_set_element_css_size(canvas, page->cssWidth, page->cssHeight);
    emscripten_set_canvas_element_size(canvas, w, h);
    page->ratio = ratio;
    page->session->resize(page->cssWidth, page->cssHeight);
}

// The title, and the page's controls, information and address, handed to
// its script (Module.pdShow) when they changed.
void updateTitle() {
    const std::string title = page->session->title();
    if (title != page->title) {
        page->title = title;
        emscripten_set_window_title(title.c_str());
    }
    std::string state = pageStateJson(*page->session, page->source);
    if (state == page->shownState) return;
    page->shownState = std::move(state);
    EM_ASM({ if (Module.pdShow) Module.pdShow(UTF8ToString($0)); }, page->shownState.c_str());
}

// Draws the frame. Gives whether the next is wanted at once (an animation
// runs); else sets a timer for a change further off (a message's end).
bool drawFrame() {
    const double at = now();
    page->session->advance(at);
    const Status drawn = page->renderer->draw(page->session->screenFrame(), page->ratio);
    if (!drawn) showMessage(drawn.error().text());
    updateTitle();
    const double next = page->session->nextChange(at);
    if (next < 0.05) return true;
    if (std::isfinite(next) && !page->timerSet) {
        page->timerSet = true;
        emscripten_set_timeout(onTimer, next * 1000.0, nullptr);
    }
    return false;
}

// A frame too big for the memory leaves the picture shown, and asks for no
// more frames until the next event.
EM_BOOL onFrame(double, void*) {
    bool more = false;
    try {
        more = drawFrame();
    } catch (const std::bad_alloc&) {
        showMessage(std::string("duals-explorer: ") + tr(outOfMemory));
    }
    if (!more) page->frameAsked = false;
    return more;
}

// Runs `work`, a call from the browser: memory running out in it is told,
// and the page goes on with what it showed.
template <typename Work>
void guarded(Work work) {
    try {
        work();
    } catch (const std::bad_alloc&) {
        showMessage(std::string("duals-explorer: ") + tr(outOfMemory));
    }
}

// The browser's event handler `handle`, run guarded.
template <typename Event, EM_BOOL (*handle)(int, const Event*, void*)>
EM_BOOL guard(int type, const Event* e, void* data) {
    EM_BOOL handled = EM_TRUE;
    guarded([&] { handled = handle(type, e, data); });
    return handled;
}

// A save button's file (see page_saves.h); a refusal is told.
void save(Status (*kind)(Session&)) {
    const Status saved = kind(*page->session);
    if (!saved) showMessage(saved.error().text());
    redraw();
}

// Draws the frame without the key list and hands the canvas's picture to
// the browser as a download named as the window names its file; the
// browser handles a name already taken. The shown frame follows.
void savePicture() {
    const Status drawn = page->renderer->draw(page->session->frame(FrameTarget::Raster, false), page->ratio);
    if (!drawn) return showMessage(drawn.error().text());
    const std::string name = exportName(*page->session, ".png");
    EM_ASM({
        var link = document.createElement("a");
        link.download = UTF8ToString($0);
        link.href = document.getElementById("canvas").toDataURL("image/png");
        document.body.appendChild(link);
        link.click();
        link.remove();
    }, name.c_str());
    redraw();
}

void perform(ActionId id) {
    switch (page->session->perform(id, now())) {
    case ActionEffect::None: return;
    case ActionEffect::Save: savePicture(); return;
    case ActionEffect::SavePrint: save([](Session& s) { return downloadPrint(s, PrintFormat::Stl); }); return;
    case ActionEffect::Quit: return;  // a page is closed by its browser
    case ActionEffect::Redraw: break;
    }
    redraw();
}

EM_BOOL onKey(int, const EmscriptenKeyboardEvent* e, void*) {
    if (e->ctrlKey || e->altKey || e->metaKey) return EM_FALSE;
    const std::string key = e->key;
    // Tab and Shift-Tab move the page's focus (see Session::leaveTabToFocus).
    // A text field, a list, an open dialog or the print view keeps every
    // key; a focused control keeps Space and Enter (pressing), a choice or
    // a slider its arrows too, so the page is used by keyboard as any other.
    if (key == "Tab") return EM_FALSE;
    const int kept = EM_ASM_INT({
        var a = document.activeElement;
        var printing = document.getElementById("print-view");
        if (printing && !printing.hidden) return 1;
        if (!a || a == document.body || a.id == "canvas") return 0;
        if (/^(TEXTAREA|SELECT)$/.test(a.tagName) || a.closest("dialog[open]")) return 1;
        if (a.tagName == "INPUT" && !/^(radio|checkbox|range|button|file)$/.test(a.type)) return 1;
        if (/^Arrow/.test(UTF8ToString($0)) && /^(radio|range)$/.test(a.type)) return 1;
        return /^( |Enter)$/.test(UTF8ToString($0)) ? 1 : 0;
    }, key.c_str());
    if (kept) return EM_FALSE;
    SpecialKey special = SpecialKey::None;
    unsigned char c = 0;
    if (key == "ArrowLeft") special = SpecialKey::Left;
    else if (key == "ArrowRight") special = SpecialKey::Right;
    else if (key == "ArrowUp") special = SpecialKey::Up;
    else if (key == "ArrowDown") special = SpecialKey::Down;
    else if (key == "Tab") c = '\t', special = e->shiftKey ? SpecialKey::BackTab : SpecialKey::None;
    else if (key == "Escape") c = 27;
    else if (key.size() == 1) c = static_cast<unsigned char>(key[0]);
    else return EM_FALSE;
    const Action* a = actionForKey(c, special);
    if (!a) return EM_FALSE;
    perform(a->id);
    return EM_TRUE;
}

// Hands what the events meant to the session; gives whether they meant anything.
bool apply(const Gesture& gesture) {
    if (!page->session->apply(gesture, now())) return false;
    redraw();
    return true;
}

EM_BOOL onMouseDown(int, const EmscriptenMouseEvent* e, void*) {
    if (e->button != 0) return EM_FALSE;
    page->canvasX = e->clientX - e->targetX;
    page->canvasY = e->clientY - e->targetY;
    apply(page->gestures.press(e->targetX, e->targetY));
    return EM_TRUE;
}

EM_BOOL onMouseUp(int, const EmscriptenMouseEvent* e, void*) {
    if (e->button != 0) return EM_FALSE;
    apply(page->gestures.release());
    return EM_FALSE;
}

// A drag turns by CSS pixels, as the window turns by its pixels.
EM_BOOL onMouseMove(int, const EmscriptenMouseEvent* e, void*) {
    return apply(page->gestures.move(e->clientX - page->canvasX, e->clientY - page->canvasY));
}

EM_BOOL onWheel(int, const EmscriptenWheelEvent* e, void*) {
    apply(page->gestures.wheel(-e->deltaY));
    return EM_TRUE;
}

void onHold(void*) {
    guarded([] { apply(page->gestures.hold(now())); });
}

EM_BOOL onTouch(int type, const EmscriptenTouchEvent* e, void*) {
    const TouchPhase phase = type == EMSCRIPTEN_EVENT_TOUCHSTART ? TouchPhase::Start
                             : type == EMSCRIPTEN_EVENT_TOUCHMOVE ? TouchPhase::Move
                             : type == EMSCRIPTEN_EVENT_TOUCHEND  ? TouchPhase::End
                                                                  : TouchPhase::Cancel;
    if (phase == TouchPhase::Start && e->numTouches > 0) {
        page->canvasX = e->touches[0].clientX - e->touches[0].targetX;
        page->canvasY = e->touches[0].clientY - e->touches[0].targetY;
    }
    std::vector<TouchPoint> fingers;
    for (int i = 0; i < e->numTouches; ++i)
        fingers.push_back({e->touches[i].clientX - page->canvasX, e->touches[i].clientY - page->canvasY});
    apply(page->gestures.touch(phase, fingers, now()));
    // A finger held still sends no events: the time tells the long press.
    if (phase == TouchPhase::Start) emscripten_set_timeout(onHold, longPressSeconds * 1000.0 + 1.0, nullptr);
    return EM_TRUE;
}

EM_BOOL onResize(int, const EmscriptenUiEvent*, void*) {
    if (!page->fixedSize) {
        fitCanvas();
        redraw();
    }
    return EM_FALSE;
}

// The save buttons of the page's shell: "#save-png", "#save-svg",
// "#save-off", "#save-net", "#print-net", "#save-stl" and "#save-glb".
void connectSaveButtons() {
    EM_ASM({
        "save-png save-svg save-off save-net print-net save-stl save-glb".split(" ").forEach(function (id, kind) {
            var button = document.getElementById(id);
            if (button) button.addEventListener("click", function () { _pdWebSave(kind); });
        });
    });
}

// OFF or STL files from the picker "#open" or dropped on the page: copied into
// the page's own folder /open (a file of the same name replaced) and opened
// by pdWebOpen.
void connectOpening() {
    EM_ASM({
        function openFiles(list) {
            var files = Array.prototype.slice.call(list);
            if (files.length == 0) return;
            Promise.all(files.map(function (f) { return f.arrayBuffer(); })).then(function (buffers) {
                if (!FS.analyzePath("/open").exists) FS.mkdir("/open");
                Module.pdOpenNames = files.map(function (f) { return f.name; });
                files.forEach(function (f, i) { FS.writeFile("/open/" + f.name, new Uint8Array(buffers[i])); });
                _pdWebOpen();
            });
        }
        var picker = document.getElementById("open");
        if (picker) picker.addEventListener("change", function () { openFiles(picker.files); picker.value = ""; });
        document.addEventListener("dragover", function (e) { e.preventDefault(); });
        document.addEventListener("drop", function (e) {
            e.preventDefault();
            if (e.dataTransfer) openFiles(e.dataTransfer.files);
        });
    });
}

// Shows `loaded` (at least one model) from `start` in place of the models
// shown, from `source`. Drawn once before they stay: models too big for
// the memory leave those shown, told. Gives whether they stay.
bool showModels(LoadedModels loaded, const ViewState& start, const PageSource& source) {
    std::unique_ptr<Session> shown = std::move(page->session);
    const PageSource before = page->source;
    try {
        page->source = source;
        page->session = std::make_unique<Session>(std::move(loaded), start, Session::Work::InBackground, now());
        page->session->leaveOutQuit();
        page->session->leaveTabToFocus();
        page->session->leaveOutPanels();
        page->session->setNetSettings(shown->netSettings());  // the paper chosen stays
        fitCanvas();
        if (drawFrame()) redraw();
    } catch (const std::bad_alloc&) {
        page->session = std::move(shown);
        page->source = before;
        fitCanvas();
        updateTitle();
        redraw();
        showMessage(std::string("duals-explorer: ") + tr(outOfMemory));
        return false;
    }
    return true;
}

// Opens OFF or STL files `names` of /open in place of the models shown, in the
// state a window opened on them starts in; they join the picker's list. A
// file that cannot be read is told in the command line's words, and what
// was shown stays.
void openFiles(const std::vector<std::string>& names) {
    if (names.empty() || ::chdir("/open") != 0) return;
    // The names as they are: a name is never read as an option.
    Result<LoadedModels> loaded = loadModelInputs(names);
    if (!loaded) return showMessage(loaded.error().text());
    if (loaded->models.empty()) return showMessage(tr("no model to show"));
    const std::vector<std::string> warnings = modelWarnings(*loaded);
    const Result<ViewState> start = startState(parseOptions({}).options, *loaded);
    if (!start) return showMessage(firstLine(start.error().text()));
    PageSource source = page->source;
    source.fromFiles = true;
    source.loads.clear();
    for (const std::string& name : names)
        if (std::find(source.openedFiles.begin(), source.openedFiles.end(), name) == source.openedFiles.end())
            source.openedFiles.push_back(name);
    if (showModels(std::move(*loaded), *start, source)) showMessage(lines(warnings));
}

// The files just copied into /open. One the page cannot hold is let go.
void openCopiedFiles() {
    std::vector<std::string> names;
    const int count = EM_ASM_INT({ return (Module.pdOpenNames || []).length; });
    for (int i = 0; i < count; ++i) {
        char name[1024] = "";
        EM_ASM({ stringToUTF8(Module.pdOpenNames[$0], $1, $2); }, i, name, int(sizeof name));
        names.push_back(name);
    }
    const std::vector<std::string> known = page->source.openedFiles;
    openFiles(names);
    if (page->source.openedFiles != known) return;
    for (const std::string& name : names)
        if (std::find(known.begin(), known.end(), name) == known.end()) ::unlink(("/open/" + name).c_str());
}

// The models the address asks for, from the page's own copy of the ten
// files (read for the notations' M alone when it asks for built models).
// A notation that cannot be built, or memory running out while building,
// is told in `told` and the page opens as without it: with none left, on
// the ten files.
Result<LoadedModels> openingModels(const ExplorerOptions& options, std::vector<std::string>& told) {
    ExplorerOptions wanted = options;
    wanted.inputs = {"/data"};
    ModelRequest request = modelRequest(wanted, false);
    request.leaveOutRefused = true;
    try {
        Result<LoadedModels> loaded = loadModels(request);
        if (!loaded || !loaded->models.empty()) return loaded;
        told.insert(told.end(), loaded->notes.begin(), loaded->notes.end());
    } catch (const std::bad_alloc&) {
        told.push_back(std::string("duals-explorer: ") + tr(outOfMemory));
    }
    request.conway.clear();
    request.catalogue.clear();
    return loadModels(request);
}

// The address's part that loads `loaded`: its notations that were built
// and its catalogue; "" for the ten files.
std::string loadingQuery(const ExplorerOptions& options, const LoadedModels& loaded) {
    std::string query;
    for (const std::string& notation : options.conway)
        if (findModel(loaded, notation) >= 0) query += (query.empty() ? "conway=" : "&conway=") + queryEscaped(notation);
    if (!options.catalogue.empty()) query += (query.empty() ? "catalogue=" : "&catalogue=") + options.catalogue;
    return query;
}

// Shows the models the address's query `query` loads in place of those
// shown, keeping the learner's choices of the view. A refusal is told and
// what was shown stays.
void chooseModels(const std::string& query) {
    const PageOptions asked = pageOptions(query);
    if (!asked.told.empty()) return showMessage(asked.told);
    std::vector<std::string> told;
    Result<LoadedModels> loaded = openingModels(asked.parsed.options, told);
    if (!loaded) return showMessage(loaded.error().text());
    if (!told.empty()) return showMessage(lines(told));
    Result<ViewState> start = startState(asked.parsed.options, *loaded);
    if (!start) return showMessage(firstLine(start.error().text()));
    carryChoices(page->session->view(), *start);
    PageSource source = page->source;
    source.fromFiles = false;
    source.loads = loadingQuery(asked.parsed.options, *loaded);
    const std::vector<std::string> warnings = modelWarnings(*loaded);
    if (showModels(std::move(*loaded), *start, source)) showMessage(lines(warnings));
}

// The picker's entry `id` (see pickerEntries), a family's with `sides`.
// One the models shown hold already is shown at once.
void chooseEntry(const std::string& id, int sides) {
    if (id.rfind("file:", 0) == 0) return openFiles({id.substr(5)});
    const Result<std::string> query = entryQuery(id, sides);
    if (!query) return showMessage(query.error().text());
    if (id.rfind("family:", 0) == 0) page->source.sides = sides;
    const PageOptions asked = pageOptions(*query);
    if (!page->source.fromFiles && page->source.loads == loadingQuery(asked.parsed.options, page->session->loaded())) {
        const Result<ViewState> there = startState(asked.parsed.options, page->session->loaded());
        if (there) {
            page->session->change([&](ViewState& v) { v.model = there->model; }, now());
            showMessage("");
            return redraw();
        }
    }
    chooseModels(*query);
}

// Speaks `language` (en, sr or sr@latin): the page's texts and its
// <html lang> follow at the next frame.
void speakOnPage(const std::string& language, bool named) {
    speak(language);
    page->source.language = language;
    page->source.languageNamed = named;
    if (page->session) page->session->languageChanged();
    page->title.clear();
    page->shownState.clear();
}

int openPage() {
    static WebExplorer state;
    page = &state;
    const std::string search = emscripten_run_script_string("location.search");
    // The language first, so that what the address is told is in it.
    bool named = false;
    speakOnPage(pageLanguage(search, emscripten_run_script_string("(navigator.languages || []).join(',')"), named),
                named);
    PageOptions query = pageOptions(search);
    // What the command line would tell: the refusals first, then what is
    // worth telling of the models.
    std::vector<std::string> told;
    Result<LoadedModels> loaded = openingModels(query.parsed.options, told);
    if (!loaded || loaded->models.empty()) {
        told.push_back(loaded ? tr("no model to show") : loaded.error().text());
        showMessage(lines(told));
        return 2;
    }
    const std::vector<std::string> warnings = modelWarnings(*loaded);
    // What the models refuse of the address is told with the rest.
    const Result<ViewState> start = pageStart(query, *loaded);
    if (!start) {
        showMessage(start.error().text());
        return 2;
    }
    if (!query.told.empty()) told.insert(told.begin(), query.told);
    const bool fixedSize = query.fixedSize;
    const ParsedOptions& parsed = query.parsed;
    told.insert(told.end(), warnings.begin(), warnings.end());
    showMessage(lines(told));
    state.fixedSize = fixedSize;
    state.cssWidth = start->width;
    state.cssHeight = start->height;

    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.depth = EM_TRUE;
    attributes.antialias = EM_FALSE;  // smooth frames are multisampled by the renderer
    attributes.preserveDrawingBuffer = EM_TRUE;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context(canvas, &attributes);
    if (context <= 0 || emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
        showMessage(tr("this browser has no WebGL2, which the page draws with"));
        return 2;
    }
    Result<WebGlRenderer> renderer = WebGlRenderer::create();
    if (!renderer) {
        showMessage(renderer.error().text());
        return 2;
    }
    state.renderer.emplace(std::move(*renderer));
    state.session = std::make_unique<Session>(std::move(*loaded), *start, Session::Work::InBackground, now());
    state.session->leaveOutQuit();
    state.session->leaveTabToFocus();
    state.session->leaveOutPanels();
    state.session->setNetSettings(query.net);
    state.source.loads = loadingQuery(parsed.options, state.session->loaded());
    if (fixedSize) state.source.fixedSize = std::to_string(start->width) + "x" + std::to_string(start->height);

    // (The handlers in brackets: the calls are macros.)
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, nullptr, EM_TRUE, (guard<EmscriptenKeyboardEvent, onKey>));
    emscripten_set_mousedown_callback(canvas, nullptr, EM_TRUE, (guard<EmscriptenMouseEvent, onMouseDown>));
    emscripten_set_mouseup_callback(window, nullptr, EM_TRUE, (guard<EmscriptenMouseEvent, onMouseUp>));
    emscripten_set_mousemove_callback(window, nullptr, EM_TRUE, (guard<EmscriptenMouseEvent, onMouseMove>));
    emscripten_set_wheel_callback(canvas, nullptr, EM_TRUE, (guard<EmscriptenWheelEvent, onWheel>));
    for (auto set : {emscripten_set_touchstart_callback_on_thread, emscripten_set_touchmove_callback_on_thread,
                     emscripten_set_touchend_callback_on_thread, emscripten_set_touchcancel_callback_on_thread})
        set(canvas, nullptr, EM_TRUE, (guard<EmscriptenTouchEvent, onTouch>), EM_CALLBACK_THREAD_CONTEXT_CALLING_THREAD);
    emscripten_set_resize_callback(window, nullptr, EM_TRUE, (guard<EmscriptenUiEvent, onResize>));
    fitCanvas();  // in the room the toolbar leaves
    connectSaveButtons();
    connectOpening();
    updateTitle();
    redraw();
    return 0;
}

}  // namespace

int runWebExplorer() {
    int status = 2;
    guarded([&] { status = openPage(); });
    return status;
}

}  // namespace pd

// The files copied into /open, opened (see openCopiedFiles).
extern "C" EMSCRIPTEN_KEEPALIVE void pdWebOpen() {
    if (pd::page && pd::page->session) pd::guarded(pd::openCopiedFiles);
}

// A save button: 0 PNG, 1 SVG, 2 OFF, 3 the paper net, 4 the net printed,
// 5 the print's STL, 6 its glTF.
// Others do nothing.
extern "C" EMSCRIPTEN_KEEPALIVE void pdWebSave(int kind) {
    if (!pd::page || !pd::page->session) return;
    pd::guarded([kind] {
        switch (kind) {
        case 0: pd::savePicture(); break;
        case 1: pd::save(pd::downloadSvg); break;
        case 2: pd::save(pd::downloadOff); break;
        case 3: pd::save(pd::downloadNet); break;
        case 4: pd::save(pd::printNet); break;
        case 5: pd::save([](pd::Session& s) { return pd::downloadPrint(s, pd::PrintFormat::Stl); }); break;
        case 6: pd::save([](pd::Session& s) { return pd::downloadPrint(s, pd::PrintFormat::Glb); }); break;
        default: break;
        }
    });
}

// A toolbar button: action `index` of the key table. Unknown ones do nothing.
extern "C" EMSCRIPTEN_KEEPALIVE void pdWebAction(int index) {
    const std::vector<pd::Action>& table = pd::actionTable();
    if (pd::page && pd::page->session && index >= 0 && std::size_t(index) < table.size())
        pd::guarded([index, &table] { pd::perform(table[std::size_t(index)].id); });
}

// A control of the page's set to `value` (see setControl); a refusal is told.
extern "C" EMSCRIPTEN_KEEPALIVE void pdWebSet(const char* id, const char* value) {
    if (!pd::page || !pd::page->session) return;
    pd::guarded([id, value] {
        const pd::Status set = pd::setControl(*pd::page->session, id, value, pd::now());
        if (!set) pd::showMessage(set.error().text());
        pd::redraw();
    });
}

// The picker's entry `id`, a family's with `sides` sides.
// The page's language control: `language` is en, sr or sr@latin, kept in
// the address from then on; another is told and changes nothing.
extern "C" EMSCRIPTEN_KEEPALIVE void pdWebLanguage(const char* language) {
    if (!pd::page || !pd::page->session) return;
    pd::guarded([language] {
        if (!pd::knownLanguage(language))
            return pd::showMessage(std::string("duals-explorer: '") + language + "' is not en, sr or sr@latin");
        pd::speakOnPage(language, true);
        pd::showMessage("");
        pd::redraw();
    });
}

extern "C" EMSCRIPTEN_KEEPALIVE void pdWebChoose(const char* id, int sides) {
    if (pd::page && pd::page->session) pd::guarded([id, sides] { pd::chooseEntry(id, sides); });
}

// The paper net's page ("a4", "letter", "a3") and mean edge in
// millimetres ("": the largest that fits), read as the address's page= and
// edge-mm=; a refusal is told and the settings stay.
extern "C" EMSCRIPTEN_KEEPALIVE void pdWebNet(const char* paper, const char* edgeMm) {
    if (!pd::page || !pd::page->session) return;
    pd::guarded([paper, edgeMm] {
        const std::string edge = edgeMm;
        const pd::PageOptions asked = pd::pageOptions("page=" + pd::queryEscaped(paper) +
                                                      (edge.empty() ? "" : "&edge-mm=" + pd::queryEscaped(edge)));
        pd::showMessage(asked.told);
        if (asked.told.empty()) pd::page->session->setNetSettings(asked.net);
        pd::updateTitle();
    });
}

// The page's own words in the reader's language (see pageTexts), asked for
// when the page is first shown.
extern "C" EMSCRIPTEN_KEEPALIVE const char* pdWebTexts() {
    static std::string texts;
    texts = pd::pageTexts();
    return texts.c_str();
}

// A notation typed: "" when the command line builds it, else its message.
extern "C" EMSCRIPTEN_KEEPALIVE const char* pdWebCheckNotation(const char* notation) {
    static std::string said;
    const pd::Status checked = pd::checkNotation(notation);
    said = checked ? "" : checked.error().text();
    return said.c_str();
}

// A notation to show, built as the address's conway= builds it.
extern "C" EMSCRIPTEN_KEEPALIVE void pdWebShowNotation(const char* notation) {
    if (!pd::page || !pd::page->session) return;
    pd::guarded([notation] {
        const pd::Status checked = pd::checkNotation(notation);
        if (!checked) return pd::showMessage(checked.error().text());
        pd::chooseModels("conway=" + pd::queryEscaped(notation));
    });
}
