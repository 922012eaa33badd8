// Playing a recording back to the game's callbacks: a changed input is
// caught at the first checksum after it, events after the game quit count
// as a divergence, and the window's idle call plays a bounded share, at the
// recorded pace when asked.
#include "replay/playback.h"

#include "core/platform.h"
#include "game/checksum.h"
#include "fake_platform.h"

#include <cstdio>
#include <string>

namespace {

const std::string kHeader = "quorvane-recording 1 game 0.1 window 1000 800\n";

// Stand-ins for the game: every input moves checksummed state, q quits.
int idles = 0;
void fakeMotion(int x, int y)
{
    game.yaw += static_cast<float>(x);
    game.pitch += static_cast<float>(y);
}
void fakeKey(unsigned char key, int, int)
{
    if (key == 'q')
        sysExit(0);
    game.score += key;
}
constexpr GameCallbacks kFakeGame = {[] {}, [](int, int) {}, fakeKey, fakeMotion,
                                     [] { ++idles; game.currentTime = sysElapsedMs(); }};

std::string checkLine()
{
    char line[24];
    std::snprintf(line, sizeof line, "c %016llx\n", static_cast<unsigned long long>(stateChecksum()));
    return line;
}

// Ten seconds as the writer keeps them: a tick, a move and a frame every
// 100 ms, a checksum once a second (at 500, 1500, ... ms) and at the end.
// The game state is fresh again afterwards.
std::string tenSeconds()
{
    std::string text = kHeader;
    for (int ms = 0; ms <= 10000; ms += 100) {
        game.currentTime = ms;
        fakeMotion(ms / 100, 3);
        text += "t " + std::to_string(ms) + "\nm " + std::to_string(ms / 100) + " 3\nf\n";
        if (ms % 1000 == 500)
            text += checkLine();
    }
    text += checkLine() + "end\n";
    game = GameState{};
    return text;
}

Recording parsed(const std::string& text)
{
    Recording recording;
    RecordingError error;
    EXPECT_TRUE(parseRecording(text, recording, error)) << error.message;
    return recording;
}

PlaybackResult play(const std::string& text)
{
    Recording recording = parsed(text);
    game = GameState{};
    return playRecording(recording, kFakeGame);
}

}  // namespace

using Playback = GameTest;

TEST_F(Playback, AChangedInputIsCaughtAtTheNextChecksum)
{
    const std::string text = tenSeconds();
    const PlaybackResult same = play(text);
    EXPECT_FALSE(same.diverged);
    EXPECT_EQ(same.ticks * 1000 + same.frames, 101101);

    // The move at 2300 ms changed: the checksum at 2500 ms, the 26th tick, sees it.
    std::string changed = text;
    changed.replace(changed.find("m 23 3\n"), 6, "m 30 3");
    const PlaybackResult caught = play(changed);
    EXPECT_TRUE(caught.diverged);
    EXPECT_EQ(caught.status, kDivergedStatus);
    EXPECT_EQ(caught.ticks, 26);
    EXPECT_EQ(caught.clock, 2500);
}

TEST_F(Playback, EventsAfterTheGameQuitDiverge)
{
    const std::string quit = kHeader + "t 0\nk 113 0 0\n" + checkLine();
    const PlaybackResult inOrder = play(quit + "end\n");
    EXPECT_FALSE(inOrder.diverged);
    EXPECT_EQ(inOrder.status, 0);
    for (const std::string& more : {"f\n" + checkLine(), "t 0\n" + checkLine(), "k 32 0 0\n" + checkLine()}) {
        const PlaybackResult after = play(quit + more + "end\n");
        EXPECT_TRUE(after.diverged) << more;
        EXPECT_EQ(after.status, kDivergedStatus) << more;
    }
}

// Without frames, nothing else would hand GLUT its turn; a recording that
// plays to its end here exits the test with the divergence at its end.
TEST_F(Playback, TheWindowsIdleCallPlaysABoundedShare)
{
    std::string text = kHeader;
    for (int i = 0; i < 3; ++i)
        text += "t 7 100000\n";
    text += "c 0000000000000000\nend\n";
    Recording recording = parsed(text);
    idles = 0;
    const GameCallbacks& window = startPlayback(recording, kFakeGame, Pace::Fastest, false);
    window.idle();
    EXPECT_EQ(idles, kStepsPerIdle);
    window.idle();
    EXPECT_EQ(idles, 2 * kStepsPerIdle);
    EXPECT_EQ(game.currentTime, 7);
}

// At the recorded pace a tick waits until as much of the platform's clock
// has passed since the first one as of the recorded clock; each idle call
// plays up to a frame. The game reads the recorded clock, not the platform's.
TEST_F(Playback, TheRecordedPaceFollowsThePlatformsClock)
{
    std::string text = kHeader;
    for (int ms = 1000; ms <= 11000; ms += 100)  // more than the calls below can reach
        text += "t " + std::to_string(ms) + "\nf\n";
    text += "c 0000000000000000\nend\n";
    Recording recording = parsed(text);
    idles = 0;
    const GameCallbacks& window = startPlayback(recording, kFakeGame, Pace::Recorded, false);
    const auto idleAt = [&](int ms) {
        fake.clockMs = ms;
        for (int i = 0; i < 20; ++i)
            window.idle();
        return std::pair(idles, game.currentTime);
    };
    EXPECT_EQ(idleAt(5000), std::pair(1, 1000));  // the first tick at once
    EXPECT_EQ(idleAt(5099), std::pair(1, 1000));
    EXPECT_EQ(idleAt(5100), std::pair(2, 1100));
    EXPECT_EQ(idleAt(5450), std::pair(5, 1400));
}
