// The committed images, read by the game's own reader: the format the game
// expects, their sizes, black borders wherever an image is added over the
// scene, the font grid, and sphere maps that close up.
#include "assets/bmp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Expected {
    const char* name;
    unsigned    width, height;
};

constexpr Expected kImages[] = {
    {"stars.bmp", 2048, 1024},     {"nebula.bmp", 1024, 512},  {"Planet.bmp", 1024, 512},
    {"clouds.bmp", 1024, 512},     {"gasplanet.bmp", 1024, 512}, {"atm.bmp", 512, 256},
    {"particlewhite.bmp", 64, 64}, {"smoke.bmp", 64, 64},      {"smoke2.bmp", 64, 64},
    {"smoke3.bmp", 64, 64},        {"portal1.bmp", 128, 128},  {"portal2.bmp", 128, 128},
    {"Font.bmp", 256, 256},        {"crosshair7.bmp", 128, 128}, {"logo.bmp", 512, 512},
    {"text.bmp", 512, 128},
};

// A loaded image seen top row first, as it shows on screen.
struct Picture {
    Image image;

    int width() const { return static_cast<int>(image.width); }
    int height() const { return static_cast<int>(image.height); }
    const unsigned char* at(int x, int y) const
    {
        return &image.pixels[(static_cast<std::size_t>(height() - 1 - y) * image.width + x) * 3];
    }
    int brightest(int x, int y) const { return *std::max_element(at(x, y), at(x, y) + 3); }
};

Picture load(const std::string& name)
{
    Picture picture;
    EXPECT_TRUE(loadBMP("textures/" + name, picture.image)) << name;
    return picture;
}

TEST(TextureFiles, ExactlyTheSixteenImagesLoadWithTheirSizes)
{
    std::set<std::string> present, expected;
    for (const fs::directory_entry& entry : fs::directory_iterator("textures"))
        present.insert(entry.path().filename().string());
    for (const Expected& e : kImages)
        expected.insert(e.name);
    EXPECT_EQ(present, expected);

    for (const Expected& e : kImages) {
        const Picture picture = load(e.name);
        EXPECT_EQ(picture.image.width, e.width) << e.name;
        EXPECT_EQ(picture.image.height, e.height) << e.name;
        // a plain 54-byte header and nothing after the pixels
        EXPECT_EQ(fs::file_size(fs::path("textures") / e.name), 54u + e.width * e.height * 3) << e.name;
    }
}

// A lit border pixel would draw the outline of an additive quad over the scene.
TEST(TextureFiles, AdditiveImagesHaveBlackBorders)
{
    for (const char* name : {"particlewhite.bmp", "smoke.bmp", "smoke2.bmp", "smoke3.bmp", "portal1.bmp",
                             "portal2.bmp", "crosshair7.bmp", "logo.bmp", "text.bmp"}) {
        const Picture p = load(name);
        int lit = 0, inner = 0;
        for (int x = 0; x < p.width(); ++x)
            lit += (p.brightest(x, 0) > 0) + (p.brightest(x, p.height() - 1) > 0);
        for (int y = 0; y < p.height(); ++y) {
            lit += (p.brightest(0, y) > 0) + (p.brightest(p.width() - 1, y) > 0);
            for (int x = 0; x < p.width(); ++x)
                inner = std::max(inner, p.brightest(x, y));
        }
        EXPECT_EQ(lit, 0) << name << " has lit pixels on its border";
        EXPECT_GT(inner, 100) << name << " is nearly black";
    }
}

// Cell i of the 16 x 16 font grid, counted from the top-left, holds the
// character 32 + i inside its left 10 columns.
struct Cell {
    const Picture& sheet;
    int            index;

    bool ink(int x, int y) const { return sheet.brightest(index % 16 * 16 + x, index / 16 * 16 + y) > 64; }
    int lowestInkRow() const
    {
        for (int y = 15; y >= 0; --y)
            for (int x = 0; x < 16; ++x)
                if (ink(x, y))
                    return y;
        return -1;
    }
    int inkInColumn(int x) const
    {
        int n = 0;
        for (int y = 0; y < 16; ++y)
            n += ink(x, y);
        return n;
    }
};

Cell cellOf(const Picture& sheet, char c) { return {sheet, static_cast<unsigned char>(c) - 32}; }

TEST(FontSheet, PrintableCharactersSitInTheLeftTenColumnsOfTheirCells)
{
    const Picture sheet = load("Font.bmp");
    for (int i = 0; i < 256; ++i) {
        int inked = 0, outside = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool any = sheet.brightest(i % 16 * 16 + x, i / 16 * 16 + y) > 0;
                inked += any;
                outside += any && x >= 10;
            }
        EXPECT_EQ(inked > 0, i >= 1 && i <= 94) << "character " << i + 32;
        EXPECT_EQ(outside, 0) << "character " << i + 32 << " reaches past column 10";
    }
}

TEST(FontSheet, GlyphsAreUprightAndUnmirroredOnOneBaseline)
{
    const Picture sheet = load("Font.bmp");
    const int baseline = cellOf(sheet, 'H').lowestInkRow();
    ASSERT_GE(baseline, 8);
    for (char c : std::string("ABEHKMXZacemnorsuvwxz0123456789"))
        EXPECT_EQ(cellOf(sheet, c).lowestInkRow(), baseline) << c;
    for (char c : std::string("gjpqy"))
        EXPECT_GT(cellOf(sheet, c).lowestInkRow(), baseline + 1) << c << " has no descender";
    EXPECT_LT(cellOf(sheet, '^').lowestInkRow(), 8);  // upside down it would sit low
    const Cell l = cellOf(sheet, 'L');                // mirrored, its stem would be on the right
    int stem = 0;
    while (stem < 10 && l.inkInColumn(stem) == 0)
        ++stem;
    EXPECT_GT(l.inkInColumn(stem) + l.inkInColumn(stem + 1), 12);
}

// On the sphere the left and right edges meet: the step across that seam
// must look like any other step between columns, and each pole row, squeezed
// into a point, must be nearly one colour.
TEST(SphereMaps, CloseUpWithoutSeamOrPinchedPoles)
{
    for (const char* name : {"stars.bmp", "nebula.bmp", "Planet.bmp", "clouds.bmp", "gasplanet.bmp", "atm.bmp"}) {
        const Picture p = load(name);
        const auto step = [&](int a, int b) {
            double sum = 0;
            for (int y = 0; y < p.height(); ++y)
                for (int ch = 0; ch < 3; ++ch)
                    sum += std::abs(p.at(a, y)[ch] - p.at(b, y)[ch]);
            return sum / (p.height() * 3.0);
        };
        double typical = 0;
        for (int x = 0; x + 1 < p.width(); ++x)
            typical += step(x, x + 1);
        typical /= p.width() - 1;
        EXPECT_LE(step(p.width() - 1, 0), 2 * typical + 0.5) << name;

        if (std::string(name) == "stars.bmp" || std::string(name) == "nebula.bmp")
            continue;  // the sky is seen from inside; its poles are dark anyway
        for (int y : {0, p.height() - 1}) {
            int lo = 255, hi = 0;
            for (int x = 0; x < p.width(); ++x) {
                lo = std::min(lo, p.brightest(x, y));
                hi = std::max(hi, p.brightest(x, y));
            }
            EXPECT_LE(hi - lo, 32) << name << " row " << y;
        }
    }
}

// Added over the stars, the nebula leaves most of the sky dark, and the
// haze over the gas giant stays faint.
TEST(SphereMaps, AdditiveSkyLayersStayDim)
{
    const Picture nebula = load("nebula.bmp");
    int dark = 0;
    for (int y = 0; y < nebula.height(); ++y)
        for (int x = 0; x < nebula.width(); ++x)
            dark += nebula.brightest(x, y) < 24;
    EXPECT_GT(dark, nebula.width() * nebula.height() / 2);

    const Picture haze = load("atm.bmp");
    int brightest = 0;
    for (int y = 0; y < haze.height(); ++y)
        for (int x = 0; x < haze.width(); ++x)
            brightest = std::max(brightest, haze.brightest(x, y));
    EXPECT_GT(brightest, 0);
    EXPECT_LT(brightest, 80);
}

}  // namespace
