#include "sound/openal_scene.h"

#include "assets/texture_root.h"
#include "sound/wav.h"

// ---- functions -------------------------------------------------------------

void setUpOpenAlScene(ALuint (&sources)[kVoiceCount])
{
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    alSpeedOfSound(kSpeedOfSound);
    alDopplerFactor(1);
    alGenSources(kVoiceCount, sources);
    for (ALuint source : sources) {
        alSourcef(source, AL_REFERENCE_DISTANCE, kReferenceDistance);
        alSourcef(source, AL_MAX_DISTANCE, kMaxDistance);
    }
}

std::string loadOpenAlSounds(ALuint (&buffers)[kSoundCount], const std::filesystem::path& executable)
{
    std::string error;
    std::error_code ignored;
    const std::filesystem::path root = findDataRoot(std::filesystem::current_path(ignored), executable, "sounds");
    alGenBuffers(kSoundCount, buffers);
    for (int id = 0; id < kSoundCount; ++id) {
        MonoSound sound;
        const std::string path = (root.empty() ? std::filesystem::path("sounds") : root / "sounds") /
                                 soundInfo(static_cast<SoundId>(id)).file;
        if (!readMonoWav(path, sound, error))
            return error;
        alBufferData(buffers[id], AL_FORMAT_MONO16, sound.samples.data(),
                     static_cast<ALsizei>(sound.samples.size() * 2), sound.rate);
    }
    return alGetError() == AL_NO_ERROR ? "" : "OpenAL refused the sounds";
}

void playOpenAlSource(ALuint source, ALuint buffer, SoundId sound, bool loop, const Vec3& velocity)
{
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcef(source, AL_GAIN, soundInfo(sound).gain);
    alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSource3f(source, AL_VELOCITY, velocity.x, velocity.y, velocity.z);
    alSourcePlay(source);
}

void closeOpenAlScene(ALCcontext* context, ALuint (&sources)[kVoiceCount], ALuint (&buffers)[kSoundCount])
{
    for (ALuint source : sources)
        alSourceStop(source);
    alDeleteSources(kVoiceCount, sources);
    alDeleteBuffers(kSoundCount, buffers);
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
}
