#include "sound/openal_out.h"

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

// A rendered file's device; the mixer shares the rest.
static struct {
    ALCdevice*   device = nullptr;
    bool         loopback = false;
    std::int64_t rendered = 0;  // frames written to the file
    int          lastFlush = 0; // ms of clock
} out;

// ---- functions -------------------------------------------------------------

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
    if (!out.loopback)
        return;
    const std::int64_t target = static_cast<std::int64_t>(clockMs) * kLoopbackRate / 1000;
    std::vector<float> mixed(kRenderChunk * 2);
    std::vector<std::int16_t> pcm(kRenderChunk * 2);
    while (out.rendered < target) {
        const auto frames = static_cast<ALCsizei>(std::min<std::int64_t>(target - out.rendered, kRenderChunk));
        alcRenderSamplesSOFT(out.device, mixed.data(), frames);
        for (std::size_t i = 0; i < static_cast<std::size_t>(frames) * 2; ++i)
            pcm[i] = toPcm(mixed[i]);
        appendWavOut(pcm.data(), static_cast<std::size_t>(frames));
        out.rendered += frames;
    }
    if (clockMs - out.lastFlush >= kFlushEveryMs) {
        flushWavOut();
        out.lastFlush = clockMs;
    }
}

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
static void useLinearResampler(ALuint source) { alSourcei(source, AL_SOURCE_RESAMPLER_SOFT, kLinearResampler); }

static constexpr MixerHooks kDesktopHooks = {useLinearResampler, nullptr, nullptr, outAdvanceTo};

// The context, the sources, the sounds; one line, and silence, when anything
// is missing.
static bool finishOpening(ALCdevice* device, const ALCint* attributes, const char* noDevice)
{
    ALCcontext* context = nullptr;
    if (device) {
        QuietStderr quiet;  // a context may start the device's own threads
        context = alcCreateContext(device, attributes);
    }
    std::error_code ignored;
    const std::string error =
        device ? startOpenAlMixer(device, context, kDesktopHooks, std::filesystem::read_symlink("/proc/self/exe", ignored))
               : noDevice;
    if (error.empty())
        return true;
    std::cerr << "quorvane: " << error << "; playing without sound\n";
    closeSound();
    return false;
}

bool openSoundDevice()
{
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    ALCdevice* device = nullptr;
    {
        QuietStderr quiet;
        device = alcOpenDevice(nullptr);
    }
    return finishOpening(device, nullptr, "no sound device");
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
        out.device = alcLoopbackOpenDeviceSOFT(nullptr);
    }
    if (out.device && !alcIsRenderFormatSupportedSOFT(out.device, kLoopbackRate, ALC_STEREO_SOFT, ALC_FLOAT_SOFT)) {
        alcCloseDevice(out.device);
        out.device = nullptr;
    }
    out.loopback = out.device != nullptr;
    return finishOpening(out.device, attributes, "OpenAL Soft cannot render into a file here");
}

void closeSound()
{
    closeOpenAlMixer();
    if (out.loopback)
        closeWavOut();
    out = {};
}
