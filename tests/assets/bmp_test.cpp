#include "assets/bmp.h"

#include "bmp_writer.h"
#include "fake_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

// ---- state -----------------------------------------------------------------

// A header may claim any size: the reader must not believe it before it
// knows the file holds that many bytes.
static bool        tracking = false;
static std::size_t largest = 0;  // bytes, the largest request while tracking

void* operator new(std::size_t size)
{
    if (tracking && size > largest)
        largest = size;
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

// Not inlined: g++ would pair the library's new with this free and warn.
[[gnu::noinline]] void operator delete(void* block) noexcept { std::free(block); }
[[gnu::noinline]] void operator delete(void* block, std::size_t) noexcept { std::free(block); }

// ---- tests -----------------------------------------------------------------

// Crafted files in a temp folder; GameTest captures what loadBMP prints.
class BmpTest : public GameTest {
protected:
    bool load(const Bytes& bytes, Image& image)
    {
        writeFile(name, bytes);
        return loadBMP(name, image);
    }

    // The one line a refused file prints; the image is left alone and
    // nothing large is allocated on the header's word.
    void expectRefused(const Bytes& bytes, const std::string& message)
    {
        clearOutput();
        Image image{7, 1, Bytes(21, 9)};
        largest = 0;
        tracking = true;
        EXPECT_FALSE(load(bytes, image));
        tracking = false;
        EXPECT_EQ(output(), message + "\n");
        EXPECT_EQ(image.width, 7u);
        EXPECT_EQ(image.pixels, Bytes(21, 9));
        EXPECT_LT(largest, std::size_t{1} << 20) << message;
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

TEST_F(BmpTest, DropsRowPaddingAndKeepsBottomRowFirst)
{
    for (std::uint32_t width : {1u, 2u, 3u, 5u, 127u}) {
        const Bytes rgb = patternRgb(width, 3, width);
        Bytes file = bmpPicture(width, 3, rgb);
        file.insert(file.end(), {1, 2, 3, 4, 5});  // trailing bytes are not pixels
        Image image;
        ASSERT_TRUE(load(file, image)) << width;
        EXPECT_EQ(image.pixels, rgb) << "width " << width;  // BGR rows swapped to RGB
        EXPECT_EQ(image.width, width);
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

// Every refused file prints one line naming it; planes are checked before
// the depth, and the old OS/2 header keeps both at offsets 22 and 24.
TEST_F(BmpTest, RefusedFilesPrintTheirOneLine)
{
    const Bytes rows = bmpRows(2, patternRgb(2, 2, 5));
    Bytes oneShort = bmpPicture(4, 2, patternRgb(4, 2, 1));
    oneShort.pop_back();
    Bytes headerCut = bmpPicture(4, 1, Bytes(12));
    headerCut.resize(30);
    Bytes beyond = bmpFile({.width = 2, .height = 2, .infoSize = 124}, rows);  // 154 bytes
    beyond[10] = 155;
    const auto os2 = [](unsigned char bitsPerPixel) {
        Bytes file = bmpFile({.infoSize = 12}, Bytes(64));
        file[18] = file[20] = 4;  // 16-bit width and height
        file[22] = 1;
        file[24] = bitsPerPixel;
        return file;
    };
    const struct {
        Bytes       file;
        const char *before, *after;  // the line around the file's name
    } refused[] = {
        {bmpFile({.width = 4, .height = 1, .planes = 2, .bitsPerPixel = 8}, Bytes(12)), "Planes from ", " is not 1: 2"},
        {bmpFile({.width = 4, .height = 1, .bitsPerPixel = 32}, Bytes(16)), "Bpp from ", " is not 24: 32"},
        {os2(8), "Bpp from ", " is not 24: 8"},
        {os2(24), "Info header of ", " is shorter than 40 bytes: 12"},
        {bmpFile({.width = 2, .height = 2, .infoSize = 16}, rows), "Info header of ", " is shorter than 40 bytes: 16"},
        {bmpFile({.width = 2, .height = 2, .compression = 1}, rows), "Compression of ", " is not supported: 1"},
        {bmpFile({.width = 2, .height = 0xFFFFFFFE}, rows), "Negative height of ", " is not supported: -2"},
        {oneShort, "Error reading image data from ", "."},
        {headerCut, "Error reading image data from ", "."},
        {bmpFile({.width = 0, .height = 5}, Bytes(12)), "Error reading image data from ", "."},
        {bmpFile({.width = 5, .height = 0}, Bytes(12)), "Error reading image data from ", "."},
        // 0x55555556 * 3 wraps to 2: the two bytes present must not load.
        {bmpFile({.width = 0x55555556, .height = 1}, Bytes(8)), "Size of ", " is too large: 1431655766 x 1"},
        {bmpFile({.width = 65536, .height = 65536}, {}), "Size of ", " is too large: 65536 x 65536"},
        {bmpFile({.width = 1, .height = 0x7FFFFFFF}, Bytes(64)), "Size of ", " is too large: 1 x 2147483647"},
        // The largest size allowed, and a large one, are still only claims.
        {bmpFile({.width = 0x55555555, .height = 1}, Bytes(64)), "Error reading image data from ", "."},
        {bmpFile({.width = 10000, .height = 10000}, Bytes(64)), "Error reading image data from ", "."},
        // A 124-byte header's pixels start at 138 at the earliest.
        {bmpFile({.width = 2, .height = 2, .infoSize = 124, .pixelOffset = 137}, rows), "Pixel offset of ",
         " is out of range: 137"},
        {beyond, "Pixel offset of ", " is out of range: 155"},
    };
    for (const auto& r : refused)
        expectRefused(r.file, r.before + name + r.after);
}

// Files with the classic 40-byte header were always read at 54, so a wrong
// offset field there still loads (the 124-byte header has no such fallback).
TEST_F(BmpTest, CorruptOffsetReadsAt54OnlyAfterAFortyByteHeader)
{
    const Bytes rgb = patternRgb(2, 2, 5);  // the classic file is 70 bytes long
    for (std::uint32_t offset : {0u, 14u, 53u, 71u, 0xFFFFFFFFu}) {
        Bytes file = bmpPicture(2, 2, rgb);
        for (int i = 0; i < 4; ++i)
            file[10 + i] = static_cast<unsigned char>(offset >> 8 * i);
        Image image;
        ASSERT_TRUE(load(file, image)) << "offset " << offset << ": " << output();
        EXPECT_EQ(image.pixels, rgb) << "offset " << offset;
    }
}
