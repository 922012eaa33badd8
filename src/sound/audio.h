// Sound's only door to the mixer (OpenAL). The soundtrack decides what plays
// on which of a fixed number of sources ("voices"); this table carries it
// out. Start-up wires it to OpenAL, tests to a log.
#pragma once

#include "core/vec3.h"
#include "sound/catalogue.h"

// ---- types -----------------------------------------------------------------

constexpr int kVoiceCount = 32;  // sources the soundtrack ever uses at once

struct AudioOut {
    void (*listener)(const Vec3& eye, const Vec3& forward, const Vec3& up);
    // `atListener`: placed on the listener and never attenuated.
    void (*playOnce)(int voice, SoundId sound, const Vec3& at, bool atListener);
    void (*startLoop)(int voice, SoundId sound, const Vec3& at, const Vec3& velocity, bool atListener);
    void (*moveLoop)(int voice, const Vec3& at, const Vec3& velocity);  // world units, units per second
    void (*stop)(int voice);
    void (*stopAll)();
    void (*advanceTo)(int clockMs);  // renders a loopback up to the clock; nothing on a device
};

// ---- state -----------------------------------------------------------------

extern AudioOut audio;  // silent until someone replaces it

// ---- functions -------------------------------------------------------------

AudioOut silentAudio();
