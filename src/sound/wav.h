// WAV files: reading the game's mono sounds, and writing a rendered
// soundtrack as it grows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// ---- types -----------------------------------------------------------------

struct MonoSound {
    std::vector<std::int16_t> samples;
    int rate = 0;  // samples a second
};

// ---- constants -------------------------------------------------------------

constexpr std::uint64_t kWavDataLimit = 0xFFFFFFFFull - 36;  // the format's 4 GB, less the header

// ---- functions -------------------------------------------------------------

// A 16-bit mono PCM file. False, with `error` naming the fault, otherwise.
bool readMonoWav(const std::string& path, MonoSound& sound, std::string& error);

// Creates `path` for a 16-bit stereo soundtrack at `rate`. False, with
// `error` naming the file and the reason, when it can't be created.
bool createWavOut(const std::string& path, int rate, std::string& error,
                  std::uint64_t dataLimit = kWavDataLimit);

// Appends interleaved stereo frames. Past the data limit or on a write
// error it says so once on standard error and appends nothing more.
void appendWavOut(const std::int16_t* frames, std::size_t frameCount);

// Rewrites the header for what has been written so far and flushes, so the
// file plays even if the game is killed next.
void flushWavOut();

void closeWavOut();
