#include "explorer/actions.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "draw/bitmap_font.h"
#include "base/translate.h"

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
        {ActionId::Solid1, "1", SpecialKey::None, "1", N_("Tetrahedron"), ActionGroup::Models},
        {ActionId::Solid2, "2", SpecialKey::None, "2", N_("Cube"), ActionGroup::Models},
        {ActionId::Solid3, "3", SpecialKey::None, "3", N_("Octahedron"), ActionGroup::Models},
        {ActionId::Solid4, "4", SpecialKey::None, "4", N_("Dodecahedron"), ActionGroup::Models},
        {ActionId::Solid5, "5", SpecialKey::None, "5", N_("Icosahedron"), ActionGroup::Models},
        {ActionId::NextModel, "\t", SpecialKey::None, N_("Tab"), N_("Next model"), ActionGroup::Models},
        {ActionId::PreviousModel, "", SpecialKey::BackTab, N_("Shift-Tab"), N_("Previous model"), ActionGroup::Models},
        {ActionId::CycleShow, "d", SpecialKey::None, "d", N_("Both / solid / dual"), ActionGroup::Models},
        {ActionId::CycleDual, "c", SpecialKey::None, "c", N_("Program / reciprocal dual"), ActionGroup::Models},
        {ActionId::CycleBack, "b", SpecialKey::None, "b", N_("Back edges drawn / dashed / hidden"), ActionGroup::Faces},
        {ActionId::CycleFaces, "f", SpecialKey::None, "f", N_("Faces off / shaded / translucent"), ActionGroup::Faces},
        {ActionId::CycleNumbers, "n", SpecialKey::None, "n", N_("Numbers off / solid / dual / both"), ActionGroup::Faces},
        {ActionId::ToggleSpin, " ", SpecialKey::None, N_("Space"), N_("Spin"), ActionGroup::Animation},
        {ActionId::ToggleTurntable, "t", SpecialKey::None, "t", N_("Spin on a turntable"), ActionGroup::Animation},
        {ActionId::ToggleMorph, "m", SpecialKey::None, "m", N_("Morph to the dual and back"), ActionGroup::Animation},
        {ActionId::MorphBack, "[", SpecialKey::None, "[", N_("Morph a step back"), ActionGroup::Animation},
        {ActionId::MorphForward, "]", SpecialKey::None, "]", N_("Morph a step on"), ActionGroup::Animation},
        {ActionId::ToggleInfo, "i", SpecialKey::None, "i", N_("Counts"), ActionGroup::View},
        {ActionId::ToggleUnfold, "u", SpecialKey::None, "u", N_("Fold open / closed"), ActionGroup::Animation},
        {ActionId::TurnUp, "", SpecialKey::Up, N_("Up"), N_("Turn up"), ActionGroup::View},
        {ActionId::TurnDown, "", SpecialKey::Down, N_("Down"), N_("Turn down"), ActionGroup::View},
        {ActionId::TurnLeft, "", SpecialKey::Left, N_("Left"), N_("Turn left"), ActionGroup::View},
        {ActionId::TurnRight, "", SpecialKey::Right, N_("Right"), N_("Turn right"), ActionGroup::View},
        {ActionId::ZoomIn, "+=", SpecialKey::None, "+", N_("Zoom in"), ActionGroup::View},
        {ActionId::ZoomOut, "-", SpecialKey::None, "-", N_("Zoom out"), ActionGroup::View},
        {ActionId::Reset, "r", SpecialKey::None, "r", N_("Reset view"), ActionGroup::View},
        {ActionId::ToggleSmooth, "a", SpecialKey::None, "a", N_("Smooth / aliased lines"), ActionGroup::View},
        {ActionId::ToggleHelp, "?", SpecialKey::None, "?", N_("Key list"), ActionGroup::View},
        {ActionId::TogglePresent, "p", SpecialKey::None, "p", N_("Presentation, full screen with large numbers"),
         ActionGroup::View},
        {ActionId::Save, "s", SpecialKey::None, "s", N_("Save PNG"), ActionGroup::Save},
        {ActionId::SavePrint, "S", SpecialKey::None, "S", N_("Save STL to print"), ActionGroup::Save},
        {ActionId::Unlight, "\x1b", SpecialKey::None, N_("Esc"), N_("Unlight, hide key list, else quit"),
         ActionGroup::Faces},
        {ActionId::Quit, "q", SpecialKey::None, "q", N_("Quit"), ActionGroup::Save},
    };
    return table;
}

const std::vector<std::pair<ActionGroup, const char*>>& actionGroups() {
    static const std::vector<std::pair<ActionGroup, const char*>> groups{
        {ActionGroup::Models, N_("Solids and models")}, {ActionGroup::View, N_("View")},
        {ActionGroup::Faces, N_("Faces and edges")},    {ActionGroup::Animation, N_("Animation")},
        {ActionGroup::Save, N_("Save and quit")},
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
            add(tr(a.keyName), a.id == ActionId::Unlight && !context.quits ? tr("Unlight, hide key list") : tr(a.label));
    add(tr("Drag"), tr("Turn"));
    add(tr("Click"), tr("Light a face, vertex or edge"));
    add(tr("Wheel"), tr("Zoom"));
    return lines;
}

}  // namespace pd
