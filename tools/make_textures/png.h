#pragma once
#include "assets/png.h"

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

// Writes the picture as a PNG with the game's own writer; false (with errno
// intact) on failure.
inline bool writePng(const std::string& path, const RgbaImage& image)
{
    return ::writePng(path.c_str(), image.width, image.height, 4, image.rgba.data(), false);
}

}  // namespace tex
