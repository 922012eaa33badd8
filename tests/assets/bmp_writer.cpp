#include "bmp_writer.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

// ---- functions -------------------------------------------------------------

// Little-endian fields of two and four bytes.
static void put(Bytes& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(value >> 8 * i));
}
static void put16(Bytes& out, std::uint32_t value) { put(out, value, 2); }
static void put32(Bytes& out, std::uint32_t value) { put(out, value, 4); }

TempDir::TempDir()
{
    static std::atomic<int> count{0};
    path_ = fs::temp_directory_path() /
            ("quorvane-assets-" + std::to_string(getpid()) + "-" + std::to_string(count++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempDir::~TempDir()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

Bytes bmpFile(const BmpFields& fields, const Bytes& pixelArray)
{
    const std::uint32_t offset = fields.pixelOffset ? fields.pixelOffset : 14 + fields.infoSize;
    Bytes out{'B', 'M'};
    put32(out, offset + static_cast<std::uint32_t>(pixelArray.size()));
    put32(out, 0);
    put32(out, offset);
    put32(out, fields.infoSize);
    put32(out, fields.width);
    put32(out, fields.height);
    put16(out, fields.planes);
    put16(out, fields.bitsPerPixel);
    put32(out, fields.compression);
    put32(out, static_cast<std::uint32_t>(pixelArray.size()));
    put32(out, 2835);  // 72 dpi, both ways
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    if (out.size() < offset)
        out.resize(offset, 0);
    out.insert(out.end(), pixelArray.begin(), pixelArray.end());
    return out;
}

Bytes bmpRows(std::uint32_t width, const Bytes& rgb)
{
    const std::size_t rowBytes = std::size_t{width} * 3;
    Bytes out;
    for (std::size_t row = 0; row * rowBytes < rgb.size(); ++row) {
        for (std::size_t i = row * rowBytes; i < (row + 1) * rowBytes; i += 3) {
            out.push_back(rgb[i + 2]);
            out.push_back(rgb[i + 1]);
            out.push_back(rgb[i]);
        }
        while (out.size() % 4 != 0)
            out.push_back(0);
    }
    return out;
}

Bytes bmpPicture(std::uint32_t width, std::uint32_t height, const Bytes& rgb)
{
    return bmpFile(BmpFields{.width = width, .height = height}, bmpRows(width, rgb));
}

Bytes patternRgb(std::uint32_t width, std::uint32_t height, unsigned seed)
{
    Bytes rgb(std::size_t{width} * height * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = static_cast<unsigned char>(i * 7 + i / 251 + seed * 31 + 1);
    return rgb;
}

void writeFile(const fs::path& path, const Bytes& bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path.string());
}
