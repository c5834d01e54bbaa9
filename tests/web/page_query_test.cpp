#include <gtest/gtest.h>

#include "web/page_query.h"

using namespace pd;

TEST(PageQuery, NamesAndValuesBecomeLongOptions) {
    const std::vector<std::vector<std::string>> want{
        {"--solid", "4"}, {"--angles", "20", "-30"}, {"--numbers"}, {"--background", "#ff0000"}, {"--model", "a b"}};
    EXPECT_EQ(queryOptions("?solid=4&&angles=20,-30&numbers&background=%23ff0000&model=a+b"), want);
    EXPECT_EQ(queryOptions(""), std::vector<std::vector<std::string>>{});
    // A '%' without two hex digits stays as it is.
    EXPECT_EQ(queryOptions("x=%2&y=%zz"), (std::vector<std::vector<std::string>>{{"--x", "%2"}, {"--y", "%zz"}}));
}

TEST(PageQuery, KeepsWhatTheCommandLineTakesAndTellsTheFirstRefusal) {
    struct Case {
        const char* query;
        const char* told;  // the start of the line told, "" for none
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
        // Each alone is fine, together they are not: the page opens as it
        // does with no query.
        {"?solid=2&model=cube&size=640x480", "--solid excludes --model", 0, 30, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        const PageOptions page = pageOptions(c.query);
        EXPECT_FALSE(page.parsed.exitStatus);
        EXPECT_EQ(page.told.substr(0, std::string(c.told).size()), c.told);
        EXPECT_EQ(page.told.empty(), !*c.told) << page.told;
        EXPECT_EQ(page.told.find('\n'), std::string::npos);
        EXPECT_EQ(page.parsed.options.solid, c.solid);
        EXPECT_EQ(page.parsed.options.view.angleX, c.angleX);
        EXPECT_EQ(page.fixedSize, c.fixedSize);
        EXPECT_EQ(page.net.edgeMm, c.edgeMm);
        EXPECT_TRUE(page.parsed.options.inputs.empty());
        EXPECT_EQ(page.parsed.options.output, ExplorerOptions{}.output);
    }
}
