#include "sound/audio.h"

AudioOut audio = silentAudio();

AudioOut silentAudio()
{
    return {
        [](const Vec3&, const Vec3&, const Vec3&) {},
        [](int, SoundId, const Vec3&, bool) {},
        [](int, SoundId, const Vec3&, const Vec3&, bool) {},
        [](int, const Vec3&, const Vec3&) {},
        [](int) {},
        [] {},
        [](int) {},
    };
}
