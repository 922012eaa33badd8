#include "assets/bmp.h"

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <new>
#include <string>
#include <utility>

// ---- types -----------------------------------------------------------------

// The header fields the reader looks at; everything else is skipped.
struct BmpHeader {
    std::uint32_t pixelOffset = 0;  // where the pixel array starts in the file
    std::uint32_t infoSize = 0;     // bytes in the info header
    std::uint32_t width = 0;
    std::uint32_t height = 0;       // bit 31 set: a top-down picture
    std::uint16_t planes = 0;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
};

// ---- constants -------------------------------------------------------------

constexpr std::size_t   kHeaderBytes = 54;      // file header and a 40-byte info header
constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreInfoBytes = 12;    // the old OS/2 info header
constexpr std::uint32_t kMinInfoBytes = 40;
constexpr std::uint64_t kMaxPixels = 0xFFFFFFFFu / 3;  // width * height * 3 fits in 32 bits

constexpr const char* kReadFailed = "Error reading image data from %s.\n";

// ---- functions -------------------------------------------------------------

static std::uint16_t le16(const unsigned char* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

static std::uint32_t le32(const unsigned char* bytes)
{
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
           std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24;
}

// Writes one printf-style line to standard output and reports failure.
[[gnu::format(printf, 1, 2)]] static bool fail(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list sizing;
    va_copy(sizing, args);
    const int length = std::vsnprintf(nullptr, 0, format, sizing);
    va_end(sizing);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    std::cout << text << std::flush;
    return false;
}

static BmpHeader parseHeader(const unsigned char* bytes)
{
    BmpHeader header;
    header.pixelOffset = le32(bytes + 10);
    header.infoSize = le32(bytes + 14);
    header.width = le32(bytes + 18);
    header.height = le32(bytes + 22);
    // The OS/2 header stores 16-bit sizes, so its planes and depth sit
    // four bytes earlier; reading them there reports the real depth.
    const unsigned char* format = header.infoSize == kCoreInfoBytes ? bytes + 22 : bytes + 26;
    header.planes = le16(format);
    header.bitsPerPixel = le16(format + 2);
    header.compression = le32(bytes + 30);
    return header;
}

// The checks that need only the header, in the order they are reported.
static bool checkFormat(const std::string& path, const BmpHeader& header)
{
    const char* name = path.c_str();
    if (header.planes != 1)
        return fail("Planes from %s is not 1: %u\n", name, unsigned{header.planes});
    if (header.bitsPerPixel != 24)
        return fail("Bpp from %s is not 24: %u\n", name, unsigned{header.bitsPerPixel});
    if (header.infoSize < kMinInfoBytes)
        return fail("Info header of %s is shorter than 40 bytes: %u\n", name, header.infoSize);
    if (header.compression != 0)
        return fail("Compression of %s is not supported: %u\n", name, header.compression);
    if (header.height > 0x7FFFFFFFu)
        return fail("Negative height of %s is not supported: %d\n", name,
                    static_cast<int>(static_cast<std::int32_t>(header.height)));
    if (std::uint64_t{header.width} * header.height > kMaxPixels)
        return fail("Size of %s is too large: %u x %u\n", name, header.width, header.height);
    return true;
}

// Rows are padded to four bytes in the file; the last row's padding is not
// needed, so a file that omits it still loads.
static std::uint64_t pixelArrayBytes(const BmpHeader& header)
{
    const std::uint64_t rowBytes = std::uint64_t{header.width} * 3;
    const std::uint64_t stride = (rowBytes + 3) & ~std::uint64_t{3};
    return stride * (header.height - 1) + rowBytes;
}

static bool offsetInFile(const BmpHeader& header, std::uint64_t fileSize)
{
    return header.pixelOffset >= std::uint64_t{kFileHeaderBytes} + header.infoSize &&
           header.pixelOffset <= fileSize;
}

// Where the pixel array starts. Pictures with the classic 40-byte header were
// always read right after it, so when their offset field points into the
// headers or past the end of the file, it is the field that is wrong: they
// are still read at 54. Other headers with such an offset are refused.
static bool placePixels(const std::string& path, BmpHeader& header, std::uint64_t fileSize)
{
    if (offsetInFile(header, fileSize))
        return true;
    if (header.infoSize == kMinInfoBytes) {
        header.pixelOffset = kHeaderBytes;
        return true;
    }
    return fail("Pixel offset of %s is out of range: %u\n", path.c_str(), header.pixelOffset);
}

// Whether the pixel array lies inside the file, checked before any buffer
// of the claimed size exists.
static bool checkLayout(const std::string& path, const BmpHeader& header, std::uint64_t fileSize)
{
    const char* name = path.c_str();
    if (header.width == 0 || header.height == 0)
        return fail(kReadFailed, name);
    if (pixelArrayBytes(header) > fileSize - header.pixelOffset)
        return fail(kReadFailed, name);
    return true;
}

static std::uint64_t fileLength(std::ifstream& file)
{
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    return length > 0 ? static_cast<std::uint64_t>(length) : 0;
}

static bool allocate(std::vector<unsigned char>& buffer, std::uint64_t size)
{
    try {
        buffer.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// Drops the row padding and turns blue-green-red into red-green-blue, in
// place: every row moves down to its packed position, never past unread bytes.
static void packRows(std::vector<unsigned char>& bytes, std::uint32_t width, std::uint32_t height)
{
    const std::size_t rowBytes = std::size_t{width} * 3;
    const std::size_t stride = (rowBytes + 3) & ~std::size_t{3};
    unsigned char* data = bytes.data();
    for (std::size_t row = 0; row < height; ++row) {
        const unsigned char* from = data + row * stride;
        unsigned char* to = data + row * rowBytes;
        for (std::size_t i = 0; i < rowBytes; i += 3) {
            const unsigned char blue = from[i], green = from[i + 1], red = from[i + 2];
            to[i] = red;
            to[i + 1] = green;
            to[i + 2] = blue;
        }
    }
    bytes.resize(rowBytes * height);
}

bool loadBMP(const std::string& path, Image& image)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return fail("File Not Found : %s\n", path.c_str());

    unsigned char raw[kHeaderBytes];
    if (!file.read(reinterpret_cast<char*>(raw), sizeof raw))
        return fail(kReadFailed, path.c_str());
    BmpHeader header = parseHeader(raw);
    if (!checkFormat(path, header))
        return false;
    const std::uint64_t fileSize = fileLength(file);
    if (!placePixels(path, header, fileSize) || !checkLayout(path, header, fileSize))
        return false;

    const std::uint64_t size = pixelArrayBytes(header);
    std::vector<unsigned char> pixels;
    if (!allocate(pixels, size))
        return fail("Error allocating memory for color-corrected image data");
    file.seekg(header.pixelOffset);
    if (!file.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(size)))
        return fail(kReadFailed, path.c_str());

    packRows(pixels, header.width, header.height);
    image.width = header.width;
    image.height = header.height;
    image.pixels = std::move(pixels);
    return true;
}
