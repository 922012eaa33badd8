// What the desktop's mixer (OpenAL Soft) and the page's (emscripten's
// OpenAL) set up alike: the distance model and its numbers, the voices'
// sources and the sounds' buffers.
#pragma once

#include "sound/audio.h"
#include "core/vec3.h"
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

// ---- functions -------------------------------------------------------------

// The distance model and Doppler of the current context, and one source per
// voice made into `sources`.
void setUpOpenAlScene(ALuint (&sources)[kVoiceCount]);

// The sounds, found beside the images as the game finds them (`executable`
// may be empty), made into `buffers`. An empty error on success.
std::string loadOpenAlSounds(ALuint (&buffers)[kSoundCount], const std::filesystem::path& executable);

// Stops what the source plays, then plays `sound` on it from the start, once
// or looping, moving at `velocity` (units per second). Its place is set
// before.
void playOpenAlSource(ALuint source, ALuint buffer, SoundId sound, bool loop, const Vec3& velocity);

// Stops and deletes the sources and buffers, then the context.
void closeOpenAlScene(ALCcontext* context, ALuint (&sources)[kVoiceCount], ALuint (&buffers)[kSoundCount]);
