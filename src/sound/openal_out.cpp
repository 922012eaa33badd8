#include "sound/openal_out.h"

#include "sound/audio.h"
#include "sound/openal_scene.h"
#include "sound/wav.h"

#define AL_ALEXT_PROTOTYPES
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <AL/efx.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <vector>

// ---- constants -------------------------------------------------------------

constexpr int   kLinearResampler = 1;      // OpenAL Soft's resampler list: point, linear, ...
constexpr int   kRenderChunk = 4096;       // frames rendered at once
constexpr int   kFlushEveryMs = 1000;      // of clock, for a rendered file

// ---- state -----------------------------------------------------------------

static struct {
    ALCdevice*  device = nullptr;
    ALCcontext* context = nullptr;
    ALuint      sources[kVoiceCount] = {};
    ALuint      buffers[kSoundCount] = {};
    bool        loopback = false;
    std::int64_t rendered = 0;  // frames written to the file
    int          lastFlush = 0; // ms of clock
} al;

// ---- functions -------------------------------------------------------------

static void setPosition(ALuint source, const Vec3& at, bool atListener)
{
    alSourcei(source, AL_SOURCE_RELATIVE, atListener ? AL_TRUE : AL_FALSE);
    alSourcef(source, AL_ROLLOFF_FACTOR, atListener ? 0.0f : kRolloff);
    if (atListener)
        alSource3f(source, AL_POSITION, 0, 0, 0);
    else
        alSource3f(source, AL_POSITION, at.x, at.y, at.z);
}

static void start(int voice, SoundId sound, const Vec3& at, const Vec3& velocity, bool atListener, bool loop)
{
    const ALuint source = al.sources[voice];
    setPosition(source, at, atListener);
    playOpenAlSource(source, al.buffers[static_cast<int>(sound)], sound, loop, velocity);
}

static void outListener(const Vec3& eye, const Vec3& forward, const Vec3& up)
{
    const ALfloat orientation[6] = {forward.x, forward.y, forward.z, up.x, up.y, up.z};
    alListener3f(AL_POSITION, eye.x, eye.y, eye.z);
    alListenerfv(AL_ORIENTATION, orientation);
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
    alSource3f(al.sources[voice], AL_POSITION, at.x, at.y, at.z);
    alSource3f(al.sources[voice], AL_VELOCITY, velocity.x, velocity.y, velocity.z);
}

static void outStop(int voice) { alSourceStop(al.sources[voice]); }

static void outStopAll()
{
    for (ALuint source : al.sources)
        alSourceStop(source);
}

static std::int16_t toPcm(float v)
{
    const float scaled = v * 32767.0f;
    if (scaled >= 32767.0f)
        return 32767;
    if (scaled <= -32768.0f)
        return -32768;
    return static_cast<std::int16_t>(scaled < 0 ? scaled - 0.5f : scaled + 0.5f);
}

// Up to the clock in chunks, however long the stretch without frames.
static void outAdvanceTo(int clockMs)
{
    if (!al.loopback)
        return;
    const std::int64_t target = static_cast<std::int64_t>(clockMs) * kLoopbackRate / 1000;
    std::vector<float> mixed(kRenderChunk * 2);
    std::vector<std::int16_t> pcm(kRenderChunk * 2);
    while (al.rendered < target) {
        const auto frames = static_cast<ALCsizei>(std::min<std::int64_t>(target - al.rendered, kRenderChunk));
        alcRenderSamplesSOFT(al.device, mixed.data(), frames);
        for (std::size_t i = 0; i < static_cast<std::size_t>(frames) * 2; ++i)
            pcm[i] = toPcm(mixed[i]);
        appendWavOut(pcm.data(), static_cast<std::size_t>(frames));
        al.rendered += frames;
    }
    if (clockMs - al.lastFlush >= kFlushEveryMs) {
        flushWavOut();
        al.lastFlush = clockMs;
    }
}

static constexpr AudioOut kOpenAlAudio = {
    outListener, outPlayOnce, outStartLoop, outMoveLoop, outStop, outStopAll, outAdvanceTo,
};

// OpenAL Soft logs nothing unless the user asked for it; ALSA and the sound
// servers print to fd 2 while a device opens, which goes nowhere meanwhile.
class QuietStderr {
public:
    QuietStderr() : saved_(dup(2))
    {
        std::cerr.flush();
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, 2);
            close(null);
        }
    }
    ~QuietStderr()
    {
        if (saved_ < 0)
            return;
        dup2(saved_, 2);
        close(saved_);
    }

private:
    int saved_;
};

// OpenAL Soft's linear resampler on every source, as the page's browser
// resamples.
static void setUpScene()
{
    setUpOpenAlScene(al.sources);
    for (ALuint source : al.sources)
        alSourcei(source, AL_SOURCE_RESAMPLER_SOFT, kLinearResampler);
}

// The context, the sources, the sounds: an empty error when all are there.
static std::string makeContext(const ALCint* attributes)
{
    {
        QuietStderr quiet;  // a context may start the device's own threads
        al.context = al.device ? alcCreateContext(al.device, attributes) : nullptr;
    }
    if (!al.context || !alcMakeContextCurrent(al.context))
        return "no sound device";
    setUpScene();
    std::error_code ignored;
    return loadOpenAlSounds(al.buffers, std::filesystem::read_symlink("/proc/self/exe", ignored));
}

// One line, and silence, when anything is missing.
static bool finishOpening(const ALCint* attributes, const char* noDevice)
{
    const std::string error = al.device ? makeContext(attributes) : noDevice;
    if (error.empty()) {
        audio = kOpenAlAudio;
        return true;
    }
    std::cerr << "quorvane: " << error << "; playing without sound\n";
    closeSound();
    return false;
}

bool openSoundDevice()
{
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    {
        QuietStderr quiet;
        al.device = alcOpenDevice(nullptr);
    }
    return finishOpening(nullptr, "no sound device");
}

bool openSoundLoopback()
{
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    // Every rendering setting a loopback context takes is pinned, so no
    // alsoft.conf changes the file: the format, no HRTF, no limiter, no
    // effect sends; the resampler is pinned on each source. Floats are
    // mixed and rounded here, so no dither applies.
    const ALCint attributes[] = {
        ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT,
        ALC_FREQUENCY, kLoopbackRate, ALC_HRTF_SOFT, ALC_FALSE, ALC_OUTPUT_LIMITER_SOFT, ALC_FALSE,
        ALC_MONO_SOURCES, kVoiceCount, ALC_STEREO_SOURCES, 0, ALC_MAX_AUXILIARY_SENDS, 0, 0,
    };
    {
        QuietStderr quiet;
        al.device = alcLoopbackOpenDeviceSOFT(nullptr);
    }
    if (al.device && !alcIsRenderFormatSupportedSOFT(al.device, kLoopbackRate, ALC_STEREO_SOFT, ALC_FLOAT_SOFT)) {
        alcCloseDevice(al.device);
        al.device = nullptr;
    }
    al.loopback = al.device != nullptr;
    return finishOpening(attributes, "OpenAL Soft cannot render into a file here");
}

void closeSound()
{
    audio = silentAudio();
    if (al.context)
        closeOpenAlScene(al.context, al.sources, al.buffers);
    if (al.device)
        alcCloseDevice(al.device);
    if (al.loopback)
        closeWavOut();
    al = {};
}
