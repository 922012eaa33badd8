#include "fake_platform.h"

#include <algorithm>

using RandomTest = RandomFromOne;

// The spawn formula divides by 32767.0: every value must lie in 0..32767,
// and both ends must be reachable.
TEST_F(RandomTest, CoversExactlyFifteenBits)
{
    int lo = kRandomMax, hi = 0;
    for (int i = 0; i < 1 << 20; ++i) {
        const int r = gameRand();
        lo = std::min(lo, r);
        hi = std::max(hi, r);
    }
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, kRandomMax);
}
