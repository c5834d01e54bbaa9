#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "explorer/actions.h"
#include "explorer/animation_clocks.h"
#include "explorer/frames_ahead.h"
#include "explorer/gestures.h"
#include "view/frame_builder.h"
#include "explorer/model_inputs.h"
#include "explorer/morph_store.h"
#include "explorer/net_store.h"
#include "explorer/options.h"
#include "view/view_state.h"

namespace pd {

// The explorer itself, behind every front end: the loaded models, the view,
// the morph's stages and the nets, one clock for every animation (spin,
// morph, fold: each a function of time), and the title's messages. A
// driver (the window, the headless outputs, the web page) turns its events
// into calls on it and draws what it answers; none of them decides what a
// state shows. Times are the driver's clock, in seconds, never going back.
class Session {
public:
    // How the session does its slow work. A window goes on drawing while
    // the nets are made on a second thread (the fold starts once they
    // are); a file is written only once they are made.
    enum class Work { Waited, InBackground };

    // The explorer over `loaded` (at least one model), opening in `start`
    // (see startState) at time `now`.
    Session(LoadedModels loaded, const ViewState& start, Work work = Work::Waited, double now = 0.0);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // What it shows, of which model, among which.
    const ViewState& view() const { return view_; }
    const Model& model() const { return loaded_.models[std::size_t(view_.model)]; }
    const LoadedModels& loaded() const { return loaded_; }

    // A key, menu entry or button: changes the view and starts or stops
    // what runs by the clock. Gives what the driver still has to do (save,
    // quit), as applyAction does. An action that cannot apply here says
    // why in the title.
    ActionEffect perform(ActionId id, double now);
    // A control of a page's: `edit` changes the view's choices (what is
    // shown, faces, numbers, style, spin, morph running...) as actions
    // would; the clocks start or stop as the change asks. What was lit goes
    // with a change of model.
    void change(const std::function<void(ViewState&)>& edit, double now);
    // A slider: the morph stands at stage `t` (0..1, clamped), the fold at
    // share `t`, each stopped there.
    void setMorph(double t, double now);
    void setFold(double t, double now);
    // For a front end that shows the counts and the key list itself (a
    // page, in its own text): no frame draws them.
    void leaveOutPanels() { panelsOut_ = true; }
    // A left-button drag by (dx, dy) pixels.
    void drag(int dx, int dy, double now);
    // A left click without a drag at pixel (x, y): lights the face, vertex
    // or edge there with its dual part (see view/highlight.h), or puts
    // the light out on the background or on the part already lit. Only on the model itself: during a
    // morph or a fold the title says so and nothing changes.
    void click(int x, int y, double now);
    // What lies at pixel (x, y) of the view's picture, as litAt finds it.
    Lit partAt(double x, double y);
    // The wheel turned by `notches`, away from the user positive: zooms in
    // (or out) a step per notch.
    void wheel(int notches, double now);
    // What the drivers' events meant (see Gestures): a drag, click or zoom
    // as drag(), click() and wheel() take them, a long press putting out
    // what is lit. Gives whether it meant anything (a long press with
    // nothing lit does not).
    bool apply(const Gesture& gesture, double now);
    // The drawing is now `width` x `height` pixels.
    void resize(int width, int height);
    // Moves what runs by the clock to where it stands at `now` and drops a
    // title message whose time is over.
    void advance(double now);
    // Seconds from `now` until the session next changes by itself: an
    // animation's next step, a message's end, nets being made; infinity
    // when nothing will.
    double nextChange(double now) const;

    // The morph's stage the view shows (null at t = 0), or why the model
    // has none there.
    Result<const Model*> stage();
    // The picture of the view for `target`, with the key list when the
    // view asks for it and `withHelp`. A stage that cannot be built stops
    // the morph (saying why in the title) and the solid is drawn.
    Frame frame(FrameTarget target = FrameTarget::Raster, bool withHelp = true);
    // The picture for a screen: frame(), but a big one (quickPrimitives or
    // more lines, marks and faces) comes aliased while the view changes,
    // being far quicker to draw (bench/README.md, "Big pictures on a
    // screen"), and smooth once the view stands still: the first picture
    // of a new view is aliased, and nextChange asks at once for the smooth
    // one. Pictures written to files (frame()) are always as the view says.
    Frame screenFrame();
    // screenFrame() built ahead, for a caller with other work meanwhile
    // (a window being made): the next screenFrame() hands it over, when
    // the view has not changed and no time passed in between. No other
    // call may run on the session meanwhile.
    void prepareScreenFrame();
    // The window's title: see viewTitle, with the message of the moment.
    std::string title() const;
    // The counts lines the panel and --info show (see MorphStore::countLines).
    Result<std::vector<std::string>> countLines();
    // The key list: one line per action available here.
    const std::vector<std::string>& keyList() const { return keys_; }
    // The actions available here, as indices into actionTable(), in its
    // order: what a menu or a toolbar offers.
    std::vector<std::size_t> actionsHere() const;
    // For a front end that cannot quit (a web page: its browser closes it):
    // Quit leaves the key list and does nothing.
    void leaveOutQuit();
    // For a front end whose Tab and Shift-Tab move its focus (a page): the
    // key list leaves them out; the actions stay for its buttons.
    void leaveTabToFocus();
    // After the language changed (the page's control): the key list, the
    // counts and the refusals it keeps are made again in the new one.
    void languageChanged();
    // How the session's paper nets are laid out (--page, --edge-mm).
    const NetSettings& netSettings() const { return netSettings_; }
    void setNetSettings(const NetSettings& settings) { netSettings_ = settings; }
    // The stem of a saved picture's name: "NAME-xA-yB".
    std::string saveStem() const;

    // Picture `index` of `count` of an animation written to files: turned
    // 360/count degrees further per picture about y, or at the morph's
    // stage (or the fold) index / (count - 1), from the opening view.
    void showFrame(Animation animation, int index, int count);
    // What an OFF file of the view holds: the shells it shows (the stage
    // and its own dual during a morph), unturned. An error when that
    // leaves nothing, or a shell holds what an OFF reader refuses.
    Result<std::string> offText();
    // The shells a paper net of the view holds (not faint), and the model
    // they are of (the stage during a morph).
    struct NetShells {
        std::vector<ShownShell> shells;
        const Model* model;
    };
    NetShells netShells();
    // Whether the model has a morph at all, as MorphStore::available.
    Status morphAvailable();

private:
    // The program's dual of the model shown, made when the view first asks
    // for it (a model may be loaded without it: see buildModel).
    void ensureDual();
    void note(const std::string& text, double now);
    void startClocks(const ViewState& before, double now);
    // Waits for the frame being built ahead, if any (see FramesAhead).
    // Gives how long it waited, in seconds.
    double waitForFrameAhead() { return ahead_.waitForJob(morphs_); }
    // Starts building the frame of the step advance() planned, while the
    // present one is drawn.
    void startFrameAhead();
    // The shells of the view's fold and their nets (of `stage` when it is
    // not null); false, leaving the nets out, while a window's are still
    // being made.
    bool openNets(const Model* stage, std::vector<ShownShell>& shells, std::vector<SharedNet>& nets);
    Frame unfoldFrame(const Model& shown, const Model* stage, FrameTarget target, const FramePanels& panels);
    // The key list (`withHelp`) and, when the view asks for it, the counts.
    FramePanels framePanels(bool withHelp);
    std::vector<NetStore::Wanted> wantedNets(const Model* stage, std::vector<ShownShell>& shells);

    LoadedModels loaded_;
    ActionContext context_;
    ViewState view_, opening_;
    Work work_;
    std::vector<std::string> keys_;
    MorphStore morphs_;
    NetStore nets_;
    NetSettings netSettings_;
    bool panelsOut_ = false;  // see leaveOutPanels

    double now_ = 0.0;  // the latest time a driver gave
    // The title's message, which belongs to the model it was said of.
    std::string note_;
    int noteModel_ = -1;
    double noteUntil_ = 0.0;
    AnimationClocks clocks_;  // the spin's, the morph's and the fold's
    // Counts the view's changes, so a screen picture knows whether the view
    // stood still since the last one.
    std::uint64_t version_ = 0;
    std::uint64_t quickVersion_ = ~std::uint64_t(0);  // the view the last quick picture showed
    bool smoothFrameDue_ = false;  // a quick picture is up; the smooth one is to follow
    // Declared last, so that it is gone (its job waited for) before the
    // models its job reads.
    FramesAhead ahead_;
};

// From this many primitives on, a screen picture that is changing is drawn
// aliased (see Session::screenFrame): about a 65 000-face model with its dual.
constexpr std::size_t quickPrimitives = 200000;

// The state the options describe on the loaded models: the model --solid or
// --model picks (a model's name, or for the ten files also its English
// name, "cube"; else the cube of the ten files, or the first model), the
// angles (on a turntable: the camera raised by A, the model turned by B
// about its up axis), size, shells, dual kind (the models' own default when
// not given: the program's for the ten files, the reciprocal for OFF),
// back edges, faces, numbers, print settings, morph and fold. An error when
// --solid is used with OFF files, the directory lacks that solid, --model
// names no loaded model (the message lists them), or nothing is loaded.
Result<ViewState> startState(const ExplorerOptions& options, const LoadedModels& loaded);

}  // namespace pd
