#include "assets/png.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

// ---- types -----------------------------------------------------------------

namespace {

constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}();

constexpr std::size_t kMaxStoredBlock = 65535;

// Bytes on their way to the file, with the running CRC of the current chunk.
struct PngStream {
    int           fd = -1;
    bool          failed = false;
    std::uint32_t crc = 0;
    std::size_t   used = 0;
    unsigned char buffer[16384];

    void flush()
    {
        std::size_t done = 0;
        while (!failed && done < used) {
            const ssize_t n = ::write(fd, buffer + done, used - done);
            if (n < 0)
                failed = true;
            else
                done += static_cast<std::size_t>(n);
        }
        used = 0;
    }
    void put(const unsigned char* bytes, std::size_t size)
    {
        for (std::size_t i = 0; i < size; ++i) {
            crc = kCrcTable[(crc ^ bytes[i]) & 0xff] ^ (crc >> 8);
            if (used == sizeof buffer)
                flush();
            buffer[used++] = bytes[i];
        }
    }
    void put32(std::uint32_t v)
    {
        const unsigned char bytes[4] = {static_cast<unsigned char>(v >> 24), static_cast<unsigned char>(v >> 16),
                                        static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
        put(bytes, 4);
    }
    void beginChunk(const char* type, std::uint32_t length)
    {
        put32(length);
        crc = 0xffffffffu;
        put(reinterpret_cast<const unsigned char*>(type), 4);
    }
    void endChunk() { put32(~crc); }
};

// The filtered rows as one stream of stored deflate blocks, with Adler-32.
struct StoredDeflate {
    PngStream&    out;
    std::size_t   remaining;       // raw bytes still to come
    std::size_t   blockLeft = 0;   // raw bytes left in the current block
    std::uint32_t a = 1, b = 0;    // Adler-32

    void put(const unsigned char* bytes, std::size_t size)
    {
        while (size > 0) {
            if (blockLeft == 0)
                beginBlock();
            const std::size_t n = std::min(size, blockLeft);
            for (std::size_t i = 0; i < n; ++i) {
                a = (a + bytes[i]) % 65521;
                b = (b + a) % 65521;
            }
            out.put(bytes, n);
            bytes += n;
            size -= n;
            blockLeft -= n;
            remaining -= n;
        }
    }
    void beginBlock()
    {
        blockLeft = std::min(remaining, kMaxStoredBlock);
        const auto len = static_cast<std::uint16_t>(blockLeft);
        const unsigned char header[5] = {static_cast<unsigned char>(blockLeft == remaining ? 1 : 0),
                                         static_cast<unsigned char>(len & 0xff), static_cast<unsigned char>(len >> 8),
                                         static_cast<unsigned char>(~len & 0xff),
                                         static_cast<unsigned char>((~len >> 8) & 0xff)};
        out.put(header, 5);
    }
};

}  // namespace

// ---- functions -------------------------------------------------------------

static void writeImageData(PngStream& out, int width, int height, int channels, const unsigned char* pixels,
                           bool bottomUp)
{
    const std::size_t rowBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(channels);
    const std::size_t raw = static_cast<std::size_t>(height) * (rowBytes + 1);
    const std::size_t blocks = std::max<std::size_t>(1, (raw + kMaxStoredBlock - 1) / kMaxStoredBlock);
    out.beginChunk("IDAT", static_cast<std::uint32_t>(2 + blocks * 5 + raw + 4));
    const unsigned char zlibHeader[2] = {0x78, 0x01};
    out.put(zlibHeader, 2);

    StoredDeflate deflate{out, raw};
    const unsigned char noFilter = 0;
    for (int y = 0; y < height; ++y) {
        const int row = bottomUp ? height - 1 - y : y;
        deflate.put(&noFilter, 1);
        deflate.put(pixels + static_cast<std::size_t>(row) * rowBytes, rowBytes);
    }
    out.put32((deflate.b << 16) | deflate.a);
    out.endChunk();
}

bool writePng(const char* path, int width, int height, int channels, const unsigned char* pixels, bool bottomUp)
{
    PngStream out;
    out.fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out.fd < 0)
        return false;

    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    out.put(signature, 8);
    out.beginChunk("IHDR", 13);
    out.put32(static_cast<std::uint32_t>(width));
    out.put32(static_cast<std::uint32_t>(height));
    // 8 bits, RGB or RGBA, deflate, no filter set, no interlace
    const unsigned char format[5] = {8, static_cast<unsigned char>(channels == 4 ? 6 : 2), 0, 0, 0};
    out.put(format, 5);
    out.endChunk();
    writeImageData(out, width, height, channels, pixels, bottomUp);
    out.beginChunk("IEND", 0);
    out.endChunk();
    out.flush();
    const bool closed = ::close(out.fd) == 0;
    return !out.failed && closed;
}
