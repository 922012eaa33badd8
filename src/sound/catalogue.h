// The game's sounds: their files, how loud each plays and how much it
// matters when sources run short.
#pragma once

// ---- types -----------------------------------------------------------------

enum class SoundId { Launch, Engine, Zap, Explosion, Impact, Crash, GameOver, Title, Count };

struct SoundInfo {
    const char* file;   // under sounds/
    float gain;         // 0 to 1, before the distance model
    int   priority;     // a busy source gives way only to a sound of at least its priority
    int   lengthMs;     // of the file; a one-shot's source is free again after it
    bool  loop;
};

constexpr int kSoundCount = static_cast<int>(SoundId::Count);

// ---- functions -------------------------------------------------------------

const SoundInfo& soundInfo(SoundId id);
