#include "sound/voices.h"

#include <climits>

static int priorityOf(SoundId sound) { return soundInfo(sound).priority; }

// The busy voice that gives way first: lowest priority, then oldest.
static int weakestVoice(const VoicePool& pool)
{
    int weakest = 0;
    for (int v = 1; v < kVoiceCount; ++v) {
        const Voice& a = pool.voices[v];
        const Voice& b = pool.voices[weakest];
        if (priorityOf(a.sound) < priorityOf(b.sound) ||
            (priorityOf(a.sound) == priorityOf(b.sound) && a.startedAt < b.startedAt))
            weakest = v;
    }
    return weakest;
}

static int freeVoice(const VoicePool& pool)
{
    for (int v = 0; v < kVoiceCount; ++v)
        if (!pool.voices[v].busy)
            return v;
    return -1;
}

int claimVoice(VoicePool& pool, SoundId sound, int clock)
{
    int v = freeVoice(pool);
    if (v < 0) {
        v = weakestVoice(pool);
        if (priorityOf(pool.voices[v].sound) > priorityOf(sound))
            return -1;
    }
    const SoundInfo& info = soundInfo(sound);
    pool.voices[v] = Voice{true, sound, clock, info.loop ? INT_MAX : clock + info.lengthMs};
    return v;
}

void releaseFinished(VoicePool& pool, int clock)
{
    for (Voice& voice : pool.voices)
        if (voice.busy && voice.endsAt <= clock)
            voice.busy = false;
}
