#include "bmp.h"

#include <cstdio>
#include <memory>

namespace tex {
namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xff));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xff));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> encodeBmp(const Image& image) {
    const std::uint32_t w = static_cast<std::uint32_t>(image.width);
    const std::uint32_t h = static_cast<std::uint32_t>(image.height);
    const std::uint32_t rowBytes = (w * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = rowBytes * h;

    std::vector<std::uint8_t> out;
    out.reserve(54 + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + pixelBytes);  // file size
    put32(out, 0);                // two reserved words
    put32(out, 54);               // pixel array offset
    put32(out, 40);               // BITMAPINFOHEADER
    put32(out, w);
    put32(out, h);                // positive: bottom row first
    put16(out, 1);                // planes
    put16(out, 24);               // bits per pixel
    put32(out, 0);                // BI_RGB
    put32(out, pixelBytes);
    put32(out, 2835);             // 72 dpi, both axes
    put32(out, 2835);
    put32(out, 0);                // colours used
    put32(out, 0);                // important colours

    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.pixel(x, y);
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        for (std::uint32_t pad = w * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

bool writeBmp(const std::string& path, const Image& image) {
    const std::vector<std::uint8_t> bytes = encodeBmp(image);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return false;
    return std::fclose(file.release()) == 0;
}

}  // namespace tex
