#include "sound/openal_scene.h"

#include "assets/texture_root.h"
#include "sound/wav.h"

// ---- state -----------------------------------------------------------------

static struct {
    ALCdevice*  device = nullptr;
    ALCcontext* context = nullptr;
    ALuint      sources[kVoiceCount] = {};
    ALuint      buffers[kSoundCount] = {};
    MixerHooks  hooks = {};
    Vec3        listener;                      // world units
    Vec3        at[kVoiceCount];               // where each voice's sound is, world units
    bool        positional[kVoiceCount] = {};  // placed in the world, not on the listener
} mixer;

// ---- functions -------------------------------------------------------------

static void setUpScene()
{
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    alSpeedOfSound(kSpeedOfSound);
    alDopplerFactor(1);
    alGenSources(kVoiceCount, mixer.sources);
    for (ALuint source : mixer.sources) {
        alSourcef(source, AL_REFERENCE_DISTANCE, kReferenceDistance);
        alSourcef(source, AL_MAX_DISTANCE, kMaxDistance);
        if (mixer.hooks.setUpSource)
            mixer.hooks.setUpSource(source);
    }
}

static std::string loadSounds(const std::filesystem::path& executable)
{
    std::string error;
    std::error_code ignored;
    const std::filesystem::path root = findDataRoot(std::filesystem::current_path(ignored), executable, "sounds");
    alGenBuffers(kSoundCount, mixer.buffers);
    for (int id = 0; id < kSoundCount; ++id) {
        MonoSound sound;
        const std::string path = (root.empty() ? std::filesystem::path("sounds") : root / "sounds") /
                                 soundInfo(static_cast<SoundId>(id)).file;
        if (!readMonoWav(path, sound, error))
            return error;
        alBufferData(mixer.buffers[id], AL_FORMAT_MONO16, sound.samples.data(),
                     static_cast<ALsizei>(sound.samples.size() * 2), sound.rate);
    }
    return alGetError() == AL_NO_ERROR ? "" : "OpenAL refused the sounds";
}

// A sound on the listener has no place in the world to keep up with it.
static void place(int voice)
{
    if (!mixer.positional[voice])
        return;
    const Vec3& at = mixer.at[voice];
    const Vec3 placed = mixer.hooks.placed ? mixer.hooks.placed(at, mixer.listener) : at;
    alSource3f(mixer.sources[voice], AL_POSITION, placed.x, placed.y, placed.z);
}

static void setPosition(int voice, const Vec3& at, bool atListener)
{
    const ALuint source = mixer.sources[voice];
    alSourcei(source, AL_SOURCE_RELATIVE, atListener ? AL_TRUE : AL_FALSE);
    alSourcef(source, AL_ROLLOFF_FACTOR, atListener ? 0.0f : kRolloff);
    mixer.at[voice] = at;
    mixer.positional[voice] = !atListener;
    if (atListener)
        alSource3f(source, AL_POSITION, 0, 0, 0);
    place(voice);
}

// Stops what the voice plays, then plays `sound` on it from the start, once
// or looping, moving at `velocity` (units per second).
static void start(int voice, SoundId sound, const Vec3& at, const Vec3& velocity, bool atListener, bool loop)
{
    const ALuint source = mixer.sources[voice];
    setPosition(voice, at, atListener);
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(mixer.buffers[static_cast<int>(sound)]));
    alSourcef(source, AL_GAIN, soundInfo(sound).gain);
    alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSource3f(source, AL_VELOCITY, velocity.x, velocity.y, velocity.z);
    alSourcePlay(source);
    if (mixer.hooks.started)
        mixer.hooks.started(sound, source);
}

static void outListener(const Vec3& eye, const Vec3& forward, const Vec3& up)
{
    const ALfloat orientation[6] = {forward.x, forward.y, forward.z, up.x, up.y, up.z};
    alListener3f(AL_POSITION, eye.x, eye.y, eye.z);
    alListenerfv(AL_ORIENTATION, orientation);
    mixer.listener = eye;
    if (!mixer.hooks.placed)
        return;
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
    mixer.at[voice] = at;
    place(voice);
    alSource3f(mixer.sources[voice], AL_VELOCITY, velocity.x, velocity.y, velocity.z);
}

static void outStop(int voice) { alSourceStop(mixer.sources[voice]); }

static void outStopAll()
{
    for (ALuint source : mixer.sources)
        alSourceStop(source);
}

static void outAdvanceTo(int clockMs)
{
    if (mixer.hooks.advanceTo)
        mixer.hooks.advanceTo(clockMs);
}

static constexpr AudioOut kOpenAlAudio = {
    outListener, outPlayOnce, outStartLoop, outMoveLoop, outStop, outStopAll, outAdvanceTo,
};

std::string startOpenAlMixer(ALCdevice* device, ALCcontext* context, const MixerHooks& hooks,
                             const std::filesystem::path& executable)
{
    mixer.device = device;
    mixer.context = context;
    mixer.hooks = hooks;
    if (!context || !alcMakeContextCurrent(context))
        return "no sound device";
    setUpScene();
    const std::string error = loadSounds(executable);
    if (error.empty())
        audio = kOpenAlAudio;
    return error;
}

void closeOpenAlMixer()
{
    audio = silentAudio();
    if (mixer.context) {
        outStopAll();
        alDeleteSources(kVoiceCount, mixer.sources);
        alDeleteBuffers(kSoundCount, mixer.buffers);
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(mixer.context);
    }
    if (mixer.device)
        alcCloseDevice(mixer.device);
    mixer = {};
}
