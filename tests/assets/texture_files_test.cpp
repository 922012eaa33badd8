// The committed images, read by the game's own reader: all sixteen load,
// every image added over the scene has a black border, and the font sheet
// holds its 16 x 16 grid.
#include "assets/bmp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr const char* kImages[] = {
    "stars.bmp",  "nebula.bmp",  "Planet.bmp",  "clouds.bmp",        "gasplanet.bmp",
    "atm.bmp",    "smoke.bmp",   "smoke2.bmp",  "smoke3.bmp",        "particlewhite.bmp",
    "portal1.bmp", "portal2.bmp", "Font.bmp",   "crosshair7.bmp",    "logo.bmp",
    "text.bmp",
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

TEST(TextureFiles, ExactlyTheSixteenImagesAndAllLoad)
{
    std::set<std::string> present, expected(std::begin(kImages), std::end(kImages));
    for (const fs::directory_entry& entry : fs::directory_iterator("textures"))
        if (entry.path().extension() != ".qvr")  // the demo lies beside the images
            present.insert(entry.path().filename().string());
    EXPECT_EQ(present, expected);
    for (const char* name : kImages)
        EXPECT_GT(load(name).image.width, 0u) << name;
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

// Cell i of the 16 x 16 grid, counted from the top-left, holds the character
// 32 + i inside its left 10 columns; the characters 33 to 126 have ink.
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

}  // namespace
