#include <gtest/gtest.h>

#include "explorer/session.h"
#include "web/page_query.h"

#include "scratch_dir.h"

using namespace pd;

TEST(PageQuery, NamesAndValuesBecomeLongOptions) {
    const std::vector<std::vector<std::string>> want{
        {"--solid", "4"}, {"--angles", "20", "-30"}, {"--numbers"}, {"--background", "#ff0000"}, {"--model", "a b"}};
    EXPECT_EQ(queryOptions("?solid=4&&angles=20,-30&numbers&background=%23ff0000&model=a+b"), want);
    EXPECT_EQ(queryOptions(""), std::vector<std::vector<std::string>>{});
    // A '%' without two hex digits stays as it is.
    EXPECT_EQ(queryOptions("x=%2&y=%zz"), (std::vector<std::vector<std::string>>{{"--x", "%2"}, {"--y", "%zz"}}));
}

TEST(PageQuery, KeepsWhatTheCommandLineTakesAndTellsEachRefusal) {
    struct Case {
        const char* query;
        const char* told;  // the start of the first line told, "" for none
        int solid;         // what opens
        double angleX;
        bool fixedSize;
        double edgeMm = 0.0;  // the net's, for the page's net buttons
    };
    const Case cases[] = {
        {"?solid=4&angles=20,-30&size=800x600", "", 4, 20, true},
        {"?solid=9&angles=20,-30", "--solid: Value 9 not in range 1 to 5", 0, 20, false},
        {"?png=a.png&solid=3", "duals-explorer: --png is the command line's", 3, 30, false},
        {"?info&net=n.svg", "duals-explorer: --info is the command line's", 0, 30, false},
        {"?solid=3,extra", "duals-explorer: --solid: 'extra' is a value too many", 0, 30, false},
        {"?=x&solid=2", "duals-explorer: '' is not an option's name", 2, 30, false},
        {"?--solid=2", "duals-explorer: '--solid' is not an option's name", 0, 30, false},
        {"?edge-mm=40&page=a3&solid=2", "", 2, 30, false, 40},
        {"?edge-mm=0.5&solid=2", "--edge-mm: Value 0.5 not in range", 2, 30, false},
        {"?size=0x5&solid=1", "--size: 0x5: each side must be 1 to 16384 pixels", 1, 30, false},
        // Each alone is fine, together they are not: the later is left out.
        {"?solid=2&model=cube&size=640x480", "--solid excludes --model", 2, 30, true},
        {"?help&solid=3", "duals-explorer: --help is the command line's", 3, 30, false},
        {"?lang=de&solid=3", "--lang: de not in {en,sr,sr@latin}", 3, 30, false},
        // Each told, a line each.
        {"?solid=9&morph=2&version&angles=20,-30&png=a", "--solid: Value 9 not in range 1 to 5\n"
         "--morph: the stage must be a number from 0 to 1\nThe following argument was not expected: --version\n"
         "duals-explorer: --png is the command line's", 0, 20, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        const PageOptions page = pageOptions(c.query);
        EXPECT_FALSE(page.parsed.exitStatus);
        EXPECT_EQ(page.told.substr(0, std::string(c.told).size()), c.told);
        EXPECT_EQ(page.told.empty(), !*c.told) << page.told;
        EXPECT_EQ(page.parsed.options.solid, c.solid);
        EXPECT_EQ(page.parsed.options.view.angleX, c.angleX);
        EXPECT_EQ(page.fixedSize, c.fixedSize);
        EXPECT_EQ(page.net.edgeMm, c.edgeMm);
        EXPECT_TRUE(page.parsed.options.inputs.empty());
        EXPECT_EQ(page.parsed.options.output, ExplorerOptions{}.output);
    }
}

// The address's language, else the browser's first the page speaks.
TEST(PageQuery, LanguageFromTheAddressElseTheBrowser) {
    const struct {
        const char *query, *browser, *language;
        bool named;
    } cases[] = {
        {"?solid=2&lang=sr%40latin", "sr", "sr@latin", true}, {"?lang=de", "de,SR-latn-RS,en", "sr@latin", false},
        {"", "de-DE,sr-Cyrl,en", "sr", false},                 {"", "en-GB,sr", "en", false},
        {"?lang=", "fr,de", "en", false},                       {"", "", "en", false},
    };
    for (const auto& c : cases) {
        bool named = !c.named;
        EXPECT_EQ(pageLanguage(c.query, c.browser, named), c.language) << c.query << " " << c.browser;
        EXPECT_EQ(named, c.named) << c.query;
    }
}

TEST(PageQuery, WhatTheModelsRefuseIsToldAndLeftOut) {
    const LoadedModels ten = *loadModelInputs({scratch::sourcePath("data")});
    struct Case {
        const char* query;
        const char* told;
        int model;  // what opens, lit as `lit` (index from 0, -1 none), turned by `angleX`
        int lit;
        float angleX;
    };
    const Case cases[] = {
        {"?solid=4&highlight=face:99&angles=20,-30", "--highlight face:99: dodekaedar has 12 faces", 3, -1, 20},
        {"?model=nothing&highlight=vertex:3", "--model nothing: no model of that name", 1, 2, 30},
        {"?highlight=face:x&solid=5", "--highlight: 'x' is not a face number", 4, -1, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        PageOptions page = pageOptions(c.query);
        const Result<ViewState> start = pageStart(page, ten);
        ASSERT_TRUE(start.ok());
        EXPECT_EQ(page.told.substr(0, std::string(c.told).size()), c.told) << page.told;
        EXPECT_EQ(start->model, c.model);
        EXPECT_EQ(start->lit.kind == LitKind::None ? -1 : start->lit.index, c.lit);
        EXPECT_EQ(start->angleX, c.angleX);
        EXPECT_TRUE(startState(page.parsed.options, ten).ok());  // what the address keeps
    }
}
