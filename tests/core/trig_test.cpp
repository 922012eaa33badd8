#include "core/trig.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

// Inputs where glibc's or musl's last bit is off; the expected bits are the
// true values rounded to nearest (worked out at 300 bits).
TEST(TrigTest, RoundsToTheNearestWhereLibrariesDisagree)
{
    constexpr double kDegToRad = 0.017453292519943295;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(exactCos(-19597.0 * kDegToRad)), 0xbfed74c6982c664dull);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(exactCos((90.0 + 19965.0) * kDegToRad)), 0xbfd0907dc19307b7ull);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(exactSin(0.04985589534044266f)), 0x3d4c200au);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(exactSin(0.10488913953304291f)), 0x3dd66b56u);
}

// Every quadrant and sign, against the library, to within one ulp.
TEST(TrigTest, FollowsTheLibraryInEveryQuadrant)
{
    for (double x = -400; x <= 400; x += 0.0137) {
        EXPECT_NEAR(exactSin(x), std::sin(x), 2e-16) << x;
        EXPECT_NEAR(exactCos(x), std::cos(x), 2e-16) << x;
        const float f = static_cast<float>(x / 60);
        EXPECT_NEAR(exactSin(f), std::sin(f), 1.2e-7f) << f;
        EXPECT_NEAR(exactCos(f), std::cos(f), 1.2e-7f) << f;
    }
}
