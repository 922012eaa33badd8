#include "sound/wav.h"

#include "core/output_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

// ---- state -----------------------------------------------------------------

static struct {
    std::FILE*    file = nullptr;
    std::string   path;
    int           rate = 0;
    std::uint64_t dataBytes = 0;
    std::uint64_t dataLimit = 0;
    bool          stopped = false;  // the limit or a write error was reached
} out;

// ---- functions -------------------------------------------------------------

static std::uint32_t readLe(const std::string& bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

bool readMonoWav(const std::string& path, MonoSound& sound, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (!file && bytes.empty()) {
        error = "cannot read " + path;
        return false;
    }
    if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 8, "WAVEfmt ") != 0 ||
        readLe(bytes, 20, 2) != 1 || readLe(bytes, 22, 2) != 1 || readLe(bytes, 34, 2) != 16 ||
        bytes.compare(36, 4, "data") != 0 || readLe(bytes, 40, 4) > bytes.size() - 44) {
        error = path + " is not a 16-bit mono PCM WAV file";
        return false;
    }
    const std::size_t count = readLe(bytes, 40, 4) / 2;
    sound.rate = static_cast<int>(readLe(bytes, 24, 4));
    sound.samples.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        sound.samples[i] = static_cast<std::int16_t>(readLe(bytes, 44 + 2 * i, 2));
    return true;
}

static void putLe(unsigned char* at, std::uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

static void writeHeader()
{
    unsigned char h[44];
    std::memcpy(h, "RIFF", 4);
    putLe(h + 4, static_cast<std::uint32_t>(36 + out.dataBytes), 4);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    putLe(h + 16, 16, 4);
    putLe(h + 20, 1, 2);  // PCM
    putLe(h + 22, 2, 2);  // stereo
    putLe(h + 24, static_cast<std::uint32_t>(out.rate), 4);
    putLe(h + 28, static_cast<std::uint32_t>(out.rate * 4), 4);
    putLe(h + 32, 4, 2);
    putLe(h + 34, 16, 2);
    std::memcpy(h + 36, "data", 4);
    putLe(h + 40, static_cast<std::uint32_t>(out.dataBytes), 4);
    std::fseek(out.file, 0, SEEK_SET);
    std::fwrite(h, 1, sizeof h, out.file);
    std::fseek(out.file, 0, SEEK_END);
}

static void stopWriting(const std::string& why)
{
    if (out.stopped)
        return;
    out.stopped = true;
    std::cerr << "quorvane: " << why << "; the soundtrack ends there and the game goes on\n";
}

bool createWavOut(const std::string& path, int rate, std::string& error, std::uint64_t dataLimit)
{
    closeWavOut();
    bool created = false;
    const int fd = openOutputFile(path, path, created, error);
    if (fd < 0)
        return false;
    std::FILE* file = ::ftruncate(fd, 0) == 0 ? ::fdopen(fd, "wb") : nullptr;
    if (!file) {
        error = path + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    out = {file, path, rate, 0, dataLimit, false};
    writeHeader();
    return true;
}

// Samples go out in the machine's byte order, little-endian on every
// machine the game is built for, as WAV wants.
void appendWavOut(const std::int16_t* frames, std::size_t frameCount)
{
    if (!out.file || out.stopped)
        return;
    const std::uint64_t room = (out.dataLimit - out.dataBytes) / 4 * 4;
    const std::uint64_t wanted = static_cast<std::uint64_t>(frameCount) * 4;
    const auto bytes = static_cast<std::size_t>(wanted < room ? wanted : room);
    if (bytes > 0 && std::fwrite(frames, 1, bytes, out.file) != bytes) {
        stopWriting("cannot write " + out.path + ": " + std::strerror(errno));
        return;
    }
    out.dataBytes += bytes;
    if (wanted > room)
        stopWriting(out.path + " has reached the WAV format's 4 GB limit");
}

void flushWavOut()
{
    if (!out.file)
        return;
    writeHeader();
    // the seeks already flush, so an error may have been met before fflush
    if (std::fflush(out.file) != 0 || std::ferror(out.file))
        stopWriting("cannot write " + out.path + ": " + std::strerror(errno));
}

void closeWavOut()
{
    if (!out.file)
        return;
    flushWavOut();
    std::fclose(out.file);
    out.file = nullptr;
}
