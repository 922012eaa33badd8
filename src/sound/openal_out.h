// The mixer: OpenAL Soft, on the default sound device or rendering into a
// WAV file through a loopback device. Either one fills `audio`.
#pragma once

#include <string>

// ---- constants -------------------------------------------------------------

constexpr int kLoopbackRate = 44100;  // samples a second in a rendered soundtrack

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
