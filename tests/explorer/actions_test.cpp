#include "explorer/actions.h"

#include <gtest/gtest.h>

#include <cstring>

#include "explorer/frame.h"
#include <set>
#include <tuple>

namespace {

std::string describe(const ViewState& s) {
    char text[160];
    std::snprintf(text, sizeof text, "m%d a%g b%g z%g show%d dual%d back%d n%d spin%d help%d",
                  s.model, double(s.a), double(s.b), s.zoom, int(s.show), int(s.dual),
                  int(s.back), int(s.numbers), int(s.spinning), int(s.help));
    return text;
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
    EXPECT_EQ(helpLines({5, true}).size(), actionTable().size() + 2);
    // The solid keys only for the directory's loaded solids.
    EXPECT_EQ(helpLines({3, false}).size(), actionTable().size() - 5 + 2);
    ViewState s;
    EXPECT_EQ(applyAction(ActionId::Solid2, s, {3, false}), ActionEffect::None);
    EXPECT_EQ(applyAction(ActionId::Solid5, s, {3, true}), ActionEffect::None);
}

TEST(Actions, KeysChangeTheStateAsTheKeyListSays) {
    const std::string start = "m0 a30 b45 z1 show0 dual0 back0 n0 spin0 help0";
    // Keys (one char each, or a special key's name), the state after them, the last effect.
    const std::tuple<std::vector<const char*>, const char*, ActionEffect> cases[] = {
        {{"2"}, "m1 a30 b45 z1 show0 dual0 back0 n0 spin0 help0", ActionEffect::Redraw},
        {{"5", "\t"}, "m0 a30 b45 z1 show0 dual0 back0 n0 spin0 help0", ActionEffect::Redraw},
        {{"BackTab"}, "m4 a30 b45 z1 show0 dual0 back0 n0 spin0 help0", ActionEffect::Redraw},
        {{"d", "d"}, "m0 a30 b45 z1 show2 dual0 back0 n0 spin0 help0", ActionEffect::Redraw},
        {{"d", "d", "d"}, start.c_str(), ActionEffect::Redraw},
        {{"c", "b", "b"}, "m0 a30 b45 z1 show0 dual1 back2 n0 spin0 help0", ActionEffect::Redraw},
        {{"b", "b", "b"}, start.c_str(), ActionEffect::Redraw},
        {{"n", " ", "?"}, "m0 a30 b45 z1 show0 dual0 back0 n1 spin1 help1", ActionEffect::Redraw},
        {{"Up", "Left", "Left"}, "m0 a25 b35 z1 show0 dual0 back0 n0 spin0 help0", ActionEffect::Redraw},
        {{"Down", "Right"}, "m0 a35 b50 z1 show0 dual0 back0 n0 spin0 help0", ActionEffect::Redraw},
        {{"+", "="}, "m0 a30 b45 z1.5625 show0 dual0 back0 n0 spin0 help0", ActionEffect::Redraw},
        {{"-"}, "m0 a30 b45 z0.8 show0 dual0 back0 n0 spin0 help0", ActionEffect::Redraw},
        {{"Up", "+", " ", "n", "r"}, "m0 a30 b45 z1 show0 dual0 back0 n1 spin0 help0", ActionEffect::Redraw},
        {{"s"}, start.c_str(), ActionEffect::Save},
        {{"q"}, start.c_str(), ActionEffect::Quit},
        {{"\x1b"}, start.c_str(), ActionEffect::Quit},
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
