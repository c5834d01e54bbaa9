#include <gtest/gtest.h>

#include <tuple>

#include "io/file_series.h"

using namespace pd;

namespace {

TEST(Turntable, NamesSortInTurningOrder) {
    const std::tuple<const char*, int, int, const char*> cases[] = {  // path, index, count, name
        {"out/turn.svg", 35, 36, "out/turn-035.svg"}, {"turn.png", 999, 1000, "turn-999.png"},
        {"turn.png", 5, 1001, "turn-0005.png"},       {"a.b/turn", 7, 100000, "a.b/turn-00007"},
    };
    for (const auto& [path, index, count, name] : cases) EXPECT_EQ(frameFileName(path, index, count), name);
}

}  // namespace
