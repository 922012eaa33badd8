// The page's mixer, in place of src/sound/openal_out.cpp: emscripten's
// OpenAL on the browser's Web Audio, with the desktop's distance model,
// Doppler and gains. It has none of OpenAL Soft's extensions, so no
// loopback device (--sound-out needs the desktop game) and the browser's own
// resampler. A browser starts audio only after a click or a key: web/pre.js
// resumes it then. Each sound heard is counted for the page
// (Module.soundsStarted, by SoundId), which tests read.
#include "sound/openal_out.h"

#include "sound/audio.h"
#include "sound/openal_scene.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <emscripten.h>

#include <cstdio>
#include <string>

// ---- state -----------------------------------------------------------------

static struct {
    ALCdevice*  device = nullptr;
    ALCcontext* context = nullptr;
    ALuint      sources[kVoiceCount] = {};
    ALuint      buffers[kSoundCount] = {};
    Vec3        listener;                    // world units
    Vec3        at[kVoiceCount];             // where each voice's sound is, world units
    bool        positional[kVoiceCount] = {};  // placed in the world, not on the listener
} al;

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
static void place(int voice)
{
    if (!al.positional[voice])
        return;
    const Vec3& at = al.at[voice];
    const float away = distance(at, al.listener);
    const Vec3 placed = away > kMaxDistance ? al.listener + (kMaxDistance / away) * (at - al.listener) : at;
    alSource3f(al.sources[voice], AL_POSITION, placed.x, placed.y, placed.z);
}

static void setPosition(int voice, const Vec3& at, bool atListener)
{
    const ALuint source = al.sources[voice];
    alSourcei(source, AL_SOURCE_RELATIVE, atListener ? AL_TRUE : AL_FALSE);
    alSourcef(source, AL_ROLLOFF_FACTOR, atListener ? 0.0f : kRolloff);
    al.at[voice] = at;
    al.positional[voice] = !atListener;
    if (atListener)
        alSource3f(source, AL_POSITION, 0, 0, 0);
    place(voice);
}

static void start(int voice, SoundId sound, const Vec3& at, const Vec3& velocity, bool atListener, bool loop)
{
    const ALuint source = al.sources[voice];
    setPosition(voice, at, atListener);
    playOpenAlSource(source, al.buffers[static_cast<int>(sound)], sound, loop, velocity);
    countStarted(sound, source);
}

static void outListener(const Vec3& eye, const Vec3& forward, const Vec3& up)
{
    const ALfloat orientation[6] = {forward.x, forward.y, forward.z, up.x, up.y, up.z};
    alListener3f(AL_POSITION, eye.x, eye.y, eye.z);
    alListenerfv(AL_ORIENTATION, orientation);
    al.listener = eye;
    for (int voice = 0; voice < kVoiceCount; ++voice)
        place(voice);
}

static void outPlayOnce(int voice, SoundId sound, const Vec3& at, bool atListener)
{
    start(voice, sound, at, Vec3{}, atListener, false);
}

static void outStartLoop(int voice, SoundId sound, const Vec3& at, const Vec3& velocity, bool atListener)
{
    start(voice, sound, at, velocity, atListener, true);
}

static void outMoveLoop(int voice, const Vec3& at, const Vec3& velocity)
{
    al.at[voice] = at;
    place(voice);
    alSource3f(al.sources[voice], AL_VELOCITY, velocity.x, velocity.y, velocity.z);
}

static void outStop(int voice) { alSourceStop(al.sources[voice]); }

static void outStopAll()
{
    for (ALuint source : al.sources)
        alSourceStop(source);
}

static constexpr AudioOut kPageAudio = {
    outListener, outPlayOnce, outStartLoop, outMoveLoop, outStop, outStopAll, [](int) {},
};

static std::string openContext()
{
    al.device = alcOpenDevice(nullptr);
    al.context = al.device ? alcCreateContext(al.device, nullptr) : nullptr;
    if (!al.context || !alcMakeContextCurrent(al.context))
        return "no sound device";
    setUpOpenAlScene(al.sources);
    return loadOpenAlSounds(al.buffers, {});
}

// A browser without Web Audio, or sounds missing: one line, and silence.
bool openSoundDevice()
{
    const std::string error = openContext();
    if (error.empty()) {
        audio = kPageAudio;
        return true;
    }
    std::fprintf(stderr, "quorvane: %s; playing without sound\n", error.c_str());
    closeSound();
    return false;
}

bool openSoundLoopback()
{
    std::fprintf(stderr, "quorvane: --sound-out needs the desktop game\n");
    return false;
}

void closeSound()
{
    audio = silentAudio();
    if (al.context)
        closeOpenAlScene(al.context, al.sources, al.buffers);
    if (al.device)
        alcCloseDevice(al.device);
    al = {};
}
