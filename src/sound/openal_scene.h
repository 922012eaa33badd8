// The mixer both builds share: the desktop's (OpenAL Soft) and the page's
// (emscripten's OpenAL on Web Audio) play the voices alike: the distance
// model and its numbers, the sources and buffers, placing, starting, moving
// and stopping sounds and the listener, and the close. Each backend only
// opens its device and context, and adds what it alone needs as hooks.
#pragma once

#include "core/vec3.h"
#include "sound/audio.h"
#include "sound/catalogue.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <filesystem>
#include <string>

// ---- constants -------------------------------------------------------------

// Inverse distance, clamped: full loudness within the reference distance,
// half at twice it. An engine 800 units out (a fresh spawn) plays at 7 %,
// at a third of its way in at 11 %, and at 60 units at full gain.
constexpr float kReferenceDistance = 60;   // world units
constexpr float kRolloff = 1;
constexpr float kMaxDistance = 2000;       // world units; no further fall-off
constexpr float kSpeedOfSound = 250;       // world units a second: a missile's 30 shifts it 12 %

// ---- types -----------------------------------------------------------------

// What a backend adds; any may be null.
struct MixerHooks {
    void (*setUpSource)(ALuint source);                          // once, after the scene's own settings
    Vec3 (*placed)(const Vec3& at, const Vec3& listener);        // null: every sound sits where it is
    void (*started)(SoundId sound, ALuint source);               // after a sound starts
    void (*advanceTo)(int clockMs);                              // audio.advanceTo
};

// ---- functions -------------------------------------------------------------

// Takes `device` and `context` (either may be null: then nothing opens) and
// loads the sounds, found beside the images as the game finds them
// (`executable` may be empty). An empty error when `audio` now plays through
// them; otherwise the caller closes.
std::string startOpenAlMixer(ALCdevice* device, ALCcontext* context, const MixerHooks& hooks,
                             const std::filesystem::path& executable);

// Silences `audio`, stops and deletes the sources and buffers, then the
// context and the device, whatever got opened.
void closeOpenAlMixer();
