#include "core/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

// The spawn formula divides by 32767.0: every value lies in 0..32767, and
// both ends are reached.
TEST(RandomTest, CoversExactlyFifteenBits)
{
    std::vector<int> draws(1 << 20);
    std::generate(draws.begin(), draws.end(), gameRand);
    const auto [lo, hi] = std::minmax_element(draws.begin(), draws.end());
    EXPECT_EQ(std::pair(*lo, *hi), std::pair(0, 32767));
}
