#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <vector>

#include "base/huge_pages.h"

using namespace pd;

namespace {

// Pages made present ahead keep what was written on them, before and
// after the array's end, and the room asked for is there.
TEST(HugePages, ReadyRoomKeepsWhatIsWrittenAndGivesTheRoom) {
    std::vector<std::uint32_t> v(300000);
    std::iota(v.begin(), v.end(), 7u);
    populatePages(v.data(), v.size() * sizeof(v[0]));
    reservePopulated(v, 500000);
    EXPECT_GE(v.capacity(), 800000u);
    for (std::size_t i = 0; i < v.size(); i += 997) ASSERT_EQ(v[i], 7u + i);
    for (std::uint32_t i = 0; i < 500000; ++i) v.push_back(i);
    EXPECT_EQ(v[299999], 7u + 299999u);
    EXPECT_EQ(v.back(), 499999u);
}

}  // namespace
