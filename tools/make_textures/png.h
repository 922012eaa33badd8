#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tex {

// An 8-bit RGBA picture, rows from the top down, four bytes per pixel.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    RgbaImage(int w, int h) : width(w), height(h), rgba(static_cast<std::size_t>(w) * h * 4, 0) {}
    std::uint8_t* pixel(int x, int y) { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
};

// Encodes a PNG (8-bit RGBA, no interlace). The zlib stream uses stored
// blocks only, so the bytes depend on this code alone and not on the zlib
// the machine happens to have.
std::vector<std::uint8_t> encodePng(const RgbaImage& image);

// Writes the encoded picture; false (with errno intact) on failure.
bool writePng(const std::string& path, const RgbaImage& image);

}  // namespace tex
