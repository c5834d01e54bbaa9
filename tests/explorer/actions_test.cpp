#include "explorer/actions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "view/frame_builder.h"
#include "window/menu_label.h"
#include <set>
#include <tuple>

using namespace pd;

namespace {

std::string describe(const ViewState& s) {
    char text[160];
    std::snprintf(text, sizeof text, "m%d %s z%g show%d dual%d back%d n%d%d f%d spin%d t%d help%d",
                  s.model, orientationText(orientationOf(s)).c_str(), s.zoom, int(s.show), int(s.dual),
                  int(s.back), int(s.numbers), int(s.dualNumbers), int(s.faces), int(s.spinning),
                  int(s.turntable), int(s.help));
    return text;
}

// GLUT's menus draw no Serbian letter: they are written as Serbian is
// without its marks, in either script; anything else beyond ASCII as '?'.
TEST(Actions, MenuLabelsKeepToAscii) {
    const std::pair<const char*, const char*> cases[] = {
        {"Next model  (Tab)", "Next model  (Tab)"},
        {"Čačak, Ćuprija, Đakovo, Šabac, Žabalj", "Cacak, Cuprija, Djakovo, Sabac, Zabalj"},
        {"Љубав, Ђорђе, џеп, ћуприја, шестоугао (ЊЧЦЖ)", "Ljubav, Djordje, dzep, cuprija, sestougao (NjCCZ)"},
        {"Grüße \xFF", "Gr??e ?"},
    };
    for (const auto& [text, label] : cases) EXPECT_EQ(menuLabel(text), label);
}

// Each key leads back to the one entry that names it, so a menu entry (an
// index into the table) and its key can only do the same thing.
TEST(Actions, EveryKeyBelongsToExactlyOneEntry) {
    std::set<std::string> labels;
    for (const Action& a : actionTable()) {
        EXPECT_TRUE(labels.insert(a.label).second) << a.label;
        EXPECT_TRUE(*a.keys != '\0' || a.special != SpecialKey::None) << a.label << " has no key";
        for (const char* k = a.keys; *k; ++k) {
            EXPECT_EQ(actionForKey(static_cast<unsigned char>(*k)), &a) << a.label;
        }
        if (a.special != SpecialKey::None) {
            EXPECT_EQ(actionForKey(0, a.special), &a) << a.label;
        }
    }
    EXPECT_EQ(actionForKey('x'), nullptr);
    EXPECT_EQ(helpLines({5, true}).size(), actionTable().size() + 3);
    EXPECT_EQ(helpLines({5, true}).end()[-2], "Click      Light a face, vertex or edge");
    // The solid keys only for the directory's loaded solids.
    EXPECT_EQ(helpLines({3, false}).size(), actionTable().size() - 5 + 3);
    // The menu's submenus: every action in one of them, none taller than
    // half a 600-pixel screen (GLUT's entries are 25 pixels).
    std::size_t grouped = 0;
    for (const auto& [group, title] : actionGroups()) {
        const auto n = std::count_if(actionTable().begin(), actionTable().end(),
                                     [&, group = group](const Action& a) { return a.group == group; });
        EXPECT_LE(n * 25, 300) << title;
        grouped += std::size_t(n);
    }
    EXPECT_EQ(grouped, actionTable().size());
    ViewState s;
    EXPECT_EQ(applyAction(ActionId::Solid2, s, {3, false}), ActionEffect::None);
    EXPECT_EQ(applyAction(ActionId::Solid5, s, {3, true}), ActionEffect::None);
    // Where nothing can quit (the page), neither q nor Esc says it does;
    // where Tab moves the focus, the key list leaves Tab and Shift-Tab out.
    const std::vector<std::string> page = helpLines({5, true, false, false});
    EXPECT_EQ(page.size(), actionTable().size());
    for (const std::string& line : page) EXPECT_EQ(line.find("uit"), std::string::npos) << line;
    for (const std::string& line : page) EXPECT_EQ(line.find("Tab"), std::string::npos) << line;
    EXPECT_EQ(applyAction(ActionId::Quit, s, {5, true, false}), ActionEffect::None);
    EXPECT_EQ(applyAction(ActionId::Unlight, s, {5, true, false}), ActionEffect::None);
}

TEST(Actions, KeysChangeTheStateAsTheKeyListSays) {
    const std::string start = "m0 x 30  y 45 z1 show0 dual0 back0 n00 f0 spin0 t0 help0";
    // Keys (one char each, or a special key's name), the state after them, the last effect.
    const std::tuple<std::vector<const char*>, const char*, ActionEffect> cases[] = {
        {{"2"}, "m1 x 30  y 45 z1 show0 dual0 back0 n00 f0 spin0 t0 help0", ActionEffect::Redraw},
        {{"5", "\t"}, start.c_str(), ActionEffect::Redraw},
        {{"BackTab"}, "m4 x 30  y 45 z1 show0 dual0 back0 n00 f0 spin0 t0 help0", ActionEffect::Redraw},
        {{"d", "d"}, "m0 x 30  y 45 z1 show2 dual0 back0 n00 f0 spin0 t0 help0", ActionEffect::Redraw},
        {{"d", "d", "d"}, start.c_str(), ActionEffect::Redraw},
        {{"c", "b", "b", "f"}, "m0 x 30  y 45 z1 show0 dual1 back2 n00 f1 spin0 t0 help0", ActionEffect::Redraw},
        {{"b", "b", "b", "f", "f", "f"}, start.c_str(), ActionEffect::Redraw},
        // Rx(30) Ry(45), worked by hand: x 20.70, y 49.11, z 22.21.
        {{"n", " ", "?", "t"}, "m0 x 20.7  y 49.1  z 22.2 z1 show0 dual0 back0 n10 f0 spin1 t1 help1", ActionEffect::Redraw},
        {{"n", "n"}, "m0 x 30  y 45 z1 show0 dual0 back0 n01 f0 spin0 t0 help0", ActionEffect::Redraw},
        {{"n", "n", "n"}, "m0 x 30  y 45 z1 show0 dual0 back0 n11 f0 spin0 t0 help0", ActionEffect::Redraw},
        {{"n", "n", "n", "n"}, start.c_str(), ActionEffect::Redraw},
        {{"Left", "Left"}, "m0 x 30  y 35 z1 show0 dual0 back0 n00 f0 spin0 t0 help0", ActionEffect::Redraw},
        {{"Down", "Up", "Right"}, "m0 x 30  y 50 z1 show0 dual0 back0 n00 f0 spin0 t0 help0", ActionEffect::Redraw},
        {{"+", "="}, "m0 x 30  y 45 z1.5625 show0 dual0 back0 n00 f0 spin0 t0 help0", ActionEffect::Redraw},
        {{"-"}, "m0 x 30  y 45 z0.8 show0 dual0 back0 n00 f0 spin0 t0 help0", ActionEffect::Redraw},
        {{"Up", "+", " ", "n", "r"}, "m0 x 30  y 45 z1 show0 dual0 back0 n10 f0 spin0 t0 help0", ActionEffect::Redraw},
        {{"s"}, start.c_str(), ActionEffect::Save},
        {{"S"}, start.c_str(), ActionEffect::SavePrint},
        {{"q"}, start.c_str(), ActionEffect::Quit},
        {{"\x1b"}, start.c_str(), ActionEffect::Quit},
        {{"?", "\x1b"}, start.c_str(), ActionEffect::Redraw},
        {{"?", "\x1b", "\x1b"}, start.c_str(), ActionEffect::Quit},
    };
    const std::pair<const char*, SpecialKey> specials[] = {
        {"Up", SpecialKey::Up}, {"Down", SpecialKey::Down}, {"Left", SpecialKey::Left},
        {"Right", SpecialKey::Right}, {"BackTab", SpecialKey::BackTab}};
    for (const auto& [keys, state, last] : cases) {
        ViewState s;
        ActionEffect effect = ActionEffect::None;
        for (const char* key : keys) {
            SpecialKey special = SpecialKey::None;
            for (const auto& [name, k] : specials)
                if (std::strcmp(key, name) == 0) special = k;
            const Action* action = actionForKey(static_cast<unsigned char>(key[0]), special);
            ASSERT_NE(action, nullptr) << key;
            effect = applyAction(action->id, s, {5, true});
        }
        EXPECT_EQ(describe(s), state) << "after " << testing::PrintToString(keys);
        EXPECT_EQ(effect, last) << "after " << testing::PrintToString(keys);
    }
}

// ] and [ move t by 0.05 within 0..1 and stop the morph, m starts and stops
// it, r ends it; the title tells t while it is above 0.
TEST(Actions, MorphKeysStepStopAndResetTheStage) {
    const std::tuple<std::string, double, bool, bool, const char*> cases[] = {
        {"]]]", 0.15, false, false, "m  x 30  y 45  t 0.15"},
        {"]]]][", 0.15, false, false, "m  x 30  y 45  t 0.15"},
        {"[", 0.0, false, false, "m  x 30  y 45"},
        {std::string(25, ']'), 1.0, false, false, "m  x 30  y 45  t 1"},
        {"]m", 0.05, true, false, "m  x 30  y 45  t 0.05"},
        {"m]", 0.05, false, false, "m  x 30  y 45  t 0.05"},
        {"]mir", 0.0, false, true, "m  x 30  y 45"},
    };
    for (const auto& [keys, t, morphing, info, title] : cases) {
        ViewState s;
        for (char key : keys) applyAction(actionForKey(static_cast<unsigned char>(key))->id, s, {5, true});
        EXPECT_EQ(s.morph, t) << keys;
        EXPECT_EQ(s.morphing, morphing) << keys;
        EXPECT_EQ(s.info, info) << keys;
        EXPECT_EQ(frameTitle("m", s), title) << keys;
    }
}

}  // namespace
