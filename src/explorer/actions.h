#pragma once

#include <string>
#include <utility>
#include <vector>

#include "view/view_state.h"

namespace pd {

// The explorer's input: one table of actions, each with its keys and its
// menu label, drives both the keyboard and the right-click menu, so the two
// cannot drift apart. Applying an action only changes a ViewState; saving
// and quitting are left to the front end, which the result tells.

enum class ActionId {
    Solid1, Solid2, Solid3, Solid4, Solid5,
    NextModel, PreviousModel,
    CycleShow, CycleDual, CycleBack, CycleFaces, CycleNumbers, ToggleSpin, ToggleTurntable,
    ToggleMorph, MorphBack, MorphForward, ToggleInfo, ToggleUnfold,
    TurnUp, TurnDown, TurnLeft, TurnRight, ZoomIn, ZoomOut,
    Reset, ToggleSmooth, ToggleHelp, TogglePresent, Save, SavePrint, Unlight, Quit,
};

// Keys that are not characters. BackTab is Shift-Tab.
enum class SpecialKey { None, Left, Right, Up, Down, BackTab };

// The menu's submenus, each holding the actions of one kind, so that the
// menu fits a small screen.
enum class ActionGroup { Models, View, Faces, Animation, Save };

struct Action {
    ActionId id;
    const char* keys;     // characters that trigger it ("" if none)
    SpecialKey special;   // or the special key that does
    const char* keyName;  // how the key list names its keys, in English: tr() where shown
    const char* label;    // the menu's and the key list's text, in English: tr() where shown
    ActionGroup group;    // the submenu it is in
};

// Every action, in menu order within its group.
const std::vector<Action>& actionTable();

// Every group, in menu order, with its submenu's title.
const std::vector<std::pair<ActionGroup, const char*>>& actionGroups();

// The action for a character key or a special key (`c` is ignored unless
// `special` is None); null when the key does nothing.
const Action* actionForKey(unsigned char c, SpecialKey special = SpecialKey::None);

// What the explorer holds besides the state: how many models it has,
// whether they are the directory's five solids (keys 1 to 5), and whether
// its front end can quit (a web page cannot: its browser closes it).
struct ActionContext {
    int modelCount = 1;
    bool directory = true;
    bool quits = true;
    // Tab and Shift-Tab change the model; a page leaves them to its focus
    // order (its buttons change the model there).
    bool tabKeys = true;
};

// Whether `action`'s key is Tab or Shift-Tab.
bool usesTab(const Action& action);

// True when the action applies here: the solid keys only in directory
// mode, for solids that are loaded; Quit only where the front end quits.
bool actionAvailable(ActionId id, const ActionContext& context);

// What the front end still has to do after an action.
enum class ActionEffect { None, Redraw, Save, SavePrint, Quit };

// Applies the action to `state`. An unavailable action changes nothing and
// returns None. Putting the model on the turntable keeps its two angles
// (the program's, or those of programAnglesOf) but takes the first as the
// camera's height, so the model's up axis stands upright on the screen.
ActionEffect applyAction(ActionId id, ViewState& state, const ActionContext& context);

constexpr float keyTurnDegrees = 5.0f;
constexpr float dragDegreesPerPixel = 0.5f;
// A finger is never quite still: one lifted within this many pixels
// (either way) of where it went down taps, as a click does, and turns nothing.
constexpr int tapReachPixels = 8;
constexpr float spinDegreesPerSecond = 30.0f;
constexpr double zoomStep = 1.25;
constexpr double morphStep = 0.05;       // [ and ] move the morph's stage by this
constexpr double morphCycleSeconds = 8;  // m: t from 0 to 1 and back in this time
constexpr double unfoldSeconds = 2.0;  // `u`: from folded to flat or back

// A left-button drag by (dx, dy) window pixels (y down): horizontal motion
// turns about the screen's vertical axis, vertical motion about its
// horizontal axis, at any orientation, so the front follows the pointer
// and the picture never rolls.
void applyDrag(ViewState& state, int dx, int dy);

// Turns `state` by `degrees` of spin: about the screen's vertical axis, or
// on a turntable about the model's own up axis.
void applySpin(ViewState& state, float degrees);

// The key list shown by `?`: one line per available action, "KEYS  LABEL".
std::vector<std::string> helpLines(const ActionContext& context);

}  // namespace pd
