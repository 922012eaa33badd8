#include "assets/bmp.h"

#include "bmp_writer.h"
#include "fake_platform.h"

#include <tuple>

// Crafted files in a temp folder; GameTest captures what loadBMP prints.
class BmpTest : public GameTest {
protected:
    TempDir dir;
    const std::string name = (dir.path / "crafted.bmp").string();
};

// Rows come out packed RGB, bottom row first, whatever the padding, header
// size or trailing bytes. A wrong pixel offset in a classic 40-byte header
// (into the headers or past the end) is the field's fault: read at 54.
TEST_F(BmpTest, LoadsPackedRgbBottomRowFirst)
{
    std::vector<std::pair<Bytes, Bytes>> files;  // file, pixels
    for (std::uint32_t width : {1u, 2u, 3u, 5u, 127u}) {
        const Bytes rgb = patternRgb(width, 3, width);
        files.emplace_back(bmpFile({.width = width, .height = 3}, bmpRows(width, rgb)), rgb);
        files.back().first.insert(files.back().first.end(), {1, 2, 3, 4, 5});
    }
    const Bytes rgb = patternRgb(5, 4, 3);
    files.emplace_back(bmpFile({.width = 5, .height = 4, .infoSize = 124}, bmpRows(5, rgb)), rgb);
    files.emplace_back(bmpFile({.width = 5, .height = 4, .pixelOffset = 1078}, bmpRows(5, rgb)), rgb);
    for (std::uint32_t offset : {0u, 53u, 119u, 0xFFFFFFFFu}) {  // the file is 118 bytes long
        files.emplace_back(bmpFile({.width = 5, .height = 4}, bmpRows(5, rgb)), rgb);
        for (int i = 0; i < 4; ++i)
            files.back().first[10 + i] = static_cast<unsigned char>(offset >> 8 * i);
    }
    for (const auto& [file, pixels] : files) {
        Image image;
        writeFile(name, file);
        ASSERT_TRUE(loadBMP(name, image)) << output();
        EXPECT_EQ(image.pixels, pixels) << "width " << image.width << ", offset " << int{file[10]};
    }
}

// Every refused file prints one line naming it and leaves the image alone;
// planes are checked before the depth.
TEST_F(BmpTest, RefusedFilesPrintTheirOneLine)
{
    const Bytes rows = bmpRows(2, patternRgb(2, 2, 5));
    Bytes oneShort = bmpFile({.width = 4, .height = 2}, Bytes(24)), headerCut = oneShort;
    oneShort.pop_back();
    headerCut.resize(30);
    Bytes beyond = bmpFile({.width = 2, .height = 2, .infoSize = 124}, rows);  // 154 bytes
    beyond[10] = 155;
    const std::tuple<Bytes, const char*, const char*> refused[] = {  // file, the line around its name
        {bmpFile({.width = 4, .height = 1, .planes = 2, .bitsPerPixel = 8}, Bytes(12)), "Planes from ", " is not 1: 2"},
        {bmpFile({.width = 4, .height = 1, .bitsPerPixel = 32}, Bytes(16)), "Bpp from ", " is not 24: 32"},
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
        // A 124-byte header's pixels start at 138 at the earliest.
        {bmpFile({.width = 2, .height = 2, .infoSize = 124, .pixelOffset = 137}, rows), "Pixel offset of ",
         " is out of range: 137"},
        {beyond, "Pixel offset of ", " is out of range: 155"},
    };
    for (const auto& [file, before, after] : refused) {
        clearOutput();
        Image image{7, 1, Bytes(21, 9)};
        writeFile(name, file);
        EXPECT_FALSE(loadBMP(name, image));
        EXPECT_EQ(output(), before + name + after + "\n");
        EXPECT_EQ(std::tuple(image.width, image.pixels), std::tuple(7u, Bytes(21, 9)));
    }
    clearOutput();
    Image image;
    EXPECT_FALSE(loadBMP("no/such/picture.bmp", image));
    EXPECT_EQ(output(), "File Not Found : no/such/picture.bmp\n");
}
