#include "sound/catalogue.h"

// Launches are far away and only hint; engines and explosions carry the play;
// the crash and the end of the game must always be heard.
static constexpr SoundInfo kSounds[kSoundCount] = {
    {"launch.wav",    1.0f,  1, 1200, false},
    {"engine.wav",    0.5f,  4, 1000, true},
    {"zap.wav",       0.25f, 2, 180,  false},
    {"explosion.wav", 1.0f,  3, 1500, false},
    {"impact.wav",    1.0f,  3, 2000, false},
    {"crash.wav",     0.6f,  5, 1000, false},
    {"gameover.wav",  0.5f,  5, 2400, false},
    {"title.wav",     0.3f,  5, 4000, true},
};

const SoundInfo& soundInfo(SoundId id) { return kSounds[static_cast<int>(id)]; }
