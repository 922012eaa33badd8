// A picture of the public BMP suite, where present beside the project.
#include "assets/bmp.h"

#include "fake_platform.h"

#include <filesystem>
#include <tuple>

// g/rgb24.bmp, 127 pixels wide (padded rows), against another decoder's
// pixels: x, y from the top, rgb.
TEST_F(GameTest, CorpusPictureReadsAsAnotherDecoderReadsIt)
{
    const auto file = std::filesystem::path(QUORVANE_SOURCE_DIR) / ".." / "shared" / "bmpsuite" / "g" / "rgb24.bmp";
    if (!std::filesystem::exists(file) && ciForbidsSkips())
        FAIL() << file << " not found, and under CI nothing may be skipped";
    if (!std::filesystem::exists(file))
        GTEST_SKIP() << file << " not found";
    Image image;
    ASSERT_TRUE(loadBMP(file.string(), image)) << output();
    ASSERT_EQ(std::pair(image.width, image.height), std::pair(127u, 64u));
    for (auto [x, y, rgb] : {std::tuple{0u, 0u, 0xFF0000u}, {126u, 0u, 0x9F9FBDu}, {126u, 63u, 0x60607Eu},
                             {5u, 50u, 0x352929u}}) {
        const unsigned char* p = &image.pixels[((63 - y) * 127 + x) * 3];
        EXPECT_EQ(unsigned{p[0]} << 16 | p[1] << 8 | p[2], rgb) << x << ", " << y;
    }
}
