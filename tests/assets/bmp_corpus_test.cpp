// The public BMP suite: every file gets the outcome a sound reader gives it
// (palettes, larger headers and corrupt offsets are crafted in bmp_test).
#include "assets/bmp.h"

#include "fake_platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace fs = std::filesystem;

static const fs::path kCorpus = fs::path(QUORVANE_SOURCE_DIR) / ".." / "shared" / "bmpsuite";

class BmpCorpusTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        if (!fs::is_directory(kCorpus))
            GTEST_SKIP() << "BMP corpus not found at " << kCorpus.string()
                         << " (the shared folder beside the project)";
    }

    static std::string file(const std::string& name) { return (kCorpus / name).string(); }

    Image loaded(const std::string& name)
    {
        Image image;
        EXPECT_TRUE(loadBMP(file(name), image)) << output();
        return image;
    }
};

// g/rgb24.bmp as ImageMagick decodes it, top row first: (x, y, rgb).
struct ReferencePixel {
    unsigned x, y, rgb;
};
constexpr ReferencePixel kRgb24Reference[] = {
    {0, 0, 0xFF0000},  {126, 0, 0x9F9FBD},  {0, 63, 0x000000}, {126, 63, 0x60607E},
    {63, 32, 0xFFFFFF}, {100, 10, 0x959599}, {5, 50, 0x352929},
};

static unsigned pixelAt(const Image& image, unsigned x, unsigned yFromTop)
{
    const std::size_t i = (std::size_t{image.height - 1 - yFromTop} * image.width + x) * 3;
    return unsigned{image.pixels[i]} << 16 | unsigned{image.pixels[i + 1]} << 8 | image.pixels[i + 2];
}

TEST_F(BmpCorpusTest, PaddedRgb24MatchesTheReference)
{
    const Image image = loaded("g/rgb24.bmp");
    ASSERT_EQ(image.width, 127u);
    ASSERT_EQ(image.height, 64u);
    ASSERT_EQ(image.pixels.size(), 127u * 64 * 3);
    for (const ReferencePixel& p : kRgb24Reference)
        EXPECT_EQ(pixelAt(image, p.x, p.y), p.rgb) << "at " << p.x << ", " << p.y;
}

// Every file not named here is not 24-bit and gets the bits-per-pixel line.
TEST_F(BmpCorpusTest, EveryFileGetsItsOutcome)
{
    const std::map<std::string, std::string> special = {
        {"g/rgb24.bmp", ""}, {"g/rgb24pal.bmp", ""}, {"q/rgb24largepal.bmp", ""},
        {"q/rgb24prof.bmp", ""}, {"q/rgb24lprof.bmp", ""}, {"q/rgb24prof2.bmp", ""},
        {"q/rgb24rle24.bmp", "Compression of %s is not supported: 4\n"},
        {"q/rgb24jpeg.bmp", "Bpp from %s is not 24: 0\n"},  // compressed files store depth 0
        {"q/rgb24png.bmp", "Bpp from %s is not 24: 0\n"},
        {"b/badplanes.bmp", "Planes from %s is not 1: 30000\n"},
        {"b/badbitcount.bmp", "Bpp from %s is not 24: 30000\n"},
        {"b/reallybig.bmp", "Size of %s is too large: 3000000 x 2000000\n"},
        {"g/pal8os2.bmp", "Bpp from %s is not 24: 8\n"},
        {"q/rgba64.bmp", "Bpp from %s is not 24: 64\n"},
    };
    int files = 0;
    for (const char* folder : {"g", "q", "b"}) {
        for (const fs::directory_entry& entry : fs::directory_iterator(kCorpus / folder)) {
            const std::string name = std::string(folder) + "/" + entry.path().filename().string();
            const std::string path = entry.path().string();
            clearOutput();
            Image image;
            const bool ok = loadBMP(path, image);
            ++files;
            const auto known = special.find(name);
            if (known == special.end()) {
                EXPECT_FALSE(ok) << name;
                EXPECT_EQ(output().rfind("Bpp from " + path + " is not 24: ", 0), 0u) << output();
                EXPECT_NE(output(), "Bpp from " + path + " is not 24: 24\n");
                continue;
            }
            std::string expected = known->second;
            if (const auto at = expected.find("%s"); at != std::string::npos)
                expected.replace(at, 2, path);
            EXPECT_EQ(ok, expected.empty()) << name;
            EXPECT_EQ(output(), expected) << name;
        }
    }
    EXPECT_GT(files, 80);
}
