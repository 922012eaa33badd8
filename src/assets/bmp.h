// The game's only file reader: uncompressed 24-bit Windows BMP images.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// ---- types -----------------------------------------------------------------

// A decoded picture: red, green, blue bytes per pixel, rows tightly packed,
// the bottom row first.
struct Image {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<unsigned char> pixels;  // width * height * 3 bytes
};

// ---- functions -------------------------------------------------------------

// Reads the BMP file at `path` into `image`. On failure writes one line
// naming the path to standard output and returns false; `image` is then
// left as it was.
bool loadBMP(const std::string& path, Image& image);
