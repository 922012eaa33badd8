#include "replay/playback.h"

#include "replay/screenshots.h"
#include "core/platform.h"
#include "game/checksum.h"

#include <GL/glut.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <thread>

// ---- types -----------------------------------------------------------------

namespace {

using Clock = std::chrono::steady_clock;

// Thrown by the exit the game calls during playback (q), so that playback
// can look at what the recording holds after it.
struct GameExit {
    int status;
};

}  // namespace

// ---- state -----------------------------------------------------------------

static struct {
    Recording*        recording = nullptr;
    Event             next;             // the next event; a run of ticks counts down as it plays
    bool              haveNext = false;
    PlaybackResult    result;
    bool              finished = false;
    Platform          saved{};          // the platform before playback
    GameCallbacks     game{};           // where the events go
    void (*resizeWindow)(int width, int height) = nullptr;

    // in the window
    Pace              pace = Pace::Fastest;
    bool              timedemo = false;
    bool              started = false;
    Clock::time_point realStart;        // when the first event was played
    int               paceStart = 0;    // ms, the platform's clock then
    Clock::time_point lastSwap;
} play;

// ---- functions -------------------------------------------------------------

static int playedClock() { return play.result.clock; }
static void noWarp(int, int) {}
static void noRedisplay() {}
[[noreturn]] static void throwExit(int status) { throw GameExit{status}; }

static void diverge()
{
    play.result.diverged = true;
    play.result.status = kDivergedStatus;
    play.finished = true;
}

// Reads the event after the one in `next`. A line that changed since the
// check ends the playback with its message and status 1.
static void advance()
{
    RecordingError error;
    play.haveNext = nextEvent(*play.recording, play.next, error);
    if (error.message.empty())
        return;
    std::fprintf(stderr, "quorvane: %s\n", describeError(play.recording->name, error).c_str());
    play.result.status = 1;
    play.finished = true;
}

// Up to `budget` ticks of the run in `next`; returns how many.
static std::int64_t playTicks(std::int64_t budget)
{
    std::int64_t played = 0;
    while (play.next.count > 0 && played < budget) {
        --play.next.count;
        ++played;
        ++play.result.ticks;
        play.result.clock = play.next.clock;
        play.game.idle();
    }
    if (play.next.count == 0)
        advance();
    return played;
}

// Delivers one event other than a tick. False when its checksum disagrees
// with the game's.
static bool deliver(const Event& event)
{
    switch (event.type) {
    case EventType::Tick:
        return true;
    case EventType::Frame:
        ++play.result.frames;
        play.game.display();
        return true;
    case EventType::Key:
        play.game.keyboard(static_cast<unsigned char>(event.key), event.x, event.y);
        return true;
    case EventType::Motion:
        play.game.motion(event.x, event.y);
        return true;
    case EventType::Reshape:
        if (play.resizeWindow && event.width > 0 && event.height > 0)
            play.resizeWindow(event.width, event.height);
        play.game.reshape(event.width, event.height);
        return true;
    case EventType::Check:
        return stateChecksum() == event.hash;
    }
    return true;
}

// The game ended itself (q): only the final checksum may follow, and it
// must agree.
static void afterExit(int status)
{
    play.result.status = status;
    play.finished = true;
    if (play.haveNext && play.next.type == EventType::Tick && play.next.count == 0)
        advance();  // the tick that quit ended its run
    if (play.haveNext && play.next.type == EventType::Check) {
        if (stateChecksum() != play.next.hash)
            return diverge();
        advance();
    }
    if (play.haveNext)
        diverge();
}

// Plays the next event, or up to `budget` ticks of its run; sets `finished`
// at the end. Returns the ticks and events played.
static std::int64_t step(std::int64_t budget)
{
    if (!play.haveNext) {
        play.finished = true;
        return 0;
    }
    const Event event = play.next;
    std::int64_t played = 1;
    platform.exitProcess = throwExit;
    try {
        if (event.type == EventType::Tick) {
            played = playTicks(budget);
        } else {
            advance();
            if (!deliver(event))
                diverge();
        }
    } catch (const GameExit& exit) {
        afterExit(exit.status);
    }
    platform.exitProcess = play.saved.exitProcess;
    if (event.type == EventType::Frame)
        play.lastSwap = Clock::now();
    return played;
}

static void begin(Recording& recording, const GameCallbacks& game)
{
    play.recording = &recording;
    play.game = game;
    play.result = PlaybackResult{};
    play.finished = false;
    advance();
    play.saved = platform;
    platform.elapsedMs = playedClock;
    platform.warpPointer = noWarp;
    platform.postRedisplay = noRedisplay;
}

PlaybackResult playRecording(Recording& recording, const GameCallbacks& game)
{
    begin(recording, game);
    play.resizeWindow = nullptr;
    while (!play.finished)
        step(kMaxTicksPerLine);
    platform = play.saved;
    return play.result;
}

void printDivergence(const PlaybackResult& result)
{
    std::fprintf(stderr, "replay diverged at tick %" PRId64 " (clock %d ms)\n", result.ticks, result.clock);
}

// ---- in the window -----------------------------------------------------------

static void endPlayback()
{
    platform = play.saved;
    finishScreenshots();
    if (play.timedemo) {
        const double seconds = std::chrono::duration<double>(play.lastSwap - play.realStart).count();
        const double fps = seconds > 0 ? static_cast<double>(play.result.frames) / seconds : 0.0;
        std::fprintf(stderr, "%" PRId64 " frames in %.3f seconds: %.1f fps\n", play.result.frames, seconds, fps);
    }
    if (play.result.diverged)
        printDivergence(play.result);
    std::cout.flush();
    std::exit(play.result.status);
}

// Whether a tick recorded at `clock` is due, at the recorded pace: the
// platform's own clock, as the game read it when it was played.
static bool due(int clock)
{
    return play.saved.elapsedMs() - play.paceStart >= clock - play.recording->firstClock;
}

// GLUT's idle callback while replaying: events up to the next frame, and
// kStepsPerIdle at most, so that GLUT sees to its window between them.
static void playbackIdle()
{
    if (!play.started) {
        play.started = true;
        if (play.timedemo)
            platform.setSwapInterval(0);  // frames as fast as the machine draws
        play.realStart = play.lastSwap = Clock::now();
        play.paceStart = play.saved.elapsedMs();
    }
    std::int64_t played = 0;
    while (!play.finished && played < kStepsPerIdle) {
        if (play.haveNext && play.pace == Pace::Recorded && play.next.type == EventType::Tick
            && !due(play.next.clock)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return;
        }
        const bool frame = play.haveNext && play.next.type == EventType::Frame;
        played += step(kStepsPerIdle - played);
        if (frame)
            return;
    }
    if (play.finished)
        endPlayback();
}

static void ignoreDisplay() {}
static void ignoreReshape(int, int) {}

static void quitKeysOnly(unsigned char key, int, int)
{
    if (key != 'q' && key != 'Q')
        return;
    platform = play.saved;
    finishScreenshots();
    std::cout.flush();
    std::exit(0);
}

// At most the screen's size: X takes windows up to 32767 a side, and the
// saved frames are read from the window.
static void askWindowSize(int width, int height)
{
    const int screenWidth = glutGet(GLUT_SCREEN_WIDTH), screenHeight = glutGet(GLUT_SCREEN_HEIGHT);
    if (screenWidth > 0)
        width = std::min(width, screenWidth);
    if (screenHeight > 0)
        height = std::min(height, screenHeight);
    if (width != glutGet(GLUT_WINDOW_WIDTH) || height != glutGet(GLUT_WINDOW_HEIGHT))
        glutReshapeWindow(width, height);
}

static constexpr GameCallbacks kPlaybackCallbacks = {
    ignoreDisplay, ignoreReshape, quitKeysOnly, nullptr, playbackIdle,
};

const GameCallbacks& startPlayback(Recording& recording, const GameCallbacks& game, Pace pace,
                                   bool timedemo)
{
    begin(recording, game);
    play.resizeWindow = askWindowSize;
    play.pace = pace;
    play.timedemo = timedemo;
    play.started = false;
    return kPlaybackCallbacks;
}
