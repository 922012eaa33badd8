#include "replay/playback.h"

#include "replay/screenshots.h"
#include "core/platform.h"
#include "game/checksum.h"

#include <GL/glut.h>
#ifndef __EMSCRIPTEN__
#include <GL/glx.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
    const Recording*  recording = nullptr;
    std::size_t       next = 0;         // index of the next event
    PlaybackResult    result;
    bool              finished = false;
    Platform          saved{};          // the platform before playback
    GameCallbacks     game{};           // where the events go
    void (*resizeWindow)(int width, int height) = nullptr;

    // in the window
    Pace              pace = Pace::Fastest;
    bool              timedemo = false;
    bool              started = false;
    int               firstClock = 0;   // ms, the first tick's recorded clock
    Clock::time_point realStart;        // when the first event was played
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

// Delivers one event. False when its checksum disagrees with the game's.
static bool deliver(const Event& event)
{
    switch (event.type) {
    case EventType::Tick:
        for (int n = 0; n < event.b; ++n) {
            ++play.result.ticks;
            play.result.clock = event.a;
            play.game.idle();
        }
        return true;
    case EventType::Frame:
        ++play.result.frames;
        play.game.display();
        return true;
    case EventType::Key:
        play.game.keyboard(static_cast<unsigned char>(event.a), event.b, event.c);
        return true;
    case EventType::Motion:
        play.game.motion(event.a, event.b);
        return true;
    case EventType::Reshape:
        if (play.resizeWindow && event.a > 0 && event.b > 0)
            play.resizeWindow(event.a, event.b);
        play.game.reshape(event.a, event.b);
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
    const std::vector<Event>& events = play.recording->events;
    play.result.status = status;
    play.finished = true;
    if (play.next < events.size() && events[play.next].type == EventType::Check) {
        if (stateChecksum() != events[play.next].hash)
            return diverge();
        ++play.next;
    }
    if (play.next < events.size())
        diverge();
}

// Plays the next event; sets `finished` at the end.
static void step()
{
    const std::vector<Event>& events = play.recording->events;
    if (play.next >= events.size()) {
        play.finished = true;
        return;
    }
    const Event& event = events[play.next++];
    platform.exitProcess = throwExit;
    try {
        if (!deliver(event))
            diverge();
    } catch (const GameExit& exit) {
        afterExit(exit.status);
    }
    platform.exitProcess = play.saved.exitProcess;
    if (event.type == EventType::Frame)
        play.lastSwap = Clock::now();
}

static void begin(const Recording& recording, const GameCallbacks& game)
{
    play.recording = &recording;
    play.game = game;
    play.next = 0;
    play.result = PlaybackResult{};
    play.finished = false;
    play.saved = platform;
    platform.elapsedMs = playedClock;
    platform.warpPointer = noWarp;
    platform.postRedisplay = noRedisplay;
}

PlaybackResult playRecording(const Recording& recording, const GameCallbacks& game)
{
    begin(recording, game);
    play.resizeWindow = nullptr;
    while (!play.finished)
        step();
    platform = play.saved;
    return play.result;
}

void printDivergence(const PlaybackResult& result)
{
    std::fprintf(stderr, "replay diverged at tick %d (clock %d ms)\n", result.ticks, result.clock);
}

// ---- in the window -----------------------------------------------------------

static void endPlayback()
{
    platform = play.saved;
    finishScreenshots();
    if (play.timedemo) {
        const double seconds = std::chrono::duration<double>(play.lastSwap - play.realStart).count();
        const double fps = seconds > 0 ? play.result.frames / seconds : 0.0;
        std::fprintf(stderr, "%d frames in %.3f seconds: %.1f fps\n", play.result.frames, seconds, fps);
    }
    if (play.result.diverged)
        printDivergence(play.result);
    std::cout.flush();
    std::exit(play.result.status);
}

// Frames as fast as the machine draws: no waiting for the screen's refresh,
// where the driver lets us say so.
static void askNoVsync()
{
#ifndef __EMSCRIPTEN__  // a page draws when the browser asks: nothing to turn off
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (!display || !drawable)
        return;
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    const auto address = [](const char* name) { return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)); };
    if (extensions && std::strstr(extensions, "GLX_EXT_swap_control")) {
        using SwapInterval = void (*)(Display*, GLXDrawable, int);
        reinterpret_cast<SwapInterval>(address("glXSwapIntervalEXT"))(display, drawable, 0);
    } else if (extensions && std::strstr(extensions, "GLX_MESA_swap_control")) {
        using SwapInterval = int (*)(unsigned);
        reinterpret_cast<SwapInterval>(address("glXSwapIntervalMESA"))(0);
    }
#endif
}

// Whether a tick recorded at `clock` is due, at the recorded pace.
static bool due(int clock)
{
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - play.realStart);
    return elapsed.count() >= clock - play.firstClock;
}

// GLUT's idle callback while replaying: events up to the next frame, so
// that GLUT sees to its window between two frames.
static void playbackIdle()
{
    const std::vector<Event>& events = play.recording->events;
    if (!play.started) {
        play.started = true;
        if (play.timedemo)
            askNoVsync();
        play.realStart = play.lastSwap = Clock::now();
    }
    while (!play.finished) {
        const bool atEnd = play.next >= events.size();
        if (!atEnd && play.pace == Pace::Recorded && events[play.next].type == EventType::Tick
            && !due(events[play.next].a)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return;
        }
        const bool frame = !atEnd && events[play.next].type == EventType::Frame;
        step();
        if (frame)
            return;
    }
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

static void askWindowSize(int width, int height)
{
    if (width != glutGet(GLUT_WINDOW_WIDTH) || height != glutGet(GLUT_WINDOW_HEIGHT))
        glutReshapeWindow(width, height);
}

static constexpr GameCallbacks kPlaybackCallbacks = {
    ignoreDisplay, ignoreReshape, quitKeysOnly, nullptr, playbackIdle,
};

const GameCallbacks& startPlayback(const Recording& recording, const GameCallbacks& game, Pace pace,
                                   bool timedemo)
{
    begin(recording, game);
    play.resizeWindow = askWindowSize;
    play.pace = pace;
    play.timedemo = timedemo;
    for (const Event& event : recording.events) {
        if (event.type == EventType::Tick) {
            play.firstClock = event.a;
            break;
        }
    }
    return kPlaybackCallbacks;
}
