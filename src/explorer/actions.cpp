#include "explorer/actions.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "draw/bitmap_font.h"

namespace pd {

namespace {

constexpr double minZoom = 1.0 / 64.0;
constexpr double maxZoom = 64.0;

template <typename E>
E nextOf(E value, int count) {
    return static_cast<E>((static_cast<int>(value) + 1) % count);
}

// Horizontal degrees about the screen's vertical axis, then vertical ones
// about its horizontal axis.
void turnBy(ViewState& s, float horizontal, float vertical) {
    Orientation o = orientationOf(s);
    if (horizontal != 0.0f) turnAboutScreenVertical(o, horizontal);
    if (vertical != 0.0f) turnAboutScreenHorizontal(o, vertical);
    setOrientation(s, o);
}

}  // namespace

const std::vector<Action>& actionTable() {
    static const std::vector<Action> table{
        {ActionId::Solid1, "1", SpecialKey::None, "1", "Tetrahedron", ActionGroup::Models},
        {ActionId::Solid2, "2", SpecialKey::None, "2", "Cube", ActionGroup::Models},
        {ActionId::Solid3, "3", SpecialKey::None, "3", "Octahedron", ActionGroup::Models},
        {ActionId::Solid4, "4", SpecialKey::None, "4", "Dodecahedron", ActionGroup::Models},
        {ActionId::Solid5, "5", SpecialKey::None, "5", "Icosahedron", ActionGroup::Models},
        {ActionId::NextModel, "\t", SpecialKey::None, "Tab", "Next model", ActionGroup::Models},
        {ActionId::PreviousModel, "", SpecialKey::BackTab, "Shift-Tab", "Previous model", ActionGroup::Models},
        {ActionId::CycleShow, "d", SpecialKey::None, "d", "Both / solid / dual", ActionGroup::Models},
        {ActionId::CycleDual, "c", SpecialKey::None, "c", "Program / reciprocal dual", ActionGroup::Models},
        {ActionId::CycleBack, "b", SpecialKey::None, "b", "Back edges drawn / dashed / hidden", ActionGroup::Faces},
        {ActionId::CycleFaces, "f", SpecialKey::None, "f", "Faces off / shaded / translucent", ActionGroup::Faces},
        {ActionId::CycleNumbers, "n", SpecialKey::None, "n", "Numbers off / solid / dual / both", ActionGroup::Faces},
        {ActionId::ToggleSpin, " ", SpecialKey::None, "Space", "Spin", ActionGroup::Animation},
        {ActionId::ToggleTurntable, "t", SpecialKey::None, "t", "Spin on a turntable", ActionGroup::Animation},
        {ActionId::ToggleMorph, "m", SpecialKey::None, "m", "Morph to the dual and back", ActionGroup::Animation},
        {ActionId::MorphBack, "[", SpecialKey::None, "[", "Morph a step back", ActionGroup::Animation},
        {ActionId::MorphForward, "]", SpecialKey::None, "]", "Morph a step on", ActionGroup::Animation},
        {ActionId::ToggleInfo, "i", SpecialKey::None, "i", "Counts", ActionGroup::View},
        {ActionId::ToggleUnfold, "u", SpecialKey::None, "u", "Fold open / closed", ActionGroup::Animation},
        {ActionId::TurnUp, "", SpecialKey::Up, "Up", "Turn up", ActionGroup::View},
        {ActionId::TurnDown, "", SpecialKey::Down, "Down", "Turn down", ActionGroup::View},
        {ActionId::TurnLeft, "", SpecialKey::Left, "Left", "Turn left", ActionGroup::View},
        {ActionId::TurnRight, "", SpecialKey::Right, "Right", "Turn right", ActionGroup::View},
        {ActionId::ZoomIn, "+=", SpecialKey::None, "+", "Zoom in", ActionGroup::View},
        {ActionId::ZoomOut, "-", SpecialKey::None, "-", "Zoom out", ActionGroup::View},
        {ActionId::Reset, "r", SpecialKey::None, "r", "Reset view", ActionGroup::View},
        {ActionId::ToggleSmooth, "a", SpecialKey::None, "a", "Smooth / aliased lines", ActionGroup::View},
        {ActionId::ToggleHelp, "?", SpecialKey::None, "?", "Key list", ActionGroup::View},
        {ActionId::TogglePresent, "p", SpecialKey::None, "p", "Presentation, full screen with large numbers",
         ActionGroup::View},
        {ActionId::Save, "s", SpecialKey::None, "s", "Save PNG", ActionGroup::Save},
        {ActionId::SavePrint, "S", SpecialKey::None, "S", "Save STL to print", ActionGroup::Save},
        {ActionId::Unlight, "\x1b", SpecialKey::None, "Esc", "Unlight, hide key list, else quit",
         ActionGroup::Faces},
        {ActionId::Quit, "q", SpecialKey::None, "q", "Quit", ActionGroup::Save},
    };
    return table;
}

const std::vector<std::pair<ActionGroup, const char*>>& actionGroups() {
    static const std::vector<std::pair<ActionGroup, const char*>> groups{
        {ActionGroup::Models, "Solids and models"}, {ActionGroup::View, "View"},
        {ActionGroup::Faces, "Faces and edges"},    {ActionGroup::Animation, "Animation"},
        {ActionGroup::Save, "Save and quit"},
    };
    return groups;
}

const Action* actionForKey(unsigned char c, SpecialKey special) {
    for (const Action& a : actionTable()) {
        if (special != SpecialKey::None) {
            if (a.special == special) return &a;
        } else if (c != 0 && std::strchr(a.keys, c)) {
            return &a;
        }
    }
    return nullptr;
}

bool actionAvailable(ActionId id, const ActionContext& context) {
    const int solid = static_cast<int>(id) - static_cast<int>(ActionId::Solid1);
    if (solid >= 0 && solid < 5) return context.directory && solid < context.modelCount;
    return id != ActionId::Quit || context.quits;
}

ActionEffect applyAction(ActionId id, ViewState& s, const ActionContext& context) {
    if (!actionAvailable(id, context)) return ActionEffect::None;
    const int count = std::max(context.modelCount, 1);
    switch (id) {
    case ActionId::Solid1: case ActionId::Solid2: case ActionId::Solid3:
    case ActionId::Solid4: case ActionId::Solid5:
        s.model = static_cast<int>(id) - static_cast<int>(ActionId::Solid1);
        break;
    case ActionId::NextModel: s.model = (s.model + 1) % count; break;
    case ActionId::PreviousModel: s.model = (s.model + count - 1) % count; break;
    case ActionId::CycleShow: s.show = nextOf(s.show, 3); break;
    case ActionId::CycleDual: s.dual = nextOf(s.dual, 2); break;
    case ActionId::CycleBack: s.back = nextOf(s.back, 3); break;
    case ActionId::CycleFaces: s.faces = nextOf(s.faces, 3); break;
    case ActionId::CycleNumbers: {
        // off, solid, dual, both: the two as the bits of a count.
        const int next = (int(s.numbers) + 2 * int(s.dualNumbers) + 1) % 4;
        s.numbers = next & 1;
        s.dualNumbers = next & 2;
        break;
    }
    case ActionId::ToggleSpin: s.spinning = !s.spinning; break;
    case ActionId::ToggleTurntable:
        s.turntable = !s.turntable;
        if (s.turntable) {
            // Onto the turntable as the view stands: the first angle raises
            // the camera, the second turns the model about its up axis.
            const ProgramAngles p = programAnglesOf(wholeRotation(orientationOf(s)));
            setOrientation(s, s.turn.isIdentity() ? turntableOrientation(s.angleX, s.angleY)
                                                  : turntableOrientation(float(p.angleX), float(p.angleY)));
        }
        break;
    case ActionId::ToggleMorph: s.morphing = !s.morphing; break;
    case ActionId::MorphBack:
    case ActionId::MorphForward: {
        const double step = id == ActionId::MorphBack ? -morphStep : morphStep;
        // Kept on the thousandths, so twenty steps land on 1 exactly.
        s.morph = std::clamp(std::round((s.morph + step) * 1000.0) / 1000.0, 0.0, 1.0);
        s.morphing = false;
        break;
    }
    case ActionId::ToggleInfo: s.info = !s.info; break;
    case ActionId::ToggleUnfold: s.netOpen = !s.netOpen; break;
    case ActionId::TurnUp: turnBy(s, 0.0f, -keyTurnDegrees); break;
    case ActionId::TurnDown: turnBy(s, 0.0f, keyTurnDegrees); break;
    case ActionId::TurnLeft: turnBy(s, -keyTurnDegrees, 0.0f); break;
    case ActionId::TurnRight: turnBy(s, keyTurnDegrees, 0.0f); break;
    case ActionId::ZoomIn: s.zoom = std::min(s.zoom * zoomStep, maxZoom); break;
    case ActionId::ZoomOut: s.zoom = std::max(s.zoom / zoomStep, minZoom); break;
    case ActionId::Reset:
        setOrientation(s, s.turntable ? turntableOrientation(startAngleX, startAngleY)
                                      : Orientation{startAngleX, startAngleY, {}});
        s.zoom = 1.0;
        s.spinning = false;
        s.morph = 0.0;
        s.morphing = false;
        s.unfold = 0.0;
        s.netOpen = false;
        break;
    case ActionId::ToggleSmooth: s.aliased = !s.aliased; break;
    case ActionId::ToggleHelp: s.help = !s.help; break;
    case ActionId::TogglePresent: s.presenting = !s.presenting; break;
    case ActionId::Save: return ActionEffect::Save;
    case ActionId::SavePrint: return ActionEffect::SavePrint;
    case ActionId::Unlight:
        // Esc has always quit; with something lit, or the key list up, it
        // first puts that away.
        if (s.lit.kind != LitKind::None)
            s.lit = {};
        else if (s.help)
            s.help = false;
        else
            return context.quits ? ActionEffect::Quit : ActionEffect::None;
        break;
    case ActionId::Quit: return ActionEffect::Quit;
    }
    return ActionEffect::Redraw;
}

void applyDrag(ViewState& state, int dx, int dy) {
    turnBy(state, dragDegreesPerPixel * static_cast<float>(dx), dragDegreesPerPixel * static_cast<float>(dy));
}

void applySpin(ViewState& state, float degrees) {
    Orientation o = orientationOf(state);
    if (state.turntable)
        turnAboutModelUp(o, degrees);
    else
        turnAboutScreenVertical(o, degrees);
    setOrientation(state, o);
}

bool usesTab(const Action& action) { return std::string(action.keys) == "\t" || action.special == SpecialKey::BackTab; }

std::vector<std::string> helpLines(const ActionContext& context) {
    std::vector<std::string> lines;
    auto add = [&](std::string keys, const char* label) {
        // Padded by letters as drawn, so a key's name in Cyrillic (two bytes a
        // letter) keeps its label in the column.
        const std::size_t letters = glyphCount(keys);
        keys.append(std::max<std::size_t>(letters + 2, 11) - letters, ' ');
        lines.push_back(keys + label);
    };
    for (const Action& a : actionTable())
        if (actionAvailable(a.id, context) && (context.tabKeys || !usesTab(a)))
            add(a.keyName, a.id == ActionId::Unlight && !context.quits ? "Unlight, hide key list" : a.label);
    add("Drag", "Turn");
    add("Click", "Light a face, vertex or edge");
    add("Wheel", "Zoom");
    return lines;
}

}  // namespace pd
