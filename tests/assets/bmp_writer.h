// Test helpers: BMP files built byte by byte, and throwaway folders for them.
#pragma once

#include "files.h"

#include <cstdint>
#include <filesystem>
#include <vector>

using Bytes = std::vector<unsigned char>;

// Header fields of a crafted file; pixelOffset 0 means right after the headers.
struct BmpFields {
    std::uint32_t width = 0, height = 0;
    std::uint16_t planes = 1, bitsPerPixel = 24;
    std::uint32_t infoSize = 40, compression = 0, pixelOffset = 0;
};

// Headers, zero bytes up to the pixel offset, then `pixelArray` as given.
Bytes bmpFile(const BmpFields& fields, const Bytes& pixelArray);

// Packed RGB rows, bottom first, stored as a BMP stores them: BGR, each row
// padded to four bytes.
Bytes bmpRows(std::uint32_t width, const Bytes& rgb);

// A picture whose every byte differs from its neighbours, so a skewed or
// swapped row or channel shows.
Bytes patternRgb(std::uint32_t width, std::uint32_t height, unsigned seed);

void writeFile(const std::filesystem::path& path, const Bytes& bytes);
