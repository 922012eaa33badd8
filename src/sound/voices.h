// A fixed pool of voices (mixer sources). A new sound takes a free voice,
// else the one playing the least important sound, the oldest first; it never
// takes a voice from a more important sound, so the pool never grows and
// what matters keeps playing.
#pragma once

#include "sound/audio.h"

// ---- types -----------------------------------------------------------------

struct Voice {
    bool    busy = false;
    SoundId sound = SoundId::Count;
    int     startedAt = 0;  // ms of game clock
    int     endsAt = 0;     // ms of game clock; loops never end by themselves
};

struct VoicePool {
    Voice voices[kVoiceCount];
};

// ---- functions -------------------------------------------------------------

// The voice the sound plays on from `clock`, or -1 when every voice holds a
// more important sound.
int claimVoice(VoicePool& pool, SoundId sound, int clock);

// One-shots whose file has played out free their voices.
void releaseFinished(VoicePool& pool, int clock);
