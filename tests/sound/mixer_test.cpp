// The real mixer (OpenAL Soft's loopback device) rendering the soundtrack of
// scripted scenes into a WAV file, and the WAV writer's limits. No window.
#include "fake_platform.h"
#include "stereo.h"

#include "game/combat.h"
#include "game/events.h"
#include "sound/audio.h"
#include "sound/openal_out.h"
#include "sound/soundtrack.h"
#include "sound/wav.h"

#include <sys/resource.h>

#include <cmath>
#include <csignal>

// ---- helpers ---------------------------------------------------------------

static std::size_t frameOf(int ms) { return static_cast<std::size_t>(ms) * kLoopbackRate / 1000; }

static double rms(const std::vector<std::int16_t>& x, int fromMs, int toMs)
{
    double sum = 0;
    for (std::size_t i = frameOf(fromMs); i < frameOf(toMs); ++i)
        sum += static_cast<double>(x[i]) * x[i];
    return std::sqrt(sum / static_cast<double>(frameOf(toMs) - frameOf(fromMs)));
}

// The lag, in frames, at which the mono mix best matches itself: the period
// of the engine's fundamental (110 Hz at rest, 401 frames).
static int period(const Stereo& s, int fromMs, int toMs)
{
    int best = 0;
    double bestScore = -1e300;
    for (int lag = 250; lag < 600; ++lag) {
        double score = 0;
        for (std::size_t i = frameOf(fromMs); i < frameOf(toMs); ++i)
            score += (s.left[i] + s.right[i]) * static_cast<double>(s.left[i + lag] + s.right[i + lag]);
        if (score > bestScore) {
            bestScore = score;
            best = lag;
        }
    }
    return best;
}

// The file's samples at the mixer's rate, as a linear resampler makes them.
static std::vector<double> upsampled(const MonoSound& sound)
{
    std::vector<double> out;
    for (std::size_t i = 0; i + 1 < sound.samples.size(); ++i)
        for (int k = 0; k < kLoopbackRate / sound.rate; ++k)
            out.push_back(sound.samples[i] + (sound.samples[i + 1] - sound.samples[i]) * k * sound.rate /
                                                 static_cast<double>(kLoopbackRate));
    return out;
}

// How well the mix from `frame` on matches `file` (correlation, at the best
// of a few frames' lag) and how loud it plays it (least-squares scale).
struct Match {
    double correlation = -1, scale = 0;
};
static Match match(const Stereo& s, std::size_t frame, const std::vector<double>& file, std::size_t length)
{
    Match best;
    for (std::size_t lag = 0; lag < 32; ++lag) {
        double xy = 0, xx = 0, yy = 0;
        for (std::size_t i = 0; i < length; ++i) {
            const double y = (s.left[frame + lag + i] + s.right[frame + lag + i]) / 2.0;
            xy += file[i] * y;
            xx += file[i] * file[i];
            yy += y * y;
        }
        const double correlation = xy / std::sqrt(xx * yy + 1e-9);
        if (correlation > best.correlation)
            best = {correlation, xy / xx};
    }
    return best;
}

class MixerTest : public GameTest {
protected:
    TempDir scratch;
    std::string path = (scratch.path / "mixer.wav").string();

    void SetUp() override
    {
        GameTest::SetUp();
        std::string error;
        ASSERT_TRUE(createWavOut(path, kLoopbackRate, error)) << error;
        ASSERT_TRUE(openSoundLoopback());
        startSoundtrack(false);
        restartGame();
        // away from the origin, looking along -z: +x is to the right
        game.camera.eye = {300, 100, 200};
        game.camera.center = {300, 100, 100};
    }
    void TearDown() override
    {
        stopSoundtrack();
        closeSound();
        GameTest::TearDown();
    }
    static void frameAt(int ms)
    {
        game.currentTime = ms;
        soundtrackFrame();
    }
    static void shootAt(const Vec3& at)
    {
        game.shots.push_back(Shot{0.5f, at, {}});
        combatUpdate();
        game.shots.clear();
    }
    static void killAt(const Vec3& at)
    {
        game.missiles.emplace_back(at, nullptr);
        frameAt(game.currentTime);
        shootAt(at);
    }
};

// ---- tests -----------------------------------------------------------------

// A kill 60 units to the left of the view sounds louder on the left, one to
// the right on the right. Each frame renders up to its clock, and each
// flush leaves a header that covers what was written.
TEST_F(MixerTest, KillsPanWithTheViewAndFramesRenderToTheirClock)
{
    frameAt(100);
    killAt({240, 100, 150});
    for (int ms = 120; ms <= 1100; ms += 20)
        frameAt(ms);
    killAt({360, 100, 150});
    for (int ms = 1120; ms <= 2230; ms += 20)
        frameAt(ms);
    flushWavOut();
    const Stereo s = readStereo(path);
    ASSERT_EQ(s.left.size(), frameOf(2220));
    EXPECT_EQ(s.headerFrames, s.left.size());
    const double leftThenRight[] = {rms(s.left, 100, 1100), rms(s.right, 100, 1100),
                                    rms(s.left, 1100, 2200), rms(s.right, 1100, 2200)};
    EXPECT_GT(leftThenRight[0], 2 * leftThenRight[1]);
    EXPECT_GT(leftThenRight[3], 2 * leftThenRight[2]);
}

// Each sound is its own file at its own gain. Alone on the listener it
// matches its file, as loud for its gain as every other sound; straight
// ahead it plays at 120 units half as loud as within 60, and beyond 2000 units
// at the clamped 60/2000.
TEST_F(MixerTest, EachSoundIsItsOwnFileAtItsGainAndFallsOffWithDistance)
{
    struct Expected {
        SoundId id;
        const char* file;
        float gain;
    };
    const Expected sounds[] = {
        {SoundId::Launch, "launch.wav", 1.0f},       {SoundId::Engine, "engine.wav", 0.5f},
        {SoundId::Zap, "zap.wav", 0.25f},            {SoundId::Explosion, "explosion.wav", 1.0f},
        {SoundId::Impact, "impact.wav", 1.0f},       {SoundId::Crash, "crash.wav", 0.6f},
        {SoundId::GameOver, "gameover.wav", 0.5f},   {SoundId::Title, "title.wav", 0.3f},
    };
    const Vec3 eye = game.camera.eye, forward{0, 0, -1};
    const float distances[] = {0, 30, 120, 3000};  // 0: on the listener; 30: within full loudness
    audio.listener(eye, forward, {0, 1, 0});
    int ms = 0;
    for (const Expected& e : sounds)
        for (float d : distances) {
            audio.playOnce(0, e.id, eye + d * forward, d == 0);
            audio.advanceTo(ms += 300);
            audio.stop(0);
            audio.advanceTo(ms += 50);
        }
    flushWavOut();
    const Stereo s = readStereo(path);
    ASSERT_EQ(s.left.size(), frameOf(ms));
    std::vector<double> perGain;
    ms = 0;
    for (const Expected& e : sounds) {
        MonoSound sound;
        std::string error;
        ASSERT_TRUE(readMonoWav(std::string("sounds/") + e.file, sound, error)) << error;
        const std::vector<double> file = upsampled(sound);
        const std::size_t length = std::min(file.size(), frameOf(250));
        Match m[4];
        for (Match& at : m) {
            at = match(s, frameOf(ms), file, length);
            ms += 350;
            EXPECT_GT(at.correlation, 0.98) << e.file << " is not what plays";
        }
        perGain.push_back(m[0].scale / e.gain);
        EXPECT_NEAR(m[2].scale / m[1].scale, 0.5, 0.015) << e.file;
        EXPECT_NEAR(m[3].scale / m[1].scale, 60.0 / 2000, 0.0015) << e.file;
    }
    for (std::size_t i = 0; i < perGain.size(); ++i)
        EXPECT_NEAR(perGain[i] / perGain[0], 1, 0.02) << sounds[i].file << " plays at the wrong gain";
}

// A kill's engine plays up to the frame after the kill and not a sample
// more: from there on the file holds what a kill without an engine leaves
// (its launch and its explosion).
TEST_F(MixerTest, KilledEngineFallsSilentAtTheFrameAfterTheKill)
{
    const Vec3 at = game.camera.eye + Vec3{40, 0, -100};
    auto scene = [&](int from, bool engine) {
        const int id = engine ? game.missiles.emplace_back(at, nullptr).id : -1;
        gameEvents.missileSpawned(id, at);
        for (int ms = from; ms <= from + 1000; ms += 20)
            frameAt(ms);
        if (engine)
            shootAt(at);
        else
            gameEvents.missileShot(id, at);
        for (int ms = from + 1020; ms <= from + 2800; ms += 20)
            frameAt(ms);
    };
    scene(0, true);
    scene(3000, false);
    flushWavOut();
    const Stereo s = readStereo(path);
    ASSERT_EQ(s.left.size(), frameOf(5800));
    auto engineLevel = [&](int fromMs, int toMs) {
        double sum = 0;
        for (std::size_t i = frameOf(fromMs); i < frameOf(toMs); ++i) {
            const double d = s.left[i] - s.left[i + frameOf(3000)] + s.right[i] - s.right[i + frameOf(3000)];
            sum += d * d;
        }
        return std::sqrt(sum / static_cast<double>(frameOf(toMs) - frameOf(fromMs)));
    };
    const double before = engineLevel(800, 1020);
    EXPECT_GT(before, 300);
    EXPECT_LT(engineLevel(1020, 2800), before / 100);
}

// An engine closing in at 40 units a second plays higher than the same
// engine moving away at that speed over the same distances.
TEST_F(MixerTest, EngineApproachingIsHigherThanReceding)
{
    const Vec3 eye = game.camera.eye;
    auto flyBy = [&](int from, float startDistance, float speed) {
        game.missiles.clear();
        game.missiles.emplace_back(eye + Vec3{0, 0, -startDistance}, nullptr);
        for (int ms = from; ms <= from + 2000; ms += 20) {
            game.missiles[0].position = game.missiles[0].start + Vec3{0, 0, speed * (ms - from) / 1000.0f};
            frameAt(ms);
        }
    };
    flyBy(0, 180, 40);       // 180 to 100 units ahead, closing
    flyBy(2020, 100, -40);   // 100 to 180 units ahead, leaving
    frameAt(4100);
    const Stereo s = readStereo(path);
    const int closing = period(s, 1000, 1800);
    const int leaving = period(s, 3020, 3820);
    EXPECT_LT(closing, 401);
    EXPECT_GT(leaving, 401);
}

// The file stops at its size limit or a full disk, saying so once, and the
// game goes on; the header counts what is there. (A file that can't be made
// is the game's to refuse: session_sound_test.cpp.)
TEST(WavOut, StopsAtItsLimitOrAFullDiskOnce)
{
    const TempDir scratch;
    const std::string path = (scratch.path / "limit.wav").string();
    std::string error;
    ASSERT_TRUE(createWavOut(path, 8000, error, 400));
    const std::vector<std::int16_t> frames(2 * 150, 7);
    testing::internal::CaptureStderr();
    appendWavOut(frames.data(), 60);
    appendWavOut(frames.data(), 150);
    appendWavOut(frames.data(), 150);
    flushWavOut();
    const std::string said = testing::internal::GetCapturedStderr();
    const Stereo s = readStereo(path);
    EXPECT_EQ(std::tuple(s.left.size(), s.headerFrames), std::tuple(100u, 100u));
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("4 GB"), std::string::npos) << said;
    closeWavOut();

    // a disk that fills up: a file-size limit stops the writes (a device is
    // no soundtrack file)
    const std::string fullPath = (scratch.path / "full.wav").string();
    ASSERT_TRUE(createWavOut(fullPath, 8000, error));
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small{1000, saved.rlim_max};
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i) {
        appendWavOut(frames.data(), 150);
        flushWavOut();
    }
    closeWavOut();
    const std::string full = testing::internal::GetCapturedStderr();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_EQ(std::count(full.begin(), full.end(), '\n'), 1) << full;
    EXPECT_NE(full.find("cannot write " + fullPath), std::string::npos) << full;
}
