// Playing a recording back: its events go to the game's own callbacks with
// the recorded arguments and clock, and its checksums must agree.
#pragma once

#include "core/callbacks.h"
#include "replay/recording.h"

#include <cstdint>

// ---- types -----------------------------------------------------------------

struct PlaybackResult {
    int          status = 0;   // the game's exit status, 3 when the replay diverged, 1 when the file failed
    bool         diverged = false;
    std::int64_t ticks = 0;    // idle calls delivered, counted from 1
    std::int64_t frames = 0;   // frames drawn
    int          clock = 0;    // ms, read by the latest tick
};

enum class Pace {
    Recorded,  // as fast as it was played
    Fastest,   // as fast as the machine draws
};

// ---- constants -------------------------------------------------------------

constexpr int kDivergedStatus = 3;
// Ticks and events one idle call plays at most in the window, so that GLUT
// sees to q and the close button even in a recording without frames.
constexpr std::int64_t kStepsPerIdle = 10000;

// ---- functions -------------------------------------------------------------

// In process, without a window of its own: plays every event to `game` from
// the state start-up leaves, drawing in the current GL context, and returns
// when the recording ends or the game exits.
PlaybackResult playRecording(Recording& recording, const GameCallbacks& game);

// In the game's window: registers nothing itself, but gives the callbacks
// that startGame registers while replaying, which feed `game`. The idle
// callback plays the recording at `pace`, kStepsPerIdle at most a call; the
// others keep GLUT's events from the game, except a real q or Q, which
// quits. The window is asked for the recorded sizes up to the screen's,
// while the game is given them whole. At the end the process exits with
// the playback's status, after the timedemo line when `timedemo` is set.
const GameCallbacks& startPlayback(Recording& recording, const GameCallbacks& game, Pace pace,
                                   bool timedemo);

// "replay diverged at tick N (clock T ms)"
void printDivergence(const PlaybackResult& result);
