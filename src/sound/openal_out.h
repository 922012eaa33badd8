// The mixer: OpenAL Soft, on the default sound device or rendering into a
// WAV file through a loopback device. Either one fills `audio`.
#pragma once

#include <string>

// ---- constants -------------------------------------------------------------

constexpr int kLoopbackRate = 44100;  // samples a second in a rendered soundtrack

// Inverse distance, clamped: full loudness within the reference distance,
// half at twice it. An engine 800 units out (a fresh spawn) plays at 7 %,
// at a third of its way in at 11 %, and at 60 units at full gain. The page's
// mixer uses the same numbers.
constexpr float kReferenceDistance = 60;   // world units
constexpr float kRolloff = 1;
constexpr float kMaxDistance = 2000;       // world units; no further fall-off
constexpr float kSpeedOfSound = 250;       // world units a second: a missile's 30 shifts it 12 %

// ---- functions -------------------------------------------------------------

// The default device with the game's sounds. Without a device, or without
// the sounds, one line on standard error and false: the game plays silently.
// What OpenAL Soft and ALSA print themselves while the device opens goes
// nowhere.
bool openSoundDevice();

// A loopback device rendering into the WAV file that createWavOut opened,
// advanced by the game's clock (sample n belongs to n * 1000 / rate ms).
// False with one line when it can't be had.
bool openSoundLoopback();

// Stops every sound, finishes a rendered file and closes the device.
void closeSound();
