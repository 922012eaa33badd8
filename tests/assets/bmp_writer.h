// Test helpers: BMP files built byte by byte, and throwaway folders for them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// ---- types -----------------------------------------------------------------

using Bytes = std::vector<unsigned char>;

// Header fields of a crafted file; pixelOffset 0 means right after the headers.
struct BmpFields {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitsPerPixel = 24;
    std::uint32_t infoSize = 40;
    std::uint32_t compression = 0;
    std::uint32_t pixelOffset = 0;
};

// A folder under the system temp dir, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// ---- functions -------------------------------------------------------------

// Headers, zero bytes up to the pixel offset, then `pixelArray` as given.
Bytes bmpFile(const BmpFields& fields, const Bytes& pixelArray);

// Packed RGB rows, bottom first, as a BMP stores them: BGR, rows padded to
// four bytes.
Bytes bmpRows(std::uint32_t width, const Bytes& rgb);

// A plain 24-bit file with a 54-byte header holding the packed RGB picture.
Bytes bmpPicture(std::uint32_t width, std::uint32_t height, const Bytes& rgb);

// A picture whose every byte differs from its neighbours, so a skewed or
// swapped row shows.
Bytes patternRgb(std::uint32_t width, std::uint32_t height, unsigned seed);

void writeFile(const std::filesystem::path& path, const Bytes& bytes);
