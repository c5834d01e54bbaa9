// What the page shows besides the drawing: its controls follow the session
// both ways and travel in its address, its text names and counts what is
// shown, and its picker's entries load as the addresses that name them.

#include <gtest/gtest.h>

#include "construct/conway.h"
#include "explorer/model_picker.h"
#include "explorer/page_controls.h"
#include "explorer/page_info.h"
#include "view/highlight.h"
#include "web/page_query.h"
#include "web/page_state.h"
#include "scratch_dir.h"

using namespace pd;

namespace {

Session tenFiles() {
    const LoadedModels loaded = *loadModelInputs({scratch::sourcePath("data")});
    return Session(LoadedModels(loaded), *startState(parseOptions({}).options, loaded));
}

}  // namespace

TEST(PageState, ControlsFollowTheKeysAndTheAddressKeepsThem) {
    struct Case {
        const char* id;
        const char* value;
        bool byKey;  // the control's key gives the value from the opening view
    };
    const Case cases[] = {
        {"show", "solid", true},         {"dual", "reciprocal", true}, {"faces", "shaded", true},
        {"back", "dashed", true},        {"numbers", "solid", true},   {"lines", "aliased", true},
        {"spin", "spinning", true},      {"numbers", "dual", false},   {"palette", "colourblind", false},
        {"style", "print", false},       {"morph", "0.5", false},      {"unfold", "0.25", false},
    };
    const ActionId keys[] = {ActionId::CycleShow, ActionId::CycleDual,    ActionId::CycleFaces, ActionId::CycleBack,
                             ActionId::CycleNumbers, ActionId::ToggleSmooth, ActionId::ToggleSpin};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(std::string(c.id) + "=" + c.value);
        Session session = tenFiles();
        if (c.byKey) session.perform(keys[i], 1.0);
        else ASSERT_TRUE(setControl(session, c.id, c.value, 1.0).ok());
        EXPECT_EQ(controlValue(session.view(), c.id), c.value);
        if (std::string(c.id) == "spin") continue;  // no address keeps a spin going
        // Reloading the address opens the same view.
        const PageOptions reloaded = pageOptions(pageAddress(session, PageSource{}));
        EXPECT_EQ(reloaded.told, "");
        const Result<ViewState> again = startState(reloaded.parsed.options, session.loaded());
        ASSERT_TRUE(again.ok());
        EXPECT_EQ(controlValue(*again, c.id), c.value);
    }
    Session session = tenFiles();
    for (const auto& [id, value] : {std::pair{"faces", "glass"}, {"morph", "1.5"}, {"morph", ""}, {"zoom", "2"}})
        EXPECT_FALSE(setControl(session, id, value, 1.0).ok()) << id << "=" << value;
    EXPECT_EQ(pageAddress(session, PageSource{}), "");
    // Turned, lit and another solid: all in the address.
    session.perform(ActionId::Solid4, 1.0);
    session.drag(40, 0, 1.0);
    session.change([](ViewState& v) { v.lit = {LitKind::Face, 6}; }, 1.0);
    EXPECT_EQ(pageAddress(session, PageSource{}), "solid=4&angles=30,65&highlight=face:7");
    // A language chosen stays in the address; the browser's is left out.
    PageSource source;
    source.language = "sr@latin";
    EXPECT_EQ(pageAddress(session, source), "solid=4&angles=30,65&highlight=face:7");
    source.languageNamed = true;
    bool named = false;
    EXPECT_EQ(pageLanguage(pageAddress(session, source), "en", named), "sr@latin");
    EXPECT_TRUE(named);
}

TEST(PageState, TheTextNamesTheModelsAndCountsWhatIsShown) {
    Session session = tenFiles();
    PageInfo info = pageInfo(session);
    EXPECT_EQ(info.model, "heksaedar (cube)");
    EXPECT_EQ(info.dual, "octahedron");
    EXPECT_EQ(info.counts, (std::vector<std::string>{"solid: V 8, E 12, F 6, V-E+F 2; faces: 6 squares",
                                                     "dual: V 6, E 12, F 8, V-E+F 2; faces: 8 triangles"}));
    EXPECT_EQ(info.lit, "");
    session.change([](ViewState& v) { v.lit = {LitKind::Face, 2}; }, 1.0);
    EXPECT_EQ(pageInfo(session).lit, litText(session.model(), {LitKind::Face, 2}));
    ASSERT_TRUE(setControl(session, "morph", "0.5", 1.0).ok());
    info = pageInfo(session);
    ASSERT_EQ(info.counts.size(), 3u);
    EXPECT_EQ(info.counts[2].rfind("morph at 0.5 (cuboctahedron): V 12, E 24, F 14", 0), 0u) << info.counts[2];
    EXPECT_EQ(info.lit, "");  // lit on the model itself only
}

TEST(PageState, PickerEntriesLoadAsTheirAddresses) {
    const std::vector<PickerEntry> entries = pickerEntries({"box.off"});
    ASSERT_EQ(entries.size(), 5u + 13 + 13 + 6 + 1);
    EXPECT_EQ(entries.back().id, "file:box.off");
    const std::pair<const char*, const char*> cases[] = {
        {"solid:4", "solid=4"},
        {"archimedean:tI", "catalogue=archimedean&model=truncated+icosahedron"},
        {"catalan:kD", "catalogue=catalan&model=pentakis+dodecahedron"},
        {"family:dA", "conway=dA7"},
        {"archimedean:kD", ""}, {"solid:9", ""}, {"file:box.off", ""},
    };
    for (const auto& [id, query] : cases) {
        const Result<std::string> got = entryQuery(id, 7);
        EXPECT_EQ(got ? *got : "", query) << id;
    }
    EXPECT_FALSE(entryQuery("family:P", 2).ok());
    // The family's entry is found again from the model it loaded.
    const PageOptions family = pageOptions(*entryQuery("family:dA", 7));
    const LoadedModels loaded = *loadModels(modelRequest(family.parsed.options, false));
    int sides = 0;
    EXPECT_EQ(currentEntry(Session(LoadedModels(loaded), *startState(family.parsed.options, loaded)), {}, sides),
              "family:dA");
    EXPECT_EQ(sides, 7);
    // A notation is checked in the command line's words, building nothing.
    const Polyhedron cube = conwaySeed('C');
    EXPECT_EQ(checkNotation("xyz").error().text(), "--conway: " + conwayModel("xyz", &cube).error().what);
    EXPECT_TRUE(checkNotation("tkD").ok());
}

TEST(PageState, ASecondClickOnTheLitPartPutsItOut) {
    Session session = tenFiles();
    ASSERT_TRUE(setControl(session, "faces", "shaded", 0.0).ok());
    const int x = session.view().width / 2, y = session.view().height / 2;
    session.click(x, y, 1.0);
    ASSERT_NE(session.view().lit.kind, LitKind::None);
    session.click(x, y, 2.0);
    EXPECT_EQ(session.view().lit.kind, LitKind::None);
}
