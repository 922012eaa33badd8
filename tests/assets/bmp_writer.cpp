#include "bmp_writer.h"

#include <algorithm>
#include <fstream>
#include <utility>

namespace fs = std::filesystem;

Bytes bmpFile(const BmpFields& f, const Bytes& pixelArray)
{
    const std::uint32_t offset = f.pixelOffset ? f.pixelOffset : 14 + f.infoSize;
    const auto size = static_cast<std::uint32_t>(pixelArray.size());
    // Little-endian fields: file size, reserved, offset, then the info header.
    const std::pair<std::uint32_t, int> fields[] = {
        {offset + size, 4}, {0, 4}, {offset, 4}, {f.infoSize, 4}, {f.width, 4}, {f.height, 4}, {f.planes, 2},
        {f.bitsPerPixel, 2}, {f.compression, 4}, {size, 4}, {2835, 4}, {2835, 4}, {0, 4}, {0, 4}};
    Bytes out{'B', 'M'};
    for (auto [value, bytes] : fields)
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<unsigned char>(value >> 8 * i));
    out.resize(std::max<std::size_t>(out.size(), offset), 0);
    out.insert(out.end(), pixelArray.begin(), pixelArray.end());
    return out;
}

Bytes bmpRows(std::uint32_t width, const Bytes& rgb)
{
    Bytes out;
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        out.insert(out.end(), {rgb[i + 2], rgb[i + 1], rgb[i]});
        if ((i / 3 + 1) % width == 0)
            out.resize((out.size() + 3) / 4 * 4, 0);
    }
    return out;
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
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}
