#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tex {

// An 8-bit RGB picture, rows from the top down, three bytes per pixel.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    Image() = default;
    Image(int w, int h) : width(w), height(h), rgb(static_cast<std::size_t>(w) * h * 3, 0) {}
    std::uint8_t* pixel(int x, int y) { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
    const std::uint8_t* pixel(int x, int y) const {
        return &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    }
};

// Encodes a 24-bit uncompressed BMP: 54-byte header, bottom row first,
// blue-green-red bytes, rows padded to four bytes.
std::vector<std::uint8_t> encodeBmp(const Image& image);

// Writes the encoded picture; false (with errno intact) when the file
// cannot be written completely.
bool writeBmp(const std::string& path, const Image& image);

}  // namespace tex
