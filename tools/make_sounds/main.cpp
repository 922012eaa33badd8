// Writes the game's sounds into a directory as 16-bit mono WAV files at
// 22050 Hz.
//
//   make_sounds OUTDIR
//
// The output depends only on this program, so a second run gives the same
// bytes.
#include "sounds.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

struct Entry {
    const char* name;
    snd::Sound (*make)();
};

constexpr Entry kEntries[] = {
    {"launch.wav", snd::makeLaunch},       {"engine.wav", snd::makeEngine},
    {"zap.wav", snd::makeZap},             {"explosion.wav", snd::makeExplosion},
    {"impact.wav", snd::makeImpact},       {"crash.wav", snd::makeCrash},
    {"gameover.wav", snd::makeGameOver},   {"title.wav", snd::makeTitle},
};

void put(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

// Rounded to the nearest step; normalised sounds never reach full scale.
std::int16_t toPcm(double v)
{
    const double scaled = v * 32767.0;
    return static_cast<std::int16_t>(scaled < 0 ? -std::floor(-scaled + 0.5) : std::floor(scaled + 0.5));
}

bool writeWav(const std::string& path, const snd::Sound& sound)
{
    const auto dataBytes = static_cast<std::uint32_t>(sound.samples.size() * 2);
    std::string out = "RIFF";
    put(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    put(out, 16, 4);
    put(out, 1, 2);                // PCM
    put(out, 1, 2);                // mono
    put(out, snd::kRate, 4);
    put(out, snd::kRate * 2, 4);   // bytes a second
    put(out, 2, 2);                // bytes a frame
    put(out, 16, 2);               // bits a sample
    out += "data";
    put(out, dataBytes, 4);
    for (double v : sound.samples)
        put(out, static_cast<std::uint16_t>(toPcm(v)), 2);
    std::ofstream file(path, std::ios::binary);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file.flush());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '-') {
        std::cerr << "usage: make_sounds OUTDIR\n";
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(argv[1], error);
    if (error) {
        std::cerr << "make_sounds: cannot create " << argv[1] << ": " << error.message() << "\n";
        return 1;
    }
    for (const Entry& entry : kEntries) {
        const std::string path = (std::filesystem::path(argv[1]) / entry.name).string();
        if (!writeWav(path, entry.make())) {
            std::cerr << "make_sounds: cannot write " << path << ": " << std::strerror(errno) << "\n";
            return 1;
        }
    }
    return 0;
}
