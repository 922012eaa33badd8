// The page's mixer, in place of src/sound/openal_out.cpp: emscripten's
// OpenAL on the browser's Web Audio, playing through the mixer the desktop
// shares (sound/openal_scene). It has none of OpenAL Soft's extensions, so no
// loopback device (--sound-out needs the desktop game) and the browser's own
// resampler. A browser starts audio only after a click or a key: pre.js
// resumes it then. Each sound heard is counted for the page
// (Module.soundsStarted, by SoundId), which tests read.
#include "sound/openal_out.h"

#include "sound/openal_scene.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <emscripten.h>

#include <cstdio>
#include <string>

// ---- functions -------------------------------------------------------------

// Counts a sound that plays on a running audio context with Web Audio
// buffers scheduled for it.
EM_JS(void, countHeard, (int sound, int source), {
    const ctx = AL.currentCtx;
    if (ctx.audioCtx.state != 'running' || !ctx.sources[source].audioQueue.length)
        return;
    Module.soundsStarted = Module.soundsStarted || [];
    Module.soundsStarted[sound] = (Module.soundsStarted[sound] || 0) + 1;
});

static void countStarted(SoundId sound, ALuint source)
{
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING)
        countHeard(static_cast<int>(sound), static_cast<int>(source));
}

// Web Audio's inverse distance goes on falling past the desktop's largest
// distance, where OpenAL Soft's clamped one stops: a sound further away is
// placed at that distance, in its own direction, so it plays as loud.
static Vec3 clampFar(const Vec3& at, const Vec3& listener)
{
    const float away = distance(at, listener);
    return away > kMaxDistance ? listener + (kMaxDistance / away) * (at - listener) : at;
}

static constexpr MixerHooks kPageHooks = {nullptr, clampFar, countStarted, nullptr};

// A browser without Web Audio, or sounds missing: one line, and silence.
bool openSoundDevice()
{
    ALCdevice* device = alcOpenDevice(nullptr);
    ALCcontext* context = device ? alcCreateContext(device, nullptr) : nullptr;
    const std::string error = startOpenAlMixer(device, context, kPageHooks, {});
    if (error.empty())
        return true;
    std::fprintf(stderr, "quorvane: %s; playing without sound\n", error.c_str());
    closeSound();
    return false;
}

bool openSoundLoopback()
{
    std::fprintf(stderr, "quorvane: --sound-out needs the desktop game\n");
    return false;
}

void closeSound() { closeOpenAlMixer(); }
