#include "assets/bmp.h"

#include "bmp_writer.h"
#include "fake_platform.h"

#include <gtest/gtest.h>

// Crafted files in a temp folder; GameTest captures what loadBMP prints.
class BmpTest : public GameTest {
protected:
    bool load(const Bytes& bytes, Image& image)
    {
        writeFile(name, bytes);
        return loadBMP(name, image);
    }

    // The one line a refused file prints.
    void expectRefused(const Bytes& bytes, const std::string& message)
    {
        clearOutput();
        Image image;
        EXPECT_FALSE(load(bytes, image));
        EXPECT_EQ(output(), message + "\n");
    }

    TempDir           dir;
    const std::string name = dir.file("crafted.bmp");
};

TEST_F(BmpTest, MissingFileIsNamedAsPassedIn)
{
    Image image;
    EXPECT_FALSE(loadBMP("no/such/picture.bmp", image));
    EXPECT_EQ(output(), "File Not Found : no/such/picture.bmp\n");
}

TEST_F(BmpTest, SwapsBlueAndRedOfEveryPixel)
{
    Image image;
    ASSERT_TRUE(load(bmpFile({.width = 4, .height = 1},
                             {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF}),
                     image));
    EXPECT_EQ(image.width, 4u);
    EXPECT_EQ(image.height, 1u);
    EXPECT_EQ(image.pixels, (Bytes{0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(output(), "");
}

TEST_F(BmpTest, DropsRowPaddingAndKeepsBottomRowFirst)
{
    for (std::uint32_t width : {1u, 2u, 3u, 5u, 127u}) {
        const Bytes rgb = patternRgb(width, 3, width);
        Bytes file = bmpPicture(width, 3, rgb);
        file.insert(file.end(), {1, 2, 3, 4, 5});  // trailing bytes are not pixels
        Image image;
        ASSERT_TRUE(load(file, image)) << width;
        EXPECT_EQ(image.pixels, rgb) << "width " << width;
    }

    // 1 x 2: a padded bottom row of 3 + 1 bytes, then a top row that ends the
    // file without its padding byte.
    Bytes file = bmpFile({.width = 1, .height = 2}, {0x10, 0x20, 0x30, 0xEE, 0x40, 0x50, 0x60});
    Image image;
    ASSERT_TRUE(load(file, image)) << output();
    EXPECT_EQ(image.pixels, (Bytes{0x30, 0x20, 0x10, 0x60, 0x50, 0x40}));
}

TEST_F(BmpTest, ReadsPixelsFromTheStoredOffset)
{
    const Bytes rgb = patternRgb(5, 4, 3);
    const Bytes rows = bmpRows(5, rgb);
    for (const BmpFields& fields : {BmpFields{.width = 5, .height = 4, .infoSize = 124},
                                    BmpFields{.width = 5, .height = 4, .pixelOffset = 1078}}) {
        Image image;
        ASSERT_TRUE(load(bmpFile(fields, rows), image)) << output();
        EXPECT_EQ(image.pixels, rgb) << "offset " << fields.pixelOffset;
    }
}

TEST_F(BmpTest, PlanesAndDepthAreCheckedInThatOrder)
{
    expectRefused(bmpFile({.width = 4, .height = 1, .planes = 2, .bitsPerPixel = 8}, Bytes(12)),
                  "Planes from " + name + " is not 1: 2");
    expectRefused(bmpFile({.width = 4, .height = 1, .bitsPerPixel = 32}, Bytes(16)),
                  "Bpp from " + name + " is not 24: 32");
}

TEST_F(BmpTest, ShortOrEmptyPixelDataFailsWithTheReadMessage)
{
    const std::string message = "Error reading image data from " + name + ".";
    Bytes oneShort = bmpPicture(4, 2, patternRgb(4, 2, 1));
    oneShort.pop_back();
    expectRefused(oneShort, message);
    expectRefused(bmpFile({.width = 0, .height = 5}, Bytes(12)), message);
    expectRefused(bmpFile({.width = 5, .height = 0}, Bytes(12)), message);
    Bytes headerCut = bmpPicture(4, 1, Bytes(12));
    headerCut.resize(30);
    expectRefused(headerCut, message);
}

TEST_F(BmpTest, RefusesLayoutsItCannotDecode)
{
    const Bytes rows = bmpRows(2, patternRgb(2, 2, 5));
    expectRefused(bmpFile({.width = 2, .height = 2, .infoSize = 16}, rows),
                  "Info header of " + name + " is shorter than 40 bytes: 16");
    expectRefused(bmpFile({.width = 2, .height = 2, .compression = 1}, rows),
                  "Compression of " + name + " is not supported: 1");
    expectRefused(bmpFile({.width = 2, .height = 0xFFFFFFFE}, rows),
                  "Negative height of " + name + " is not supported: -2");
}

// Files with the classic 40-byte header were always read at 54, so a wrong
// offset field there still loads; other headers have no such fallback.
TEST_F(BmpTest, CorruptOffsetReadsAt54OnlyAfterAFortyByteHeader)
{
    const Bytes rgb = patternRgb(2, 2, 5);
    const Bytes rows = bmpRows(2, rgb);  // 16 bytes: the classic file is 70 long
    for (std::uint32_t offset : {0u, 14u, 53u, 71u, 0xFFFFFFFFu}) {
        Bytes file = bmpPicture(2, 2, rgb);
        file[10] = static_cast<unsigned char>(offset);
        file[11] = static_cast<unsigned char>(offset >> 8);
        file[12] = static_cast<unsigned char>(offset >> 16);
        file[13] = static_cast<unsigned char>(offset >> 24);
        Image image;
        ASSERT_TRUE(load(file, image)) << "offset " << offset << ": " << output();
        EXPECT_EQ(image.pixels, rgb) << "offset " << offset;
    }

    // 124-byte header: the pixels may start at 138 at the earliest, and the
    // file is 154 bytes long.
    expectRefused(bmpFile({.width = 2, .height = 2, .infoSize = 124, .pixelOffset = 137}, rows),
                  "Pixel offset of " + name + " is out of range: 137");
    Bytes beyond = bmpFile({.width = 2, .height = 2, .infoSize = 124}, rows);
    beyond[10] = 155;
    expectRefused(beyond, "Pixel offset of " + name + " is out of range: 155");
}

// The old OS/2 header keeps planes and depth at offsets 22 and 24.
TEST_F(BmpTest, OldOs2HeaderReportsItsRealDepth)
{
    Bytes file = bmpFile({.infoSize = 12}, Bytes(64));
    const auto core = [&](std::uint16_t bitsPerPixel) {
        file[18] = 4;                    // 16-bit width 4, height 4
        file[20] = 4;
        file[22] = 1;                    // planes
        file[24] = static_cast<unsigned char>(bitsPerPixel);
        return file;
    };
    expectRefused(core(8), "Bpp from " + name + " is not 24: 8");
    expectRefused(core(24), "Info header of " + name + " is shorter than 40 bytes: 12");
}

TEST_F(BmpTest, RefusesSizesThatOverflowThirtyTwoBits)
{
    // 0x55555556 * 3 wraps to 2: the two bytes present must not load as a picture.
    expectRefused(bmpFile({.width = 0x55555556, .height = 1}, Bytes(8)),
                  "Size of " + name + " is too large: 1431655766 x 1");
    expectRefused(bmpFile({.width = 65536, .height = 65536}, {}),
                  "Size of " + name + " is too large: 65536 x 65536");
}

TEST_F(BmpTest, FailureLeavesTheImageAlone)
{
    Image image{7, 1, Bytes(21, 9)};
    EXPECT_FALSE(load(bmpFile({.width = 4, .height = 4}, Bytes(10)), image));
    EXPECT_EQ(image.width, 7u);
    EXPECT_EQ(image.pixels, Bytes(21, 9));
}
